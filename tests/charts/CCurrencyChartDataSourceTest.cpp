#include "CChartDataStorageManager.h"
#include "CChartPeriod.h"
#include "CCurrencyChartSettings.h"
#include "CPastRateLookup.h"
#include "CRootViewModel.h"
#include "ChartProviderTestSupport.h"
#include "ChartTestSupport.h"
#include "Localization.h"
#include "NotificationCenter.h"

using namespace charttest;

namespace {

const QString selectedSourcesKey = QStringLiteral("SelectedCurrencySources");

/// Answers every chart service with its recorded files.
FakeHttpServer::Answer answerFor(const FakeHttpServer::Request& request) {
    if (request.path.startsWith("/instrument/")) {
        return FakeHttpServer::Answer::file("yahoo-chart/eurusd-1y.json");
    }
    if (request.path == "/apps/data") {
        return FakeHttpServer::Answer::file("bloomberg-chart/eurusd-1y.txt");
    }
    if (request.path == "/stats/exchange/eurofxref/html/usd.xml") {
        return FakeHttpServer::Answer::file("ecb-chart/usd.xml", "text/xml");
    }
    if (request.path == "/scripts/XML_dynamic.asp") {
        const bool euro = request.queryValues("VAL_NM_RQ") == QStringList{"R01239"};
        return FakeHttpServer::Answer::file(
            euro ? "cbr-chart/dynamic-eur.xml" : "cbr-chart/dynamic-usd.xml", "text/xml");
    }
    return FakeHttpServer::Answer::text("Not Found", 404);
}

/// Answers every chart service with its recorded files, each held until `gate` is released.
FakeHttpServer::Handler heldAnswers(const std::shared_ptr<FakeHttpServer::Gate>& gate) {
    return
        [gate](const FakeHttpServer::Request& request) { return held(answerFor(request), gate); };
}

class ChartDataSourceTest : public ::testing::Test {
protected:
    ChartDataSourceTest() : cache(dir.filePath("ChartDataStorage.sqlite")) {
        Endpoints::setStandard(chartEndpointsFor(server));
        server.setHandler(answerFor);
        model = std::make_unique<CRootViewModel>(defaults(), center);
        source =
            std::make_unique<CCurrencyChartDataSource>(*model, &cache, chartEndpointsFor(server));
        source->setDelegate(&recorder);
    }
    ~ChartDataSourceTest() override {
        source.reset();
        model.reset();
        Endpoints::setStandard(std::nullopt);
    }

    UserDefaults& defaults() { return dir.defaults(); }
    void select(const QString& dataSource) {
        defaults().setObject(QStringList{dataSource}, selectedSourcesKey);
    }
    void setChart(const QStringList& pair, int period) {
        CCurrencyChartSettings::setCurrencyPair(pair, defaults());
        CCurrencyChartSettings::setChartPeriod(period, defaults());
    }
    /// Runs one query to its outcome.
    void query() {
        recorder = {};
        server.clearRequests();
        source->queryCharts();
        ASSERT_TRUE(recorder.waitForOutcomes());
        ASSERT_EQ(recorder.outcomes(), 1);
        EXPECT_TRUE(recorder.allOnMainThread);
    }

    ScopedChartDataDir dir;
    FakeHttpServer server;
    NotificationCenter center;
    CChartDataStorageManager cache;
    ChartRecorder recorder;
    std::unique_ptr<CRootViewModel> model;
    std::unique_ptr<CCurrencyChartDataSource> source;
};

}  // namespace

TEST_F(ChartDataSourceTest, UnofferedPeriodFallsBackToTheSourcesFirstPeriodAndIsStored) {
    struct Row {
        const char* source;
        int stored;
        int asked;
        const char* requestPart;  // a part of the first request's target
    };
    const QList<Row> rows = {
        {"Bloomberg", ChartPeriod10Years, ChartPeriod1Day, "TimePeriod=1D&Outfields=ITIME,PR005-I"},
        {"Bloomberg", ChartPeriod3Years, ChartPeriod3Years, "TimePeriod=3Y"},
        {"YFinance", ChartPeriod10Years, ChartPeriod10Years, "range=10y"},
        {"ECB", ChartPeriod1Day, ChartPeriod1Week, "/usd.xml"},
        {"CBR", ChartPeriod1Day, ChartPeriod1Week, "VAL_NM_RQ=R01239"},
        {"CBR", ChartPeriodOverall, ChartPeriodOverall, "VAL_NM_RQ=R01239"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.source) + " " + std::to_string(row.stored));
        select(row.source);
        setChart({"USD", "EUR"}, row.stored);
        query();
        ASSERT_GE(server.requestCount(), 1);
        EXPECT_TRUE(server.requests().first().target.contains(row.requestPart))
            << server.requests().first().target.toStdString();
        EXPECT_EQ(CCurrencyChartSettings::getChartPeriod(defaults()), row.asked);
        ASSERT_EQ(recorder.results.size(), 1);
        EXPECT_EQ(recorder.results.first().chartPeriod, row.asked);
        EXPECT_TRUE(recorder.results.first().hasData());
    }
}

TEST_F(ChartDataSourceTest, ResultsAreLabelledWithTheChartedPairAndCached) {
    select("YFinance");
    setChart({"USD", "EUR"}, ChartPeriod1Year);
    EXPECT_FALSE(source->getCachedChartInfo());
    query();
    ASSERT_EQ(recorder.results.size(), 1);
    const CCurrencyChartInfo result = recorder.results.first();
    EXPECT_EQ(result.firstCurrencyCode + result.lastCurrencyCode, QStringLiteral("USDEUR"));
    EXPECT_EQ(result.plotPoints.size(), 8);

    const std::optional<CCurrencyChartInfo> cached =
        cache.getChartInfoForCurrencyPair({"USD", "EUR"}, ChartPeriod1Year, "YFinance");
    ASSERT_TRUE(cached);
    EXPECT_EQ(*cached, result);
    EXPECT_EQ(source->getCachedChartInfo(), result);
    EXPECT_FALSE(cache.getChartInfoForCurrencyPair({"USD", "EUR"}, ChartPeriod1Year, "Bloomberg"));
    EXPECT_FALSE(cache.getChartInfoForCurrencyPair({"EUR", "USD"}, ChartPeriod1Year, "YFinance"));

    // The cache is read for the period the source would be asked for.
    select("ECB");
    setChart({"USD", "EUR"}, ChartPeriod1Day);
    query();
    EXPECT_TRUE(cache.getChartInfoForCurrencyPair({"USD", "EUR"}, ChartPeriod1Week, "ECB"));
    CCurrencyChartSettings::setChartPeriod(ChartPeriod1Day, defaults());
    ASSERT_TRUE(source->getCachedChartInfo());
    EXPECT_EQ(source->getCachedChartInfo()->chartPeriod, ChartPeriod1Week);
}

TEST_F(ChartDataSourceTest, EmptyResultsAndFailuresAreHandedOnButNotCached) {
    Localization::install(QStringLiteral("en"));  // the user's words
    select("ECB");
    setChart({"USD", "XYZ"}, ChartPeriod1Year);  // no file for XYZ: 404
    query();
    ASSERT_EQ(recorder.results.size(), 1);
    EXPECT_FALSE(recorder.results.first().hasData());
    EXPECT_FALSE(cache.getChartInfoForCurrencyPair({"USD", "XYZ"}, ChartPeriod1Year, "ECB"));

    server.setHandler(
        [](const FakeHttpServer::Request&) { return FakeHttpServer::Answer::text("", 500); });
    // Every source asks the hosts it was given (the server here), none the standard ones.
    for (const char* id : {"Frankfurter", "Bloomberg"}) {
        recorder = {};
        select(id);
        setChart({"USD", "EUR"}, ChartPeriod1Year);
        query();
        ASSERT_EQ(recorder.failures.size(), 1) << id;
        EXPECT_TRUE(recorder.failures[0].endsWith(
            "The service answered 500 (Internal Server Error). The last stored chart is shown."))
            << recorder.failures[0].toStdString();
        EXPECT_FALSE(cache.getChartInfoForCurrencyPair({"USD", "EUR"}, ChartPeriod1Year,
                                                       QString::fromLatin1(id)));
    }

    // Points of the year 9999 or at absurd values are left out before anything sees them.
    server.setHandler([](const FakeHttpServer::Request&) {
        return FakeHttpServer::Answer::text(
            "\"EURUSD:CUR\"HDATE=20120315\n20120315\"1.30\n99990101\"1.31\n20120316\"1e30\n\n");
    });
    recorder = {};
    query();
    ASSERT_EQ(recorder.results.size(), 1);
    EXPECT_EQ(valueTexts(recorder.results.first()), QStringList{"1.3"});
}

TEST_F(ChartDataSourceTest, RelatedCurrenciesAreAskedForAndScaledBack) {
    // Pence: one GBX is 0.01 GBP. The service is asked for the pound; a rate per pound is a
    // hundred times the rate per penny.
    select("YFinance");
    setChart({"GBX", "USD"}, ChartPeriod1Year);
    query();
    ASSERT_EQ(server.requestCount(), 1);
    EXPECT_EQ(server.requests().first().path,
              QStringLiteral("/instrument/1.0/USDGBP=X/chartdata;type=close;range=1y/json/"));
    EXPECT_EQ(CCurrencyChartSettings::getCurrencyPair(defaults()), (QStringList{"GBX", "USD"}));
    ASSERT_EQ(recorder.results.size(), 1);
    const CCurrencyChartInfo& pence = recorder.results.first();
    EXPECT_EQ(pence.firstCurrencyCode + pence.lastCurrencyCode, QStringLiteral("GBXUSD"));
    EXPECT_EQ((QStringList{pence.plotPoints.first().value.toString(),
                           pence.minCurrencyValue.toString(), pence.maxCurrencyValue.toString()}),
              (QStringList{"130.36", "130.36", "133.43"}));
    EXPECT_TRUE(cache.getChartInfoForCurrencyPair({"GBX", "USD"}, ChartPeriod1Year, "YFinance"));

    setChart({"USD", "GBX"}, ChartPeriod1Year);
    query();
    EXPECT_EQ(server.requests().first().path,
              QStringLiteral("/instrument/1.0/GBPUSD=X/chartdata;type=close;range=1y/json/"));
    EXPECT_EQ(recorder.results.first().plotPoints.first().value, dec("0.013036"));
    EXPECT_EQ(source->requestPairForCurrencyPair({"ZAC", "ILA"}), (QStringList{"ZAR", "ILS"}));
}

TEST_F(ChartDataSourceTest, ANewQueryCancelsTheOneInFlightOnAnotherSource) {
    auto gate = std::make_shared<FakeHttpServer::Gate>();
    server.setHandler([gate](const FakeHttpServer::Request& request) {
        return request.path.startsWith("/instrument/") ? held(answerFor(request), gate)
                                                       : answerFor(request);
    });
    select("YFinance");
    setChart({"USD", "EUR"}, ChartPeriod1Year);
    source->queryCharts();
    ASSERT_TRUE(server.waitForRequests(1));
    select("ECB");
    source->queryCharts();
    ASSERT_TRUE(recorder.waitForOutcomes());
    gate->release();
    ChartRecorder::settle();
    ASSERT_EQ(recorder.outcomes(), 1);
    EXPECT_EQ(recorder.results.first().plotPoints.size(), 54);  // the ECB file
    EXPECT_FALSE(cache.getChartInfoForCurrencyPair({"USD", "EUR"}, ChartPeriod1Year, "YFinance"));
    EXPECT_TRUE(cache.getChartInfoForCurrencyPair({"USD", "EUR"}, ChartPeriod1Year, "ECB"));
}

TEST_F(ChartDataSourceTest, NothingArrivesAfterCancelOrDestruction) {
    auto gate = std::make_shared<FakeHttpServer::Gate>();
    server.setHandler(heldAnswers(gate));
    select("Bloomberg");
    setChart({"USD", "EUR"}, ChartPeriod1Year);
    source->queryCharts();
    ASSERT_TRUE(server.waitForRequests(1));
    source->cancelQuery();
    gate->release();
    ChartRecorder::settle();
    EXPECT_EQ(recorder.outcomes(), 0);

    auto secondGate = std::make_shared<FakeHttpServer::Gate>();
    server.setHandler(heldAnswers(secondGate));
    server.clearRequests();
    source->queryCharts();
    ASSERT_TRUE(server.waitForRequests(1));
    source.reset();
    secondGate->release();
    ChartRecorder::settle();
    EXPECT_EQ(recorder.outcomes(), 0);
}

TEST_F(ChartDataSourceTest, PastDayRatesComeFromTheHistoryOrTheNearestEarlierDay) {
    Localization::install(QStringLiteral("en"));
    server.setHandler([](const FakeHttpServer::Request& request) {
        return request.path == "/v2/rates"
                   ? FakeHttpServer::Answer::file("frankfurter/rates-day.json", "application/json")
                   : answerFor(request);
    });
    CPastRateLookup lookup(*model, &cache, chartEndpointsFor(server));
    lookup.setToday([] { return QDate(2026, 12, 8); });
    struct Row {
        const char* source;
        const char* day;
        const char* used;  // the day of the EUR rate found; empty: none
        const char* value;
        int requests;
        bool badDate;
    };
    const QList<Row> rows = {
        {"ECB", "2012-01-04", "2012-01-04", "1.2922", 1, false},
        // A Saturday: Friday's rate, from the history stored by the first row.
        {"ECB", "2012-01-07", "2012-01-06", "1.2944", 0, false},
        {"ECB", "2011-12-30", "", "", 1, true},  // the history starts on 2012-01-02
        {"ECB", "2026-12-09", "", "", 0, true},  // tomorrow
        // No history: Frankfurter's answer for the day, dated with the day it was published.
        {"BankUa", "2012-01-07", "2012-01-06", "1.294414", 1, false},
        {"Frankfurter", "1999-01-01", "", "", 0, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.source) + " " + row.day);
        select(row.source);
        server.clearRequests();
        std::optional<CPastRateLookup::Outcome> outcome;
        lookup.lookup({"USD", "EUR"}, QDate::fromString(row.day, Qt::ISODate),
                      [&](const CPastRateLookup::Outcome& o) { outcome = o; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return outcome.has_value(); }, 10000));
        EXPECT_EQ(server.requestCount(), row.requests);
        EXPECT_EQ(outcome->badDate, row.badDate);
        EXPECT_EQ(outcome->failure.has_value(), row.badDate);
        const auto euro = outcome->rates.constFind("EUR");
        if (*row.used == 0) {
            EXPECT_EQ(euro, outcome->rates.cend());
            EXPECT_EQ(outcome->missing, QStringList{"EUR"});
            continue;
        }
        ASSERT_NE(euro, outcome->rates.cend());
        EXPECT_EQ(euro->date.toString(Qt::ISODate), QString::fromLatin1(row.used));
        EXPECT_EQ(euro->usdValue.toString().left(8), QString::fromLatin1(row.value));
    }
    // A conversion at that day uses those rates, and says whose day it shows.
    model->conversionDate = QDate(2012, 1, 7);
    model->conversionRates = {{"USD", {dec("1"), QDate(2012, 1, 7), {}}},
                              {"EUR", {dec("1.25"), QDate(2012, 1, 6), "ECB"}}};
    EXPECT_EQ(model->getConversionSaleValue("EUR", "USD"), dec("1.25"));
    EXPECT_EQ(model->getConversionRateDate("USD", "EUR"), QDate(2012, 1, 6));
}
