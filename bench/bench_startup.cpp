// Cold start of the touch application to its first frame, offscreen, with rates already in the
// cache: each iteration starts the numiva program on a prepared data directory and waits for it
// to exit after drawing its first frame.
#include "CCBRCurrenciesInfo.h"
#include "CCurrencyDataStorageManager.h"
#include "CFileOperations.h"
#include "UserDefaults.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

/// A data directory whose settings list ten currencies and whose rate cache holds their rates
/// from an earlier run; every service host is unreachable.
struct PreparedData {
    QTemporaryDir dir;
    QString endpoints;

    PreparedData() {
        CFileOperations::setDataDirectory(dir.path());
        UserDefaults::resetStandardUserDefaults();
        UserDefaults& defaults = UserDefaults::standardUserDefaults();
        const QStringList codes{"USD", "EUR", "GBP", "JPY", "CHF", "CNY",
                                "CAD", "AUD", "XAU", "RUB", "SEK"};
        defaults.setObject(codes, QStringLiteral("SelectedCurrencies"));
        defaults.setObject(false, QStringLiteral("ShowStartTutorial"));
        defaults.synchronize();

        CCBRCurrenciesInfo table;
        const QStringList prices{"1",      "1.0823", "1.2645", "0.0067", "1.1287", "0.1378",
                                 "0.7178", "0.6531", "2650.4", "0.0108", "0.0958"};
        for (qsizetype i = 0; i < codes.size(); ++i) {
            auto row = std::make_shared<CCBRCurrencyInfo>();
            row->isoTextCode = codes[i];
            row->nominalValue = 1;
            row->saleValue = Decimal::fromString(prices[i]);
            table.addCurrencyInfo(row);
        }
        {
            CCurrencyDataStorageManager cache;
            cache.addCurrenciesInfoAsync(table, QStringLiteral("YFinance"));
            cache.waitForPendingWrites();
        }
        UserDefaults::resetStandardUserDefaults();
        CFileOperations::setDataDirectory(QString());

        endpoints = dir.filePath(QStringLiteral("endpoints.ini"));
        QFile file(endpoints);
        if (file.open(QIODevice::WriteOnly)) {
            for (const char* key :
                 {"cbr", "cbrScripts", "ecb", "bankUa", "yahooQuotes", "yahooChart", "payPal",
                  "bloomberg", "bloombergChart", "ocbc", "geoNames"}) {
                file.write(QByteArray(key) + " = http://127.0.0.1:9\n");
            }
        }
    }
};

void BM_ColdStartToFirstFrame(benchmark::State& state) {
    static PreparedData data;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const QStringList arguments{
        QStringLiteral("--idiom"),
        state.range(0) != 0 ? QStringLiteral("tablet") : QStringLiteral("phone"),
        QStringLiteral("--data-dir"),
        data.dir.path(),
        QStringLiteral("--endpoints"),
        data.endpoints,
        QStringLiteral("--quit-after-first-frame")};
    static const QRegularExpression reported(QStringLiteral("first frame after (\\d+) ms"));
    double inProcess = 0;
    for (auto _ : state) {
        QProcess app;
        app.setProcessEnvironment(environment);
        QElapsedTimer timer;
        timer.start();
        app.start(QStringLiteral(NUMIVA_APP), arguments);
        if (!app.waitForFinished(30000) || app.exitCode() != 0) {
            state.SkipWithError("numiva did not show a first frame");
            break;
        }
        state.SetIterationTime(static_cast<double>(timer.nsecsElapsed()) / 1e9);
        const auto match = reported.match(QString::fromUtf8(app.readAllStandardOutput()));
        inProcess += match.hasMatch() ? match.captured(1).toDouble() : 0;
    }
    state.counters["in_process_ms"] =
        benchmark::Counter(inProcess, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_ColdStartToFirstFrame)
    ->ArgName("tablet")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
