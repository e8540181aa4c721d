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

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <csignal>
#include <functional>
#include <thread>

namespace {

using Save = std::function<void(const QString& path, const QString& token)>;
using Has = std::function<bool(const QString& path, const QString& token)>;
const QString kSource = QStringLiteral("YFinance");
int settingsLockTimeout = 5000;

/// One kind of file the user keeps, written and read as one run of the app or the CLI would.
struct Target {
    const char* name;
    const char* file;
    bool sqlite;
    bool skipsUnchanged;  // saving what is stored leaves the file alone (a rate refresh writes)
    Save save;
    Has has;
};

CCBRCurrenciesInfo rates(const QString& code) {
    CCBRCurrenciesInfo table;  // rows of one refresh: saved, or failed, together
    for (const QString& c : {code, code + u'2', code + u'3'}) {
        auto row = std::make_shared<CCBRCurrencyInfo>();
        row->isoTextCode = c;
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
         CCurrencyDataStorageManager(path).addCurrenciesInfoAsync(rates(token), kSource);
     },
     [](const QString& path, const QString& token) {
         return CCurrencyDataStorageManager(path).getCurrencyInfoForCode(token, kSource) != nullptr;
     }},
    {"chart cache", "ChartDataStorage.sqlite", true, false,
     [](const QString& path, const QString& token) {
         CChartDataStorageManager(path).addChartInfo(chart(token), kSource);
     },
     [](const QString& path, const QString& token) {
         return CChartDataStorageManager(path)
             .getChartInfoForCurrencyPair({token, QStringLiteral("EUR")}, ChartPeriod1Day, kSource)
             .has_value();
     }},
    {"registry", "CustomDataSourceStorage.sqlite", true, true,
     [](const QString& path, const QString& token) {
         CCustomDataSourceStorageManager(path, path + "-logos")
             .addDataSourceWithUrl("http://x/" + token);
     },
     [](const QString& path, const QString& token) {
         return CCustomDataSourceStorageManager(path, path + "-logos")
             .getDataSourceWithUrl("http://x/" + token)
             .has_value();
     }},
};

enum Trouble { ReadOnlyUse, Damaged, Locked, NewerVersion, FullDisk, TwoWriters };
const char* const troubleNames[] = {"ReadOnlyUse",  "Damaged",  "Locked",
                                    "NewerVersion", "FullDisk", "TwoWriters"};

/// A full disk as far as this process can tell: no file grows past `bytes` (writes fail with
/// EFBIG), without a small file system or root.
struct ScopedFullDisk {
    rlimit saved{};
    explicit ScopedFullDisk(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, SIG_IGN);  // the failed write is enough
        const rlimit limit{bytes, saved.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedFullDisk() { setrlimit(RLIMIT_FSIZE, &saved); }
};

QByteArray digest(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly)
               ? QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256)
               : QByteArray();
}

/// Takes what was reported: {notices, failures}.
std::pair<int, int> reported() {
    std::pair<int, int> counts;
    for (const auto& problem : StorageErrors::takeAll()) {
        ++(problem.kind == StorageErrors::Kind::Notice ? counts.first : counts.second);
    }
    return counts;
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
    const QString path = dir.filePath(QString::fromLatin1(t.file));
    const auto kept = QStringLiteral("KEPT");
    const auto added = QStringLiteral("NEW");
    LogCapture log;
    if (std::get<1>(GetParam()) != Damaged && std::get<1>(GetParam()) != TwoWriters) {
        EXPECT_FALSE(t.has(path, kept));
        EXPECT_FALSE(QFileInfo::exists(path)) << "reading created the file";
        t.save(path, kept);
    }
    switch (std::get<1>(GetParam())) {
        case ReadOnlyUse: {
            const QByteArray before = digest(path);
            EXPECT_TRUE(t.has(path, kept));
            t.save(path, kept);
            EXPECT_TRUE(!t.skipsUnchanged || digest(path) == before) << "rewritten unchanged";
            EXPECT_EQ(reported(), std::make_pair(0, 0));
            break;
        }
        case Damaged: {
            const QByteArray garbage(5000, 'x');
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(garbage) == 5000);
            file.close();
            t.save(path, added);
            EXPECT_TRUE(t.has(path, added));
            const QStringList aside =
                QDir(dir.path()).entryList({QString::fromLatin1(t.file) + ".damaged-*"});
            ASSERT_EQ(aside.size(), 1);
            EXPECT_EQ(digest(dir.filePath(aside.first())),
                      QCryptographicHash::hash(garbage, QCryptographicHash::Sha256))
                << "the damaged file is kept as it was";
            EXPECT_TRUE(!t.sqlite ||
                        log.lines().value(0).startsWith("Persistent store create error: "));
            EXPECT_EQ(reported(), std::make_pair(1, 0));
            break;
        }
        case Locked: {
            if (t.sqlite) {
                withSqlite(path, [&](QSqlDatabase& db) {
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
            EXPECT_EQ(reported(), std::make_pair(0, 1)) << "one message for one failed save";
            break;
        }
        case NewerVersion: {
            if (!t.sqlite) {
                GTEST_SKIP() << "the settings file has no schema version";
            }
            withSqlite(path,
                       [](QSqlDatabase& db) { QSqlQuery(db).exec("PRAGMA user_version=99"); });
            const QByteArray before = digest(path);
            t.save(path, added);
            EXPECT_TRUE(t.has(path, kept)) << "read where the schema allows";
            EXPECT_FALSE(t.has(path, added));
            EXPECT_EQ(digest(path), before) << "never written, never downgraded";
            EXPECT_EQ(reported(), std::make_pair(1, 0)) << "said so, and works without it";
            break;
        }
        case FullDisk: {
            {
                ScopedFullDisk full(100);
                t.save(path, added);
            }
            EXPECT_TRUE(t.has(path, kept));
            EXPECT_FALSE(t.has(path, added));
            EXPECT_GE(reported().second, 1);
            break;
        }
        case TwoWriters: {
            // Two programs creating the file and saving at the same moments.
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
                EXPECT_TRUE(t.has(path, QStringLiteral("A%1").arg(i)) &&
                            t.has(path, QStringLiteral("B%1").arg(i)))
                    << i;
            }
            EXPECT_EQ(reported(), std::make_pair(0, 0));
            break;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Files, StoreSafety,
                         ::testing::Combine(::testing::Range(0,
                                                             static_cast<int>(std::size(targets))),
                                            ::testing::Values(ReadOnlyUse, Damaged, Locked,
                                                              NewerVersion, FullDisk, TwoWriters)),
                         [](const auto& info) {
                             std::string name = targets[std::get<0>(info.param)].name;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name + '_' + troubleNames[std::get<1>(info.param)];
                         });

}  // namespace
