#include "SqliteStore.h"

#include "AtomicFile.h"
#include "CFileOperations.h"
#include "Localization.h"
#include "Log.h"
#include "StorageErrors.h"

#include <QAtomicInteger>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <sqlite3.h>
#include <QThread>

namespace {

/// A cache's connection: commits do not wait for the disk, and closing leaves the WAL for the
/// next program instead of checkpointing it (which syncs three times and deletes the WAL, whose
/// re-creation syncs again): what a command that runs for milliseconds would mostly wait for.
/// SQLite still checkpoints when the WAL grows past its limit.
void relaxDurability(QSqlDatabase& db) {
    QSqlQuery(db).exec(QStringLiteral("PRAGMA synchronous=NORMAL"));
    const QVariant handle = db.driver()->handle();
    if (handle.isValid() && qstrcmp(handle.typeName(), "sqlite3*") == 0) {
        if (auto* connection = *static_cast<sqlite3* const*>(handle.constData())) {
            sqlite3_db_config(connection, SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1, nullptr);
        }
    }
}

QAtomicInteger<quint64> storeCounter;
QAtomicInteger<int> busyTimeoutMs = 5000;

// SQLite's primary result codes for a file that is not (or no longer) a database.
const QString kCorrupt = QStringLiteral("11");
const QString kNotADatabase = QStringLiteral("26");

struct Failure {
    QString text;
    QString code;
};

bool exec(QSqlDatabase& db, const QString& sql, Failure* failure) {
    QSqlQuery q(db);
    if (!q.exec(sql)) {
        *failure = {q.lastError().text(), q.lastError().nativeErrorCode()};
        return false;
    }
    return true;
}

/// SQLite's busy handler does not cover switching the journal mode: while a second program is
/// creating the same file, the switch answers "database is locked" at once. It is retried
/// within the busy timeout, as any other wait for the lock.
bool execWaitingForLock(QSqlDatabase& db, const QString& sql, Failure* failure) {
    QElapsedTimer waited;
    waited.start();
    while (!exec(db, sql, failure)) {
        const int primary = failure->code.toInt() & 0xff;
        const bool busy = primary == 5 /* SQLITE_BUSY */ || primary == 6 /* SQLITE_LOCKED */;
        if (!busy || waited.elapsed() >= busyTimeoutMs.loadRelaxed()) {
            return false;
        }
        QThread::msleep(5);
    }
    return true;
}

bool readVersion(QSqlDatabase& db, int* version, Failure* failure) {
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA user_version")) || !q.next()) {
        *failure = {q.lastError().text(), q.lastError().nativeErrorCode()};
        return false;
    }
    *version = q.value(0).toInt();
    return true;
}

QString localized(const char* key) {
    return Localization::localizedString(QString::fromLatin1(key));
}

}  // namespace

void SqliteStore::setBusyTimeout(int milliseconds) {
    busyTimeoutMs.storeRelaxed(milliseconds);
}

SqliteStore::SqliteStore(QString filePath, int schemaVersion, Upgrade upgrade,
                         Durability durability)
    : filePath_(std::move(filePath)),
      cache_(durability == Durability::Cache),
      schemaVersion_(schemaVersion),
      upgrade_(std::move(upgrade)),
      baseName_(QStringLiteral("numiva-store-%1").arg(storeCounter.fetchAndAddOrdered(1))) {
    // Without a path SQLite would quietly open a throw-away database.
    if (filePath_.isEmpty()) {
        lastError_ = QStringLiteral("there is no library directory");
        // Every store says the same; the front ends tell the user why, once.
        static QAtomicInteger<bool> logged = false;
        if (!logged.fetchAndStoreRelaxed(true)) {
            nlog(QStringLiteral("Persistent store create error: %1").arg(lastError_));
        }
        state_ = State::Unavailable;
        return;
    }
    const QFileInfo info(filePath_);
    if (info.exists() || info.isSymLink()) {
        QMutexLocker lock(&mutex_);
        openLocked();
    }
}

SqliteStore::~SqliteStore() {
    QMutexLocker lock(&mutex_);
    closeAllLocked();
}

SqliteStore::State SqliteStore::state() const {
    QMutexLocker lock(&mutex_);
    return state_;
}

QString SqliteStore::lastError() const {
    QMutexLocker lock(&mutex_);
    return lastError_;
}

QString SqliteStore::displayName() const {
    return QFileInfo(filePath_).fileName();
}

QString SqliteStore::connectionNameFor(QThread* thread) const {
    return QStringLiteral("%1-%2").arg(baseName_).arg(reinterpret_cast<quintptr>(thread), 0, 16);
}

void SqliteStore::closeAllLocked() {
    for (const QString& name : std::as_const(connections_)) {
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
    connections_.clear();
}

void SqliteStore::openLocked() {
    QString error;
    QString code;
    if (tryOpenLocked(&error, &code)) {
        return;
    }
    nlog(QStringLiteral("Persistent store create error: %1").arg(error));
    state_ = State::Unavailable;
    lastError_ = error;
    // Only a file SQLite cannot read as a database is replaced; a lock, a full disk or missing
    // permissions say nothing about the user's data, which stays as it is.
    if (code != kNotADatabase && code != kCorrupt) {
        StorageErrors::report(StorageErrors::Kind::Notice,
                              localized("StoreUnavailableMessage").arg(displayName(), error));
        return;
    }
    QString moveError;
    const QString aside = AtomicFile::moveAside(filePath_, &moveError);
    if (aside.isEmpty()) {
        nlog(QStringLiteral("Cannot remove persistent store: %1").arg(moveError));
        lastError_ = moveError;
        StorageErrors::report(StorageErrors::Kind::Notice,
                              localized("StoreUnavailableMessage").arg(displayName(), error));
        return;
    }
    // The journal belongs to the damaged file; the shared-memory index is rebuilt from it.
    QFile::rename(filePath_ + QStringLiteral("-wal"), aside + QStringLiteral("-wal"));
    QFile::remove(filePath_ + QStringLiteral("-shm"));
    if (!tryOpenLocked(&error, &code)) {
        nlog(QStringLiteral("Persistent store recreate error: %1").arg(error));
        lastError_ = error;
        StorageErrors::report(StorageErrors::Kind::Notice,
                              localized("StoreUnavailableMessage").arg(displayName(), error));
        return;
    }
    StorageErrors::report(
        StorageErrors::Kind::Notice,
        localized("StoreDamagedMessage").arg(displayName(), QFileInfo(aside).fileName()));
}

bool SqliteStore::tryOpenLocked(QString* error, QString* code) {
    QDir().mkpath(QFileInfo(filePath_).absolutePath());
    const QString name = connectionNameFor(QThread::currentThread());
    Failure failure;
    bool newer = false;
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(filePath_);
        db.setConnectOptions(
            QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs.loadRelaxed()));
        ok = db.open();
        if (!ok) {
            failure = {db.lastError().text(), db.lastError().nativeErrorCode()};
        }
        int version = 0;
        ok = ok && readVersion(db, &version, &failure);
        newer = ok && version > schemaVersion_;
        ok = ok && !newer;
        ok = ok && execWaitingForLock(db, QStringLiteral("PRAGMA journal_mode=WAL"), &failure);
        if (ok && cache_) {
            relaxDurability(db);
        }
        if (ok && version < schemaVersion_) {
            // Immediate: a second program starting at the same moment waits here, then finds
            // the schema made and does nothing.
            ok = exec(db, QStringLiteral("BEGIN IMMEDIATE"), &failure) &&
                 readVersion(db, &version, &failure);
            newer = ok && version > schemaVersion_;
            if (ok && version < schemaVersion_) {
                ok = upgrade_(db, version);
                if (!ok) {
                    failure = {db.lastError().text().isEmpty()
                                   ? QStringLiteral("schema upgrade failed")
                                   : db.lastError().text(),
                               QString()};
                }
                ok = ok && exec(db, QStringLiteral("PRAGMA user_version=%1").arg(schemaVersion_),
                                &failure);
            }
            ok = ok && !newer && exec(db, QStringLiteral("COMMIT"), &failure);
            if (!ok) {
                QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            }
        }
        if (ok) {
            connections_.insert(QThread::currentThread(), name);
            state_ = State::Open;
            lastError_.clear();
            return true;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    if (newer) {
        // Never downgraded: this version reads what it can and writes nothing.
        state_ = State::ReadOnly;
        lastError_ = QStringLiteral("the file was written by a newer version of Numiva");
        StorageErrors::report(StorageErrors::Kind::Notice,
                              localized("StoreNewerVersionMessage").arg(displayName()));
        return true;
    }
    *error = failure.text;
    *code = failure.code;
    return false;
}

QSqlDatabase SqliteStore::connectionLocked(bool readOnly) {
    QThread* thread = QThread::currentThread();
    auto it = connections_.constFind(thread);
    if (it != connections_.constEnd()) {
        return QSqlDatabase::database(*it, false);
    }
    const QString name = connectionNameFor(thread);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(filePath_);
    QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs.loadRelaxed());
    if (readOnly) {
        options += QStringLiteral(";QSQLITE_OPEN_READONLY");
    }
    db.setConnectOptions(options);
    if (!db.open()) {
        nlog(QStringLiteral("Cannot open persistent store: %1").arg(db.lastError().text()));
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        return {};
    }
    if (cache_ && !readOnly) {
        relaxDurability(db);
    }
    connections_.insert(thread, name);
    return db;
}

QSqlDatabase SqliteStore::readConnection() {
    QMutexLocker lock(&mutex_);
    // Another program may have created the file since.
    if (state_ == State::Absent && QFileInfo::exists(filePath_)) {
        openLocked();
    }
    if (state_ != State::Open && state_ != State::ReadOnly) {
        return {};
    }
    return connectionLocked(state_ == State::ReadOnly);
}

QSqlDatabase SqliteStore::writeConnection() {
    QString refusal;
    {
        QMutexLocker lock(&mutex_);
        if (state_ == State::Absent) {
            openLocked();
        }
        if (state_ == State::Open) {
            QSqlDatabase db = connectionLocked(false);
            if (db.isValid()) {
                return db;
            }
        }
        if (state_ == State::ReadOnly) {
            return {};  // the user has been told that this version only reads it
        }
        refusal = lastError_.isEmpty() ? QStringLiteral("the store cannot be opened") : lastError_;
    }
    reportWriteFailure(refusal);
    return {};
}

void SqliteStore::reportWriteFailure(const QString& reason) {
    nlog(QStringLiteral("Cannot save to persistent store: %1").arg(reason));
    {
        // Once per reason: a refresh failing the same way every few seconds is one message.
        QMutexLocker lock(&mutex_);
        if (reportedFailures_.contains(reason)) {
            return;
        }
        reportedFailures_.insert(reason);
    }
    StorageErrors::report(StorageErrors::Kind::Failure,
                          localized("StoreSaveFailedMessage").arg(displayName(), reason));
}

void SqliteStore::releaseThreadConnection() {
    QString name;
    {
        QMutexLocker lock(&mutex_);
        name = connections_.take(QThread::currentThread());
    }
    if (name.isEmpty()) {
        return;
    }
    {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

std::unique_ptr<SqliteStore> SqliteStore::inLibrary(const QString& filePath, const QString& name,
                                                    int schemaVersion, Upgrade upgrade,
                                                    Durability durability) {
    const QString path = filePath.isEmpty() ? CFileOperations::getLibraryFilePath(name) : filePath;
    return std::make_unique<SqliteStore>(path, schemaVersion, std::move(upgrade), durability);
}
