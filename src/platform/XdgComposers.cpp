#include "XdgComposers.h"

#include "CFileOperations.h"
#include "Localization.h"
#include "Log.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QUrl>

#include <memory>

namespace {

/// Exit code of the xdg tools when a program they need is missing (4: the action failed).
constexpr int kXdgToolMissing = 3;
constexpr int kQueryTimeoutMs = 3000;

/// Runs `program` without waiting for it; `done` gets its exit code, or -1 when it could not
/// be started or crashed. Called exactly once, on the calling thread.
void runWatched(const QString& program, const QStringList& arguments,
                std::function<void(int exitCode)> done) {
    auto* process = new QProcess();
    process->setProgram(program);
    process->setArguments(arguments);
    process->setStandardInputFile(QProcess::nullDevice());
    auto finished = std::make_shared<bool>(false);
    auto finish = [process, finished, done = std::move(done)](int code) {
        if (*finished) {
            return;
        }
        *finished = true;
        if (code != 0) {
            nlog(QStringLiteral("%1 failed with exit code %2: %3")
                     .arg(process->program())
                     .arg(code)
                     .arg(QString::fromLocal8Bit(process->readAllStandardError()).trimmed()));
        }
        process->deleteLater();
        done(code);
    };
    QObject::connect(process, &QProcess::finished, process,
                     [finish](int code, QProcess::ExitStatus status) {
                         finish(status == QProcess::NormalExit ? code : -1);
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [finish](QProcess::ProcessError error) {
                         if (error == QProcess::FailedToStart) {
                             finish(-1);
                         }
                     });
    process->start();
}

/// The desktop entry xdg-mime names for `scheme`; empty when none is (or xdg-mime is missing).
QString schemeHandler(const QString& xdgMime, const QString& scheme) {
    QProcess query;
    query.setStandardInputFile(QProcess::nullDevice());
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"),
                          QStringLiteral("x-scheme-handler/") + scheme});
    if (!query.waitForFinished(kQueryTimeoutMs) || query.exitStatus() != QProcess::NormalExit ||
        query.exitCode() != 0) {
        query.kill();
        query.waitForFinished(kQueryTimeoutMs);
        return {};
    }
    return QString::fromLocal8Bit(query.readAllStandardOutput()).trimmed();
}

/// What the user is told when a tool ended with `exitCode` (not 0).
QString failureText(int exitCode) {
    if (exitCode == kXdgToolMissing || exitCode == -1) {
        return Localization::localizedString(QStringLiteral("MailProgramMissing"));
    }
    return Localization::localizedString(QStringLiteral("MailProgramFailed"));
}

QString encoded(const QString& text, const QByteArray& keep = {}) {
    return QString::fromLatin1(QUrl::toPercentEncoding(text, keep));
}

/// A file name that stays inside the directory it is saved to.
QString safeFileName(const QString& name) {
    QString file = QFileInfo(name).fileName();
    file.remove(u'\0');
    if (file.isEmpty() || file == u"." || file == u"..") {
        return QStringLiteral("attachment");
    }
    return file;
}

}  // namespace

MailComposer& MailComposer::platformDefault() {
    static XdgMailComposer composer;
    return composer;
}

TextMessageComposer& TextMessageComposer::platformDefault() {
    static XdgTextMessageComposer composer;
    return composer;
}

// Mail ------------------------------------------------------------------------------------------

XdgMailComposer::XdgMailComposer(XdgTools tools, QString attachmentDirectory)
    : tools_(std::move(tools)), attachmentDirectory_(std::move(attachmentDirectory)) {}

QString XdgMailComposer::handlerFor(const QString& scheme) const {
    return schemeHandler(tools_.xdgMime, scheme);
}

bool XdgMailComposer::canSendMail() {
    return !handlerFor(QStringLiteral("mailto")).isEmpty();
}

bool XdgMailComposer::attachesReliably(const QString& handlerDesktopEntry) {
    const QString entry = handlerDesktopEntry.toLower();
    for (const char* known : {"thunderbird", "icedove", "seamonkey", "evolution", "kmail"}) {
        if (entry.contains(QLatin1String(known))) {
            return true;
        }
    }
    return false;
}

QString XdgMailComposer::mailtoUrl(const QStringList& recipients, const QString& subject,
                                   const QString& body) {
    QStringList to;
    for (const QString& recipient : recipients) {
        to.append(encoded(recipient.trimmed(), "@"));
    }
    QStringList fields;
    if (!subject.isEmpty()) {
        fields.append(QStringLiteral("subject=") + encoded(subject));
    }
    if (!body.isEmpty()) {
        fields.append(QStringLiteral("body=") + encoded(body));
    }
    QString url = QStringLiteral("mailto:") + to.join(u',');
    if (!fields.isEmpty()) {
        url += u'?' + fields.join(u'&');
    }
    return url;
}

void XdgMailComposer::compose(const MailMessage& message, Completion done) {
    QString body = message.body;
    QStringList arguments;
    if (!message.attachments.isEmpty()) {
        const QString directory = attachmentDirectory_.isEmpty()
                                      ? CFileOperations::getDocumentsPath()
                                      : attachmentDirectory_;
        QStringList paths;
        for (const MailAttachment& attachment : message.attachments) {
            const QString path = QDir(directory).filePath(safeFileName(attachment.fileName));
            QSaveFile file(path);
            if (directory.isEmpty() || !file.open(QIODevice::WriteOnly) ||
                file.write(attachment.data) != attachment.data.size() || !file.commit()) {
                done(Result::Failed,
                     Localization::localizedString(QStringLiteral("AttachmentNotSaved")));
                return;
            }
            paths.append(path);
            arguments << QStringLiteral("--attach") << path;
        }
        if (!attachesReliably(handlerFor(QStringLiteral("mailto")))) {
            // The mail program may drop the attachment: the body says where the file is.
            body += QStringLiteral("\r\n\r\n") +
                    Localization::localizedString(QStringLiteral("AttachmentSavedAt"))
                        .arg(paths.join(QStringLiteral("\r\n")));
        }
    }
    arguments << mailtoUrl(message.recipients, message.subject, body);
    runWatched(tools_.xdgEmail, arguments, [done = std::move(done)](int code) {
        if (code == 0) {
            done(Result::Handed, QString());
        } else {
            done(Result::Failed, failureText(code));
        }
    });
}

// Text messages ---------------------------------------------------------------------------------

XdgTextMessageComposer::XdgTextMessageComposer(XdgTools tools) : tools_(std::move(tools)) {}

bool XdgTextMessageComposer::canSendText() {
    return !schemeHandler(tools_.xdgMime, QStringLiteral("sms")).isEmpty();
}

QString XdgTextMessageComposer::smsUrl(const QStringList& recipients, const QString& body) {
    QStringList to;
    for (const QString& recipient : recipients) {
        to.append(encoded(recipient.trimmed(), "+"));
    }
    QString url = QStringLiteral("sms:") + to.join(u',');
    if (!body.isEmpty()) {
        url += QStringLiteral("?body=") + encoded(body);
    }
    return url;
}

void XdgTextMessageComposer::compose(const QStringList& recipients, const QString& body,
                                     Completion done) {
    runWatched(tools_.xdgOpen, {smsUrl(recipients, body)}, [done = std::move(done)](int code) {
        if (code == 0) {
            done(Result::Handed, QString());
        } else {
            done(Result::Failed,
                 Localization::localizedString(QStringLiteral("MessageProgramFailed")));
        }
    });
}
