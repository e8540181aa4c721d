// What the recorded answers (ChartGoldenTest) cannot show: the ranges asked per period, hostile
// nesting, cancellation inside a parse, and queries that are replaced, cancelled or outlived.
#include "CChartPeriod.h"
#include "ChartProviderTestSupport.h"
#include "ChartTestSupport.h"

using namespace charttest;

namespace {

using Range = CFrankfurterChartWebServiceClient::Range;

TEST(ChartClients, EachPeriodIsAskedAsTheServicesRange) {
    const QList<std::pair<int, QString>> yahoo = {
        {0, "1d"}, {1, "7d"}, {2, "1m"},  {3, "3m"},    {4, "6m"}, {5, "1y"}, {6, "2y"},
        {7, "3y"}, {8, "5y"}, {9, "10y"}, {10, "100y"}, {11, {}},  {-1, {}},
    };
    for (const auto& [period, range] : yahoo) {
        EXPECT_EQ(CYahooFinanceChartWebServiceClient::rangeForPeriod(period).value_or(QString()),
                  range)
            << period;
    }

    // Frankfurter: one range of at most about 1,500 points.
    const QDate today(2026, 12, 7);
    const QList<std::tuple<int, QDate, std::optional<Range>>> frankfurter = {
        {ChartPeriod1Day, today, std::nullopt},  // no intraday rates
        {ChartPeriod1Week, today, Range{QDate(2026, 11, 30), today, {}}},
        {ChartPeriod2Years, today, Range{QDate(2024, 12, 7), today, {}}},
        {ChartPeriod3Years, today, Range{QDate(2023, 12, 7), today, QStringLiteral("week")}},
        {ChartPeriodOverall, today, Range{QDate(1999, 1, 4), today, QStringLiteral("week")}},
        // Once weeks since 1999 pass 1,500, the whole history is asked by month.
        {ChartPeriodOverall, QDate(2030, 1, 1),
         Range{QDate(1999, 1, 4), QDate(2030, 1, 1), QStringLiteral("month")}},
        {ChartPeriod10Years, QDate(2005, 6, 1),
         Range{QDate(1999, 1, 4), QDate(2005, 6, 1), QStringLiteral("week")}},
        {11, today, std::nullopt},
    };
    for (const auto& [period, day, expected] : frankfurter) {
        EXPECT_EQ(CFrankfurterChartWebServiceClient::rangeForPeriod(period, day), expected)
            << period << " " << day.toString(Qt::ISODate).toStdString();
    }
    EXPECT_EQ(
        CCurrencyChartDataSource::supportedPeriodsForDatasource(QStringLiteral("Frankfurter")),
        (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
    EXPECT_FALSE(CCurrencyChartDataSource::supportedPeriodsForDatasource(QStringLiteral("PayPal")));
}

TEST(ChartClients, ParsersSurviveDeepNestingAndStopAtEveryCancellationCheck) {
    const QByteArray deep =
        "finance_charts_json_callback( {\n \"series\" : " + QByteArray(100000, '[') +
        QByteArray(100000, ']') + " } )";
    const auto yahoo = [](const QByteArray& text, const ChartProviderSupport::CancelCheck& check) {
        return CYahooFinanceChartWebServiceClient::getChartInfo(text, {"EUR", "USD"}, 5,
                                                                QTimeZone::utc(), check);
    };
    ASSERT_TRUE(yahoo(deep, ChartProviderSupport::notCancelled));
    EXPECT_FALSE(yahoo(deep, ChartProviderSupport::notCancelled)->hasData());

    const QByteArray yahooText = FakeHttpServer::testData("yahoo-chart/eurusd-1y.json");
    EXPECT_GT(expectCancellationAtEveryCheck(
                  [&](const auto& check) { return yahoo(yahooText, check).has_value(); }),
              8);  // at least once per sample
    for (const char* file : {"cbr-chart/dynamic-usd.xml", "cbr-chart/metals.xml"}) {
        SCOPED_TRACE(file);
        const QByteArray text = FakeHttpServer::testData(file);
        const QString code = QString::fromLatin1(file).contains("metals") ? "XAG" : "USD";
        EXPECT_GE(expectCancellationAtEveryCheck([&](const auto& check) {
                      return !CCBRChartWebServiceClient::parseSeries(text, code, QTimeZone::utc(),
                                                                     check)
                                  .cancelled;
                  }),
                  3);
    }
}

using YahooChartTest = ChartClientTest<CYahooFinanceChartWebServiceClient>;
using ECBChartTest = ChartClientTest<CECBChartWebServiceClient>;

TEST_F(YahooChartTest, AQueryReplacedByANewerOneOrByTheClientsEndNeverDelivers) {
    const QString path =
        QStringLiteral("/instrument/1.0/EURUSD=X/chartdata;type=close;range=%1/json/");
    auto gate = std::make_shared<FakeHttpServer::Gate>();
    server.answer(path.arg("1y"),
                  held(FakeHttpServer::Answer::file("yahoo-chart/eurusd-1y.json"), gate));
    server.answer(path.arg("1d"), FakeHttpServer::Answer::file("yahoo-chart/eurusd-1d.json"));
    client->queryCurrencyChart({"USD", "EUR"}, ChartPeriod1Year);
    ASSERT_TRUE(server.waitForRequests(1));
    EXPECT_EQ(query({"USD", "EUR"}, ChartPeriod1Day).plotPoints.size(), 6);
    gate->release();
    ChartRecorder::settle();
    ASSERT_EQ(recorder.results.size(), 1);
    EXPECT_EQ(recorder.results.first().chartPeriod, ChartPeriod1Day);

    recorder = {};
    auto second = std::make_shared<FakeHttpServer::Gate>();
    server.answer(path.arg("1y"),
                  held(FakeHttpServer::Answer::file("yahoo-chart/eurusd-1y.json"), second));
    client->queryCurrencyChart({"USD", "EUR"}, ChartPeriod1Year);
    ASSERT_TRUE(server.waitForRequests(3));
    client.reset();
    second->release();
    ChartRecorder::settle();
    EXPECT_EQ(recorder.outcomes(), 0);
}

TEST_F(ECBChartTest, CancelledOrReplacedBetweenTheTwoFilesNeverDelivers) {
    const QString path = QStringLiteral("/stats/exchange/eurofxref/html/%1.xml");
    server.answer(path.arg("usd"), FakeHttpServer::Answer::file("ecb-chart/usd.xml", "text/xml"));
    for (const bool replaced : {false, true}) {
        SCOPED_TRACE(replaced ? "replaced" : "cancelled");
        recorder = {};
        server.clearRequests();
        auto gate = std::make_shared<FakeHttpServer::Gate>();
        server.answer(path.arg("gbp"),
                      held(FakeHttpServer::Answer::file("ecb-chart/gbp.xml", "text/xml"), gate));
        client->queryCurrencyChart({"USD", "GBP"}, ChartPeriodOverall);
        // The first file arrived and was parsed.
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.requestCount() >= 2; }, 10000));
        if (replaced) {
            EXPECT_EQ(query({"USD", "EUR"}, ChartPeriodOverall).plotPoints.first().value,
                      dec("1.29"));
        } else {
            client->cancelAllHttpRequests();
        }
        gate->release();
        ChartRecorder::settle();
        EXPECT_EQ(recorder.outcomes(), replaced ? 1 : 0);
    }
}

}  // namespace
