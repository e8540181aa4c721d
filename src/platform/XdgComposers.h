#pragma once

#include "MailComposer.h"
#include "TextMessageComposer.h"

#include <QString>

/// The freedesktop.org tools the composers run; tests point them at scripts of their own.
struct XdgTools {
    QString xdgMime = QStringLiteral("xdg-mime");
    QString xdgEmail = QStringLiteral("xdg-email");
    QString xdgOpen = QStringLiteral("xdg-open");
};

/// Mail on a Linux desktop: mail can be sent when a "mailto:" handler is registered, and a
/// message is handed to it through xdg-email as one "mailto:" address whose every field is
/// percent-encoded. xdg-email attaches files reliably only for the mail programs it knows; for
/// any other the attachments are saved into `attachmentDirectory` and the body names them.
class XdgMailComposer : public MailComposer {
public:
    /// `attachmentDirectory` empty: the documents directory.
    explicit XdgMailComposer(XdgTools tools = {}, QString attachmentDirectory = {});

    bool canSendMail() override;
    void compose(const MailMessage& message, Completion done) override;

    /// "mailto:" with the recipients, subject and body, every part percent-encoded.
    static QString mailtoUrl(const QStringList& recipients, const QString& subject,
                             const QString& body);
    /// Whether xdg-email passes attachments on to the program of this desktop entry.
    static bool attachesReliably(const QString& handlerDesktopEntry);

private:
    /// The desktop entry registered for `scheme`; empty when none is (or xdg-mime is missing).
    QString handlerFor(const QString& scheme) const;

    XdgTools tools_;
    QString attachmentDirectory_;
};

/// Text messages on a Linux desktop: there is no standard handler for "sms:", so messages can
/// be sent only where one is registered; the message is opened through xdg-open.
class XdgTextMessageComposer : public TextMessageComposer {
public:
    explicit XdgTextMessageComposer(XdgTools tools = {});

    bool canSendText() override;
    void compose(const QStringList& recipients, const QString& body, Completion done) override;

    /// "sms:" with the recipients and the body, percent-encoded.
    static QString smsUrl(const QStringList& recipients, const QString& body);

private:
    XdgTools tools_;
};
