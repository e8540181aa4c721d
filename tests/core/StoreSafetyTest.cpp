// What the user stored survives every trouble with the settings file and the three stores.
#include "CChartDataStorageManager.h"
#include "CChartPeriod.h"
#include "CCurrencyDataStorageManager.h"
#include "CCustomDataSourceStorageManager.h"
#include "Log.h"
#include "SqliteStore.h"
#include "StorageErrors.h"
#include "TestSupport.h"
#include "UserDefaults.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace {

/// One kind of file the user keeps, written and read as one program run of the app or CLI.
struct Target {
    const char* name;
    const char* file;
    bool sqlite;
    /// Saving what is stored already leaves the file as it is (a rate refresh always writes).
    bool skipsUnchanged;
    std::function<void(const QString& path, const QString& token)> save;
    std::function<bool(const QString& path, const QString& token)> has;
};

CCBRCurrenciesInfo rates(const QString& code) {
    CCBRCurrenciesInfo table;
    for (const QString& c : {code, code + u'2', code + u'3'}) {
        auto row = std::make_shared<CCBRCurrencyInfo>();
        row->isoTextCode = c;
        row->saleValue = Decimal::fromInt(2);
        table.addCurrencyInfo(row);
    }
    return table;
}

CCurrencyChartInfo chart(const QString& code) {
    CCurrencyChartInfo info;
    info.firstCurrencyCode = code;
    info.lastCurrencyCode = QStringLiteral("EUR");
    info.chartPeriod = ChartPeriod1Day;
    return info;
}

int settingsLockTimeout = 5000;

QString logos(const QString& path) {
    return path + QStringLiteral("-logos");
}

const Target targets[] = {
    {"settings", "Numiva.plist", false, true,
     [](const QString& path, const QString& token) {
         UserDefaults defaults(path);
         defaults.setLockTimeout(settingsLockTimeout);
         defaults.setObject(true, token);
         defaults.synchronize();
     },
     [](const QString& path, const QString& token) {
         return UserDefaults(path).boolForKey(token);
     }},
    {"rate cache", "CurrencyDataStorage.sqlite", true, false,
     [](const QString& path, const QString& token) {
         CCurrencyDataStorageManager cache(path);
         cache.addCurrenciesInfoAsync(rates(token), QStringLiteral("YFinance"));
     },
     [](const QString& path, const QString& token) {
         return CCurrencyDataStorageManager(path).getCurrencyInfoForCode(
                    token, QStringLiteral("YFinance")) != nullptr;
     }},
    {"chart cache", "ChartDataStorage.sqlite", true, false,
     [](const QString& path, const QString& token) {
         CChartDataStorageManager(path).addChartInfo(chart(token), QStringLiteral("YFinance"));
     },
     [](const QString& path, const QString& token) {
         return CChartDataStorageManager(path)
             .getChartInfoForCurrencyPair({token, QStringLiteral("EUR")}, ChartPeriod1Day,
                                          QStringLiteral("YFinance"))
             .has_value();
     }},
    {"registry", "CustomDataSourceStorage.sqlite", true, true,
     [](const QString& path, const QString& token) {
         CCustomDataSourceStorageManager(path, logos(path))
             .addDataSourceWithUrl(QStringLiteral("http://127.0.0.1/") + token);
     },
     [](const QString& path, const QString& token) {
         return CCustomDataSourceStorageManager(path, logos(path))
             .getDataSourceWithUrl(QStringLiteral("http://127.0.0.1/") + token)
             .has_value();
     }},
};

enum class Trouble { ReadOnlyUse, Damaged, Locked, NewerVersion, FullDisk, TwoWriters };
const char* const troubleNames[] = {"ReadOnlyUse",  "Damaged",  "Locked",
                                    "NewerVersion", "FullDisk", "TwoWriters"};

QByteArray digest(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

/// Runs `sql` on a connection of another program's.
void otherProgram(const QString& path, const std::function<void(QSqlDatabase&)>& work) {
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("other"));
}

int count(const QList<StorageErrors::Problem>& problems, StorageErrors::Kind kind) {
    return static_cast<int>(std::count_if(problems.begin(), problems.end(),
                                          [kind](const auto& p) { return p.kind == kind; }));
}

class StoreSafety : public ::testing::TestWithParam<std::tuple<int, Trouble>> {
protected:
    void SetUp() override {
        SqliteStore::setBusyTimeout(50);
        StorageErrors::takeAll();
    }
    void TearDown() override { SqliteStore::setBusyTimeout(5000); }
    QTemporaryDir dir;
};

TEST_P(StoreSafety, WhatTheUserHadStaysAndTheUserHearsOfIt) {
    const Target& t = targets[std::get<0>(GetParam())];
    const Trouble trouble = std::get<1>(GetParam());
    const QString path = dir.filePath(QString::fromLatin1(t.file));
    const auto kept = QStringLiteral("KEPT");
    const auto added = QStringLiteral("NEW");
    switch (trouble) {
        case Trouble::ReadOnlyUse: {
            EXPECT_FALSE(t.has(path, kept));
            EXPECT_EQ(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
                      QStringList())
                << "reading created a file";
            t.save(path, kept);
            const QByteArray before = digest(path);
            EXPECT_TRUE(t.has(path, kept));
            t.save(path, kept);  // the same value again
            if (t.skipsUnchanged) {
                EXPECT_EQ(digest(path), before);
            }
            EXPECT_TRUE(StorageErrors::takeAll().isEmpty());
            break;
        }
        case Trouble::Damaged: {
            const QByteArray garbage(5000, 'x');
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write(garbage);
            file.close();
            LogCapture log;
            t.save(path, added);
            EXPECT_TRUE(t.has(path, added));
            const QStringList aside =
                QDir(dir.path()).entryList({QString::fromLatin1(t.file) + ".damaged-*"});
            ASSERT_EQ(aside.size(), 1);
            QFile old(dir.filePath(aside.first()));
            ASSERT_TRUE(old.open(QIODevice::ReadOnly));
            EXPECT_EQ(old.readAll(), garbage) << "the damaged file is kept as it was";
            if (t.sqlite) {
                ASSERT_FALSE(log.lines().isEmpty());
                EXPECT_TRUE(log.lines().first().startsWith("Persistent store create error: "));
            }
            EXPECT_EQ(count(StorageErrors::takeAll(), StorageErrors::Kind::Notice), 1);
            break;
        }
        case Trouble::Locked: {
            t.save(path, kept);
            if (t.sqlite) {
                otherProgram(path, [&](QSqlDatabase& db) {
                    ASSERT_TRUE(QSqlQuery(db).exec("BEGIN EXCLUSIVE"));
                    t.save(path, added);
                    QSqlQuery(db).exec("ROLLBACK");
                });
            } else {
                QLockFile lock(path + ".lock");
                ASSERT_TRUE(lock.tryLock());
                settingsLockTimeout = 50;
                std::thread([&] { t.save(path, added); }).join();  // as another program would
                settingsLockTimeout = 5000;
            }
            EXPECT_TRUE(t.has(path, kept));
            EXPECT_FALSE(t.has(path, added));
            EXPECT_EQ(count(StorageErrors::takeAll(), StorageErrors::Kind::Failure), 1)
                << "one message for one failed save";
            break;
        }
        case Trouble::NewerVersion: {
            if (!t.sqlite) {
                GTEST_SKIP() << "the settings file has no schema version";
            }
            t.save(path, kept);
            otherProgram(path, [](QSqlDatabase& db) {
                QSqlQuery(db).exec(QStringLiteral("PRAGMA user_version=99"));
            });
            const QByteArray before = digest(path);
            t.save(path, added);
            EXPECT_TRUE(t.has(path, kept)) << "read where the schema allows";
            EXPECT_FALSE(t.has(path, added));
            EXPECT_EQ(digest(path), before) << "never written, never downgraded";
            const auto problems = StorageErrors::takeAll();
            EXPECT_EQ(count(problems, StorageErrors::Kind::Notice), 1);
            EXPECT_EQ(count(problems, StorageErrors::Kind::Failure), 1);
            break;
        }
        case Trouble::FullDisk: {
            t.save(path, kept);
            const QByteArray before = digest(path);
            {
                ScopedFullDisk full(100);
                t.save(path, added);
            }
            EXPECT_FALSE(before.isEmpty());
            EXPECT_TRUE(t.has(path, kept));
            EXPECT_FALSE(t.has(path, added));
            EXPECT_TRUE(StorageErrors::hasFailures());
            StorageErrors::takeAll();
            break;
        }
        case Trouble::TwoWriters: {
            // Two programs starting on no file at all, then saving at the same moments.
            SqliteStore::setBusyTimeout(5000);
            const int rounds = t.sqlite ? 3 : 12;
            auto writer = [&](QChar who) {
                for (int i = 0; i < rounds; ++i) {
                    t.save(path, QStringLiteral("%1%2").arg(who).arg(i));
                }
            };
            std::thread a(writer, u'A');
            std::thread b(writer, u'B');
            a.join();
            b.join();
            for (int i = 0; i < rounds; ++i) {
                EXPECT_TRUE(t.has(path, QStringLiteral("A%1").arg(i))) << i;
                EXPECT_TRUE(t.has(path, QStringLiteral("B%1").arg(i))) << i;
            }
            EXPECT_TRUE(StorageErrors::takeAll().isEmpty());
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    Files, StoreSafety,
    ::testing::Combine(::testing::Range(0, static_cast<int>(std::size(targets))),
                       ::testing::Values(Trouble::ReadOnlyUse, Trouble::Damaged, Trouble::Locked,
                                         Trouble::NewerVersion, Trouble::FullDisk,
                                         Trouble::TwoWriters)),
    [](const auto& info) {
        QString name = QString::fromLatin1(targets[std::get<0>(info.param)].name) + u'_' +
                       QString::fromLatin1(troubleNames[static_cast<int>(std::get<1>(info.param))]);
        return name.replace(u' ', u'_').toStdString();
    });

}  // namespace
