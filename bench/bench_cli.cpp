// numiva-cli's start against a bare QCoreApplication program, run alternately on this machine:
// `sources` (nothing but the catalogue) and `convert 100 EUR` with its refresh from the sample
// server over 127.0.0.1. Prints the medians and their ratios (limits: 2x and 3x).
#include "SampleServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

namespace {

/// Milliseconds one run of `program` took, or -1 when it failed.
double run(const QString& program, const QStringList& arguments) {
    QElapsedTimer timer;
    timer.start();
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        return -1;
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

double median(QList<double> values) {
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    SampleServer server;
    const QString endpoints = dir.filePath(QStringLiteral("endpoints.ini"));
    if (!server.start() || !server.writeEndpoints(endpoints)) {
        QTextStream(stderr) << "bench_cli: the sample server did not start\n";
        return 1;
    }
    const QStringList common{QStringLiteral("--data-dir"), dir.filePath(QStringLiteral("data")),
                             QStringLiteral("--endpoints"), endpoints};
    // The first run makes the settings and the rate cache, as a user's earlier runs would have.
    run(QStringLiteral(NUMIVA_CLI),
        common + QStringList{QStringLiteral("select"), QStringLiteral("ECB")});
    const struct {
        const char* name;
        QStringList arguments;
        double limit;
    } commands[] = {
        {"sources", {QStringLiteral("sources")}, 2},
        {"convert 100 EUR",
         {QStringLiteral("convert"), QStringLiteral("100"), QStringLiteral("EUR")},
         3},
    };
    constexpr int rounds = 21;
    QTextStream out(stdout);
    for (const auto& command : commands) {
        QList<double> bare;
        QList<double> cli;
        for (int i = 0; i < rounds; ++i) {
            bare.append(run(QStringLiteral(NUMIVA_BARE_CORE), {}));
            cli.append(run(QStringLiteral(NUMIVA_CLI), common + command.arguments));
        }
        if (bare.contains(-1) || cli.contains(-1)) {
            out << command.name << ": a run failed\n";
            return 1;
        }
        const double ratio = median(cli) / median(bare);
        out << qSetFieldWidth(18) << Qt::left << command.name << qSetFieldWidth(0) << "numiva-cli "
            << median(cli) << " ms, bare QCoreApplication " << median(bare) << " ms: " << ratio
            << "x (limit " << command.limit << "x)" << (ratio <= command.limit ? "" : ": TOO SLOW")
            << "\n";
    }
    return 0;
}
