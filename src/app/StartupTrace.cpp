#include "StartupTrace.h"

#include <QElapsedTimer>

Q_LOGGING_CATEGORY(lcStartup, "numiva.startup", QtWarningMsg)

namespace {

/// Started by the first static initialiser of this file, before main().
struct Clock {
    QElapsedTimer timer;
    qint64 previous = 0;
    Clock() { timer.start(); }
};
Clock startClock;

}  // namespace

namespace StartupTrace {

qint64 elapsed() {
    return startClock.timer.elapsed();
}

void step(const char* step) {
    if (!lcStartup().isDebugEnabled()) {
        return;
    }
    const qint64 now = startClock.timer.nsecsElapsed() / 1000;
    qCDebug(lcStartup, "%7.1f ms (+%6.1f) %s", static_cast<double>(now) / 1000,
            static_cast<double>(now - startClock.previous) / 1000, step);
    startClock.previous = now;
}

}  // namespace StartupTrace
