// Reading a whole-history weekly Frankfurter chart answer (about 1,450 rows) into a chart
// record, next to simdjson's own walk over the same bytes: the record may cost at most twice
// the walk.
#include "CFrankfurterChartWebServiceClient.h"

#include <QByteArray>
#include <QDate>

#include <benchmark/benchmark.h>
#include <simdjson.h>

namespace {

QByteArray weeklyHistory() {
    QByteArray json = "[";
    const QDate today(2026, 12, 7);
    int i = 0;
    for (QDate day(1999, 1, 4); day <= today; day = day.addDays(7), ++i) {
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

const QByteArray& answer() {
    static const QByteArray json = weeklyHistory();
    return json;
}

void BM_SimdjsonWalk(benchmark::State& state) {
    const QByteArray& json = answer();
    simdjson::ondemand::parser parser;
    for (auto _ : state) {
        const simdjson::padded_string padded(json.constData(), static_cast<size_t>(json.size()));
        simdjson::ondemand::document document = parser.iterate(padded);
        double sum = 0;
        size_t rows = 0;
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
        state.counters["rows"] = static_cast<double>(rows);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * json.size());
}

// simdjson's document parse of the same bytes (the whole tape, every number decoded).
void BM_SimdjsonDomParse(benchmark::State& state) {
    const QByteArray& json = answer();
    simdjson::dom::parser parser;
    for (auto _ : state) {
        const simdjson::padded_string padded(json.constData(), static_cast<size_t>(json.size()));
        simdjson::dom::element document = parser.parse(padded);
        benchmark::DoNotOptimize(document);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * json.size());
}

void BM_FrankfurterChartRecord(benchmark::State& state) {
    const QByteArray& json = answer();
    const QStringList pair{QStringLiteral("USD"), QStringLiteral("EUR")};
    const QTimeZone zone("Europe/Berlin");
    for (auto _ : state) {
        std::optional<CCurrencyChartInfo> record =
            CFrankfurterChartWebServiceClient::getChartInfo(json, pair, 10, zone);
        benchmark::DoNotOptimize(record);
        state.counters["points"] = static_cast<double>(record->plotPoints.size());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * json.size());
}

BENCHMARK(BM_SimdjsonWalk)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SimdjsonDomParse)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrankfurterChartRecord)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
