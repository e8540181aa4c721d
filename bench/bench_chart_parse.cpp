// The largest chart answers read into chart records, each next to the bare parser reading the
// same bytes in the same run; the record may cost at most twice the bare parse:
// - ECB cross pair over the whole history: two files of some 7,300 observations (560 KB each),
//   parsed, cut and divided into one record, against a bare QXmlStreamReader walk of both files;
// - Yahoo Finance at its longest period (27,000 daily closes) against simdjson's walk;
// - Frankfurter's whole-history weekly answer (about 1,450 rows) against simdjson's walk.
// Also the chart cache write of the whole-history record as the main thread pays it (it must
// stay under one 16 ms frame). The ratios are printed after the table.
#include "CChartDataStorageManager.h"
#include "CECBChartWebServiceClient.h"
#include "CFrankfurterChartWebServiceClient.h"
#include "CYahooFinanceChartWebServiceClient.h"
#include "ChartProviderSupport.h"
#include "SampleData.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDate>
#include <QTemporaryDir>
#include <QXmlStreamReader>

#include <benchmark/benchmark.h>
#include <simdjson.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>

namespace {

const QDate kToday(2026, 12, 7);
const QTimeZone kZone("Europe/Berlin");

/// A rate that wanders like a real one: `start` moved by up to 0.4% a step, never below a third
/// or above three times `start`.
class RandomWalk {
public:
    explicit RandomWalk(double start) : start_(start), value_(start) {}
    double next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        const double step = (static_cast<double>(state_ >> 33) / 2147483648.0 - 0.5) * 0.008;
        value_ *= 1 + step;
        if (value_ < start_ / 3 || value_ > start_ * 3) {
            value_ /= 1 + 2 * step;
        }
        return value_;
    }

private:
    std::uint64_t state_ = 0x9e3779b97f4a7c15ULL;
    double start_;
    double value_;
};

/// The bank's whole history of one currency, in its SDMX form: every working day since the
/// euro's first one.
QByteArray ecbHistory(const char* code, const char* name, double start, int decimals) {
    QList<QPair<QDate, QString>> observations;
    RandomWalk walk(start);
    for (QDate day(1999, 1, 4); day <= kToday; day = day.addDays(1)) {
        if (day.dayOfWeek() <= 5) {
            observations.append({day, QString::number(walk.next(), 'f', decimals)});
        }
    }
    return SampleData::ecbHistoryXml(QString::fromLatin1(code), QString::fromLatin1(name), kToday,
                                     observations);
}

const QByteArray& ecbPounds() {
    static const QByteArray xml = ecbHistory("GBP", "UK pound sterling", 0.7111, 5);
    return xml;
}

const QByteArray& ecbYen() {
    static const QByteArray xml = ecbHistory("JPY", "Japanese yen", 133.73, 2);
    return xml;
}

/// The Yahoo chart answer for "100y": 27,000 daily closes, JSON-P, as the service writes it.
QByteArray yahooLongest() {
    constexpr int kDays = 27000;
    const QDate first = kToday.addDays(-(kDays - 1));
    QByteArray body =
        "finance_charts_json_callback( {\n \"meta\" :\n {\n"
        "  \"uri\" :\"/instrument/1.0/EURUSD=X/chartdata;type=close;range=100y/json/\",\n"
        "  \"ticker\" : \"eurusd=x\",\n  \"Company-Name\" : \"EUR/USD (EURUSD=X)\",\n"
        "  \"Exchange-Name\" : \"CCY\",\n  \"unit\" : \"DAY\",\n  \"timezone\" : \"GMT\",\n"
        "  \"currency\" : \"USD\"\n }\n ,\n \"Date\" : {\"min\" :" +
        first.toString(QStringLiteral("yyyyMMdd")).toLatin1() +
        ",\"max\" :" + kToday.toString(QStringLiteral("yyyyMMdd")).toLatin1() +
        " }\n ,\n \"labels\" : [" + first.toString(QStringLiteral("yyyyMMdd")).toLatin1() +
        " ]\n ,\n \"ranges\" : {\"close\" : {\"min\" :0.8225,\"max\" :1.5990 } }\n ,\n"
        " \"series\" : [ \n";
    RandomWalk walk(1.3036);
    for (int i = 0; i < kDays; ++i) {
        body += i == 0 ? "{ \"Date\" :" : ", { \"Date\" :";
        body += first.addDays(i).toString(QStringLiteral("yyyyMMdd")).toLatin1() +
                ",\"close\" :" + QByteArray::number(walk.next(), 'f', 4) + " }\n";
    }
    body += "] \n} \n)\n";
    return body;
}

const QByteArray& yahooAnswer() {
    static const QByteArray body = yahooLongest();
    return body;
}

QByteArray frankfurterWeeklyHistory() {
    QByteArray json = "[";
    int i = 0;
    for (QDate day(1999, 1, 4); day <= kToday; day = day.addDays(7), ++i) {
        if (i > 0) {
            json += ',';
        }
        json += "{\"date\":\"" + day.toString(Qt::ISODate).toLatin1() +
                "\",\"base\":\"USD\",\"quote\":\"EUR\",\"rate\":0." +
                QByteArray::number(80000 + (i * 7919) % 20000) + "}";
    }
    json += "]";
    return json;
}

const QByteArray& frankfurterAnswer() {
    static const QByteArray json = frankfurterWeeklyHistory();
    return json;
}

/// GBP per JPY over the whole history, as the ECB client makes it from the two files.
std::optional<CCurrencyChartInfo> ecbCrossPairRecord() {
    using namespace ChartProviderSupport;
    // Fetched in the client's order: the pair's first currency, then its last.
    CECBChartWebServiceClient::ParsedSeries pounds =
        CECBChartWebServiceClient::parseSeries(ecbPounds(), kZone);
    CECBChartWebServiceClient::ParsedSeries yen =
        CECBChartWebServiceClient::parseSeries(ecbYen(), kZone);
    SeriesCombinationInput input;
    input.combination = SeriesCombination::CrossRate;
    input.series = std::move(pounds.points);
    input.divisor = std::move(yen.points);
    input.cutToPeriod = true;
    input.chartPeriod = 10;
    input.firstCurrencyCode = QStringLiteral("JPY");
    input.lastCurrencyCode = QStringLiteral("GBP");
    input.timeZone = kZone;
    return combineSeries(std::move(input), notCancelled);
}

void BM_EcbBareXmlWalk(benchmark::State& state) {
    qsizetype elements = 0;
    for (auto _ : state) {
        elements = 0;
        for (const QByteArray* file : {&ecbPounds(), &ecbYen()}) {
            QXmlStreamReader reader(*file);
            reader.setNamespaceProcessing(false);
            while (!reader.atEnd()) {
                if (reader.readNext() == QXmlStreamReader::StartElement) {
                    ++elements;
                }
            }
            if (reader.hasError()) {
                state.SkipWithError("the generated file does not parse");
            }
        }
        benchmark::DoNotOptimize(elements);
    }
    state.counters["elements"] = static_cast<double>(elements);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            (ecbPounds().size() + ecbYen().size()));
}

void BM_EcbCrossPairRecord(benchmark::State& state) {
    qsizetype points = 0;
    for (auto _ : state) {
        std::optional<CCurrencyChartInfo> record = ecbCrossPairRecord();
        points = record ? record->plotPoints.size() : 0;
        benchmark::DoNotOptimize(record);
    }
    state.counters["points"] = static_cast<double>(points);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            (ecbPounds().size() + ecbYen().size()));
}

/// The JSON object inside the JSON-P wrapper, without a copy beyond simdjson's padding.
std::string_view yahooObject(const QByteArray& body) {
    const qsizetype open = body.indexOf('{');
    const qsizetype close = body.lastIndexOf('}');
    return std::string_view(body.constData() + open, static_cast<size_t>(close - open + 1));
}

void BM_YahooBareSimdjsonWalk(benchmark::State& state) {
    const std::string_view object = yahooObject(yahooAnswer());
    simdjson::ondemand::parser parser;
    size_t samples = 0;
    for (auto _ : state) {
        const simdjson::padded_string padded(object);
        simdjson::ondemand::document document = parser.iterate(padded);
        samples = 0;
        double sum = 0;
        for (auto field : document.get_object()) {
            std::string_view key = field.unescaped_key();
            if (key != "series") {
                continue;
            }
            for (auto element : field.value().get_array()) {
                for (auto member : element.get_object()) {
                    std::string_view name = member.unescaped_key();
                    benchmark::DoNotOptimize(name);
                    sum += double(member.value());
                }
                ++samples;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["samples"] = static_cast<double>(samples);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * yahooAnswer().size());
}

void BM_YahooLongestRecord(benchmark::State& state) {
    const QStringList pair{QStringLiteral("USD"), QStringLiteral("EUR")};
    qsizetype points = 0;
    for (auto _ : state) {
        std::optional<CCurrencyChartInfo> record =
            CYahooFinanceChartWebServiceClient::getChartInfo(yahooAnswer(), pair, 10, kZone);
        points = record ? record->plotPoints.size() : 0;
        benchmark::DoNotOptimize(record);
    }
    state.counters["points"] = static_cast<double>(points);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * yahooAnswer().size());
}

void BM_FrankfurterBareSimdjsonWalk(benchmark::State& state) {
    const QByteArray& json = frankfurterAnswer();
    simdjson::ondemand::parser parser;
    size_t rows = 0;
    for (auto _ : state) {
        const simdjson::padded_string padded(json.constData(), static_cast<size_t>(json.size()));
        simdjson::ondemand::document document = parser.iterate(padded);
        double sum = 0;
        rows = 0;
        for (auto element : document.get_array()) {
            simdjson::ondemand::object object = element.get_object();
            for (auto field : object) {
                std::string_view key = field.unescaped_key();
                if (key == "rate") {
                    sum += double(field.value());
                } else {
                    std::string_view text = field.value().get_string();
                    benchmark::DoNotOptimize(text);
                }
            }
            ++rows;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * json.size());
}

void BM_FrankfurterChartRecord(benchmark::State& state) {
    const QByteArray& json = frankfurterAnswer();
    const QStringList pair{QStringLiteral("USD"), QStringLiteral("EUR")};
    qsizetype points = 0;
    for (auto _ : state) {
        std::optional<CCurrencyChartInfo> record =
            CFrankfurterChartWebServiceClient::getChartInfo(json, pair, 10, kZone);
        points = record ? record->plotPoints.size() : 0;
        benchmark::DoNotOptimize(record);
    }
    state.counters["points"] = static_cast<double>(points);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * json.size());
}

/// What the main thread spends handing the whole-history cross pair to the chart cache (a
/// real SQLite file); writes still queued are finished outside the timing.
void BM_ChartCacheWriteMainThread(benchmark::State& state) {
    const std::optional<CCurrencyChartInfo> record = ecbCrossPairRecord();
    if (!record || !record->hasData()) {
        state.SkipWithError("no record");
        return;
    }
    QTemporaryDir dir;
    CChartDataStorageManager cache(dir.filePath(QStringLiteral("ChartDataStorage.sqlite")));
    cache.addChartInfo(*record, QStringLiteral("ECB"));  // creates the file
    cache.waitForPendingWrites();
    for (auto _ : state) {
        cache.addChartInfo(*record, QStringLiteral("ECB"));
        state.PauseTiming();
        // The queue's work is not the main thread's, and must not pile up between runs.
        cache.waitForPendingWrites();
        state.ResumeTiming();
    }
}

/// The archive of the whole-history record (done on the store's queue, off the main thread).
void BM_ChartArchiveEncode(benchmark::State& state) {
    const std::optional<CCurrencyChartInfo> record = ecbCrossPairRecord();
    for (auto _ : state) {
        QByteArray archive = record->toArchiveData();
        benchmark::DoNotOptimize(archive);
    }
}

/// Reading the whole-history record back from the chart cache file, as the chart screen does
/// when it opens (main thread).
void BM_ChartCacheReadMainThread(benchmark::State& state) {
    const std::optional<CCurrencyChartInfo> record = ecbCrossPairRecord();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ChartDataStorage.sqlite"));
    CChartDataStorageManager(path).addChartInfo(*record, QStringLiteral("ECB"));
    // A new manager: the record comes from the file, not from a write still in memory.
    CChartDataStorageManager cache(path);
    for (auto _ : state) {
        std::optional<CCurrencyChartInfo> back =
            cache.getChartInfoForCurrencyPair({record->firstCurrencyCode, record->lastCurrencyCode},
                                              record->chartPeriod, QStringLiteral("ECB"));
        if (!back || back->plotPoints.size() != record->plotPoints.size()) {
            state.SkipWithError("the record did not read back");
            break;
        }
    }
}

/// Writes the table as usual and keeps the CPU time per benchmark, for the ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        // With repetitions, the ratios use the medians (also when only aggregates are shown);
        // without, the one run.
        for (const Run& run : runs) {
            if (run.error_occurred) {
                continue;
            }
            const std::string name = run.run_name.str();
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (median || (run.run_type == Run::RT_Iteration && !fromMedian_.count(name))) {
                cpuTime_[name] = run.GetAdjustedCPUTime();
                realTime_[name] = run.GetAdjustedRealTime();
            }
            if (median) {
                fromMedian_.insert(name);
            }
        }
    }

    void printRatio(const char* what, const std::string& measured, const std::string& bare,
                    double limit) const {
        const auto m = cpuTime_.find(measured);
        const auto b = cpuTime_.find(bare);
        if (m == cpuTime_.end() || b == cpuTime_.end() || b->second <= 0) {
            return;
        }
        const double ratio = m->second / b->second;
        std::printf("%-44s %6.2fx the bare parser (limit %.0fx): %s\n", what, ratio, limit,
                    ratio <= limit ? "ok" : "TOO SLOW");
    }

    void printTime(const char* what, const std::string& measured, double limitMs) const {
        const auto m = realTime_.find(measured);
        if (m == realTime_.end()) {
            return;
        }
        // The benchmarks below report in milliseconds.
        std::printf("%-44s %6.2f ms (limit %.0f ms): %s\n", what, m->second, limitMs,
                    m->second < limitMs ? "ok" : "TOO SLOW");
    }

private:
    std::map<std::string, double> cpuTime_;
    std::map<std::string, double> realTime_;
    std::set<std::string> fromMedian_;
};

BENCHMARK(BM_EcbBareXmlWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EcbCrossPairRecord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_YahooBareSimdjsonWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_YahooLongestRecord)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrankfurterBareSimdjsonWalk)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrankfurterChartRecord)->Unit(benchmark::kMillisecond);
// A fixed count: each run waits for its write, which the main thread does not pay for.
BENCHMARK(BM_ChartCacheWriteMainThread)->Unit(benchmark::kMillisecond)->Iterations(30);
BENCHMARK(BM_ChartArchiveEncode)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ChartCacheReadMainThread)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\n");
    reporter.printRatio("ECB cross pair, whole history (2 files)", "BM_EcbCrossPairRecord",
                        "BM_EcbBareXmlWalk", 2);
    reporter.printRatio("Yahoo, longest period (27,000 points)", "BM_YahooLongestRecord",
                        "BM_YahooBareSimdjsonWalk", 2);
    reporter.printRatio("Frankfurter, whole history weekly", "BM_FrankfurterChartRecord",
                        "BM_FrankfurterBareSimdjsonWalk", 2);
    reporter.printTime("Chart cache write, main thread",
                       "BM_ChartCacheWriteMainThread/iterations:30", 16);
    reporter.printTime("Chart cache read, main thread", "BM_ChartCacheReadMainThread", 16);
    benchmark::Shutdown();
    return 0;
}
