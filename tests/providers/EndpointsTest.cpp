#include "Endpoints.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& text) {
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    return path;
}

/// Restores the process-wide set and the environment after a test.
class EndpointsTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = qgetenv("NUMIVA_ENDPOINTS");
        hadValue_ = qEnvironmentVariableIsSet("NUMIVA_ENDPOINTS");
        qunsetenv("NUMIVA_ENDPOINTS");
        Endpoints::setStandardOverrideFile({});
    }
    void TearDown() override {
        if (hadValue_) {
            qputenv("NUMIVA_ENDPOINTS", saved_);
        } else {
            qunsetenv("NUMIVA_ENDPOINTS");
        }
        Endpoints::setStandardOverrideFile({});
    }
    QTemporaryDir dir_;

private:
    QByteArray saved_;
    bool hadValue_ = false;
};

}  // namespace

TEST_F(EndpointsTest, TheEnvironmentFileReplacesOnlyTheKeysItNamesAndAnOverrideFileBeatsIt) {
    const QString path =
        writeFile(dir_, QStringLiteral("local.ini"),
                  "# local servers\r\n[hosts]\r\necb = http://127.0.0.1:8080\r\n"
                  "payPalUserId = someone_api1.example.com\r\nocbc = http://env.invalid\r\n");
    qputenv("NUMIVA_ENDPOINTS", path.toUtf8());
    Endpoints::setStandard(std::nullopt);
    const Endpoints endpoints = Endpoints::standard();
    EXPECT_EQ(
        (QStringList{endpoints.value(Endpoints::Ecb), endpoints.value(Endpoints::PayPalUserId),
                     endpoints.value(Endpoints::Cbr)}),
        (QStringList{"http://127.0.0.1:8080", "someone_api1.example.com",
                     Endpoints::defaults().value(Endpoints::Cbr)}));

    const QString cli = writeFile(dir_, QStringLiteral("cli.ini"), "ocbc = http://cli.invalid\n");
    QString error;
    ASSERT_TRUE(Endpoints::setStandardOverrideFile(cli, &error)) << error.toStdString();
    EXPECT_EQ(Endpoints::standard().value(Endpoints::Ocbc), QStringLiteral("http://cli.invalid"));

    // A bad file is refused with a reason and changes nothing.
    const QString bad = writeFile(dir_, QStringLiteral("bad.ini"), "ocbc http://x\n");
    EXPECT_FALSE(Endpoints::setStandardOverrideFile(bad, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("Line 1"))) << error.toStdString();
    EXPECT_FALSE(
        Endpoints::setStandardOverrideFile(dir_.filePath(QStringLiteral("none.ini")), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("none.ini"))) << error.toStdString();
    EXPECT_EQ(Endpoints::standard().value(Endpoints::Ocbc), QStringLiteral("http://cli.invalid"));

    ASSERT_TRUE(Endpoints::setStandardOverrideFile({}));
    EXPECT_EQ(Endpoints::standard().value(Endpoints::Ocbc), QStringLiteral("http://env.invalid"));
}

TEST_F(EndpointsTest, ParseRules) {
    QString error;
    const auto parsed = Endpoints::parse(
        "; comment\n# comment\n\n[section]\n  key = a = b  \nempty =\nkey2=x\n", &error);
    ASSERT_TRUE(parsed.has_value()) << error.toStdString();
    EXPECT_EQ(*parsed, (QMap<QString, QString>{{"key", "a = b"}, {"empty", ""}, {"key2", "x"}}));
    EXPECT_FALSE(Endpoints::parse("ok = 1\n= value\n", &error).has_value());
    EXPECT_TRUE(error.contains(QStringLiteral("Line 2"))) << error.toStdString();
}

TEST_F(EndpointsTest, UrlJoinsBasePathAndQuery) {
    // Base, path, query and the address they make.
    const std::tuple<const char*, const char*, const char*, const char*> rows[] = {
        {"http://h:1", "/d/quotes.csv", "f=l1&s=EURUSD=X",
         "http://h:1/d/quotes.csv?f=l1&s=EURUSD=X"},
        {"http://h:1/", "/a", "", "http://h:1/a"},
        {"http://h:1/base", "a", "", "http://h:1/base/a"},
        {"http://h/x.asmx", "", "", "http://h/x.asmx"},
    };
    for (const auto& [base, path, query, expected] : rows) {
        Endpoints endpoints;
        endpoints.setValue(QStringLiteral("k"), QString::fromLatin1(base));
        EXPECT_EQ(
            endpoints
                .url(QStringLiteral("k"), QString::fromLatin1(path), QString::fromLatin1(query))
                .toString(),
            QString::fromLatin1(expected));
    }
}
