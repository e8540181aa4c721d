#include "Localization.h"
#include "XdgComposers.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

/// Stand-ins for xdg-mime, xdg-email and xdg-open: the handler they report and the exit code
/// they end with come from files; xdg-email and xdg-open write their arguments one a line.
class FakeXdg {
public:
    FakeXdg() {
        write(QStringLiteral("xdg-mime"), "#!/bin/sh\ncat \"$(dirname \"$0\")/handler\"\n");
        const char* recorder =
            "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > \"$(dirname "
            "\"$0\")/args\"\nexit \"$(cat \"$(dirname \"$0\")/exit\")\"\n";
        write(QStringLiteral("xdg-email"), recorder);
        write(QStringLiteral("xdg-open"), recorder);
        setHandler("");
        setExitCode(0);
    }

    XdgTools tools() const {
        return {dir.filePath(QStringLiteral("xdg-mime")), dir.filePath(QStringLiteral("xdg-email")),
                dir.filePath(QStringLiteral("xdg-open"))};
    }
    void setHandler(const char* entry) { write(QStringLiteral("handler"), entry, false); }
    void setExitCode(int code) { write(QStringLiteral("exit"), QByteArray::number(code), false); }
    QStringList arguments() const {
        QFile file(dir.filePath(QStringLiteral("args")));
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
    }

    QTemporaryDir dir;

private:
    void write(const QString& name, const QByteArray& text, bool executable = true) {
        QFile file(dir.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
        file.close();
        if (executable) {
            file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }
};

struct Outcome {
    bool done = false;
    MailComposer::Result result = MailComposer::Result::Failed;
    QString text;
};

Outcome composeAndWait(MailComposer& composer, const MailMessage& message) {
    auto outcome = std::make_shared<Outcome>();
    composer.compose(message, [outcome](MailComposer::Result result, const QString& text) {
        outcome->done = true;
        outcome->result = result;
        outcome->text = text;
    });
    EXPECT_TRUE(QTest::qWaitFor([&outcome] { return outcome->done; }, 10000));
    return *outcome;
}

TEST(ComposersTest, MailNeedsAHandlerAndEveryFieldIsEncoded) {
    Localization::install(QStringLiteral("en"));
    FakeXdg xdg;
    QTemporaryDir documents;
    XdgMailComposer composer(xdg.tools(), documents.path());
    EXPECT_FALSE(composer.canSendMail()) << "no mailto handler";
    EXPECT_FALSE(XdgMailComposer(XdgTools{QStringLiteral("/nonexistent/xdg-mime")}).canSendMail());
    xdg.setHandler("thunderbird.desktop\n");
    EXPECT_TRUE(composer.canSendMail());

    // A hostile text cannot add recipients or fields to the address.
    MailMessage message;
    message.subject = QStringLiteral("Rates & more?");
    message.recipients = {QStringLiteral("support@numiva.app")};
    message.body = QStringLiteral("EUR\r\nx&cc=evil@example.com é");
    const Outcome handed = composeAndWait(composer, message);
    EXPECT_EQ(handed.result, MailComposer::Result::Handed);
    EXPECT_EQ(xdg.arguments(),
              QStringList{QStringLiteral("mailto:support@numiva.app?subject=Rates%20%26%20more%3F&"
                                         "body=EUR%0D%0Ax%26cc%3Devil%40example.com%20%C3%A9")});

    // Exit codes 3 (a program is missing) and 4 (the action failed) are failures.
    struct Case {
        int exitCode;
        const char* text;
    } cases[] = {{3, "The mail program could not be started"},
                 {4, "The mail program could not open the message"}};
    for (const Case& c : cases) {
        xdg.setExitCode(c.exitCode);
        const Outcome failed = composeAndWait(composer, message);
        EXPECT_EQ(failed.result, MailComposer::Result::Failed) << c.exitCode;
        EXPECT_EQ(failed.text, QString::fromLatin1(c.text));
    }
}

TEST(ComposersTest, AttachmentsAreSavedAndNamedInTheBodyForUnknownMailPrograms) {
    Localization::install(QStringLiteral("en"));
    FakeXdg xdg;
    QTemporaryDir documents;
    XdgMailComposer composer(xdg.tools(), documents.path());
    MailMessage message;
    message.recipients = {QStringLiteral("a@b.example")};
    message.body = QStringLiteral("Data");
    message.attachments = {
        {QByteArray("a;b\n"), QStringLiteral("text/csv"), QStringLiteral("../chart data.csv")}};
    const QString saved = QDir(documents.path()).filePath(QStringLiteral("chart data.csv"));
    for (const char* handler : {"thunderbird.desktop", "some-webmail.desktop"}) {
        xdg.setHandler(handler);
        ASSERT_EQ(composeAndWait(composer, message).result, MailComposer::Result::Handed);
        const QStringList args = xdg.arguments();
        ASSERT_EQ(args.size(), 3);
        EXPECT_EQ(args.first(2), (QStringList{"--attach", saved})) << "kept inside the documents";
        const bool named = args[2].contains(QString::fromLatin1(QUrl::toPercentEncoding(saved)));
        EXPECT_EQ(named, QByteArray(handler) != "thunderbird.desktop") << handler;
    }
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("a;b\n"));
}

TEST(ComposersTest, TextMessagesNeedAnSmsHandler) {
    FakeXdg xdg;
    XdgTextMessageComposer composer(xdg.tools());
    EXPECT_FALSE(composer.canSendText());
    xdg.setHandler("org.example.Messages.desktop");
    EXPECT_TRUE(composer.canSendText());
    EXPECT_EQ(
        XdgTextMessageComposer::smsUrl({QStringLiteral("+7 900")}, QStringLiteral("Hi & bye")),
        QStringLiteral("sms:+7%20900?body=Hi%20%26%20bye"));
}

}  // namespace
