#pragma once

#include <QHash>
#include <QMutex>
#include <QSqlDatabase>
#include <QString>

#include <functional>

class QThread;

/// An SQLite file opened with Numiva's store rule, with one connection per thread that uses it.
///
/// Opening runs the schema set-up; a file that cannot be opened (not a database, damaged, of a
/// newer schema) is deleted and created again, with the log lines "Persistent store create
/// error: %1", "Cannot remove persistent store: %1" and "Persistent store recreate error: %1".
/// An empty path (no library directory) is logged as a create error and leaves the store
/// closed. When even recreating fails the store is closed for good: `isOpen` is false and callers
/// are expected to read nothing and write nothing, without failing.
///
/// The schema version lives in PRAGMA user_version; `upgrade` runs inside a transaction that is
/// rolled back when it returns false. The journal is WAL.
class SqliteStore {
public:
    /// Brings the schema from `fromVersion` (0 for a new file) to the current version.
    using Upgrade = std::function<bool(QSqlDatabase& db, int fromVersion)>;

    SqliteStore(QString filePath, int schemaVersion, Upgrade upgrade);
    ~SqliteStore();
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    bool isOpen() const { return open_; }
    QString filePath() const { return filePath_; }

    /// The calling thread's connection (opened on first use); invalid when the store is closed.
    QSqlDatabase connection();
    /// Closes the calling thread's connection; call it on a worker before the worker ends.
    void releaseThreadConnection();

private:
    bool tryOpen(QString* error);
    QString connectionNameFor(QThread* thread) const;

    QString filePath_;
    int schemaVersion_;
    Upgrade upgrade_;
    QString baseName_;
    bool open_ = false;
    QMutex connectionsMutex_;
    QHash<QThread*, QString> connections_;
};
