#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

/// A file handed to the mail program with a message.
struct MailAttachment {
    QByteArray data;
    QString mimeType;
    QString fileName;
};

/// What the user is asked to send: the mail program opens with these fields filled in.
struct MailMessage {
    QString subject;
    QStringList recipients;
    QString body;
    QList<MailAttachment> attachments;
};

/// The platform's mail composer: whether mail can be sent at all, and handing a prepared
/// message to the user's mail program. Main thread only.
class MailComposer {
public:
    enum class Result {
        /// The mail program took the message; the user sends it from there.
        Handed,
        Failed,
    };
    /// Called once, on the main thread; `errorText` says why it failed (empty when handed).
    using Completion = std::function<void(Result result, const QString& errorText)>;

    virtual ~MailComposer() = default;

    virtual bool canSendMail() = 0;
    virtual void compose(const MailMessage& message, Completion done) = 0;

    /// The process-wide composer of this desktop (xdg-email).
    static MailComposer& platformDefault();
};
