#include "CCurrencyDataSource.h"

#include "CCustomDataSourceStorageManager.h"
#include "CRelatedCurrenciesInfo.h"
#include "CRootViewModel.h"
#include "CoreTestSupport.h"
#include "FakeHttpServer.h"
#include "Localization.h"
#include "NotificationCenter.h"
#include "TestSupport.h"
#include "UserDefaults.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

const QString quotesPath = QStringLiteral("/d/quotes.csv");
const QString convertPath = QStringLiteral("/AdaptivePayments/ConvertCurrency");

CCBRCurrenciesInfoPtr table(std::initializer_list<CCBRCurrencyInfoPtr> rows) {
    auto t = std::make_shared<CCBRCurrenciesInfo>();
    for (const auto& r : rows) {
        t->addCurrencyInfo(r);
    }
    return t;
}

struct Recorder : CCurrencyDataSourceDelegate {
    QList<CCBRCurrenciesInfoPtr> results;
    QStringList failures;
    void queryCurrencyDataSourceCompletedWithResult(CCBRCurrenciesInfoPtr result) override {
        results.append(result);
    }
    void queryCurrencyDataSourceFailedWithErrorDescription(const QString& description) override {
        failures.append(description);
    }
    int outcomes() const { return static_cast<int>(results.size() + failures.size()); }
};

/// A model on a fresh data directory with the given settings, an aggregator whose clients talk
/// to a local server.
class AggregatorTest : public ::testing::Test {
protected:
    // Failures are checked in the words the user reads.
    void SetUp() override { Localization::install(QStringLiteral("en")); }
    void start(const QStringList& sources, const QStringList& codes,
               const QString& base = QStringLiteral("USD")) {
        defaults.setObject(sources, QStringLiteral("SelectedCurrencySources"));
        defaults.setObject(codes, QStringLiteral("SelectedCurrencies"));
        defaults.setObject(base, QStringLiteral("BaseCurrency"));
        model = std::make_unique<CRootViewModel>(defaults, center);
        // Every service is the local server; no test reaches the internet.
        Endpoints endpoints = Endpoints::defaults();
        for (const QString& key :
             {Endpoints::Cbr, Endpoints::Ecb, Endpoints::BankUa, Endpoints::YahooQuotes,
              Endpoints::PayPal, Endpoints::Bloomberg, Endpoints::Ocbc, Endpoints::Frankfurter}) {
            endpoints.setValue(key, server.baseUrl());
        }
        source = std::make_unique<CCurrencyDataSource>(*model, endpoints);
        source->setDelegate(&recorder);
    }

    /// Runs one cycle to its outcome and checks that nothing else follows.
    void refresh() {
        source->queryCurrencyRates();
        EXPECT_EQ(recorder.outcomes(), 0);  // never from within the call
        ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.outcomes() > 0; }, 10000));
        QTest::qWait(20);
        ASSERT_EQ(recorder.outcomes(), 1);
    }

    QStringList pathsAsked() const {
        QStringList paths;
        for (const FakeHttpServer::Request& request : server.requests()) {
            paths.append(request.path);
        }
        return paths;
    }

    ScopedDataDir dataDir;
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    NotificationCenter center;
    FakeHttpServer server;
    Recorder recorder;
    std::unique_ptr<CRootViewModel> model;
    std::unique_ptr<CCurrencyDataSource> source;
};

}  // namespace

TEST(CCurrencyDataSourceRequestList, Examples) {
    const CRelatedCurrenciesInfo related(QVariantMap{
        {QStringLiteral("GBX"),
         QVariantMap{{QStringLiteral("relatedCurrency"), QStringLiteral("GBP")},
                     {QStringLiteral("multiplier"), 0.01}}},
        {QStringLiteral("ZAC"),
         QVariantMap{{QStringLiteral("relatedCurrency"), QStringLiteral("ZAR")},
                     {QStringLiteral("multiplier"), 0.01}}},
    });
    struct Row {
        QStringList selected;
        QStringList available;
        QStringList expected;
    };
    const QList<Row> rows = {
        {{"EUR", "USD", "RUB"}, {"EUR", "USD"}, {"EUR", "USD"}},
        {{"EUR", "RUB"}, {"EUR", "USD"}, {"USD", "EUR"}},
        // The dollar leads even where the source does not list it.
        {{"EUR"}, {"EUR"}, {"USD", "EUR"}},
        // A related currency is asked for instead, once.
        {{"GBX", "GBP", "EUR"}, {"GBX", "GBP", "USD"}, {"USD", "GBP"}},
        // ... and only when the source offers it too.
        {{"ZAC", "USD"}, {"ZAC", "USD"}, {"USD"}},
        {{"EUR", "EUR"}, {"EUR", "USD"}, {"USD", "EUR"}},
        {{}, {"EUR"}, {"USD"}},
    };
    // A multiplier may be stored as a number of any kind or as text; anything else is none.
    const CRelatedCurrenciesInfo kinds(
        QVariantMap{{"A", QVariantMap{{"multiplier", 100}}},
                    {"B", QVariantMap{{"multiplier", QStringLiteral("0.01")}}},
                    {"C", QVariantMap{{"multiplier", true}}}});
    EXPECT_EQ(kinds.getMultiplierForCode("A"), Decimal::fromInt(100));
    EXPECT_EQ(kinds.getMultiplierForCode("B"), Decimal::fromString(u"0.01"));
    EXPECT_TRUE(kinds.getMultiplierForCode("C").isZero());
    for (const Row& r : rows) {
        EXPECT_EQ(CCurrencyDataSource::filterAvailableCurrencies(r.selected, r.available, related),
                  r.expected)
            << r.selected.join(u',').toStdString();
    }
}

TEST(CCurrencyDataSourceRebase, RatesBecomeDollarsPerUnitOrNaNWithoutAUsableDollar) {
    // EUR 1 and USD 0.8 (per unit, in some reference currency) become 1.25 and 1; a zero row is
    // taken as 1. Without a usable dollar (zero, nominal 0 or missing) every rate is NaN.
    const QList<std::pair<CCBRCurrenciesInfoPtr, QString>> cases = {
        {table({row("EUR", "1"), row("USD", "0.8"), row("JPY", "80", 10000), row("XAU", "0")}),
         "1.25 1 0.01 1.25"},
        {table({row("EUR", "1"), row("USD", "0"), row("GBP", "0.9")}), "NaN NaN NaN"},
        {table({row("EUR", "1"), row("USD", "5", 0)}), "NaN NaN"},
        {table({row("EUR", "1"), row("GBP", "0.9")}), "NaN NaN"},
    };
    for (const auto& [info, expected] : cases) {
        CCurrencyDataSource::convertCurrenciesInfoToUsdBase(*info);
        QStringList values;
        for (const auto& r : info->currenciesInfo) {
            values << r->saleValue.toString() + (r->nominalValue == 1 ? "" : " per nominal");
        }
        EXPECT_EQ(values.join(u' '), expected);
    }
}

TEST_F(AggregatorTest, MergesRebasedAnswersAndTheFirstSourceWins) {
    for (const QStringList& sources :
         {QStringList{"YFinance", "PayPal"}, QStringList{"PayPal", "YFinance"}}) {
        SCOPED_TRACE(sources.join(u',').toStdString());
        const bool yahooFirst = sources.first() == u"YFinance";
        recorder = {};
        server.clearRequests();
        server.answer(quotesPath,
                      FakeHttpServer::Answer::file(QStringLiteral("yahoo/eur-usd-xau-in-eur.csv")));
        server.answer(convertPath, FakeHttpServer::Answer::file(
                                       QStringLiteral("paypal/convert-eur-usd-from-eur.json")));
        start(sources, {"USD", "EUR", "XAU"}, QStringLiteral("EUR"));
        refresh();
        ASSERT_EQ(recorder.results.size(), 1);
        EXPECT_EQ(pathsAsked(), yahooFirst ? (QStringList{quotesPath, convertPath})
                                           : (QStringList{convertPath, quotesPath}));
        const QStringList pairs =
            server.requests()[sources.indexOf(QStringLiteral("YFinance"))].queryValues(
                QStringLiteral("s"));
        ASSERT_EQ(pairs, (QStringList{"EUREUR=X", "USDEUR=X", "XAUEUR=X"}));

        const CCBRCurrenciesInfo& result = *recorder.results.first();
        // Yahoo quoted in euros: USD 0.9223, XAU 1522.3; PayPal: 1 EUR buys 1.0842 USD.
        const Decimal one = Decimal::fromInt(1);
        const Decimal yahooUsd = d("0.9223");
        const Decimal payPalUsd = one / (d("1084200.00") / Decimal::fromInt(1000000));
        EXPECT_EQ(result.saleValueForCurrencyWithTextCode(QStringLiteral("EUR")),
                  one / (yahooFirst ? yahooUsd : payPalUsd));
        EXPECT_EQ(result.saleValueForCurrencyWithTextCode(QStringLiteral("USD")), one);
        EXPECT_EQ(result.saleValueForCurrencyWithTextCode(QStringLiteral("XAU")),
                  d("1522.3") / yahooUsd);
        EXPECT_EQ(result.currenciesInfo.size(), 3) << "each code once";
    }
}

TEST_F(AggregatorTest, FailureAtTheSecondSourceKeepsTheFirstSourcesRates) {
    server.answer(quotesPath,
                  FakeHttpServer::Answer::file(QStringLiteral("yahoo/eur-usd-xau-in-eur.csv")));
    server.answer(convertPath, FakeHttpServer::Answer::text("busy", 503));
    start({"YFinance", "PayPal"}, {"USD", "EUR", "XAU"}, QStringLiteral("EUR"));
    refresh();
    EXPECT_TRUE(recorder.failures.isEmpty());
    ASSERT_EQ(recorder.results.size(), 1);
    EXPECT_EQ(recorder.results.first()->saleValueForCurrencyWithTextCode(QStringLiteral("XAU")),
              d("1522.3") / d("0.9223"));
    EXPECT_TRUE(source->partialFailure().value_or("").startsWith(
        "PayPal could not be updated. The service answered 503 (Service Unavailable). Its last"));
}

TEST_F(AggregatorTest, SourcesThatCannotAnswerEndTheCycleWithAText) {
    struct Row {
        QStringList sources;
        QString failure;
    };
    // The server knows only the Yahoo path: every other built-in provider gets 404.
    const QList<Row> rows = {
        {{"CBR"},
         QStringLiteral("Central Bank of Russia could not be updated. The service answered 404 "
                        "(Not Found). The last stored rates are shown.")},
        {{"Bloomberg"}, QStringLiteral("answered 404 (Not Found)")},
        {{"OCBC"}, QStringLiteral("answered 404 (Not Found)")},
        // A custom source's failure ends the cycle too.
        {{"ftp://rates.example.com/feed.xml"}, QStringLiteral("ftp://rates.example.com/feed.xml")},
        {{}, QStringLiteral("No data source is selected.")},
    };
    server.answer(quotesPath, FakeHttpServer::Answer::file(QStringLiteral("yahoo/eur-usd.csv")));
    for (const Row& r : rows) {
        SCOPED_TRACE(r.sources.join(u',').toStdString());
        recorder = {};
        server.clearRequests();
        start(r.sources, {"EUR", "USD"});
        refresh();
        ASSERT_EQ(recorder.failures.size(), 1);
        EXPECT_TRUE(recorder.failures.first().contains(r.failure))
            << recorder.failures.first().toStdString();
        // The cycle stops at the first failure.
        EXPECT_LE(server.requestCount(), std::min<qsizetype>(r.sources.size(), 2));
    }
}

TEST_F(AggregatorTest, AnswersThatParseButHoldNothingSaneNeverPassForRates) {
    struct Row {
        const char* source;
        const char* path;
        const char* file;
        QStringList codes;  // delivered, in order; empty: the cycle fails with `failure`
        const char* failure = "";
    };
    const QList<Row> rows = {
        // " gbp\t" and "EURO" are no codes.
        {"ECB", "/stats/eurofxref/eurofxref-daily.xml", "ecb/future.xml", {"EUR", "USD", "JPY"}},
        // Rates beyond any decimal would be prices of 1e6000 dollars or 1e-6000.
        {"ECB",
         "/stats/eurofxref/eurofxref-daily.xml",
         "ecb/bad-entries.xml",
         {"EUR", "USD", "JPY"}},
        {"ECB",
         "/stats/eurofxref/eurofxref-daily.xml",
         "ecb/no-rates.xml",
         {},
         "held no usable rate for the US dollar"},
        // A yen at 1e20 dollars is left out; a rate of the year 2812 has no date.
        {"Frankfurter", "/v2/rates", "frankfurter/rates-far-dates.json", {"USD", "EUR", "GBP"}},
        {"Frankfurter", "/v2/rates", "frankfurter/rates-empty.json", {}, "held no usable rates"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.file);
        recorder = {};
        server.answer(QString::fromLatin1(r.path),
                      FakeHttpServer::Answer::file(QString::fromLatin1(r.file)));
        start({QString::fromLatin1(r.source)}, {"USD", "EUR", "GBP", "JPY"});
        refresh();
        if (r.codes.isEmpty()) {
            ASSERT_EQ(recorder.failures.size(), 1);
            EXPECT_TRUE(recorder.failures.first().contains(QLatin1String(r.failure)))
                << recorder.failures.first().toStdString();
            continue;
        }
        ASSERT_EQ(recorder.results.size(), 1) << recorder.failures.value(0).toStdString();
        QStringList codes;
        for (const CCBRCurrencyInfoPtr& row : recorder.results.first()->currenciesInfo) {
            codes.append(row->isoTextCode);
            EXPECT_FALSE(row->saleValue.isNaN()) << row->isoTextCode.toStdString();
            EXPECT_TRUE(!row->actualDate.isValid() || row->actualDate.date().year() <= 2100);
        }
        EXPECT_EQ(codes, r.codes);
    }
}

TEST_F(AggregatorTest, NewCycleReplacesTheOneInProgress) {
    auto gate = std::make_shared<FakeHttpServer::Gate>();
    FakeHttpServer::Answer held = FakeHttpServer::Answer::text("9\r\n9\r\n");
    held.gate = gate;
    server.answer(quotesPath,
                  {held, FakeHttpServer::Answer::file(QStringLiteral("yahoo/eur-usd.csv"))});
    start({"YFinance"}, {"EUR", "USD"});
    source->queryCurrencyRates();
    ASSERT_TRUE(server.waitForRequests(1));
    refresh();
    gate->release();
    QTest::qWait(50);
    // Only the second cycle's answer arrives: USD first (the base), then EUR.
    ASSERT_EQ(recorder.results.size(), 1);
    EXPECT_EQ(recorder.results.first()->saleValueForCurrencyWithTextCode(QStringLiteral("EUR")),
              d("0.9998"));
}

TEST_F(AggregatorTest, YahooIsAskedInTheRelatedBaseCurrency) {
    server.answer(quotesPath, FakeHttpServer::Answer::text("1\r\n1\r\n"));
    start({"YFinance"}, {"EUR", "USD"});
    source->queryCurrencyRateRelativeToBase(QStringLiteral("GBX"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.outcomes() > 0; }, 10000));
    EXPECT_EQ(source->currentBaseCurrency(), QStringLiteral("GBX"));
    ASSERT_EQ(server.requestCount(), 1);
    EXPECT_EQ(server.requests().first().queryValues(QStringLiteral("s")),
              (QStringList{"USDGBP=X", "EURGBP=X"}));
}

TEST_F(AggregatorTest, CustomSourceAnswerUpdatesTheRegistry) {
    QByteArray feed = FakeHttpServer::testData(QStringLiteral("custom/feed.xml"));
    feed.replace("{{BASE}}", server.baseUrl().toUtf8());
    server.answer(QStringLiteral("/feed.xml"), FakeHttpServer::Answer::text(feed, 200, "text/xml"));
    server.answer(QStringLiteral("/logo.jpeg"),
                  FakeHttpServer::Answer::file(QStringLiteral("custom/logo.jpeg"), "image/jpeg"));
    const QString url = server.url(QStringLiteral("/feed.xml"));
    CCustomDataSourceStorageManager::sharedInstance().addDataSourceWithUrl(url);
    start({url}, {"USD", "EUR", "JPY"});
    refresh();
    ASSERT_EQ(recorder.results.size(), 1) << recorder.failures.join(u'|').toStdString();
    const CCBRCurrenciesInfo& result = *recorder.results.first();
    EXPECT_EQ(result.saleValueForCurrencyWithTextCode(QStringLiteral("USD")), d("1"));
    EXPECT_FALSE(result.saleValueForCurrencyWithTextCode(QStringLiteral("EUR")).isNaN());

    const auto entry = CCustomDataSourceStorageManager::sharedInstance().getDataSourceWithUrl(url);
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->displayName, QStringLiteral("Numiva sample bank"));
    EXPECT_EQ(entry->currenciesList, (QStringList{"USD", "EUR", "JPY"}));
    EXPECT_TRUE(entry->logoImagePath.has_value());
}

TEST_F(AggregatorTest, FrankfurtersOwnCodeListIsAskedAfterARefreshAtMostDaily) {
    server.answer(QStringLiteral("/v2/rates"),
                  FakeHttpServer::Answer::file(QStringLiteral("frankfurter/rates-usd.json")));
    server.answer(QStringLiteral("/v2/currencies"),
                  FakeHttpServer::Answer::file(QStringLiteral("frankfurter/currencies.json")));
    start({"Frankfurter"}, {"USD", "EUR", "GEL"});
    const QString frankfurter = CCurrencyDataSource::Frankfurter;
    EXPECT_GT(model->currencyDataSourceInfo().getAvailableCurrencyCodes(frankfurter).size(), 100)
        << "the shipped list first";
    refresh();
    ASSERT_TRUE(server.waitForRequests(2));
    ASSERT_TRUE(QTest::qWaitFor([&] {
        return model->currencyDataSourceInfo().getAvailableCurrencyCodes(frankfurter) ==
               QStringList{"EUR", "USD", "GEL"};
    }));
    // The next refresh asks for the listed codes, GEL among them, and not for the list again.
    recorder.results.clear();
    refresh();
    QTest::qWait(50);
    EXPECT_EQ(pathsAsked(), (QStringList{"/v2/rates", "/v2/currencies", "/v2/rates"}));
    EXPECT_EQ(server.requests().last().queryValues(QStringLiteral("quotes")),
              QStringList{QStringLiteral("EUR,GEL")});
    // A new model on the same settings starts from the kept list.
    CRootViewModel again(defaults, center);
    EXPECT_EQ(again.currencyDataSourceInfo().getAvailableCurrencyCodes(frankfurter),
              (QStringList{"EUR", "USD", "GEL"}));
}
