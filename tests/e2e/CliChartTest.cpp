// numiva-cli's chart command end to end: the real binary against the sample chart services.
#include "CliTestSupport.h"

#include <QDateTime>

namespace {

QDateTime instant(const QJsonValue& text) {
    return QDateTime::fromString(text.toString(), Qt::ISODate);
}

/// The date text of the exports: the local wall-clock time.
QString exportDate(const QJsonValue& text) {
    return instant(text).toLocalTime().toString(QStringLiteral("yyyy.MM.dd HH:mm:ss"));
}

QJsonValue field(const QJsonValue& point, const char* key) {
    return point.toObject().value(QLatin1String(key));
}

/// The first day a daily series of `period` covers when it ends today.
QDate periodStart(int period) {
    const QDate today = SampleData::today();
    switch (period) {
        case 1:
            return today.addDays(-7);
        case 2:
            return today.addMonths(-1);
        case 3:
            return today.addMonths(-3);
        case 4:
            return today.addMonths(-6);
        default:
            return today.addYears(-1);
    }
}

/// `chart FIRST LAST --period N` with `extra` arguments, as JSON.
QStringList chartArgs(const char* first, const char* last, int period,
                      const QStringList& extra = {}) {
    return QStringList{QStringLiteral("--json"),   QStringLiteral("chart"),
                       QString::fromLatin1(first), QString::fromLatin1(last),
                       QStringLiteral("--period"), QString::number(period)} +
           extra;
}

/// A chart answer whose points are ordered, positive, summarised correctly and end at
/// `expected` (within the service's rounding).
void expectConsistentChart(const QJsonObject& chart, const Decimal& expected, double tolerance) {
    const QJsonArray points = chart.value(QStringLiteral("points")).toArray();
    ASSERT_FALSE(points.isEmpty());
    Decimal high = decimal(field(points.first(), "value"));
    Decimal low = high;
    QDateTime previous;
    for (const QJsonValue& p : points) {
        const Decimal value = decimal(field(p, "value"));
        const QDateTime date = instant(field(p, "date"));
        ASSERT_FALSE(value.isNaN());
        EXPECT_GT(value, Decimal());
        ASSERT_TRUE(date.isValid());
        if (previous.isValid()) {
            EXPECT_LT(previous, date) << "points are oldest first";
        }
        previous = date;
        high = value > high ? value : high;
        low = value < low ? value : low;
    }
    const QJsonValue latest = chart.value(QStringLiteral("latest"));
    EXPECT_EQ(latest, points.last());
    EXPECT_EQ(decimal(field(chart.value(QStringLiteral("highest")), "value")), high);
    EXPECT_EQ(decimal(field(chart.value(QStringLiteral("lowest")), "value")), low);
    const Decimal last = decimal(field(latest, "value"));
    EXPECT_GE(high, last);
    EXPECT_GE(last, low);
    EXPECT_LT(low, high) << "the history moves";
    EXPECT_NEAR((last / expected).toDouble(), 1.0, tolerance)
        << last.toString().toStdString() << " vs " << expected.toString().toStdString();
}

struct ChartSourceCase {
    const char* source;
    QString failName;    // the sample server's name of the chart service
    double tolerance;    // the service's rounding
    QList<int> periods;  // the first is daily

    friend void PrintTo(const ChartSourceCase& c, std::ostream* os) { *os << c.source; }
};

class CliChartSources : public CliTest, public ::testing::WithParamInterface<ChartSourceCase> {
protected:
    void SetUp() override {
        CliTest::SetUp();
        ok({QStringLiteral("select"), QString::fromLatin1(GetParam().source)});
    }
    /// The JSON chart of (EUR, USD) over the source's first period, with `extra` arguments.
    QJsonObject eurUsd(const QStringList& extra = {}) {
        return ok(chartArgs("EUR", "USD", GetParam().periods.first(), extra)).json();
    }
};

TEST_P(CliChartSources, EveryPeriodEndsAtTodaysRateAndCoversThePeriod) {
    const ChartSourceCase& c = GetParam();
    for (const int period : c.periods) {
        SCOPED_TRACE(period);
        const QJsonObject chart = ok(chartArgs("EUR", "USD", period)).json();
        EXPECT_EQ(str(chart, "source"), QString::fromLatin1(c.source));
        EXPECT_EQ(chart.value(QStringLiteral("period")).toInt(), period);
        EXPECT_EQ(chart.value(QStringLiteral("pair")).toArray(),
                  (QJsonArray{QStringLiteral("EUR"), QStringLiteral("USD")}));
        EXPECT_TRUE(chart.value(QStringLiteral("error")).isNull());
        // Units of EUR per US dollar, the value of the pair (EUR, USD).
        expectConsistentChart(
            chart, SampleData::cross(QStringLiteral("USD"), QStringLiteral("EUR")), c.tolerance);

        const QJsonArray points = chart.value(QStringLiteral("points")).toArray();
        const QDateTime first = instant(field(points.first(), "date"));
        const QDateTime last = instant(field(points.last(), "date"));
        if (period == 0) {
            // Quarter hours of the last day, the latest one not older than a quarter hour.
            const QDateTime now = QDateTime::currentDateTimeUtc();
            EXPECT_LE(last, now);
            EXPECT_GE(last, now.addSecs(-16 * 60));
            EXPECT_GE(first, now.addDays(-1).addSecs(-60));
            EXPECT_EQ(last.time().minute() % 15, 0);
        } else {
            EXPECT_EQ(last.toLocalTime().date(), SampleData::today());
            EXPECT_EQ(last.toLocalTime().time(), QTime(0, 0));
            EXPECT_EQ(first.toLocalTime().date(), periodStart(period));
            EXPECT_EQ(points.size(), first.toLocalTime().date().daysTo(SampleData::today()) + 1)
                << "one point a day";
        }
    }
}

TEST_P(CliChartSources, CsvGoesToStandardOutputInTheExportShape) {
    const QJsonArray points =
        eurUsd({QStringLiteral("--csv"), dir.filePath(QStringLiteral("chart.csv"))})
            .value(QStringLiteral("points"))
            .toArray();
    ASSERT_FALSE(points.isEmpty());

    // The separator is a setting; whichever it is, the header names it.
    const QByteArray written = file(QStringLiteral("chart.csv"));
    const QList<QByteArray> lines = written.split('\n');
    ASSERT_GE(lines.size(), 4);
    ASSERT_TRUE(lines[2].startsWith("Date") && lines[2].endsWith("Value\r")) << lines[2].data();
    const QString separator = QString::fromUtf8(lines[2].mid(4, lines[2].size() - 10));
    ASSERT_FALSE(separator.isEmpty());

    QString expected = QStringLiteral("\"EUR to USD. From %1 to %2\"\r\n\r\nDate%3Value\r\n")
                           .arg(exportDate(field(points.first(), "date")),
                                exportDate(field(points.last(), "date")), separator);
    QStringList rows;
    for (const QJsonValue& p : points) {
        // At most ten fraction digits; these values are below 1000, so no grouping.
        rows.append(exportDate(field(p, "date")) + separator +
                    decimal(field(p, "value")).rounded(10).toString());
    }
    expected += rows.join(QStringLiteral("\r\n"));
    EXPECT_EQ(QString::fromUtf8(written), expected);

    // The same chart again, to standard output: the CSV text alone, nothing after it.
    const CliRun printed = ok("chart --csv -");
    EXPECT_EQ(QString::fromUtf8(printed.out), expected);
    EXPECT_FALSE(printed.out.endsWith('\n'));
}

TEST_P(CliChartSources, HtmlAndPdfAreWritten) {
    const QString pdf = dir.filePath(QStringLiteral("chart.pdf"));
    const QJsonArray points =
        eurUsd({QStringLiteral("--html"), dir.filePath(QStringLiteral("chart.html")),
                QStringLiteral("--pdf"), pdf})
            .value(QStringLiteral("points"))
            .toArray();
    ASSERT_FALSE(points.isEmpty());
    const QString latestDate = exportDate(field(points.last(), "date"));
    const QString latestValue = field(points.last(), "value").toString();

    const QString html = QString::fromUtf8(file(QStringLiteral("chart.html")));
    EXPECT_TRUE(html.startsWith(u"<html><head><style type=\"text/css\">"));
    EXPECT_TRUE(html.contains(u"<thead><tr><td>Date</td><td>Value</td></tr></thead>"));
    EXPECT_TRUE(html.endsWith(u"</tr></tbody></table></body></html>"));
    EXPECT_EQ(html.count(u"<tr>"), points.size() + 1);
    EXPECT_TRUE(html.contains(
        QStringLiteral("<tr><td>%1</td><td>%2</td></tr>").arg(latestDate, latestValue)));

    ASSERT_TRUE(file(QStringLiteral("chart.pdf")).startsWith("%PDF"));
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(60000));
    ASSERT_EQ(pdftotext.exitCode(), 0) << pdftotext.readAllStandardError().toStdString();
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("EUR to USD. From %1 to %2 (page 1 of")
                                  .arg(exportDate(field(points.first(), "date")), latestDate)))
        << text.left(400).toStdString();
    EXPECT_TRUE(text.contains(latestValue)) << "the table holds the latest value";
}

TEST_P(CliChartSources, AFailingServiceExitsWith2AndPrintsTheCachedChart) {
    const QJsonObject fresh = eurUsd();
    ASSERT_FALSE(fresh.value(QStringLiteral("points")).toArray().isEmpty());

    server.setFailing(GetParam().failName, true);
    const CliRun failed = cli(chartArgs("EUR", "USD", GetParam().periods.first()));
    EXPECT_EQ(failed.exitCode, 2);
    // The system log's line about the request may come first; the message ends the output.
    EXPECT_TRUE(failed.err.endsWith("\nnumiva-cli: 503 Service Unavailable\n"))
        << failed.err.toStdString();
    const QJsonObject cached = failed.json();
    EXPECT_EQ(str(cached, "error"), QStringLiteral("503 Service Unavailable"));
    EXPECT_EQ(cached.value(QStringLiteral("points")), fresh.value(QStringLiteral("points")));
    EXPECT_EQ(cached.value(QStringLiteral("latest")), fresh.value(QStringLiteral("latest")));

    // In text form too: the summary of the cached chart, then the failure.
    const CliRun text = cli("chart");
    EXPECT_EQ(text.exitCode, 2);
    EXPECT_TRUE(text.err.contains("503 Service Unavailable")) << text.err.toStdString();
    const QJsonValue latest = fresh.value(QStringLiteral("latest"));
    EXPECT_TRUE(text.out.contains(
        QStringLiteral("latest\t%1\t%2")
            .arg(field(latest, "date").toString(), field(latest, "value").toString())
            .toUtf8()))
        << text.out.toStdString();

    // Once the service answers again, so does the chart.
    server.setFailing(GetParam().failName, false);
    ok("chart");
}

INSTANTIATE_TEST_SUITE_P(
    Sources, CliChartSources,
    ::testing::Values(ChartSourceCase{"YFinance", SampleServer::YFinanceChart, 1e-4, {5, 0}},
                      ChartSourceCase{"Bloomberg", SampleServer::BloombergChart, 1e-4, {2, 0}},
                      ChartSourceCase{"ECB", SampleServer::ECBChart, 1e-4, {1, 3}},
                      ChartSourceCase{"CBR", SampleServer::CBRChart, 1e-5, {2, 1}}),
    [](const auto& info) { return std::string(info.param.source); });

struct ChartPairCase {
    const char* source;
    const char* first;
    const char* last;
    Decimal expected;  // units of `first` per one `last` today
    double tolerance;

    friend void PrintTo(const ChartPairCase& c, std::ostream* os) {
        *os << c.source << ' ' << c.first << ' ' << c.last;
    }
};

class CliChartPairs : public CliTest, public ::testing::WithParamInterface<ChartPairCase> {};

TEST_P(CliChartPairs, CrossInvertedAndPlainSeriesAgreeWithTheSampleRates) {
    const ChartPairCase& c = GetParam();
    ok({QStringLiteral("select"), QString::fromLatin1(c.source)});
    const QJsonObject chart = ok(chartArgs(c.first, c.last, 1)).json();
    expectConsistentChart(chart, c.expected, c.tolerance);
    EXPECT_EQ(chart.value(QStringLiteral("points")).toArray().size(), 8);
}

Decimal cross(const char* code, const char* quote) {
    return SampleData::cross(QString::fromLatin1(code), QString::fromLatin1(quote));
}

INSTANTIATE_TEST_SUITE_P(
    Pairs, CliChartPairs,
    ::testing::Values(ChartPairCase{"YFinance", "JPY", "GBP", cross("GBP", "JPY"), 1e-4},
                      ChartPairCase{"YFinance", "USD", "XAU", cross("XAU", "USD"), 1e-4},
                      ChartPairCase{"Bloomberg", "EUR", "CHF", cross("CHF", "EUR"), 1e-4},
                      ChartPairCase{"ECB", "USD", "GBP", cross("GBP", "USD"), 1e-3},
                      ChartPairCase{"ECB", "JPY", "EUR", cross("EUR", "JPY"), 1e-4},
                      ChartPairCase{"ECB", "EUR", "JPY", cross("JPY", "EUR"), 1e-4},
                      ChartPairCase{"CBR", "USD", "RUB", cross("RUB", "USD"), 1e-4},
                      ChartPairCase{"CBR", "RUB", "KRW", cross("KRW", "RUB"), 1e-4},
                      // The bank's metal prices are roubles per gram.
                      ChartPairCase{"CBR", "RUB", "XAU",
                                    cross("XAU", "RUB") / Decimal::fromString(u"31.1034768"),
                                    1e-5}),
    [](const auto& info) {
        return std::string(info.param.source) + "_" + info.param.first + info.param.last;
    });

TEST_F(CliTest, APairTheServiceHasNoHistoryForIsReportedAsNoData) {
    for (const char* source : {"ECB", "Bloomberg", "YFinance", "CBR"}) {
        SCOPED_TRACE(source);
        ok({QStringLiteral("select"), QString::fromLatin1(source)});
        // ECB answers 404, Bloomberg an unknown security, Yahoo no series, CBR is never asked.
        const CliRun run = cli(chartArgs("EUR", "QQQ", 1));
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.json().value(QStringLiteral("points")).toArray().isEmpty());
        EXPECT_FALSE(str(run.json(), "error").isEmpty());
    }
}

TEST_F(CliTest, BadChartArgumentsExit64AndChangeNothing) {
    ok("select ECB");
    ok("chart GBP USD --period 2");
    expectRefused({"chart --period 11", "chart --period -1", "chart --period one", "chart --period",
                   "chart EUR", "chart EUR USD GBP", "chart eur USD", "chart EUR USD --period 11",
                   "chart --csv", "chart --pdf -", "chart --svg x.svg"});

    // A source without charts is named as the problem.
    ok("select PayPal");
    const CliRun run = cli("chart");
    EXPECT_EQ(run.exitCode, 64);
    EXPECT_TRUE(run.err.contains("PayPal")) << run.err.toStdString();
}

}  // namespace

TEST_F(CliTest, FrankfurterChartsAWeekOrTheWholeHistoryInOneAnswer) {
    ok("select Frankfurter");
    // Daily rates on working days, the latest at today's rate.
    const QJsonObject week = ok(chartArgs("EUR", "USD", 1)).json();
    expectConsistentChart(week, cross("USD", "EUR"), 1e-6);
    EXPECT_GE(week.value(QStringLiteral("points")).toArray().size(), 5);
    // The whole history by week since 1999: about 52 points a year, never past 1,500.
    const QJsonObject overall = ok(chartArgs("JPY", "GBP", 10)).json();
    expectConsistentChart(overall, cross("GBP", "JPY"), 0.1);
    const qsizetype points = overall.value(QStringLiteral("points")).toArray().size();
    EXPECT_GT(points, 52 * (SampleData::today().year() - 1999));
    EXPECT_LE(points, 1500);
    // No intraday rates: the one-day period becomes a week.
    EXPECT_EQ(ok(chartArgs("EUR", "USD", 0)).json().value(QStringLiteral("period")).toInt(), 1);
}
