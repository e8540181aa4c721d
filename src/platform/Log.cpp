#include "Log.h"

#include <QMutexLocker>

#include <atomic>

Q_LOGGING_CATEGORY(lcSystem, "numiva.system")

void nlog(const QString& line) {
    qCInfo(lcSystem).noquote() << line;
}

namespace {
std::atomic<LogCapture*> activeCapture{nullptr};
}

LogCapture::LogCapture() {
    activeCapture.store(this);
    previous_ = qInstallMessageHandler(&LogCapture::handler);
}

LogCapture::~LogCapture() {
    qInstallMessageHandler(previous_);
    activeCapture.store(nullptr);
}

QStringList LogCapture::lines() const {
    QMutexLocker lock(&mutex_);
    return lines_;
}

void LogCapture::clear() {
    QMutexLocker lock(&mutex_);
    lines_.clear();
}

void LogCapture::handler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    LogCapture* capture = activeCapture.load();
    if (capture == nullptr) {
        return;
    }
    if (context.category != nullptr && qstrcmp(context.category, lcSystem().categoryName()) == 0) {
        QMutexLocker lock(&capture->mutex_);
        capture->lines_.append(message);
        return;
    }
    if (capture->previous_ != nullptr) {
        capture->previous_(type, context, message);
    }
}
