#include "CCurrencyDataStorageManager.h"
#include "Log.h"
#include "TestSupport.h"

#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

CCBRCurrencyInfoPtr row(const QString& code, const char* sale, QDateTime date = {}) {
    auto r = std::make_shared<CCBRCurrencyInfo>();
    r->isoTextCode = code;
    r->saleValue = Decimal::fromString(QString::fromLatin1(sale));
    r->nominalValue = 1;
    if (date.isValid()) {
        r->actualDate = date;
    }
    return r;
}

CCBRCurrenciesInfo table(std::initializer_list<CCBRCurrencyInfoPtr> rows) {
    CCBRCurrenciesInfo t;
    for (const auto& r : rows) {
        t.addCurrencyInfo(r);
    }
    return t;
}

class RateCacheTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("CurrencyDataStorage.sqlite"));
    QDateTime march12 = QDateTime(QDate(2013, 3, 12), QTime(9, 15, 1, 500), QTimeZone::utc());
};

TEST_F(RateCacheTest, RepeatedWritesKeepOneEntryPerSourceAndCodeAndSurviveARestart) {
    {
        CCurrencyDataStorageManager cache(path);
        cache.addCurrenciesInfoAsync(table({row("XAU", "1650", march12)}), QStringLiteral("CBR"));
        // A rate that could not be computed never replaces a stored one.
        cache.addCurrenciesInfoAsync(table({row("XAU", "NaN")}), QStringLiteral("CBR"));
        cache.addCurrenciesInfoAsync(table({row("EUR", "1.3"), row("GBP", "1.5")}),
                                     QStringLiteral("YFinance"));
        cache.addCurrenciesInfoAsync(table({row("EUR", "1.31", march12)}),
                                     QStringLiteral("YFinance"));
        cache.addCurrenciesInfoAsync(table({row("EUR", "1.29")}), QStringLiteral("ECB"));
        const auto eur =
            cache.getCurrencyInfoForCode(QStringLiteral("EUR"), QStringLiteral("YFinance"));
        ASSERT_TRUE(eur);
        EXPECT_EQ(eur->isoTextCode + " " + eur->saleValue.toString(), QStringLiteral("EUR 1.31"));
        EXPECT_TRUE(eur->actualDate == march12 && eur->nominalValue == 1);
        EXPECT_EQ(cache.getCurrencyInfoForCode(QStringLiteral("EUR"), QStringLiteral("ECB"))
                      ->saleValue.toString(),
                  QStringLiteral("1.29"));
        EXPECT_FALSE(cache.getCurrencyInfoForCode(QStringLiteral("GBP"), QStringLiteral("ECB")));
        EXPECT_FALSE(
            cache.getCurrencyInfoForCode(QStringLiteral("eur"), QStringLiteral("YFinance")));
    }
    EXPECT_EQ(sqliteRowCount(path, QStringLiteral("CurrencyInfo")), 4);
    CCurrencyDataStorageManager reopened(path);
    const auto xau = reopened.getCurrencyInfoForCode(QStringLiteral("XAU"), QStringLiteral("CBR"));
    ASSERT_TRUE(xau);
    EXPECT_EQ(xau->saleValue.toString(), QStringLiteral("1650"));
    EXPECT_EQ(xau->actualDate, march12);
}

TEST_F(RateCacheTest, RowsChangedAfterQueueingAreStoredAsTheyWere) {
    CCurrencyDataStorageManager cache(path);
    auto eur = row("EUR", "1.3");
    cache.addCurrenciesInfoAsync(table({eur}), QStringLiteral("YFinance"));
    eur->saleValue = Decimal::fromInt(7);
    EXPECT_EQ(cache.getCurrencyInfoForCode(QStringLiteral("EUR"), QStringLiteral("YFinance"))
                  ->saleValue.toString(),
              QStringLiteral("1.3"));
}

}  // namespace
