#include "CChartDataStorageManager.h"

#include "CChartPeriod.h"
#include "ChartTestSupport.h"
#include "Log.h"
#include "TestSupport.h"

#include <QFileInfo>

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

}  // namespace

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
    EXPECT_EQ(sqliteRowCount(path, QStringLiteral("ChartInfoEntity")),
              static_cast<int>(std::size(entries)));
}

TEST(ChartCache, UnreadableStoredDataReadsAsNothing) {
    QTemporaryDir dir;
    const QString path = dir.filePath("charts.sqlite");
    {
        CChartDataStorageManager cache(path);
        cache.addChartInfo(record("USD", "EUR", ChartPeriod1Day, "0.9"), "YFinance");
    }
    withSqlite(path, [](QSqlDatabase& db) {
        QSqlQuery(QStringLiteral("UPDATE ChartInfoEntity SET chartData = X'FFFF00'"), db);
    });
    LogCapture log;
    CChartDataStorageManager cache(path);
    EXPECT_FALSE(cache.getChartInfoForCurrencyPair(usdEur, ChartPeriod1Day, "YFinance"));
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines()[0].startsWith("Cannot get chart info: "));
}
