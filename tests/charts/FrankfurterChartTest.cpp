// Frankfurter's history: what each period is asked as, and one request per chart.
#include "CChartPeriod.h"
#include "ChartProviderTestSupport.h"

using namespace charttest;

namespace {

using Range = CFrankfurterChartWebServiceClient::Range;

TEST(FrankfurterChart, EachPeriodIsOneRangeOfAtMostAboutFifteenHundredPoints) {
    const QDate today(2026, 12, 7);
    struct Row {
        int period;
        QDate today;
        std::optional<Range> expected;
    };
    const QList<Row> rows = {
        {ChartPeriod1Day, today, std::nullopt},  // no intraday rates
        {ChartPeriod1Week, today, Range{QDate(2026, 11, 30), today, {}}},
        {ChartPeriod3Months, today, Range{QDate(2026, 9, 7), today, {}}},
        {ChartPeriod2Years, today, Range{QDate(2024, 12, 7), today, {}}},
        {ChartPeriod3Years, today, Range{QDate(2023, 12, 7), today, QStringLiteral("week")}},
        {ChartPeriod10Years, today, Range{QDate(2016, 12, 7), today, QStringLiteral("week")}},
        {ChartPeriodOverall, today, Range{QDate(1999, 1, 4), today, QStringLiteral("week")}},
        // Once weeks since 1999 pass 1,500, the whole history is asked by month.
        {ChartPeriodOverall, QDate(2030, 1, 1),
         Range{QDate(1999, 1, 4), QDate(2030, 1, 1), QStringLiteral("month")}},
        {ChartPeriod10Years, QDate(2005, 6, 1),
         Range{QDate(1999, 1, 4), QDate(2005, 6, 1), QStringLiteral("week")}},
        {11, today, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.period);
        const std::optional<Range> range =
            CFrankfurterChartWebServiceClient::rangeForPeriod(row.period, row.today);
        ASSERT_EQ(range.has_value(), row.expected.has_value());
        if (range) {
            EXPECT_EQ(range->from, row.expected->from);
            EXPECT_EQ(range->to, row.expected->to);
            EXPECT_EQ(range->group, row.expected->group);
        }
    }
    EXPECT_EQ(
        CCurrencyChartDataSource::supportedPeriodsForDatasource(QStringLiteral("Frankfurter")),
        (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
}

class FrankfurterChartQuery : public ChartClientTest<CFrankfurterChartWebServiceClient> {};

TEST_F(FrankfurterChartQuery, OneRequestGivesTheRecordOfUsableRowsOfThePair) {
    server.answer(QStringLiteral("/v2/rates"),
                  FakeHttpServer::Answer::file(QStringLiteral("frankfurter/chart-week.json"),
                                               "application/json"));
    // Units of EUR per US dollar: USD is asked as the base, EUR as the quote.
    const CCurrencyChartInfo& record =
        query({QStringLiteral("EUR"), QStringLiteral("USD")}, ChartPeriodOverall);
    ASSERT_EQ(server.requestCount(), 1);
    const FakeHttpServer::Request request = server.requests().first();
    EXPECT_EQ(request.queryValues(QStringLiteral("base")), QStringList{QStringLiteral("USD")});
    EXPECT_EQ(request.queryValues(QStringLiteral("quotes")), QStringList{QStringLiteral("EUR")});
    EXPECT_EQ(request.queryValues(QStringLiteral("from")),
              QStringList{QStringLiteral("1999-01-04")});
    EXPECT_EQ(request.queryValues(QStringLiteral("group")), QStringList{QStringLiteral("week")});
    // The GBP row, the zero rate are left out; the exponent form is read exactly.
    EXPECT_EQ(valueTexts(record), (QStringList{"0.8612", "0.8599", "0.000012"}));
    EXPECT_EQ(record.plotPoints.first().date,
              QDateTime(QDate(2026, 11, 2), QTime(0, 0), QTimeZone::utc()));
    EXPECT_EQ(record.firstCurrencyCode, QStringLiteral("EUR"));
}

TEST_F(FrankfurterChartQuery, ARefusedQueryShowsTheServicesMessage) {
    server.answer(QStringLiteral("/v2/rates"),
                  FakeHttpServer::Answer::text(R"({"message":"invalid date range"})", 422,
                                               "application/json"));
    query({QStringLiteral("EUR"), QStringLiteral("USD")}, ChartPeriod1Year);
    ASSERT_EQ(recorder.failures.size(), 1);
    EXPECT_EQ(recorder.failures.first(),
              QStringLiteral("invalid date range (422 Unprocessable Content)"));
}

}  // namespace
