#include "FakeHttpServer.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

/// Runs the numiva program offscreen; its exit code, or -1 when it did not end in time.
int runApp(const QStringList& arguments, QByteArray* errors = nullptr) {
    QProcess app;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    app.setProcessEnvironment(environment);
    app.start(QStringLiteral(NUMIVA_APP), arguments);
    if (!app.waitForFinished(30000)) {
        app.kill();
        app.waitForFinished();
        return -1;
    }
    if (errors != nullptr) {
        *errors = app.readAllStandardError();
    }
    return app.exitStatus() == QProcess::NormalExit ? app.exitCode() : -1;
}

struct IdiomCase {
    const char* idiom;
    const char* screen;
    int width;
    int height;
};

class Screenshot : public ::testing::TestWithParam<IdiomCase> {};

TEST_P(Screenshot, TheFirstFrameAfterTheFirstRefreshIsSavedAsAPng) {
    QTemporaryDir dir;
    // Frankfurter, a new install's source, answers at once; the list shows the euro's rate.
    FakeHttpServer frankfurter;
    frankfurter.answer(QStringLiteral("/v2/rates"),
                       FakeHttpServer::Answer::file(QStringLiteral("frankfurter/rates-usd.json")));
    const QString endpoints = dir.filePath(QStringLiteral("endpoints.ini"));
    QFile file(endpoints);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // Every other host is unreachable: nothing leaves the machine.
    for (const char* key :
         {"cbr", "cbrScripts", "ecb", "bankUa", "yahooQuotes", "yahooChart", "payPal", "bloomberg",
          "bloombergChart", "ocbc", "geoNames", "currencyApi", "currencyApiFallback"}) {
        file.write(QByteArray(key) + " = http://127.0.0.1:9\n");
    }
    file.write(("frankfurter = " + frankfurter.baseUrl() + "\n").toUtf8());
    file.close();
    const QString png = dir.filePath(QStringLiteral("shot.png"));

    QByteArray errors;
    ASSERT_EQ(
        runApp({QStringLiteral("--idiom"), QString::fromLatin1(GetParam().idiom),
                QStringLiteral("--screen"), QString::fromLatin1(GetParam().screen),
                QStringLiteral("--orientation"),
                GetParam().width > GetParam().height ? QStringLiteral("landscape")
                                                     : QStringLiteral("portrait"),
                QStringLiteral("--data-dir"), dir.filePath(QStringLiteral("data")),
                QStringLiteral("--endpoints"), endpoints, QStringLiteral("--screenshot"), png},
               &errors),
        0)
        << errors.toStdString();
    const QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), GetParam().width);
    EXPECT_EQ(image.height(), GetParam().height);
    EXPECT_GE(frankfurter.requestCount(), 1) << "the screenshot waits for the first refresh";
}

INSTANTIATE_TEST_SUITE_P(Idioms, Screenshot,
                         ::testing::Values(IdiomCase{"phone", "rates", 390, 844},
                                           IdiomCase{"tablet", "rates", 1180, 820},
                                           // The chart waits until it has loaded or failed.
                                           IdiomCase{"phone", "chart", 844, 390},
                                           IdiomCase{"tablet", "chart-settings", 1180, 820}));

TEST(CommandLine, BadOptionsAreRefusedWithAReason) {
    QTemporaryDir dir;
    QByteArray errors;
    EXPECT_EQ(runApp({QStringLiteral("--idiom"), QStringLiteral("watch")}, &errors), 64);
    EXPECT_NE(errors.indexOf("--idiom takes phone or tablet"), -1) << errors.toStdString();
    EXPECT_EQ(runApp({QStringLiteral("--endpoints"), dir.filePath(QStringLiteral("missing.ini"))},
                     &errors),
              64);
    EXPECT_EQ(runApp({QStringLiteral("--language"), QStringLiteral("xx"),
                      QStringLiteral("--data-dir"), dir.path()},
                     &errors),
              64);
}

}  // namespace
