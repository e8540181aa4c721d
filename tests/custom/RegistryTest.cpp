#include "CCustomDataSourceStorageManager.h"
#include "TestSupport.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

const QString kFeed = QStringLiteral("http://127.0.0.1/feed.xml");

class RegistryTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString storePath = dir.filePath(QStringLiteral("CustomDataSourceStorage.sqlite"));
    QString logos = dir.filePath(QStringLiteral("Caches/DataSourceLogos"));

    std::unique_ptr<CCustomDataSourceStorageManager> open() {
        QDir().mkpath(dir.filePath(QStringLiteral("Caches")));
        return std::make_unique<CCustomDataSourceStorageManager>(storePath, logos);
    }
    QStringList logoFiles() const { return QDir(logos).entryList(QDir::Files); }
};

TEST_F(RegistryTest, AddingTwiceKeepsOneEntryInOrderOfAdding) {
    auto registry = open();
    registry->addDataSourceWithUrl(kFeed);
    registry->addDataSourceWithUrl(QStringLiteral("https://other/feed"));
    registry->addDataSourceWithUrl(kFeed);
    const auto all = registry->getAllDataSources();
    ASSERT_EQ(all.size(), 2);
    EXPECT_EQ((QStringList{all[0].url, all[1].url}),
              (QStringList{kFeed, QStringLiteral("https://other/feed")}));
    EXPECT_FALSE(all[0].displayName || all[0].currenciesList || all[0].logoImagePath);
}

TEST_F(RegistryTest, UpdatesStoreNameCodesAndOneLogoFileThatLaterReadsOverwrite) {
    {
        auto registry = open();
        registry->addDataSourceWithUrl(kFeed);
        registry->updateDataSource(kFeed, {kFeed, QStringLiteral("Bank «Ü»"), QByteArray("first"),
                                           QStringList{"USD", "EUR", "JPY", "usd"}});
        ASSERT_EQ(logoFiles().size(), 1);
        EXPECT_TRUE(logoFiles().first().endsWith(QStringLiteral(".jpeg")));
        registry->updateDataSource(kFeed,
                                   {kFeed, std::nullopt, QByteArray("second"), QStringList{}});
        registry->updateDataSource(
            kFeed, {kFeed, QStringLiteral("Bank"), std::nullopt, QStringList{"GBP"}});
    }
    auto reopened = open();
    const auto entry = reopened->getDataSourceWithUrl(kFeed);
    ASSERT_TRUE(entry);
    EXPECT_EQ(entry->displayName, QStringLiteral("Bank"));
    EXPECT_EQ(entry->currenciesList, QStringList{"GBP"});
    ASSERT_EQ(logoFiles().size(), 1);
    ASSERT_TRUE(entry->logoImagePath);
    QFile logo(*entry->logoImagePath);
    ASSERT_TRUE(logo.open(QIODevice::ReadOnly));
    EXPECT_EQ(logo.readAll(), QByteArray("second")) << "no logo bytes: the old logo stays";
}

TEST_F(RegistryTest, RemovalKeepsTheLogoFile) {
    auto registry = open();
    registry->addDataSourceWithUrl(kFeed);
    registry->updateDataSource(kFeed,
                               {kFeed, std::nullopt, QByteArray("logo"), QStringList{"USD"}});
    registry->removeDataSource(kFeed);
    registry->removeDataSource(kFeed);
    EXPECT_FALSE(registry->getDataSourceWithUrl(kFeed));
    EXPECT_EQ(logoFiles().size(), 1);
    registry->updateDataSource(kFeed,
                               {kFeed, std::nullopt, QByteArray("late"), QStringList{"USD"}});
    EXPECT_TRUE(registry->getAllDataSources().isEmpty()) << "a late refresh does not bring it back";
}

TEST_F(RegistryTest, ALogoPathOutsideTheLogoDirectoryIsNeverWritten) {
    const QString victim = dir.filePath(QStringLiteral("victim.txt"));
    {
        QFile f(victim);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("keep");
    }
    {
        auto registry = open();
        registry->addDataSourceWithUrl(kFeed);
    }
    // A store edited by hand (or by an older program) pointing elsewhere.
    withSqlite(storePath, [&](QSqlDatabase& db) {
        QSqlQuery q(db);
        q.prepare(QStringLiteral("UPDATE CustomDataSourceEntity SET logoImagePath = ?"));
        q.bindValue(0, victim);
        EXPECT_TRUE(q.exec());
    });
    auto registry = open();
    registry->updateDataSource(kFeed, {kFeed, std::nullopt, QByteArray("evil"), QStringList{}});
    QFile f(victim);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("keep"));
    EXPECT_TRUE(registry->getDataSourceWithUrl(kFeed)->logoImagePath->startsWith(logos));
}

}  // namespace
