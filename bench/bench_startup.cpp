// Cold start of the touch application to its first frame, offscreen, with rates already in the
// cache, against a bare Qt Quick window of the same size with a list of 20 text rows: the two
// programs are started alternately, and the medians of their wall times from start until each
// reported its first frame and their ratio are printed per idiom (limit 1.6x); beside them the
// wall times until each program had exited after that frame, and the processor time each had
// used at its first frame (all threads; less disturbed by whatever else the machine runs).
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
#include <QTextStream>

#include <algorithm>

#include <benchmark/benchmark.h>

namespace {

/// The app may take at most this many times as long as the bare program.
constexpr double kLimit = 1.6;

/// A data directory whose settings list ten currencies and select Yahoo Finance, whose rates
/// for them an earlier run left in the cache; every service host is unreachable.
struct PreparedData {
    QTemporaryDir dir;
    QString endpoints;

    PreparedData() {
        // Kept for profiling one start by hand (callgrind, perf) with the same data.
        if (qEnvironmentVariableIsSet("NUMIVA_BENCH_KEEP_DATA")) {
            dir.setAutoRemove(false);
            QTextStream(stderr) << "data directory kept: " << dir.path() << "\n";
        }
        CFileOperations::setDataDirectory(dir.path());
        UserDefaults::resetStandardUserDefaults();
        UserDefaults& defaults = UserDefaults::standardUserDefaults();
        const QStringList codes{"USD", "EUR", "GBP", "JPY", "CHF", "CNY",
                                "CAD", "AUD", "XAU", "RUB", "SEK"};
        defaults.setObject(codes, QStringLiteral("SelectedCurrencies"));
        // The source whose rates are cached below, so that the list shows them.
        defaults.setObject(QStringList{QStringLiteral("YFinance")},
                           QStringLiteral("SelectedCurrencySources"));
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
                  "bloomberg", "bloombergChart", "ocbc", "frankfurter", "currencyApi",
                  "currencyApiFallback", "geoNames", "sampleFeed"}) {
                file.write(QByteArray(key) + " = http://127.0.0.1:9\n");
            }
        }
    }
};

/// One start: the wall time until the process ended and until it reported its first frame on
/// standard output, in milliseconds, and what it printed; -1 on failure.
struct Run {
    double ms = -1;
    double toFirstFrameMs = -1;
    QString output;
};

Run run(const QString& program, const QStringList& arguments,
        const QProcessEnvironment& environment) {
    QProcess process;
    process.setProcessEnvironment(environment);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    QByteArray output;
    double toFirstFrame = -1;
    while (toFirstFrame < 0 && process.waitForReadyRead(30000)) {
        output += process.readAllStandardOutput();
        if (output.contains("first frame")) {
            toFirstFrame = static_cast<double>(timer.nsecsElapsed()) / 1e6;
        }
    }
    if (!process.waitForFinished(30000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0 || toFirstFrame < 0) {
        return {};
    }
    output += process.readAllStandardOutput();
    return {static_cast<double>(timer.nsecsElapsed()) / 1e6, toFirstFrame,
            QString::fromUtf8(output)};
}

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    if (values.isEmpty()) {
        return 0;
    }
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 != 0 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

/// Medians of one idiom, printed after the table.
QStringList summaries;

/// Each iteration starts the bare Qt Quick program and then the app, so that whatever else the
/// machine does at that moment falls on both alike. The iteration's time is the app's start.
void BM_ColdStartToFirstFrame(benchmark::State& state) {
    static PreparedData data;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    const bool tablet = state.range(0) != 0;
    const QStringList arguments{QStringLiteral("--idiom"),
                                tablet ? QStringLiteral("tablet") : QStringLiteral("phone"),
                                QStringLiteral("--data-dir"),
                                data.dir.path(),
                                QStringLiteral("--endpoints"),
                                data.endpoints,
                                QStringLiteral("--quit-after-first-frame")};
    static const QRegularExpression reported(
        QStringLiteral("first frame after (\\d+) ms, peak resident memory (\\d+) MB"));
    QList<double> bare;
    QList<double> app;
    QList<double> bareToFrame;
    QList<double> appToFrame;
    QList<double> inProcess;
    QList<double> residentMb;
    QList<double> bareProcessor;
    QList<double> appProcessor;
    static const QRegularExpression processor(QStringLiteral("processor time ([0-9.]+) ms"));
    for (auto _ : state) {
        // The same window size as the app's in this idiom: the tablet's window has three
        // times the phone's area to lay out and draw.
        const Run floor =
            run(QStringLiteral(NUMIVA_BARE_QUICK),
                {tablet ? QStringLiteral("1180x820") : QStringLiteral("390x844")}, environment);
        const Run numiva = run(QStringLiteral(NUMIVA_APP), arguments, environment);
        const auto match = reported.match(numiva.output);
        const auto appUsed = processor.match(numiva.output);
        const auto bareUsed = processor.match(floor.output);
        if (floor.ms < 0 || numiva.ms < 0 || !match.hasMatch() || !appUsed.hasMatch() ||
            !bareUsed.hasMatch()) {
            state.SkipWithError("a program did not show a first frame");
            return;
        }
        state.SetIterationTime(numiva.toFirstFrameMs / 1e3);
        bare.append(floor.ms);
        app.append(numiva.ms);
        bareToFrame.append(floor.toFirstFrameMs);
        appToFrame.append(numiva.toFirstFrameMs);
        inProcess.append(match.captured(1).toDouble());
        residentMb.append(match.captured(2).toDouble());
        appProcessor.append(appUsed.captured(1).toDouble());
        bareProcessor.append(bareUsed.captured(1).toDouble());
    }
    const double processorRatio = median(appProcessor) / median(bareProcessor);
    const double ratio = median(appToFrame) / median(bareToFrame);
    state.counters["app_median_ms"] = median(appToFrame);
    state.counters["bare_median_ms"] = median(bareToFrame);
    state.counters["ratio"] = ratio;
    state.counters["in_process_ms"] = median(inProcess);
    state.counters["exit_ratio"] = median(app) / median(bare);
    state.counters["processor_ratio"] = processorRatio;
    state.counters["peak_rss_mb"] = *std::max_element(residentMb.cbegin(), residentMb.cend());
    summaries.append(QStringLiteral("%1: first frame after %2 ms, bare Qt Quick %3 ms: %4x (limit "
                                    "%5x)%6; exited after %7 ms and %8 ms: %9x; in-process %10 "
                                    "ms, peak resident memory %11 MB; processor time at the first "
                                    "frame %12 ms and %13 ms: %14x")
                         .arg(tablet ? QStringLiteral("tablet") : QStringLiteral("phone "))
                         .arg(median(appToFrame), 0, 'f', 1)
                         .arg(median(bareToFrame), 0, 'f', 1)
                         .arg(ratio, 0, 'f', 2)
                         .arg(kLimit)
                         .arg(ratio <= kLimit ? QString() : QStringLiteral(": TOO SLOW"))
                         .arg(median(app), 0, 'f', 1)
                         .arg(median(bare), 0, 'f', 1)
                         .arg(median(app) / median(bare), 0, 'f', 2)
                         .arg(median(inProcess), 0, 'f', 0)
                         .arg(state.counters["peak_rss_mb"].value, 0, 'f', 0)
                         .arg(median(appProcessor), 0, 'f', 1)
                         .arg(median(bareProcessor), 0, 'f', 1)
                         .arg(processorRatio, 0, 'f', 2));
}
BENCHMARK(BM_ColdStartToFirstFrame)
    ->ArgName("tablet")
    ->Arg(0)
    ->Arg(1)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(21);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    QTextStream out(stdout);
    for (const QString& line : summaries) {
        out << line << "\n";
    }
    return 0;
}
