#include "Log.h"
#include "SqliteStore.h"
#include "StorageErrors.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

bool createTable(QSqlDatabase& db, int from) {
    return from >= 1 || QSqlQuery(db).exec(QStringLiteral("CREATE TABLE t (v TEXT)"));
}

TEST(SqliteStore, AFailedUpgradeRollsBackAndKeepsTheFile) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.sqlite"));
    {
        SqliteStore v1(path, 1, createTable);
        ASSERT_TRUE(
            QSqlQuery(v1.writeConnection()).exec(QStringLiteral("INSERT INTO t VALUES ('x')")));
    }
    StorageErrors::takeAll();
    SqliteStore v2(path, 2, [](QSqlDatabase& db, int) {
        QSqlQuery(db).exec(QStringLiteral("CREATE TABLE half (x)"));
        return false;
    });
    EXPECT_EQ(v2.state(), SqliteStore::State::Unavailable);
    EXPECT_FALSE(v2.writeConnection().isValid());
    EXPECT_TRUE(StorageErrors::hasFailures());
    SqliteStore v1(path, 1, createTable);
    QSqlQuery q(v1.readConnection());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT v FROM t")) && q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("x"));
    EXPECT_FALSE(q.exec(QStringLiteral("SELECT * FROM half")));
}

TEST(SqliteStore, WithoutAPathThereIsNoThrowAwayStore) {
    LogCapture log;
    SqliteStore store(QString(), 1, createTable);
    EXPECT_EQ(store.state(), SqliteStore::State::Unavailable);
    EXPECT_FALSE(store.readConnection().isValid());
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral(
                               "Persistent store create error: there is no library directory")});
}

TEST(StorageErrors, TheListenerIsCalledOnceForWhatWaitsAndATextIsKeptOnce) {
    StorageErrors::takeAll();
    int calls = 0;
    StorageErrors::setListener([&calls] { ++calls; });
    for (const char* text : {"a", "a", "b"}) {
        StorageErrors::report(StorageErrors::Kind::Failure, QString::fromLatin1(text));
    }
    QCoreApplication::processEvents();
    StorageErrors::setListener({});
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(StorageErrors::hasFailures());
    EXPECT_EQ(StorageErrors::takeAll().size(), 2);
}

}  // namespace
