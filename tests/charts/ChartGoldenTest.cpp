// Every chart provider against its recorded answers: one test body runs the cases of
// tests/data/<folder>/<file> for each row below (the format is in GoldenCases.h).
//
// A case's query is "query FIRST LAST PERIOD [TIME-ZONE]". Its outcome: "> " request lines,
// then per record "record FIRST LAST period P points N", "range MIN MAX from MINDATE to
// MAXDATE" and its points as "DATE VALUE" (dates in UTC; the middle of a long series is left
// out), then "failed: ..." and "log: ..." lines. Today's date reads "TODAY".
// Record new cases with
//   NUMIVA_UPDATE_GOLDEN=1 build/tests/charts_tests --gtest_filter='ChartGolden*'
// and read what it wrote before committing it.
#include "ChartProviderTestSupport.h"
#include "ChartTestSupport.h"
#include "GoldenCases.h"
#include "Log.h"

#include <QRegularExpression>

using namespace charttest;

namespace {

struct Query {
    QStringList pair;
    int period = 0;
    QTimeZone zone = QTimeZone::utc();
};

using Start = std::function<std::shared_ptr<void>(const Endpoints&, ChartRecorder&, const Query&)>;

struct Provider {
    const char* folder;
    const char* file;
    std::function<QString(const FakeHttpServer::Request&)> slot;
    Start start;
};

template <class Client>
std::shared_ptr<Client> started(std::shared_ptr<Client> client, ChartRecorder& recorder,
                                const Query& query) {
    client->setDelegate(&recorder);
    client->setTimeZone(query.zone);
    client->queryCurrencyChart(query.pair, query.period);
    return client;
}

template <class Client>
Start plain() {
    return [](const Endpoints& endpoints, ChartRecorder& recorder, const Query& query) {
        return started(std::make_shared<Client>(endpoints), recorder, query);
    };
}

QString lastSegment(const FakeHttpServer::Request& request) {
    return request.path.section(u'/', -1);
}

const QList<Provider>& providers() {
    static const QList<Provider> rows = {
        // Served by the range in the path: ".../chartdata;type=close;range=1y/json/".
        {"yahoo-chart", "expected.txt",
         [](const FakeHttpServer::Request& request) {
             static const QRegularExpression range(QStringLiteral("range=([^/]+)"));
             return range.match(request.path).captured(1);
         },
         plain<CYahooFinanceChartWebServiceClient>()},
        {"bloomberg-chart", "expected.txt",
         [](const FakeHttpServer::Request& request) {
             return request.queryValues(QStringLiteral("TimePeriod")).value(0);
         },
         plain<CBloombergChartWebServiceClient>()},
        {"ecb-chart", "expected.txt", lastSegment, plain<CECBChartWebServiceClient>()},
        // Served by the bank's internal code of the series, or "metals"; the day is 7 March 2012.
        {"cbr-chart", "expected.txt",
         [](const FakeHttpServer::Request& request) {
             return request.path.endsWith(QLatin1String("xml_metall.asp"))
                        ? QStringLiteral("metals")
                        : request.queryValues(QStringLiteral("VAL_NM_RQ")).value(0);
         },
         [](const Endpoints& endpoints, ChartRecorder& recorder, const Query& query) {
             auto client = std::make_shared<CCBRChartWebServiceClient>(endpoints);
             client->setClock([] { return utc(2012, 3, 7, 12); });
             client->setCurrencyCodesDict(CCBRChartWebServiceClient::loadInternalCodes());
             return started(client, recorder, query);
         }},
        {"frankfurter", "chart-expected.txt", lastSegment,
         plain<CFrankfurterChartWebServiceClient>()},
    };
    return rows;
}

QString dateText(const QDateTime& date) {
    return date.isValid() ? date.toUTC().toString(QStringLiteral("yyyy-MM-dd HH:mm"))
                          : QStringLiteral("none");
}

QStringList describe(const CCurrencyChartInfo& record) {
    const CCurrencyChartPointList& points = record.plotPoints;
    QStringList lines = {QStringLiteral("record %1 %2 period %3 points %4")
                             .arg(record.firstCurrencyCode, record.lastCurrencyCode)
                             .arg(record.chartPeriod)
                             .arg(points.size())};
    if (points.isEmpty()) {
        return lines;
    }
    lines.append(QStringLiteral("range %1 %2 from %3 to %4")
                     .arg(record.minCurrencyValue.toString(), record.maxCurrencyValue.toString(),
                          dateText(record.minDate), dateText(record.maxDate)));
    const qsizetype shown = 60;
    for (qsizetype i = 0; i < points.size(); ++i) {
        if (points.size() > shown && i == 5) {
            lines.append(QStringLiteral("..."));
            i = points.size() - 6;
            continue;
        }
        lines.append(dateText(points[i].date) + u' ' + points[i].value.toString());
    }
    return lines;
}

QStringList run(const Provider& provider, const golden::Case& testCase) {
    FakeHttpServer server;
    golden::serve(server, QString::fromLatin1(provider.folder), testCase, provider.slot);
    const QStringList arguments = testCase.arguments();
    const Query query{arguments.mid(0, 2), arguments.value(2).toInt(),
                      arguments.size() > 3 ? QTimeZone(arguments[3].toLatin1()) : QTimeZone::utc()};

    LogCapture log;
    ChartRecorder recorder;
    {
        const std::shared_ptr<void> client =
            provider.start(chartEndpointsFor(server), recorder, query);
        if (!recorder.waitForOutcomes()) {
            return {QStringLiteral("no outcome")};
        }
    }
    QStringList outcome = golden::describeRequests(server);
    if (recorder.outcomes() != 1 || !recorder.allOnMainThread) {
        outcome.append(QStringLiteral("calls: %1 on the main thread: %2")
                           .arg(recorder.outcomes())
                           .arg(recorder.allOnMainThread));
    }
    for (const CCurrencyChartInfo& record : recorder.results) {
        outcome += describe(record);
    }
    outcome = golden::describeEnd(outcome, recorder.failures, log.lines(), server);
    outcome.replaceInStrings(QDate::currentDate().toString(Qt::ISODate), QStringLiteral("TODAY"));
    return outcome;
}

class ChartGolden : public ::testing::TestWithParam<Provider> {};

TEST_P(ChartGolden, RecordedAnswersGiveTheExpectedRecords) {
    const Provider& provider = GetParam();
    golden::expectGolden(
        QStringLiteral(NUMIVA_TEST_DATA "/%1/%2").arg(provider.folder, provider.file),
        [&](const golden::Case& testCase) { return run(provider, testCase); });
}

INSTANTIATE_TEST_SUITE_P(Providers, ChartGolden, ::testing::ValuesIn(providers()),
                         [](const ::testing::TestParamInfo<Provider>& info) {
                             std::string name = info.param.folder;
                             std::replace(name.begin(), name.end(), '-', '_');
                             return name;
                         });

}  // namespace
