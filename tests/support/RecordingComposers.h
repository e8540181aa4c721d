#pragma once

#include "CDocumentInteraction.h"
#include "MailComposer.h"
#include "TextMessageComposer.h"

#include <QList>
#include <QUrl>

/// A mail composer that records what it is asked to send and answers as told.
class RecordingMailComposer : public MailComposer {
public:
    bool canSend = true;
    Result result = Result::Handed;
    QString errorText;
    QList<MailMessage> messages;

    bool canSendMail() override { return canSend; }
    void compose(const MailMessage& message, Completion done) override {
        messages.append(message);
        done(result, result == Result::Failed ? errorText : QString());
    }
};

/// A text message composer that records the recipients and texts it is given.
class RecordingTextMessageComposer : public TextMessageComposer {
public:
    bool canSend = true;
    QList<QPair<QStringList, QString>> messages;

    bool canSendText() override { return canSend; }
    void compose(const QStringList& recipients, const QString& body, Completion done) override {
        messages.append({recipients, body});
        done(Result::Handed, QString());
    }
};

/// Records the files and addresses it is asked to open and answers as told.
class RecordingOpener : public DocumentOpener {
public:
    bool answer = true;
    QStringList opened;
    QList<QUrl> openedUrls;
    bool openFile(const QString& path) override {
        opened.append(path);
        return answer;
    }
    bool openUrl(const QUrl& url) override {
        openedUrls.append(url);
        return answer;
    }
};
