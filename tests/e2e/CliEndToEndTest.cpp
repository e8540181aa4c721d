// numiva-cli end to end: the real binary against the sample server.
#include "CliTestSupport.h"

namespace {

QJsonObject row(const QJsonObject& answer, const QString& code) {
    for (const QJsonValue& r : answer.value(QStringLiteral("rows")).toArray()) {
        if (str(r.toObject(), "code") == code) {
            return r.toObject();
        }
    }
    return {};
}

/// The row's exact value agrees with `expected` within the relative tolerance.
void expectNear(const QJsonObject& answer, const QString& code, const Decimal& expected,
                double relative) {
    const QJsonObject r = row(answer, code);
    ASSERT_FALSE(r.isEmpty()) << code.toStdString();
    const Decimal value = decimal(r.value(QStringLiteral("value")));
    ASSERT_FALSE(value.isNaN()) << code.toStdString();
    EXPECT_NEAR((value / expected).toDouble(), 1.0, relative)
        << code.toStdString() << ": " << value.toString().toStdString() << " vs "
        << expected.toString().toStdString();
}

Decimal usd(const char* code) {
    return SampleData::usdPrice(QString::fromLatin1(code));
}

Decimal cross(const char* code, const char* quote) {
    return SampleData::cross(QString::fromLatin1(code), QString::fromLatin1(quote));
}

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
    ok("base EUR");
    const QJsonObject answer = ok("--json rates").json();
    EXPECT_EQ(str(answer, "source"), QString::fromLatin1(c.source));
    EXPECT_TRUE(answer.value(QStringLiteral("error")).isNull());
    for (const QString& code : c.codes) {
        expectNear(answer, code, SampleData::cross(code, QStringLiteral("EUR")), c.tolerance);
        EXPECT_EQ(str(row(answer, code), "unit"), QStringLiteral("EUR"));
    }
    EXPECT_EQ(str(answer.value(QStringLiteral("rows")).toArray().first().toObject(), "code"),
              QStringLiteral("EUR"));
}

INSTANTIATE_TEST_SUITE_P(
    Sources, CliProviders,
    ::testing::Values(ProviderCase{"YFinance", {"GBP", "CHF", "JPY", "XAU"}, 2e-3},
                      ProviderCase{"PayPal", {"GBP", "CHF", "JPY", "SEK"}, 1e-5},
                      ProviderCase{"CBR", {"GBP", "CHF", "JPY", "KRW", "XAU", "XAG"}, 1e-3},
                      ProviderCase{"ECB", {"GBP", "CHF", "JPY", "IDR"}, 1e-3},
                      ProviderCase{"BankUa", {"GBP", "CHF", "JPY", "XAU", "XPD"}, 1e-3},
                      ProviderCase{"Bloomberg", {"GBP", "CHF", "JPY", "RUB"}, 1e-3},
                      ProviderCase{"OCBC", {"GBP", "CHF", "JPY", "IDR"}, 1e-3},
                      ProviderCase{"Frankfurter", {"GBP", "CHF", "JPY", "SEK"}, 1e-6},
                      ProviderCase{"CurrencyApi", {"GBP", "CHF", "JPY", "XAU"}, 1e-6}),
    [](const auto& info) { return std::string(info.param.source); });

TEST_F(CliTest, ACustomFeedIsReadRegisteredAndSelectable) {
    EXPECT_TRUE(ok({QStringLiteral("feed"), QStringLiteral("add"), server.feedUrl()})
                    .out.contains("Numiva sample bank"));
    ok({QStringLiteral("select"), server.feedUrl()});
    ok("add GBP XAU");
    const QJsonObject answer = ok("--json rates").json();
    expectNear(answer, QStringLiteral("GBP"), cross("GBP", "USD"), 1e-5);
    expectNear(answer, QStringLiteral("EUR"), cross("EUR", "USD"), 1e-5);
    const QJsonArray sources = QJsonDocument::fromJson(ok("--json sources").out).array();
    EXPECT_TRUE(std::any_of(sources.begin(), sources.end(), [&](const QJsonValue& s) {
        return str(s.toObject(), "id") == server.feedUrl() &&
               s.toObject().value(QStringLiteral("selected")).toBool();
    }));
}

TEST_F(CliTest, FeeAndMetalUnitsApply) {
    const QString gbp = QStringLiteral("GBP");
    ok("select YFinance");  // a source with metals
    ok("add GBP XAU");
    ok("fee 2,5");
    ok("metal-unit Gramm");
    const Decimal added = Decimal::fromString(u"1.025");
    QJsonObject answer = ok("--json rates").json();
    expectNear(answer, gbp, usd("GBP") * added, 2e-3);
    expectNear(answer, QStringLiteral("XAU"),
               usd("XAU") / Decimal::fromString(u"31.1034768") * added, 2e-3);
    ok("fee 2.5 --subtract");
    expectNear(ok("--json rates").json(), gbp, usd("GBP") * Decimal::fromString(u"0.975"), 2e-3);
    ok("fee off");
    answer = ok("--json rates --inverse").json();
    expectNear(answer, gbp, Decimal::fromInt(1) / usd("GBP"), 2e-3);
    EXPECT_EQ(str(row(answer, gbp), "unit"), gbp);
    EXPECT_EQ(str(row(ok("--json rates").json(), gbp), "unit"), QStringLiteral("USD"))
        << "--inverse holds for one run";
}

TEST_F(CliTest, ConvertShowsEveryRowInTheConvertedAmount) {
    ok("select PayPal");
    ok("add GBP");
    const QJsonObject answer = ok("--json convert 100 EUR").json();
    const QJsonArray rows = answer.value(QStringLiteral("rows")).toArray();
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(str(rows[0].toObject(), "code"), QStringLiteral("EUR"));
    EXPECT_EQ(str(rows[0].toObject(), "text"), QStringLiteral("100"));
    EXPECT_EQ(str(rows[1].toObject(), "code"), QStringLiteral("USD"));
    expectNear(answer, QStringLiteral("GBP"), Decimal::fromInt(100) * cross("EUR", "GBP"), 1e-5);
}

TEST_F(CliTest, AFailingProviderExitsWith2AndPrintsCachedRows) {
    ok("add GBP");
    ok("rates");
    server.setFailing(SampleServer::Frankfurter, true);
    const CliRun run = cli("--json rates");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("503 Service Unavailable")) << run.err.toStdString();
    EXPECT_EQ(str(run.json(), "error"), QStringLiteral("503 Service Unavailable"));
    expectNear(run.json(), QStringLiteral("GBP"), usd("GBP"), 2e-3);
}

TEST_F(CliTest, ANewInstallGetsFrankfurtersRatesAndCurrencyApiSurvivesItsCdn) {
    // Rows are dated with the day the rates were published: the last working day.
    QDate published = SampleData::today();
    while (published.dayOfWeek() > 5) {
        published = published.addDays(-1);
    }
    ok("add GBP");
    const QJsonObject fresh = ok("--json rates").json();
    EXPECT_EQ(str(fresh, "source"), QStringLiteral("Frankfurter"));
    expectNear(fresh, QStringLiteral("GBP"), usd("GBP"), 1e-6);
    EXPECT_EQ(
        QDateTime::fromString(str(row(fresh, QStringLiteral("GBP")), "date"), Qt::ISODate).date(),
        published);
    EXPECT_TRUE(ok("sources").out.contains("* Frankfurter\tFrankfurter (central banks)\t"));

    server.setFailing(SampleServer::CurrencyApi, true);
    ok("select CurrencyApi");
    const QJsonObject fallback = ok("--json rates").json();
    EXPECT_EQ(str(fallback, "source"), QStringLiteral("CurrencyApi"));
    expectNear(fallback, QStringLiteral("GBP"), usd("GBP"), 1e-6);
    server.setFailing(SampleServer::CurrencyApiFallback, true);
    const CliRun down = cli("--json rates");
    EXPECT_EQ(down.exitCode, 2);
    EXPECT_EQ(str(down.json(), "error"),
              QStringLiteral("The sample service is told to fail. (503 Service Unavailable)"));
}

TEST_F(CliTest, BadInputExits64WithOneLineAndChangesNothing) {
    ok("add GBP");
    expectRefused({"frobnicate", "base usd1", "fee 101", "fee abc", "add", "add GBP", "remove USD",
                   "select Nowhere", "metal-unit Stone", "feed add file:///etc/passwd",
                   "rates --bogus", "convert ten GBP"});
}

}  // namespace
