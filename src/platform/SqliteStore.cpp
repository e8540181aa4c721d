#include "SqliteStore.h"

#include "Log.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>

namespace {

QAtomicInteger<quint64> storeCounter;

bool exec(QSqlDatabase& db, const QString& sql, QString* error) {
    QSqlQuery q(db);
    if (!q.exec(sql)) {
        *error = q.lastError().text();
        return false;
    }
    return true;
}

}  // namespace

SqliteStore::SqliteStore(QString filePath, int schemaVersion, Upgrade upgrade)
    : filePath_(std::move(filePath)),
      schemaVersion_(schemaVersion),
      upgrade_(std::move(upgrade)),
      baseName_(QStringLiteral("numiva-store-%1").arg(storeCounter.fetchAndAddOrdered(1))) {
    // Without a path SQLite would quietly open a throw-away database.
    if (filePath_.isEmpty()) {
        nlog(QStringLiteral("Persistent store create error: %1")
                 .arg(QStringLiteral("there is no library directory")));
        return;
    }
    QString error;
    if (tryOpen(&error)) {
        open_ = true;
        return;
    }
    nlog(QStringLiteral("Persistent store create error: %1").arg(error));
    QFile file(filePath_);
    const QFileInfo info(filePath_);
    // A file that is not there counts as removed.
    if ((info.exists() || info.isSymLink()) && !file.remove()) {
        nlog(QStringLiteral("Cannot remove persistent store: %1").arg(file.errorString()));
        return;
    }
    QFile::remove(filePath_ + QStringLiteral("-wal"));
    QFile::remove(filePath_ + QStringLiteral("-shm"));
    if (tryOpen(&error)) {
        open_ = true;
        return;
    }
    nlog(QStringLiteral("Persistent store recreate error: %1").arg(error));
}

SqliteStore::~SqliteStore() {
    QStringList names;
    {
        QMutexLocker lock(&connectionsMutex_);
        names = connections_.values();
        connections_.clear();
    }
    for (const QString& name : names) {
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
}

QString SqliteStore::connectionNameFor(QThread* thread) const {
    return QStringLiteral("%1-%2").arg(baseName_).arg(reinterpret_cast<quintptr>(thread), 0, 16);
}

bool SqliteStore::tryOpen(QString* error) {
    const QString name = connectionNameFor(QThread::currentThread());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(filePath_);
        bool ok = db.open();
        if (!ok) {
            *error = db.lastError().text();
        }
        ok = ok && exec(db, QStringLiteral("PRAGMA journal_mode=WAL"), error);
        int version = 0;
        if (ok) {
            QSqlQuery q(db);
            ok = q.exec(QStringLiteral("PRAGMA user_version")) && q.next();
            if (!ok) {
                *error = q.lastError().text();
            } else {
                version = q.value(0).toInt();
            }
        }
        if (ok && version > schemaVersion_) {
            *error = QStringLiteral("the store's schema version %1 is newer than this program's %2")
                         .arg(version)
                         .arg(schemaVersion_);
            ok = false;
        }
        if (ok && version < schemaVersion_) {
            ok = db.transaction();
            if (!ok) {
                *error = db.lastError().text();
            }
            if (ok && !upgrade_(db, version)) {
                *error = db.lastError().text().isEmpty() ? QStringLiteral("schema upgrade failed")
                                                         : db.lastError().text();
                ok = false;
            }
            ok =
                ok && exec(db, QStringLiteral("PRAGMA user_version=%1").arg(schemaVersion_), error);
            if (ok && !db.commit()) {
                *error = db.lastError().text();
                ok = false;
            }
            if (!ok) {
                db.rollback();
            }
        }
        if (ok) {
            QMutexLocker lock(&connectionsMutex_);
            connections_.insert(QThread::currentThread(), name);
            return true;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return false;
}

QSqlDatabase SqliteStore::connection() {
    if (!open_) {
        return {};
    }
    QThread* thread = QThread::currentThread();
    QMutexLocker lock(&connectionsMutex_);
    auto it = connections_.constFind(thread);
    if (it != connections_.constEnd()) {
        return QSqlDatabase::database(*it, false);
    }
    const QString name = connectionNameFor(thread);
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
    db.setDatabaseName(filePath_);
    if (!db.open()) {
        return {};
    }
    QSqlQuery(db).exec(QStringLiteral("PRAGMA busy_timeout=5000"));
    connections_.insert(thread, name);
    return db;
}

void SqliteStore::releaseThreadConnection() {
    QString name;
    {
        QMutexLocker lock(&connectionsMutex_);
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
