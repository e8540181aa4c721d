// `compare` over every built-in source against the sample server on 127.0.0.1, with one source
// (the ECB) answering 300 ms late. The sources are asked at once, so a comparison should take
// about as long as that source alone: the ratio of the two is the figure to watch (at most 1.3).
#include "CECBCurrenciesWebServiceClient.h"
#include "CRootViewModel.h"
#include "CSourceComparison.h"
#include "Endpoints.h"
#include "NotificationCenter.h"
#include "SampleEndpoints.h"
#include "SampleServer.h"
#include "Startup.h"
#include "UserDefaults.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

constexpr int kDelayMs = 300;

/// Waits for the ECB client's one answer.
class EcbWaiter : public CECBCurrenciesWebServiceClientDelegate {
public:
    bool done = false;
    void ecbCurrenciesQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr) override {
        done = true;
    }
    void ecbCurrenciesQueryFailedWithErrorDescription(const QString&) override { done = true; }
};

void waitFor(const bool& done) {
    // Blocking waits, woken now and then: a wait with a time limit would spin a core.
    while (!done) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

void BM_CompareWithOneLateSource(benchmark::State& state) {
    SampleServer server;
    server.setDelay(SampleServer::ECB, kDelayMs);
    QTemporaryDir dir;
    Endpoints endpoints;
    if (!startSampleEndpoints(server, dir, endpoints)) {
        state.SkipWithError("cannot start the sample server");
        return;
    }
    UserDefaults defaults(dir.filePath(QStringLiteral("prefs.plist")));
    Startup::registerDefaultsFromSettingsBundle(defaults);
    NotificationCenter center;
    CRootViewModel::Options options;
    options.rateCachePath = dir.filePath(QStringLiteral("cache.sqlite"));
    CRootViewModel model(defaults, center, options);
    const QStringList codes{QStringLiteral("EUR"), QStringLiteral("GBP"), QStringLiteral("JPY")};
    const QString base = QStringLiteral("USD");
    const int sources =
        static_cast<int>(CSourceComparison::sourcesFor(model, codes[0], base).size());

    QTimer wake;
    wake.start(50);
    double cycleMs = 0;
    double aloneMs = 0;
    int failed = 0;
    for (auto _ : state) {
        // The late source on its own, each time, so both figures see the same machine load.
        state.PauseTiming();
        {
            CECBCurrenciesWebServiceClient ecb(endpoints);
            EcbWaiter waiter;
            ecb.setDelegate(&waiter);
            QElapsedTimer clock;
            clock.start();
            ecb.queryCurrencies();
            waitFor(waiter.done);
            aloneMs += static_cast<double>(clock.nsecsElapsed()) / 1e6;
        }
        state.ResumeTiming();

        CSourceComparison comparison(model, endpoints);
        bool done = false;
        comparison.setFinished([&](const QList<CurrencyComparison>& result) {
            for (const SourceRate& rate : result.value(0).rates) {
                failed += rate.failure.isEmpty() ? 0 : 1;
            }
            done = true;
        });
        QElapsedTimer clock;
        clock.start();
        comparison.compare(codes, base);
        waitFor(done);
        cycleMs += static_cast<double>(clock.nsecsElapsed()) / 1e6;
    }
    const double n = static_cast<double>(state.iterations());
    state.counters["sources"] = sources;
    state.counters["failed"] = failed / n;
    state.counters["cycle_ms"] = cycleMs / n;
    state.counters["late_source_ms"] = aloneMs / n;
    state.counters["ratio"] = cycleMs / aloneMs;
    QTextStream(stdout) << QStringLiteral(
                               "compare over %1 sources: %2 ms a cycle; the late source (ECB) "
                               "alone: %3 ms; ratio %4 (target <= 1.3)\n")
                               .arg(sources)
                               .arg(cycleMs / n, 0, 'f', 1)
                               .arg(aloneMs / n, 0, 'f', 1)
                               .arg(cycleMs / aloneMs, 0, 'f', 3);
}

BENCHMARK(BM_CompareWithOneLateSource)->Unit(benchmark::kMillisecond)->Iterations(8);

}  // namespace
