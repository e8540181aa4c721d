#include "CChartDataStorageManager.h"

#include "CChartPeriod.h"
#include "ChartTestSupport.h"
#include "Log.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <gtest/gtest.h>

using namespace charttest;

namespace {

CCurrencyChartInfo record(const QString& first, const QString& last, int period,
                          const char* lastValue) {
    CCurrencyChartInfo info;
    info.firstCurrencyCode = first;
    info.lastCurrencyCode = last;
    info.chartPeriod = period;
    info.plotPoints = series({{utc(2012, 3, 1), "1.3012"}, {utc(2012, 3, 2, 0, 0, 1), lastValue}});
    info.updateExtremes();
    return info;
}

const QStringList usdEur{QStringLiteral("USD"), QStringLiteral("EUR")};

/// Rows in the file, counted with a connection of our own after the manager has gone.
int rowCount(const QString& path) {
    int count = -1;
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("count"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery q(QStringLiteral("SELECT COUNT(*) FROM ChartInfoEntity"), db);
            if (q.next()) {
                count = q.value(0).toInt();
            }
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("count"));
    return count;
}

}  // namespace

TEST(ChartCache, LivesInTheLibraryDirectoryAndReadsBackFieldForField) {
    ScopedChartDataDir dir;
    const CCurrencyChartInfo info = record("USD", "EUR", ChartPeriod1Year, "1.29875");
    {
        CChartDataStorageManager cache;
        EXPECT_FALSE(cache.getChartInfoForCurrencyPair(usdEur, ChartPeriod1Year, "YFinance"));
        cache.addChartInfo(info, QStringLiteral("YFinance"));
        // Saved on the store's queue, but a read right after the write sees it.
        const auto queued = cache.getChartInfoForCurrencyPair(usdEur, ChartPeriod1Year, "YFinance");
        ASSERT_TRUE(queued.has_value());
        EXPECT_EQ(*queued, info);
    }  // the manager's end waits for the write
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("Library/ChartDataStorage.sqlite")));

    // A new manager (the next launch) reads the same record.
    CChartDataStorageManager cache;
    const auto back = cache.getChartInfoForCurrencyPair(usdEur, ChartPeriod1Year, "YFinance");
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, info);  // every field, points included
    EXPECT_EQ(back->minCurrencyValue.toString(), "1.29875");
    EXPECT_EQ(back->plotPoints[1].date, utc(2012, 3, 2, 0, 0, 1));
}

TEST(ChartCache, OneEntryPerKeyAndSeparateEntriesPerPeriodSourceAndPair) {
    QTemporaryDir dir;
    const QString path = dir.filePath("charts.sqlite");
    struct Entry {
        const char* source;
        const char* first;
        const char* last;
        int period;
        const char* value;
    };
    const Entry entries[] = {
        {"YFinance", "USD", "EUR", ChartPeriod1Day, "1.01"},
        {"YFinance", "USD", "EUR", ChartPeriod1Week, "1.02"},
        {"Bloomberg", "USD", "EUR", ChartPeriod1Day, "1.03"},
        {"YFinance", "EUR", "USD", ChartPeriod1Day, "1.04"},
        {"yfinance", "USD", "EUR", ChartPeriod1Day, "1.05"},
        {"CBR", "USD", "RUB", ChartPeriodOverall, "1.06"},
    };
    {
        CChartDataStorageManager cache(path);
        // Written twice: the later record replaces the earlier one.
        cache.addChartInfo(record("USD", "EUR", ChartPeriod1Day, "0.5"), "YFinance");
        for (const Entry& e : entries) {
            cache.addChartInfo(record(e.first, e.last, e.period, e.value), e.source);
        }
        for (const Entry& e : entries) {
            SCOPED_TRACE(e.value);
            const auto back = cache.getChartInfoForCurrencyPair(
                {QString::fromLatin1(e.first), QString::fromLatin1(e.last)}, e.period, e.source);
            ASSERT_TRUE(back.has_value());
            EXPECT_EQ(back->plotPoints.last().value.toString(), e.value);
        }
        EXPECT_FALSE(cache.getChartInfoForCurrencyPair(usdEur, ChartPeriod1Month, "YFinance"));
        EXPECT_FALSE(cache.getChartInfoForCurrencyPair(usdEur, ChartPeriod1Day, "ECB"));
        // A pair that is not two codes finds nothing instead of reading past its end.
        EXPECT_FALSE(cache.getChartInfoForCurrencyPair({"USD"}, ChartPeriod1Day, "YFinance"));
        EXPECT_FALSE(cache.getChartInfoForCurrencyPair({}, ChartPeriod1Day, "YFinance"));
    }
    EXPECT_EQ(rowCount(path), static_cast<int>(std::size(entries)));
}

TEST(ChartCache, UnreadableStoredDataReadsAsNothing) {
    QTemporaryDir dir;
    const QString path = dir.filePath("charts.sqlite");
    {
        CChartDataStorageManager cache(path);
        cache.addChartInfo(record("USD", "EUR", ChartPeriod1Day, "0.9"), "YFinance");
    }
    {
        QSqlDatabase db =
            QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("poke"));
        db.setDatabaseName(path);
        ASSERT_TRUE(db.open());
        QSqlQuery(QStringLiteral("UPDATE ChartInfoEntity SET chartData = X'FFFF00'"), db);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("poke"));
    LogCapture log;
    CChartDataStorageManager cache(path);
    EXPECT_FALSE(cache.getChartInfoForCurrencyPair(usdEur, ChartPeriod1Day, "YFinance"));
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines()[0].startsWith("Cannot get chart info: "));
}
