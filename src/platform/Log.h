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

/// The application's log file, kept where a user looks for it and bounded in size: every message
/// of every category goes to it, and to standard error as well when someone reads that.
namespace LogFile {

/// `$XDG_STATE_HOME/numiva/numiva.log`, by default `~/.local/state/numiva/numiva.log`.
QString defaultPath();
/// `path` with the home directory written as "~", for texts shown to the user.
QString displayPath(const QString& path);
/// Sends every message to `path` (created readable by the user alone), which is moved to
/// `path.1` and started afresh before a line would take it past `maxBytes`. False when the file
/// cannot be opened: messages then go on to standard error.
bool install(const QString& path, qint64 maxBytes = 1024 * 1024, bool alsoToStderr = true);
/// Whether standard error is read by anyone: a terminal, a pipe or a file; not /dev/null or the
/// journal's socket, which a desktop session hands to the programs it starts.
bool stderrIsWatched();
/// Stops writing to the file (tests).
void uninstall();

}  // namespace LogFile

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
