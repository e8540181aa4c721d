#include "Log.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>

#include <atomic>

#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcSystem, "numiva.system")

void nlog(const QString& line) {
    qCInfo(lcSystem).noquote() << line;
}

namespace {
std::atomic<LogCapture*> activeCapture{nullptr};

/// Lives for the whole process, so a message on another thread never meets a sink going away.
struct LogSink {
    QMutex mutex;
    QFile file;
    qint64 maxBytes = 0;
    std::atomic<bool> alsoToStderr = false;
    std::atomic<QtMessageHandler> previous = nullptr;
};
LogSink sink;
/// A message raised while a line is written (by the file itself) must not wait for the lock.
thread_local bool writing = false;

const char* typeName(QtMsgType type) {
    switch (type) {
        case QtDebugMsg:
            return "debug";
        case QtInfoMsg:
            return "info";
        case QtWarningMsg:
            return "warning";
        case QtCriticalMsg:
            return "critical";
        case QtFatalMsg:
            return "fatal";
    }
    return "";
}

bool openLogFile(QFile& file) {
    // Unbuffered: every line is on disk at once, also when the program then crashes.
    return file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered,
                     QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void writeToFile(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const QByteArray line =
        QStringLiteral("%1 %2 %3: %4\n")
            .arg(QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs),
                 QLatin1String(typeName(type)),
                 QLatin1String(context.category != nullptr ? context.category : "default"), message)
            .toUtf8();
    QMutexLocker lock(&sink.mutex);
    if (!sink.file.isOpen()) {
        return;
    }
    if (sink.file.size() > 0 && sink.file.size() + line.size() > sink.maxBytes) {
        const QString path = sink.file.fileName();
        sink.file.close();
        QFile::remove(path + QLatin1String(".1"));
        // Where the old file cannot be moved aside it is emptied: the bound holds either way.
        if (!QFile::rename(path, path + QLatin1String(".1"))) {
            QFile::resize(path, 0);
        }
        if (!openLogFile(sink.file)) {
            return;
        }
    }
    sink.file.write(line);
}

void logFileHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    const bool nested = writing;
    if (!nested) {
        writing = true;
        writeToFile(type, context, message);
        writing = false;
    }
    const QtMessageHandler previous = sink.previous;
    if ((sink.alsoToStderr || nested) && previous != nullptr) {
        previous(type, context, message);
    }
}

}  // namespace

namespace LogFile {

QString defaultPath() {
    // The XDG base directory rules ignore a relative XDG_STATE_HOME.
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    if (!QDir::isAbsolutePath(state)) {
        state = QDir::homePath() + QLatin1String("/.local/state");
    }
    return QDir::cleanPath(state + QLatin1String("/numiva/numiva.log"));
}

QString displayPath(const QString& path) {
    const QString home = QDir::homePath();
    if (home != u"/" && path.startsWith(home + u'/')) {
        return u'~' + path.mid(home.size());
    }
    return path;
}

bool stderrIsWatched() {
    struct stat status {};
    if (fstat(STDERR_FILENO, &status) != 0) {
        return false;
    }
    return isatty(STDERR_FILENO) == 1 || S_ISFIFO(status.st_mode) || S_ISREG(status.st_mode);
}

bool install(const QString& path, qint64 maxBytes, bool alsoToStderr) {
    uninstall();
    const QFileInfo info(path);
    if (!info.dir().exists()) {
        // The state directory holds what others should not read: made for the user alone.
        if (!QDir().mkpath(info.absolutePath())) {
            return false;
        }
        QFile::setPermissions(info.absolutePath(), QFileDevice::ReadOwner |
                                                       QFileDevice::WriteOwner |
                                                       QFileDevice::ExeOwner);
    }
    {
        QMutexLocker lock(&sink.mutex);
        sink.file.setFileName(path);
        if (!openLogFile(sink.file)) {
            return false;
        }
        sink.maxBytes = maxBytes;
        sink.alsoToStderr = alsoToStderr;
    }
    sink.previous = qInstallMessageHandler(&logFileHandler);
    return true;
}

void uninstall() {
    QMutexLocker lock(&sink.mutex);
    if (sink.file.isOpen()) {
        sink.file.close();
        qInstallMessageHandler(sink.previous);
        sink.previous = nullptr;
    }
}

}  // namespace LogFile

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

void LogCapture::handler(QtMsgType type, const QMessageLogContext& context,
                         const QString& message) {
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
