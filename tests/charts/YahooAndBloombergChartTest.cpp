#include "CChartPeriod.h"
#include "ChartProviderTestSupport.h"
#include "ChartTestSupport.h"
#include "Log.h"

#include <QTimeZone>

using namespace charttest;

namespace {

const QStringList usdEur{QStringLiteral("USD"), QStringLiteral("EUR")};
const QTimeZone berlin("Europe/Berlin");
const QTimeZone newYork("America/New_York");
const QTimeZone tokyo("Asia/Tokyo");

QString yahooPath(const QString& range) {
    return QStringLiteral("/instrument/1.0/EURUSD=X/chartdata;type=close;range=%1/json/")
        .arg(range);
}

/// A Yahoo answer in the service's layout around the given "series" entries.
QByteArray yahooAnswer(const QByteArray& seriesRows, const QByteArray& timeKey = "Date") {
    return "finance_charts_json_callback( {\n"
           " \"meta\" :\n {\n"
           "  \"uri\" :\"/instrument/1.0/EURUSD=X/chartdata;type=close;range=1m/json/\",\n"
           "  \"ticker\" : \"eurusd=x\",\n"
           "  \"currency\" : \"USD\"\n"
           " }\n ,\n"
           " \"" +
           timeKey +
           "\" : {\"min\" :1,\"max\" :2 }\n ,\n"
           " \"series\" : [ \n" +
           seriesRows + "\n] \n} \n)\n";
}

std::optional<CCurrencyChartInfo> parseYahoo(const QByteArray& text,
                                             const QTimeZone& zone = QTimeZone::utc()) {
    return CYahooFinanceChartWebServiceClient::getChartInfo(text, {"EUR", "USD"}, 5, zone);
}

std::optional<CCurrencyChartInfo> parseBloomberg(const QByteArray& text,
                                                 const QTimeZone& zone = QTimeZone::utc(),
                                                 int period = 5) {
    return CBloombergChartWebServiceClient::getChartInfo(text, {"EUR", "USD"}, period, zone);
}

using YahooChartTest = ChartClientTest<CYahooFinanceChartWebServiceClient>;
using BloombergChartTest = ChartClientTest<CBloombergChartWebServiceClient>;

}  // namespace

TEST_F(YahooChartTest, AsksForTheReversedSymbolAndTheRangeOfEachPeriod) {
    const QList<QPair<int, QString>> rows = {
        {0, "1d"}, {1, "7d"}, {2, "1m"}, {3, "3m"},  {4, "6m"},    {5, "1y"},
        {6, "2y"}, {7, "3y"}, {8, "5y"}, {9, "10y"}, {10, "100y"},
    };
    for (const auto& [period, range] : rows) {
        EXPECT_EQ(CYahooFinanceChartWebServiceClient::rangeForPeriod(period), range) << period;
    }
    EXPECT_FALSE(CYahooFinanceChartWebServiceClient::rangeForPeriod(11));
    EXPECT_FALSE(CYahooFinanceChartWebServiceClient::rangeForPeriod(-1));

    server.answer(yahooPath("3y"), FakeHttpServer::Answer::file("yahoo-chart/eurusd-1y.json"));
    client->queryCurrencyChart(usdEur, ChartPeriod3Years);
    ASSERT_TRUE(recorder.waitForOutcomes());
    ASSERT_EQ(server.requestCount(), 1);
    EXPECT_EQ(server.requests().first().method, "GET");
    EXPECT_EQ(server.requests().first().path, yahooPath("3y"));
    EXPECT_EQ(client->currencyPair(), (QStringList{"EUR", "USD"}));
    ASSERT_EQ(recorder.results.size(), 1);
    EXPECT_EQ(recorder.results.first().chartPeriod, ChartPeriod3Years);
}

TEST_F(YahooChartTest, DailySeriesGivesLocalMidnightsAndExactValues) {
    client->setTimeZone(berlin);
    server.answer(yahooPath("1y"), FakeHttpServer::Answer::file("yahoo-chart/eurusd-1y.json"));
    const CCurrencyChartInfo& info = query(usdEur, ChartPeriod1Year);
    EXPECT_EQ(info.firstCurrencyCode, QStringLiteral("EUR"));
    EXPECT_EQ(info.lastCurrencyCode, QStringLiteral("USD"));
    EXPECT_EQ(info.chartPeriod, ChartPeriod1Year);
    EXPECT_EQ(valueTexts(info), (QStringList{"1.3036", "1.3172", "1.3218", "1.3195", "1.3245",
                                             "1.3162", "1.3248", "1.3343"}));
    EXPECT_EQ(dateTexts(info, berlin).first(), QStringLiteral("2012-03-15 00:00"));
    EXPECT_EQ(dateTexts(info, berlin).last(), QStringLiteral("2012-03-26 00:00"));
    EXPECT_EQ(info.plotPoints.first().date,
              QDateTime(QDate(2012, 3, 14), QTime(23, 0), QTimeZone::utc()));
    EXPECT_EQ(info.minCurrencyValue, dec("1.3036"));
    EXPECT_EQ(info.maxCurrencyValue, dec("1.3343"));
    EXPECT_EQ(info.minDate, info.plotPoints.first().date);
    EXPECT_EQ(info.maxDate, info.plotPoints.last().date);
}

TEST_F(YahooChartTest, JumpsByAFactorOfTwoAreDroppedAndNeverBecomeTheReference) {
    // 1.30, 2.70 (ratio 0.48: dropped), 1.31 (compared with 1.30), 0.65 (ratio 2.02: dropped),
    // 1.29.
    const std::optional<CCurrencyChartInfo> info =
        parseYahoo(FakeHttpServer::testData("yahoo-chart/eurusd-jumps.json"));
    ASSERT_TRUE(info);
    EXPECT_EQ(valueTexts(*info), (QStringList{"1.3", "1.31", "1.29"}));
    EXPECT_EQ(dateTexts(*info, QTimeZone::utc(), "yyyyMMdd"),
              (QStringList{"20120315", "20120319", "20120321"}));
    EXPECT_EQ(info->maxCurrencyValue, dec("1.31"));
}

TEST_F(YahooChartTest, BadAnswersGiveAnEmptyOrPartialRecordWithoutFailing) {
    struct Row {
        const char* name;
        QByteArray text;
        QStringList values;
    };
    const QByteArray deep = QByteArray(100000, '[') + QByteArray(100000, ']');
    const QList<Row> rows = {
        {"empty body", "", {}},
        {"not JSON", "<html><body>Service unavailable</body></html>", {}},
        {"callback only", "finance_charts_json_callback( )", {}},
        {"no series", yahooAnswer("").replace("\"series\"", "\"labels\""), {}},
        {"series not an array", "finance_charts_json_callback( {\n \"series\" : 5 } )", {}},
        {"sample not an object", yahooAnswer("{ \"Date\" :20120315,\"close\" :1.30 }\n, 7"), {}},
        {"deep nesting", "finance_charts_json_callback( {\n \"series\" : " + deep + " } )", {}},
        {"trailing text", yahooAnswer("{ \"Date\" :20120315,\"close\" :1.30 }") + "{}", {}},
        {"missing, zero and negative closes are skipped",
         yahooAnswer("{ \"Date\" :20120315 }\n, { \"Date\" :20120316,\"close\" :0 }\n"
                     ", { \"Date\" :20120317,\"close\" :-1.3 }\n"
                     ", { \"Date\" :20120318,\"close\" :1.30 }\n"
                     ", { \"Date\" :20120319,\"close\" :null }\n"
                     ", { \"Date\" :20120320,\"close\" :\"1.31\" }"),
         {"1.3", "1.31"}},
        {"huge numbers",
         yahooAnswer("{ \"Date\" :20120314,\"close\" :1.30 }\n"
                     ", { \"Date\" :20120315,\"close\" :1e99999 }\n"
                     ", { \"Date\" :20120316,\"close\" :1e400 }\n"
                     ", { \"Date\" :20120317,\"close\" :"
                     "123456789012345678901234567890123456789012345678901234567890 }\n"
                     ", { \"Date\" :99999999999999999999,\"close\" :1.30 }\n"
                     ", { \"Date\" :20120230,\"close\" :1.30 }\n"
                     ", { \"Date\" :20120318,\"close\" :1.31 }"),
         {"1.3", "1.31"}},
        {"timestamps out of range",
         yahooAnswer("{ \"Timestamp\" :99999999999999999999,\"close\" :1.30 }\n"
                     ", { \"Timestamp\" :-999999999999,\"close\" :1.30 }\n"
                     ", { \"Timestamp\" :1331769600.5,\"close\" :1.30 }\n"
                     ", { \"Timestamp\" :1331769600,\"close\" :1.31 }",
                     "Timestamp"),
         {"1.31"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<CCurrencyChartInfo> info = parseYahoo(row.text);
        ASSERT_TRUE(info);
        EXPECT_EQ(valueTexts(*info), row.values);
        EXPECT_EQ(info->chartPeriod, 5);
    }
}

TEST_F(YahooChartTest, ParseStopsAtEveryCancellationCheck) {
    const QByteArray text = FakeHttpServer::testData("yahoo-chart/eurusd-1y.json");
    const int checks = expectCancellationAtEveryCheck([&](const auto& isCancelled) {
        return CYahooFinanceChartWebServiceClient::getChartInfo(text, {"EUR", "USD"}, 5,
                                                                QTimeZone::utc(), isCancelled)
            .has_value();
    });
    EXPECT_GT(checks, 8);  // at least once per sample
}

TEST_F(YahooChartTest, FailureIsLoggedAndReported) {
    server.answer(yahooPath("1y"), FakeHttpServer::Answer::text("busy", 503));
    LogCapture log;
    EXPECT_FALSE(query(usdEur, ChartPeriod1Year).hasData());
    EXPECT_TRUE(recorder.results.isEmpty());
    EXPECT_EQ(recorder.failures, QStringList{"503 Service Unavailable"});
    EXPECT_EQ(log.lines(), QStringList{"Yahoo finance chart web service request failed with\r\n"
                                       "error:\r\nresponse:Service Unavailable\r\ndata:busy\r\n"});
}

TEST_F(YahooChartTest, AQueryReplacedByANewerOneOrByTheClientsEndNeverDelivers) {
    auto gate = std::make_shared<FakeHttpServer::Gate>();
    server.answer(yahooPath("1y"),
                  held(FakeHttpServer::Answer::file("yahoo-chart/eurusd-1y.json"), gate));
    server.answer(yahooPath("1d"), FakeHttpServer::Answer::file("yahoo-chart/eurusd-1d.json"));
    client->queryCurrencyChart(usdEur, ChartPeriod1Year);
    ASSERT_TRUE(server.waitForRequests(1));
    EXPECT_EQ(query(usdEur, ChartPeriod1Day).plotPoints.size(), 6);
    gate->release();
    ChartRecorder::settle();
    ASSERT_EQ(recorder.results.size(), 1);
    EXPECT_EQ(recorder.results.first().chartPeriod, ChartPeriod1Day);

    recorder = {};
    auto second = std::make_shared<FakeHttpServer::Gate>();
    server.answer(yahooPath("1y"),
                  held(FakeHttpServer::Answer::file("yahoo-chart/eurusd-1y.json"), second));
    client->queryCurrencyChart(usdEur, ChartPeriod1Year);
    ASSERT_TRUE(server.waitForRequests(3));
    client.reset();
    second->release();
    ChartRecorder::settle();
    EXPECT_EQ(recorder.outcomes(), 0);
}

TEST_F(BloombergChartTest, AsksForTheSecurityPeriodAndFields) {
    struct Row {
        int period;
        const char* timePeriod;
        const char* outfields;
    };
    const QList<Row> rows = {
        {0, "1D", "ITIME,PR005-I"}, {1, "1W", "HDATE,PR005-H"}, {2, "1M", "HDATE,PR005-H"},
        {3, "3M", "HDATE,PR005-H"}, {4, "6M", "HDATE,PR005-H"}, {5, "1Y", "HDATE,PR005-H"},
        {7, "3Y", "HDATE,PR005-H"}, {8, "5Y", "HDATE,PR005-H"},
    };
    server.answer("/apps/data", FakeHttpServer::Answer::file("bloomberg-chart/eurusd-1y.txt"));
    for (const Row& row : rows) {
        SCOPED_TRACE(row.period);
        server.clearRequests();
        recorder = {};
        client->queryCurrencyChart(usdEur, row.period);
        ASSERT_TRUE(recorder.waitForOutcomes());
        ASSERT_EQ(server.requestCount(), 1);
        const FakeHttpServer::Request request = server.requests().first();
        EXPECT_EQ(request.target,
                  QStringLiteral("/apps/data?pid=webpxta&Securities=EURUSD:CUR&TimePeriod=%1"
                                 "&Outfields=%2")
                      .arg(row.timePeriod, row.outfields));
    }
    // The periods the service has no code for are never asked.
    for (int period : {6, 9, 10, -1}) {
        server.clearRequests();
        recorder = {};
        client->queryCurrencyChart(usdEur, period);
        ASSERT_TRUE(recorder.waitForOutcomes());
        EXPECT_EQ(server.requestCount(), 0);
        ASSERT_EQ(recorder.results.size(), 1);
        EXPECT_FALSE(recorder.results.first().hasData());
    }
}

TEST_F(BloombergChartTest, IntradayOffsetsCountFromTheEasternMidnightOfTheBaseDay) {
    server.answer("/apps/data", FakeHttpServer::Answer::file("bloomberg-chart/eurusd-1d.txt"));
    const CCurrencyChartInfo& info = query(usdEur, ChartPeriod1Day);
    ASSERT_EQ(info.plotPoints.size(), 5);
    // Base 2012-03-15 12:00 UTC; New York is on daylight time (UTC-4).
    EXPECT_EQ(dateTexts(info, newYork),
              (QStringList{"2012-03-14 14:00", "2012-03-14 18:00", "2012-03-15 00:00",
                           "2012-03-15 10:00", "2012-03-15 11:59"}));
    EXPECT_EQ(info.plotPoints[0].date,
              QDateTime(QDate(2012, 3, 14), QTime(18, 0), QTimeZone::utc()));
    EXPECT_EQ(info.plotPoints[3].date,
              QDateTime(QDate(2012, 3, 15), QTime(14, 0), QTimeZone::utc()));
    EXPECT_EQ(info.minDate, info.plotPoints[0].date);
    EXPECT_EQ(info.maxDate, info.plotPoints[4].date);
}

TEST_F(BloombergChartTest, AnswersWithoutASeriesNameOrDataGiveAnEmptyRecord) {
    struct Row {
        const char* name;
        QByteArray text;
        QStringList values;
    };
    const QList<Row> rows = {
        {"unknown security", FakeHttpServer::testData("bloomberg-chart/unknown-security.txt"), {}},
        {"empty body", "", {}},
        {"two equals signs", "\"EURUSD:CUR\"HDATE=1=2\n20120315\"1.30\n\n", {}},
        {"the last line is never data",
         "\"EURUSD:CUR\"HDATE=20120315\n20120315\"1.30\n20120316\"1.31",
         {"1.3"}},
        {"lines without exactly two fields",
         "\"EURUSD:CUR\"HDATE=20120315\n20120315\"1.30\"x\n20120316\n20120317\"1.32\n\n",
         {"1.32"}},
        {"unreadable dates, values and huge numbers",
         "\"EURUSD:CUR\"HDATE=20120315\n2012-03-15\"1.30\n20120316\"abc\n20120317\"1e99999\n"
         "20120318\"0\n20120319\"-1\n99999999999999999999\"1.30\n20120320\"1.33\n\n",
         {"1.33"}},
        {"intraday offsets out of range and an unreadable base",
         "\"EURUSD:CUR\"UTIME=1331812800\n999999999999999999999\"1.30\n-99999999\"1.31\n36000\"1."
         "32\n\n",
         {"1.32"}},
        {"intraday without a usable base", "\"EURUSD:CUR\"UTIME=abc\n36000\"1.30\n\n", {}},
        {"intraday base out of range", "\"EURUSD:CUR\"UTIME=9999999999999999\n36000\"1.30\n\n", {}},
        {"carriage returns", "\"EURUSD:CUR\"HDATE=20120315\r\n20120315\"1.30\r\n\r\n", {"1.3"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<CCurrencyChartInfo> info = parseBloomberg(row.text);
        ASSERT_TRUE(info);
        EXPECT_EQ(valueTexts(*info), row.values);
    }
    // A header that names no series leaves the record without pair and period.
    const std::optional<CCurrencyChartInfo> unknown = parseBloomberg("\"XXXYYY:CUR\"\n\n");
    ASSERT_TRUE(unknown);
    EXPECT_TRUE(unknown->firstCurrencyCode.isEmpty());
    EXPECT_EQ(unknown->chartPeriod, 0);
}

TEST_F(BloombergChartTest, FailureIsLoggedAndReported) {
    server.answer("/apps/data", FakeHttpServer::Answer::closing());
    LogCapture log;
    EXPECT_FALSE(query(usdEur, ChartPeriod1Year).hasData());
    EXPECT_TRUE(recorder.results.isEmpty());
    ASSERT_EQ(recorder.failures.size(), 1);
    EXPECT_FALSE(recorder.failures.first().isEmpty());
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().first().startsWith(
        "Bloomberg chart web service request failed with\r\nerror:"));
}

TEST_F(BloombergChartTest, AQueryReplacedByANewerOneNeverDelivers) {
    auto gate = std::make_shared<FakeHttpServer::Gate>();
    server.setHandler([gate](const FakeHttpServer::Request& request) {
        if (request.queryValues("TimePeriod") == QStringList{"1Y"}) {
            return held(FakeHttpServer::Answer::file("bloomberg-chart/eurusd-1y.txt"), gate);
        }
        return FakeHttpServer::Answer::file("bloomberg-chart/eurusd-1d.txt");
    });
    client->queryCurrencyChart(usdEur, ChartPeriod1Year);
    ASSERT_TRUE(server.waitForRequests(1));
    client->queryCurrencyChart(usdEur, ChartPeriod1Day);
    ASSERT_TRUE(recorder.waitForOutcomes());
    gate->release();
    ChartRecorder::settle();
    ASSERT_EQ(recorder.results.size(), 1);
    EXPECT_EQ(recorder.outcomes(), 1);
    EXPECT_EQ(recorder.results.first().chartPeriod, ChartPeriod1Day);
}
