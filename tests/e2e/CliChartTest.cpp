// numiva-cli's chart command end to end: the real binary against the sample chart services.
#include "Decimal.h"
#include "SampleData.h"
#include "SampleServer.h"

#include <QDateTime>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct ChartRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

QDateTime instant(const QJsonValue& text) {
    return QDateTime::fromString(text.toString(), Qt::ISODate);
}

Decimal decimal(const QJsonValue& text) {
    return Decimal::fromString(text.toString());
}

/// The date text of the exports: the local wall-clock time.
QString exportDate(const QJsonValue& text) {
    return instant(text).toLocalTime().toString(QStringLiteral("yyyy.MM.dd HH:mm:ss"));
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

class ChartCliTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QTemporaryDir runtimeDir;
    SampleServer server;
    QString endpoints = dir.filePath(QStringLiteral("endpoints.ini"));

    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(server.start());
        ASSERT_TRUE(server.writeEndpoints(endpoints));
    }

    ChartRun cli(const QStringList& arguments) {
        QProcess process;
        // A login session's runtime directory, which Qt's GUI application (for --pdf) expects.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeDir.path());
        process.setProcessEnvironment(environment);
        process.setProgram(QStringLiteral(NUMIVA_CLI));
        process.setArguments(QStringList{QStringLiteral("--data-dir"),
                                         dir.filePath(QStringLiteral("data")),
                                         QStringLiteral("--endpoints"), endpoints} +
                             arguments);
        process.start();
        EXPECT_TRUE(process.waitForFinished(120000)) << arguments.join(u' ').toStdString();
        ChartRun run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        run.out = process.readAllStandardOutput();
        run.err = process.readAllStandardError();
        return run;
    }

    ChartRun ok(const QStringList& arguments) {
        ChartRun run = cli(arguments);
        EXPECT_EQ(run.exitCode, 0)
            << arguments.join(u' ').toStdString() << ": " << run.err.toStdString();
        return run;
    }

    QByteArray file(const QString& name) {
        QFile f(dir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QByteArray settingsFile() {
        return file(QStringLiteral("data/Library/Preferences/Numiva.plist"));
    }

    /// A chart answer whose points are ordered, positive, summarised correctly and end at
    /// `expected` (within the service's rounding).
    static void expectConsistentChart(const QJsonObject& chart, const Decimal& expected,
                                      double tolerance) {
        const QJsonArray points = chart.value(QStringLiteral("points")).toArray();
        ASSERT_FALSE(points.isEmpty());
        Decimal high = decimal(points.first().toObject().value(QStringLiteral("value")));
        Decimal low = high;
        QDateTime previous;
        for (const QJsonValue& p : points) {
            const Decimal value = decimal(p.toObject().value(QStringLiteral("value")));
            const QDateTime date = instant(p.toObject().value(QStringLiteral("date")));
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
        const QJsonObject latest = chart.value(QStringLiteral("latest")).toObject();
        const QJsonObject highest = chart.value(QStringLiteral("highest")).toObject();
        const QJsonObject lowest = chart.value(QStringLiteral("lowest")).toObject();
        EXPECT_EQ(latest, points.last().toObject());
        EXPECT_EQ(decimal(highest.value(QStringLiteral("value"))), high);
        EXPECT_EQ(decimal(lowest.value(QStringLiteral("value"))), low);
        const Decimal last = decimal(latest.value(QStringLiteral("value")));
        EXPECT_GE(high, last);
        EXPECT_GE(last, low);
        EXPECT_LT(low, high) << "the history moves";
        EXPECT_NEAR((last / expected).toDouble(), 1.0, tolerance)
            << last.toString().toStdString() << " vs " << expected.toString().toStdString();
    }
};

struct ChartSourceCase {
    const char* source;
    QString failName;    // the sample server's name of the chart service
    double tolerance;    // the service's rounding
    QList<int> periods;  // the first is daily

    friend void PrintTo(const ChartSourceCase& c, std::ostream* os) { *os << c.source; }
};

class CliChartSources : public ChartCliTest, public ::testing::WithParamInterface<ChartSourceCase> {
protected:
    void SetUp() override {
        ChartCliTest::SetUp();
        ok({QStringLiteral("select"), QString::fromLatin1(GetParam().source)});
    }

    /// Units of EUR per US dollar, the value of the pair (EUR, USD).
    static Decimal eurPerDollar() {
        return SampleData::cross(QStringLiteral("USD"), QStringLiteral("EUR"));
    }
};

TEST_P(CliChartSources, EveryPeriodEndsAtTodaysRateAndCoversThePeriod) {
    const ChartSourceCase& c = GetParam();
    for (const int period : c.periods) {
        SCOPED_TRACE(period);
        const QJsonObject chart =
            ok({QStringLiteral("--json"), QStringLiteral("chart"), QStringLiteral("EUR"),
                QStringLiteral("USD"), QStringLiteral("--period"), QString::number(period)})
                .json();
        EXPECT_EQ(chart.value(QStringLiteral("source")).toString(), QString::fromLatin1(c.source));
        EXPECT_EQ(chart.value(QStringLiteral("period")).toInt(), period);
        EXPECT_EQ(chart.value(QStringLiteral("pair")).toArray(),
                  (QJsonArray{QStringLiteral("EUR"), QStringLiteral("USD")}));
        EXPECT_TRUE(chart.value(QStringLiteral("error")).isNull());
        expectConsistentChart(chart, eurPerDollar(), c.tolerance);

        const QJsonArray points = chart.value(QStringLiteral("points")).toArray();
        const QDateTime first = instant(points.first().toObject().value(QStringLiteral("date")));
        const QDateTime last = instant(points.last().toObject().value(QStringLiteral("date")));
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
    const ChartSourceCase& c = GetParam();
    const int period = c.periods.first();
    const QString csvFile = dir.filePath(QStringLiteral("chart.csv"));
    const QJsonObject chart =
        ok({QStringLiteral("--json"), QStringLiteral("chart"), QStringLiteral("EUR"),
            QStringLiteral("USD"), QStringLiteral("--period"), QString::number(period),
            QStringLiteral("--csv"), csvFile})
            .json();
    const QJsonArray points = chart.value(QStringLiteral("points")).toArray();
    ASSERT_FALSE(points.isEmpty());

    // The separator is a setting; whichever it is, the header names it.
    const QByteArray written = file(QStringLiteral("chart.csv"));
    const QList<QByteArray> lines = written.split('\n');
    ASSERT_GE(lines.size(), 4);
    ASSERT_TRUE(lines[2].startsWith("Date") && lines[2].endsWith("Value\r")) << lines[2].data();
    const QString separator = QString::fromUtf8(lines[2].mid(4, lines[2].size() - 10));
    ASSERT_FALSE(separator.isEmpty());

    QString expected =
        QStringLiteral("\"EUR to USD. From %1 to %2\"\r\n\r\nDate%3Value\r\n")
            .arg(exportDate(points.first().toObject().value(QStringLiteral("date"))),
                 exportDate(points.last().toObject().value(QStringLiteral("date"))), separator);
    QStringList rows;
    for (const QJsonValue& p : points) {
        // At most ten fraction digits; these values are below 1000, so no grouping.
        rows.append(exportDate(p.toObject().value(QStringLiteral("date"))) + separator +
                    decimal(p.toObject().value(QStringLiteral("value"))).rounded(10).toString());
    }
    expected += rows.join(QStringLiteral("\r\n"));
    EXPECT_EQ(QString::fromUtf8(written), expected);

    // The same chart again, to standard output: the CSV text alone, nothing after it.
    const ChartRun printed =
        ok({QStringLiteral("chart"), QStringLiteral("--csv"), QStringLiteral("-")});
    EXPECT_EQ(QString::fromUtf8(printed.out), expected);
    EXPECT_FALSE(printed.out.endsWith('\n'));
}

TEST_P(CliChartSources, HtmlAndPdfAreWritten) {
    const ChartSourceCase& c = GetParam();
    const QJsonObject chart =
        ok({QStringLiteral("--json"), QStringLiteral("chart"), QStringLiteral("EUR"),
            QStringLiteral("USD"), QStringLiteral("--period"), QString::number(c.periods.first()),
            QStringLiteral("--html"), dir.filePath(QStringLiteral("chart.html")),
            QStringLiteral("--pdf"), dir.filePath(QStringLiteral("chart.pdf"))})
            .json();
    const QJsonArray points = chart.value(QStringLiteral("points")).toArray();
    ASSERT_FALSE(points.isEmpty());
    const QJsonObject latest = points.last().toObject();

    const QString html = QString::fromUtf8(file(QStringLiteral("chart.html")));
    EXPECT_TRUE(html.startsWith(u"<html><head><style type=\"text/css\">"));
    EXPECT_TRUE(html.contains(u"<thead><tr><td>Date</td><td>Value</td></tr></thead>"));
    EXPECT_TRUE(html.endsWith(u"</tr></tbody></table></body></html>"));
    EXPECT_EQ(html.count(u"<tr>"), points.size() + 1);
    EXPECT_TRUE(html.contains(QStringLiteral("<tr><td>%1</td><td>%2</td></tr>")
                                  .arg(exportDate(latest.value(QStringLiteral("date"))),
                                       latest.value(QStringLiteral("value")).toString())));

    const QString pdf = dir.filePath(QStringLiteral("chart.pdf"));
    ASSERT_TRUE(file(QStringLiteral("chart.pdf")).startsWith("%PDF"));
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(pdftotext.waitForFinished(60000));
    ASSERT_EQ(pdftotext.exitCode(), 0) << pdftotext.readAllStandardError().toStdString();
    const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
    EXPECT_TRUE(
        text.contains(QStringLiteral("EUR to USD. From %1 to %2 (page 1 of")
                          .arg(exportDate(points.first().toObject().value(QStringLiteral("date"))),
                               exportDate(latest.value(QStringLiteral("date"))))))
        << text.left(400).toStdString();
    EXPECT_TRUE(text.contains(latest.value(QStringLiteral("value")).toString()))
        << "the table holds the latest value";
}

TEST_P(CliChartSources, AFailingServiceExitsWith2AndPrintsTheCachedChart) {
    const ChartSourceCase& c = GetParam();
    const QStringList arguments{QStringLiteral("chart"), QStringLiteral("EUR"),
                                QStringLiteral("USD"), QStringLiteral("--period"),
                                QString::number(c.periods.first())};
    const QJsonObject fresh = ok(QStringList{QStringLiteral("--json")} + arguments).json();
    ASSERT_FALSE(fresh.value(QStringLiteral("points")).toArray().isEmpty());

    server.setFailing(c.failName, true);
    const ChartRun failed = cli(QStringList{QStringLiteral("--json")} + arguments);
    EXPECT_EQ(failed.exitCode, 2);
    // The system log's line about the request may come first; the message ends the output.
    EXPECT_TRUE(failed.err.endsWith("\nnumiva-cli: 503 Service Unavailable\n"))
        << failed.err.toStdString();
    const QJsonObject cached = failed.json();
    EXPECT_EQ(cached.value(QStringLiteral("error")).toString(),
              QStringLiteral("503 Service Unavailable"));
    EXPECT_EQ(cached.value(QStringLiteral("points")), fresh.value(QStringLiteral("points")));
    EXPECT_EQ(cached.value(QStringLiteral("latest")), fresh.value(QStringLiteral("latest")));

    // In text form too: the summary of the cached chart, then the failure.
    const ChartRun text = cli({QStringLiteral("chart")});
    EXPECT_EQ(text.exitCode, 2);
    EXPECT_TRUE(text.err.contains("503 Service Unavailable")) << text.err.toStdString();
    const QJsonObject latest = fresh.value(QStringLiteral("latest")).toObject();
    EXPECT_TRUE(text.out.contains(QStringLiteral("latest\t%1\t%2")
                                      .arg(latest.value(QStringLiteral("date")).toString(),
                                           latest.value(QStringLiteral("value")).toString())
                                      .toUtf8()))
        << text.out.toStdString();

    // Once the service answers again, so does the chart.
    server.setFailing(c.failName, false);
    ok({QStringLiteral("chart")});
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

class CliChartPairs : public ChartCliTest, public ::testing::WithParamInterface<ChartPairCase> {};

TEST_P(CliChartPairs, CrossInvertedAndPlainSeriesAgreeWithTheSampleRates) {
    const ChartPairCase& c = GetParam();
    ok({QStringLiteral("select"), QString::fromLatin1(c.source)});
    const QJsonObject chart =
        ok({QStringLiteral("--json"), QStringLiteral("chart"), QString::fromLatin1(c.first),
            QString::fromLatin1(c.last), QStringLiteral("--period"), QStringLiteral("1")})
            .json();
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

TEST_F(ChartCliTest, APairTheServiceHasNoHistoryForIsReportedAsNoData) {
    for (const char* source : {"ECB", "Bloomberg", "YFinance", "CBR"}) {
        SCOPED_TRACE(source);
        ok({QStringLiteral("select"), QString::fromLatin1(source)});
        // ECB answers 404, Bloomberg an unknown security, Yahoo no series, CBR is never asked.
        const ChartRun run =
            cli({QStringLiteral("--json"), QStringLiteral("chart"), QStringLiteral("EUR"),
                 QStringLiteral("QQQ"), QStringLiteral("--period"), QStringLiteral("1")});
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_EQ(run.err.count('\n'), 1) << run.err.toStdString();
        EXPECT_TRUE(run.json().value(QStringLiteral("points")).toArray().isEmpty());
        EXPECT_FALSE(run.json().value(QStringLiteral("error")).toString().isEmpty());
    }
}

TEST_F(ChartCliTest, BadChartArgumentsExit64AndChangeNothing) {
    ok({QStringLiteral("select"), QStringLiteral("ECB")});
    ok({QStringLiteral("chart"), QStringLiteral("GBP"), QStringLiteral("USD"),
        QStringLiteral("--period"), QStringLiteral("2")});
    const QByteArray before = settingsFile();
    ASSERT_FALSE(before.isEmpty());
    const QList<QStringList> cases{
        {QStringLiteral("chart"), QStringLiteral("--period"), QStringLiteral("11")},
        {QStringLiteral("chart"), QStringLiteral("--period"), QStringLiteral("-1")},
        {QStringLiteral("chart"), QStringLiteral("--period"), QStringLiteral("one")},
        {QStringLiteral("chart"), QStringLiteral("--period")},
        {QStringLiteral("chart"), QStringLiteral("EUR")},
        {QStringLiteral("chart"), QStringLiteral("EUR"), QStringLiteral("USD"),
         QStringLiteral("GBP")},
        {QStringLiteral("chart"), QStringLiteral("eur"), QStringLiteral("USD")},
        {QStringLiteral("chart"), QStringLiteral("EUR"), QStringLiteral("USD"),
         QStringLiteral("--period"), QStringLiteral("11")},
        {QStringLiteral("chart"), QStringLiteral("--csv")},
        {QStringLiteral("chart"), QStringLiteral("--pdf"), QStringLiteral("-")},
        {QStringLiteral("chart"), QStringLiteral("--svg"), QStringLiteral("x.svg")},
    };
    for (const QStringList& arguments : cases) {
        const ChartRun run = cli(arguments);
        EXPECT_EQ(run.exitCode, 64) << arguments.join(u' ').toStdString();
        EXPECT_EQ(run.err.count('\n'), 1)
            << arguments.join(u' ').toStdString() << ": " << run.err.toStdString();
        EXPECT_TRUE(run.err.startsWith("numiva-cli: ")) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty()) << arguments.join(u' ').toStdString();
    }
    EXPECT_EQ(settingsFile(), before);

    // A source without charts is named as the problem.
    ok({QStringLiteral("select"), QStringLiteral("PayPal")});
    const ChartRun run = cli({QStringLiteral("chart")});
    EXPECT_EQ(run.exitCode, 64);
    EXPECT_TRUE(run.err.contains("PayPal")) << run.err.toStdString();
}

}  // namespace
