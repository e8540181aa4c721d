// One refresh cycle as the rate list runs it, per data source, against the sample server on
// 127.0.0.1: the request(s), parsing, rebasing and merging into the model. The time includes
// the local HTTP round trips, which are small next to any real service.
#include "CCurrencyDataSource.h"
#include "CRootViewModel.h"
#include "Endpoints.h"
#include "NotificationCenter.h"
#include "SampleEndpoints.h"
#include "SampleServer.h"
#include "Startup.h"
#include "UserDefaults.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

class Waiter : public CCurrencyDataSourceDelegate {
public:
    bool done = false;
    bool failed = false;
    CCBRCurrenciesInfoPtr result;
    void queryCurrencyDataSourceCompletedWithResult(CCBRCurrenciesInfoPtr r) override {
        result = std::move(r);
        done = true;
    }
    void queryCurrencyDataSourceFailedWithErrorDescription(const QString&) override {
        failed = true;
        done = true;
    }
};

void BM_RefreshCycle(benchmark::State& state, const char* source, const char* failing = nullptr) {
    SampleServer server;
    if (failing != nullptr) {
        server.setFailing(QString::fromLatin1(failing), true);
    }
    QTemporaryDir dir;
    Endpoints endpoints;
    if (!startSampleEndpoints(server, dir, endpoints)) {
        state.SkipWithError("cannot start the sample server");
        return;
    }

    UserDefaults defaults(dir.filePath(QStringLiteral("prefs.plist")));
    Startup::registerDefaultsFromSettingsBundle(defaults);
    defaults.setObject(
        QStringList{QStringLiteral("EUR"), QStringLiteral("GBP"), QStringLiteral("JPY"),
                    QStringLiteral("CHF"), QStringLiteral("XAU")},
        QStringLiteral("SelectedCurrencies"));
    defaults.setObject(QStringList{QString::fromLatin1(source)},
                       QStringLiteral("SelectedCurrencySources"));
    NotificationCenter center;
    CRootViewModel::Options options;
    options.rateCachePath = dir.filePath(QStringLiteral("cache.sqlite"));
    CRootViewModel model(defaults, center, options);
    CCurrencyDataSource aggregator(model, endpoints);

    // Blocking waits, woken now and then: a wait with a time limit would spin and count as
    // the refresh's own time.
    QTimer wake;
    wake.start(50);
    for (auto _ : state) {
        Waiter waiter;
        aggregator.setDelegate(&waiter);
        aggregator.queryCurrencyRates();
        while (!waiter.done) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        if (waiter.failed) {
            state.SkipWithError("the refresh failed");
            break;
        }
        model.synchronizeDataSourceWithInfo(*waiter.result);
    }
    aggregator.setDelegate(nullptr);
}

BENCHMARK_CAPTURE(BM_RefreshCycle, YFinance, "YFinance")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RefreshCycle, PayPal, "PayPal")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RefreshCycle, CBR, "CBR")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RefreshCycle, ECB, "ECB")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RefreshCycle, BankUa, "BankUa")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RefreshCycle, OCBC, "OCBC")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RefreshCycle, Frankfurter, "Frankfurter")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_RefreshCycle, CurrencyApi, "CurrencyApi")->Unit(benchmark::kMillisecond);
// The CDN refuses: the same refresh goes on to the fallback host.
BENCHMARK_CAPTURE(BM_RefreshCycle, CurrencyApiFallback, "CurrencyApi", "CurrencyApi")
    ->Unit(benchmark::kMillisecond);

}  // namespace
