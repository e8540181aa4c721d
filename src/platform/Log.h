#pragma once

#include <QLoggingCategory>
#include <QMutex>
#include <QString>
#include <QStringList>

/// The system log: every line the design calls a log line goes through `nlog`, in the
/// "numiva.system" category, without levels.
Q_DECLARE_LOGGING_CATEGORY(lcSystem)

/// Writes one line to the system log.
void nlog(const QString& line);

/// Captures the system log's lines while it lives (tests). Lines of other categories go on to
/// the previous handler. Captures from every thread.
class LogCapture {
public:
    LogCapture();
    ~LogCapture();
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    QStringList lines() const;
    void clear();

private:
    static void handler(QtMsgType type, const QMessageLogContext& context, const QString& message);
    mutable QMutex mutex_;
    QStringList lines_;
    QtMessageHandler previous_ = nullptr;
};
