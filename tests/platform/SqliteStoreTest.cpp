#include "Log.h"
#include "SqliteStore.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

bool createTable(QSqlDatabase& db, int from) {
    return from >= 1 || QSqlQuery(db).exec(QStringLiteral("CREATE TABLE t (v TEXT)"));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

int rows(SqliteStore& store) {
    QSqlQuery q(store.connection());
    return q.exec(QStringLiteral("SELECT count(*) FROM t")) && q.next() ? q.value(0).toInt() : -1;
}

TEST(SqliteStore, OpensAndKeepsDataAcrossOpenings) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.sqlite"));
    LogCapture log;
    {
        SqliteStore store(path, 1, createTable);
        ASSERT_TRUE(store.isOpen());
        ASSERT_TRUE(
            QSqlQuery(store.connection()).exec(QStringLiteral("INSERT INTO t VALUES ('x')")));
    }
    SqliteStore again(path, 1, createTable);
    ASSERT_TRUE(again.isOpen());
    EXPECT_EQ(rows(again), 1);
    EXPECT_TRUE(log.lines().isEmpty());
}

struct DamageCase {
    const char* name;
    QByteArray contents;
};

class SqliteStoreDamaged : public ::testing::TestWithParam<DamageCase> {};

TEST_P(SqliteStoreDamaged, IsDeletedAndRecreatedEmpty) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.sqlite"));
    writeFile(path, GetParam().contents);
    LogCapture log;
    SqliteStore store(path, 1, createTable);
    ASSERT_TRUE(store.isOpen());
    EXPECT_EQ(rows(store), 0);
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().first().startsWith(QStringLiteral("Persistent store create error: ")));
}

INSTANTIATE_TEST_SUITE_P(Files, SqliteStoreDamaged,
                         ::testing::Values(DamageCase{"garbage", QByteArray(4096, 'x')},
                                           DamageCase{"truncated header",
                                                      QByteArray("SQLite format 3\0\x10", 18)}),
                         [](const auto& info) {
                             QString n = QString::fromLatin1(info.param.name);
                             return n.replace(u' ', u'_').toStdString();
                         });

TEST(SqliteStore, ANewerSchemaIsReplaced) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.sqlite"));
    {
        SqliteStore future(path, 7, [](QSqlDatabase& db, int) {
            return QSqlQuery(db).exec(QStringLiteral("CREATE TABLE other (x)"));
        });
        ASSERT_TRUE(future.isOpen());
    }
    LogCapture log;
    SqliteStore store(path, 1, createTable);
    ASSERT_TRUE(store.isOpen());
    EXPECT_EQ(rows(store), 0);
    EXPECT_EQ(log.lines().size(), 1);
}

TEST(SqliteStore, AFailedUpgradeRollsBackAndTheStoreIsRecreated) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.sqlite"));
    int attempts = 0;
    LogCapture log;
    SqliteStore store(path, 1, [&](QSqlDatabase& db, int from) {
        ++attempts;
        QSqlQuery(db).exec(QStringLiteral("CREATE TABLE half (x)"));
        return attempts > 1 && createTable(db, from);
    });
    ASSERT_TRUE(store.isOpen());
    EXPECT_EQ(attempts, 2);
    EXPECT_EQ(rows(store), 0);
}

TEST(SqliteStore, APathThatCannotBeRemovedLeavesNoStore) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.sqlite"));
    ASSERT_TRUE(QDir().mkpath(path + QStringLiteral("/inside")));  // a non-empty directory
    LogCapture log;
    SqliteStore store(path, 1, createTable);
    EXPECT_FALSE(store.isOpen());
    EXPECT_FALSE(store.connection().isValid());
    ASSERT_EQ(log.lines().size(), 2);
    EXPECT_TRUE(log.lines()[0].startsWith(QStringLiteral("Persistent store create error: ")));
    EXPECT_TRUE(log.lines()[1].startsWith(QStringLiteral("Cannot remove persistent store: ")));
}

TEST(SqliteStore, APathThatCannotBeCreatedLeavesNoStore) {
    QTemporaryDir dir;
    writeFile(dir.filePath(QStringLiteral("file")), "x");
    LogCapture log;
    SqliteStore store(dir.filePath(QStringLiteral("file/s.sqlite")), 1, createTable);
    EXPECT_FALSE(store.isOpen());
    ASSERT_EQ(log.lines().size(), 2);
    EXPECT_TRUE(log.lines()[0].startsWith(QStringLiteral("Persistent store create error: ")));
    EXPECT_TRUE(log.lines()[1].startsWith(QStringLiteral("Persistent store recreate error: ")));
}

}  // namespace

namespace {

TEST(SqliteStore, WithoutAPathThereIsNoThrowAwayStore) {
    LogCapture log;
    SqliteStore store(QString(), 1, createTable);
    EXPECT_FALSE(store.isOpen());
    EXPECT_FALSE(store.connection().isValid());
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral(
                               "Persistent store create error: there is no library directory")});
}

}  // namespace
