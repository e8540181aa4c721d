#pragma once

#include "CFileOperations.h"
#include "UserDefaults.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

#if __has_include("CCustomDataSourceStorageManager.h")
#include "CCustomDataSourceStorageManager.h"
#define NUMIVA_TEST_HAS_REGISTRY 1
#endif

/// Points the data directory at a fresh temporary directory for one test and drops the
/// process-wide settings store (and registry) before and after, so no test sees another's files.
class ScopedDataDir {
public:
    ScopedDataDir() {
        CFileOperations::setDataDirectory(dir_.path());
        resetShared();
    }
    ~ScopedDataDir() {
        resetShared();
        CFileOperations::setDataDirectory(QString());
    }
    ScopedDataDir(const ScopedDataDir&) = delete;
    ScopedDataDir& operator=(const ScopedDataDir&) = delete;

    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

private:
    static void resetShared() {
        UserDefaults::resetStandardUserDefaults();
#ifdef NUMIVA_TEST_HAS_REGISTRY
        CCustomDataSourceStorageManager::resetSharedInstance();
#endif
    }
    QTemporaryDir dir_;
};

/// `work` on a connection of its own to the SQLite file at `path`, as another program's would be.
inline void withSqlite(const QString& path, const std::function<void(QSqlDatabase&)>& work) {
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        db.setDatabaseName(path);
        if (db.open()) {
            work(db);
        } else {
            ADD_FAILURE() << "cannot open " << path.toStdString();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
}

/// The rows of `table` in the SQLite file at `path`; -1 when it cannot be read.
inline int sqliteRowCount(const QString& path, const QString& table) {
    int count = -1;
    withSqlite(path, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        if (q.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table) && q.next()) {
            count = q.value(0).toInt();
        }
    });
    return count;
}
