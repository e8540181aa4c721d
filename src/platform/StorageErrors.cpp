#include "StorageErrors.h"

#include <QCoreApplication>
#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <utility>

namespace {

QMutex mutex;
QList<StorageErrors::Problem> waiting;
std::function<void()> listener;
bool callScheduled = false;

void callListener() {
    std::function<void()> call;
    {
        QMutexLocker lock(&mutex);
        callScheduled = false;
        call = listener;
    }
    if (call) {
        call();
    }
}

}  // namespace

void StorageErrors::report(Kind kind, const QString& text) {
    QMutexLocker lock(&mutex);
    const Problem problem{kind, text};
    if (waiting.contains(problem)) {
        return;
    }
    waiting.append(problem);
    if (listener && !callScheduled && QCoreApplication::instance() != nullptr) {
        callScheduled = true;
        QMetaObject::invokeMethod(QCoreApplication::instance(), &callListener,
                                  Qt::QueuedConnection);
    }
}

QList<StorageErrors::Problem> StorageErrors::takeAll() {
    QMutexLocker lock(&mutex);
    return std::exchange(waiting, {});
}

bool StorageErrors::hasFailures() {
    QMutexLocker lock(&mutex);
    return std::any_of(waiting.cbegin(), waiting.cend(),
                       [](const Problem& p) { return p.kind == Kind::Failure; });
}

void StorageErrors::setListener(std::function<void()> newListener) {
    QMutexLocker lock(&mutex);
    listener = std::move(newListener);
}
