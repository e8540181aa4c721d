#pragma once

#include <QHash>
#include <QMutex>
#include <QSet>
#include <QSqlDatabase>
#include <QString>

#include <functional>
#include <memory>

class QThread;

/// An SQLite file opened with Numiva's store rule, with one connection per thread that uses it.
///
/// What the user stored is never thrown away:
/// - a file SQLite reports as not a database or damaged is moved aside as
///   "NAME.damaged-<time>" and a new one is created (log lines "Persistent store create error:
///   %1", "Cannot remove persistent store: %1", "Persistent store recreate error: %1");
/// - a file of a newer schema is only read, never written or downgraded;
/// - any other failure (a lock held past the busy timeout, a full disk, no permission) leaves
///   the file as it is and the store unavailable for this run.
/// Each of these reaches the user through `StorageErrors`, as does a failed write a caller
/// reports with `reportWriteFailure`.
///
/// A missing file is created only by the first write, so reading never leaves a file behind.
/// The schema version lives in PRAGMA user_version; `upgrade` runs inside one immediate
/// transaction that is rolled back when it returns false, so two programs starting at once
/// cannot both create the schema. The journal is WAL.
class SqliteStore {
public:
    /// Brings the schema from `fromVersion` (0 for a new file) to the current version.
    using Upgrade = std::function<bool(QSqlDatabase& db, int fromVersion)>;

    enum class State {
        /// No file yet: reads find nothing, the first write creates it.
        Absent,
        Open,
        /// Written by a newer version: read where the schema allows, never written.
        ReadOnly,
        /// Not usable this run; the file, if any, is left as it was.
        Unavailable,
    };

    /// Whether the store waits for the disk at every commit.
    enum class Durability {
        /// The user's own data.
        Full,
        /// A cache of what a provider can send again: commits do not wait for the disk, so a
        /// power loss may undo the last writes, never break the file (WAL, synchronous NORMAL).
        Cache
    };
    SqliteStore(QString filePath, int schemaVersion, Upgrade upgrade,
                Durability durability = Durability::Full);
    /// The store at `filePath`, or, when that is empty, the library directory's file `name`.
    static std::unique_ptr<SqliteStore> inLibrary(const QString& filePath, const QString& name,
                                                  int schemaVersion, Upgrade upgrade,
                                                  Durability durability = Durability::Full);
    ~SqliteStore();
    SqliteStore(const SqliteStore&) = delete;
    SqliteStore& operator=(const SqliteStore&) = delete;

    State state() const;
    QString filePath() const { return filePath_; }
    /// Why the store is read-only or unavailable.
    QString lastError() const;

    /// The calling thread's connection for reading; invalid when there is nothing to read.
    QSqlDatabase readConnection();
    /// The calling thread's connection for writing, creating the file on first use; invalid
    /// when the store cannot be written (reported as a failed save, except for a file of a
    /// newer version, which the user has already been told is only read).
    QSqlDatabase writeConnection();
    /// Tells the user that a change to this store was not saved, once per reason.
    void reportWriteFailure(const QString& reason);
    /// Closes the calling thread's connection; call it on a worker before the worker ends.
    void releaseThreadConnection();

    /// How long a statement waits for another program's lock (5 s unless changed; tests).
    static void setBusyTimeout(int milliseconds);

private:
    /// Opens (or creates) the file and brings its schema up to date; the caller holds `mutex_`.
    void openLocked();
    bool tryOpenLocked(QString* error, QString* code);
    QSqlDatabase connectionLocked(bool readOnly);
    void closeAllLocked();
    QString connectionNameFor(QThread* thread) const;
    QString displayName() const;

    QString filePath_;
    bool cache_ = false;
    int schemaVersion_;
    Upgrade upgrade_;
    QString baseName_;
    mutable QMutex mutex_;
    State state_ = State::Absent;
    QString lastError_;
    QHash<QThread*, QString> connections_;
    QSet<QString> reportedFailures_;
};
