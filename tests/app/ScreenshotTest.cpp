#include "FakeHttpServer.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

/// Runs the numiva program offscreen; its exit code, or -1 when it did not end in time.
int runApp(const QStringList& arguments, QByteArray* errors = nullptr,
           QByteArray* output = nullptr) {
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
    if (output != nullptr) {
        *output = app.readAllStandardOutput();
    }
    return app.exitStatus() == QProcess::NormalExit ? app.exitCode() : -1;
}

/// An endpoints file in `dir` with every host unreachable but Frankfurter's: nothing leaves the
/// machine.
QString writeEndpoints(const QTemporaryDir& dir, const QString& frankfurter) {
    const QString endpoints = dir.filePath(QStringLiteral("endpoints.ini"));
    QFile file(endpoints);
    if (!file.open(QIODevice::WriteOnly)) {
        return {};
    }
    for (const char* key :
         {"cbr", "cbrScripts", "ecb", "bankUa", "yahooQuotes", "yahooChart", "payPal", "bloomberg",
          "bloombergChart", "ocbc", "geoNames", "currencyApi", "currencyApiFallback"}) {
        file.write(QByteArray(key) + " = http://127.0.0.1:9\n");
    }
    file.write(("frankfurter = " + frankfurter + "\n").toUtf8());
    return endpoints;
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
    const QString endpoints = writeEndpoints(dir, frankfurter.baseUrl());
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
                                           IdiomCase{"phone", "info", 390, 844},
                                           IdiomCase{"tablet", "about", 1180, 820},
                                           // The chart waits until it has loaded or failed.
                                           IdiomCase{"phone", "chart", 844, 390},
                                           IdiomCase{"tablet", "chart-settings", 1180, 820},
                                           IdiomCase{"phone", "settings", 390, 844},
                                           IdiomCase{"tablet", "request-currency", 1180, 820},
                                           IdiomCase{"tablet", "compare", 1180, 820},
                                           IdiomCase{"phone", "add-source", 390, 844}));

TEST(CommandLine, BadOptionsAreRefusedWithAReason) {
    QTemporaryDir dir;
    const struct {
        QStringList arguments;
        const char* reason;
    } cases[] = {
        {{QStringLiteral("--idiom"), QStringLiteral("watch")}, "--idiom takes phone or tablet"},
        {{QStringLiteral("--endpoints"), dir.filePath(QStringLiteral("missing.ini"))},
         "missing.ini"},
        {{QStringLiteral("--language"), QStringLiteral("xx")}, "no texts for language xx"},
        {{QStringLiteral("--orientation"), QStringLiteral("upside-down")}, "--orientation takes"},
        {{QStringLiteral("--screen"), QStringLiteral("about-blank")}, "--screen takes rates"},
        {{QStringLiteral("--screenshot"), QString()}, "--screenshot needs a file name"},
        {{QStringLiteral("--data-dir"), QString()}, "--data-dir needs a directory"},
    };
    for (const auto& c : cases) {
        QByteArray errors;
        EXPECT_EQ(
            runApp(QStringList{QStringLiteral("--data-dir"), dir.path()} + c.arguments, &errors),
            64)
            << c.reason;
        EXPECT_NE(errors.indexOf(c.reason), -1) << errors.toStdString();
    }
}

TEST(CommandLine, TheFirstFrameIsTimedAndTheAppQuits) {
    QTemporaryDir dir;
    QByteArray output;
    EXPECT_EQ(runApp({QStringLiteral("--quit-after-first-frame"), QStringLiteral("--data-dir"),
                      dir.filePath(QStringLiteral("data")), QStringLiteral("--endpoints"),
                      writeEndpoints(dir, QStringLiteral("http://127.0.0.1:9"))},
                     nullptr, &output),
              0);
    EXPECT_TRUE(output.startsWith("first frame after ")) << output.toStdString();
}

}  // namespace
