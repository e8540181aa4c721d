// numiva-cli end to end: the real binary against the sample server.
#include "SampleData.h"
#include "SampleServer.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

class CliTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    SampleServer server;
    QString endpoints = dir.filePath(QStringLiteral("endpoints.ini"));

    void SetUp() override {
        ASSERT_TRUE(server.start());
        ASSERT_TRUE(server.writeEndpoints(endpoints));
    }

    CliRun cli(const QStringList& arguments) {
        QProcess process;
        process.setProgram(QStringLiteral(NUMIVA_CLI));
        process.setArguments(QStringList{QStringLiteral("--data-dir"),
                                         dir.filePath(QStringLiteral("data")),
                                         QStringLiteral("--endpoints"), endpoints} +
                             arguments);
        process.start();
        EXPECT_TRUE(process.waitForFinished(120000)) << arguments.join(u' ').toStdString();
        CliRun run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        return run;
    }

    CliRun ok(const QStringList& arguments) {
        CliRun run = cli(arguments);
        EXPECT_EQ(run.exitCode, 0)
            << arguments.join(u' ').toStdString() << ": " << run.err.toStdString();
        return run;
    }

    QByteArray settingsFile() {
        QFile f(dir.filePath(QStringLiteral("data/Library/Preferences/Numiva.plist")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static QJsonObject row(const QJsonObject& answer, const QString& code) {
        for (const QJsonValue& r : answer.value(QStringLiteral("rows")).toArray()) {
            if (r.toObject().value(QStringLiteral("code")).toString() == code) {
                return r.toObject();
            }
        }
        return {};
    }

    /// The row's exact value, which must agree with the sample data to `digits` significant digits.
    static void expectNear(const QJsonObject& answer, const QString& code, const Decimal& expected,
                           double relative) {
        const QJsonObject r = row(answer, code);
        ASSERT_FALSE(r.isEmpty()) << code.toStdString();
        const Decimal value = Decimal::fromString(r.value(QStringLiteral("value")).toString());
        ASSERT_FALSE(value.isNaN()) << code.toStdString();
        const double ratio = (value / expected).toDouble();
        EXPECT_NEAR(ratio, 1.0, relative)
            << code.toStdString() << ": " << value.toString().toStdString() << " vs "
            << expected.toString().toStdString();
    }
};

struct ProviderCase {
    const char* source;
    QStringList codes;  // listed besides the base (USD) currency
    double tolerance;   // the provider's rounding
};

class CliProviders : public CliTest, public ::testing::WithParamInterface<ProviderCase> {};

TEST_P(CliProviders, RatesAreTheSampleDataRebasedToTheBaseCurrency) {
    const ProviderCase& c = GetParam();
    ok({QStringLiteral("select"), QString::fromLatin1(c.source)});
    ok(QStringList{QStringLiteral("add")} + c.codes);
    ok({QStringLiteral("base"), QStringLiteral("EUR")});
    const QJsonObject answer = ok({QStringLiteral("--json"), QStringLiteral("rates")}).json();
    EXPECT_EQ(answer.value(QStringLiteral("source")).toString(), QString::fromLatin1(c.source));
    EXPECT_TRUE(answer.value(QStringLiteral("error")).isNull());
    for (const QString& code : c.codes) {
        expectNear(answer, code, SampleData::cross(code, QStringLiteral("EUR")), c.tolerance);
        EXPECT_EQ(row(answer, code).value(QStringLiteral("unit")).toString(),
                  QStringLiteral("EUR"));
    }
    const QJsonObject first = answer.value(QStringLiteral("rows")).toArray().first().toObject();
    EXPECT_EQ(first.value(QStringLiteral("code")).toString(), QStringLiteral("EUR"));
}

INSTANTIATE_TEST_SUITE_P(
    Sources, CliProviders,
    ::testing::Values(ProviderCase{"YFinance", {"GBP", "CHF", "JPY", "XAU"}, 2e-3},
                      ProviderCase{"PayPal", {"GBP", "CHF", "JPY", "SEK"}, 1e-5},
                      ProviderCase{"CBR", {"GBP", "CHF", "JPY", "KRW", "XAU", "XAG"}, 1e-3},
                      ProviderCase{"ECB", {"GBP", "CHF", "JPY", "IDR"}, 1e-3},
                      ProviderCase{"BankUa", {"GBP", "CHF", "JPY", "XAU", "XPD"}, 1e-3},
                      ProviderCase{"Bloomberg", {"GBP", "CHF", "JPY", "RUB"}, 1e-3},
                      ProviderCase{"OCBC", {"GBP", "CHF", "JPY", "IDR"}, 1e-3}),
    [](const auto& info) { return std::string(info.param.source); });

TEST_F(CliTest, ACustomFeedIsReadRegisteredAndSelectable) {
    const CliRun added = ok({QStringLiteral("feed"), QStringLiteral("add"), server.feedUrl()});
    EXPECT_TRUE(added.out.contains("Numiva sample bank"));
    ok({QStringLiteral("select"), server.feedUrl()});
    ok({QStringLiteral("add"), QStringLiteral("GBP"), QStringLiteral("XAU")});
    const QJsonObject answer = ok({QStringLiteral("--json"), QStringLiteral("rates")}).json();
    expectNear(answer, QStringLiteral("GBP"),
               SampleData::cross(QStringLiteral("GBP"), QStringLiteral("USD")), 1e-5);
    expectNear(answer, QStringLiteral("EUR"),
               SampleData::cross(QStringLiteral("EUR"), QStringLiteral("USD")), 1e-5);
    const QJsonArray sources =
        QJsonDocument::fromJson(ok({QStringLiteral("--json"), QStringLiteral("sources")}).out)
            .array();
    EXPECT_TRUE(std::any_of(sources.begin(), sources.end(), [&](const QJsonValue& s) {
        return s.toObject().value(QStringLiteral("id")).toString() == server.feedUrl() &&
               s.toObject().value(QStringLiteral("selected")).toBool();
    }));
}

TEST_F(CliTest, FeeAndMetalUnitsApply) {
    ok({QStringLiteral("add"), QStringLiteral("GBP"), QStringLiteral("XAU")});
    ok({QStringLiteral("fee"), QStringLiteral("2,5")});
    ok({QStringLiteral("metal-unit"), QStringLiteral("Gramm")});
    QJsonObject answer = ok({QStringLiteral("--json"), QStringLiteral("rates")}).json();
    expectNear(answer, QStringLiteral("GBP"),
               SampleData::usdPrice(QStringLiteral("GBP")) * Decimal::fromString(u"1.025"), 2e-3);
    expectNear(answer, QStringLiteral("XAU"),
               SampleData::usdPrice(QStringLiteral("XAU")) / Decimal::fromString(u"31.1034768") *
                   Decimal::fromString(u"1.025"),
               2e-3);
    ok({QStringLiteral("fee"), QStringLiteral("2.5"), QStringLiteral("--subtract")});
    answer = ok({QStringLiteral("--json"), QStringLiteral("rates")}).json();
    expectNear(answer, QStringLiteral("GBP"),
               SampleData::usdPrice(QStringLiteral("GBP")) * Decimal::fromString(u"0.975"), 2e-3);
    ok({QStringLiteral("fee"), QStringLiteral("off")});
    answer =
        ok({QStringLiteral("--json"), QStringLiteral("rates"), QStringLiteral("--inverse")}).json();
    expectNear(answer, QStringLiteral("GBP"),
               Decimal::fromInt(1) / SampleData::usdPrice(QStringLiteral("GBP")), 2e-3);
    EXPECT_EQ(row(answer, QStringLiteral("GBP")).value(QStringLiteral("unit")).toString(),
              QStringLiteral("GBP"));
    answer = ok({QStringLiteral("--json"), QStringLiteral("rates")}).json();
    EXPECT_EQ(row(answer, QStringLiteral("GBP")).value(QStringLiteral("unit")).toString(),
              QStringLiteral("USD"))
        << "--inverse holds for one run";
}

TEST_F(CliTest, ConvertShowsEveryRowInTheConvertedAmount) {
    ok({QStringLiteral("select"), QStringLiteral("PayPal")});
    ok({QStringLiteral("add"), QStringLiteral("GBP")});
    const QJsonObject answer = ok({QStringLiteral("--json"), QStringLiteral("convert"),
                                   QStringLiteral("100"), QStringLiteral("EUR")})
                                   .json();
    const QJsonArray rows = answer.value(QStringLiteral("rows")).toArray();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0].toObject().value(QStringLiteral("code")).toString(), QStringLiteral("EUR"));
    EXPECT_EQ(rows[0].toObject().value(QStringLiteral("text")).toString(), QStringLiteral("100"));
    EXPECT_EQ(rows[1].toObject().value(QStringLiteral("code")).toString(), QStringLiteral("USD"));
    expectNear(
        answer, QStringLiteral("GBP"),
        Decimal::fromInt(100) * SampleData::cross(QStringLiteral("EUR"), QStringLiteral("GBP")),
        1e-5);
}

TEST_F(CliTest, AFailingProviderExitsWith2AndPrintsCachedRows) {
    ok({QStringLiteral("add"), QStringLiteral("GBP")});
    ok({QStringLiteral("rates")});
    server.setFailing(SampleServer::YFinance, true);
    const CliRun run = cli({QStringLiteral("--json"), QStringLiteral("rates")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("503 Service Unavailable")) << run.err.toStdString();
    const QJsonObject answer = run.json();
    EXPECT_EQ(answer.value(QStringLiteral("error")).toString(),
              QStringLiteral("503 Service Unavailable"));
    expectNear(answer, QStringLiteral("GBP"), SampleData::usdPrice(QStringLiteral("GBP")), 2e-3);
}

TEST_F(CliTest, BadInputExits64WithOneLineAndChangesNothing) {
    ok({QStringLiteral("add"), QStringLiteral("GBP")});
    const QByteArray before = settingsFile();
    ASSERT_FALSE(before.isEmpty());
    const QList<QStringList> cases{
        {QStringLiteral("frobnicate")},
        {QStringLiteral("base"), QStringLiteral("usd1")},
        {QStringLiteral("fee"), QStringLiteral("101")},
        {QStringLiteral("fee"), QStringLiteral("abc")},
        {QStringLiteral("add")},
        {QStringLiteral("add"), QStringLiteral("GBP")},
        {QStringLiteral("remove"), QStringLiteral("USD")},
        {QStringLiteral("select"), QStringLiteral("Nowhere")},
        {QStringLiteral("metal-unit"), QStringLiteral("Stone")},
        {QStringLiteral("feed"), QStringLiteral("add"), QStringLiteral("file:///etc/passwd")},
        {QStringLiteral("chart"), QStringLiteral("--period"), QStringLiteral("11")},
        {QStringLiteral("rates"), QStringLiteral("--bogus")},
        {QStringLiteral("convert"), QStringLiteral("ten"), QStringLiteral("GBP")},
    };
    for (const QStringList& arguments : cases) {
        const CliRun run = cli(arguments);
        EXPECT_EQ(run.exitCode, 64) << arguments.join(u' ').toStdString();
        EXPECT_EQ(run.err.count('\n'), 1)
            << arguments.join(u' ').toStdString() << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith("numiva-cli: ")) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(settingsFile(), before);
}

}  // namespace
