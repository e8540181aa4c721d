#include "CCBRCurrenciesInfo.h"
#include "Log.h"

#include <gtest/gtest.h>

namespace {

CCBRCurrencyInfoPtr row(const QString& code, const char* sale, int nominal, int iso = -1) {
    auto r = std::make_shared<CCBRCurrencyInfo>();
    r->isoTextCode = code;
    r->saleValue = Decimal::fromString(QString::fromLatin1(sale));
    r->nominalValue = nominal;
    r->isoCode = iso;
    return r;
}

TEST(RateRow, OneUnitValueIsExactAndNeverDividesByZero) {
    EXPECT_EQ(row("X", "50", 100)->saleValueForCurrency().toString(), QStringLiteral("0.5"));
    EXPECT_EQ(row("X", "35.5", 100)->saleValueForCurrency().toString(), QStringLiteral("0.355"));
    EXPECT_TRUE(CCBRCurrencyInfo().saleValueForCurrency().isNaN())
        << "a never-merged row has no rate";
    EXPECT_TRUE(row("X", "NaN", 1)->saleValueForCurrency().isNaN());
}

TEST(RateTable, LookupsTakeTheFirstExactMatch) {
    CCBRCurrenciesInfo table;
    table.addCurrencyInfo(row("USD", "30", 1, 840));
    table.addCurrencyInfo(row("USD", "99", 1, 840));
    table.addCurrencyInfo(row("JPY", "35.5", 100, 392));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("USD")).toString(),
              QStringLiteral("30"));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("JPY")).toString(),
              QStringLiteral("0.355"));
    EXPECT_TRUE(table.saleValueForCurrencyWithTextCode(QStringLiteral("usd")).isNaN());
    EXPECT_TRUE(table.saleValueForCurrencyWithTextCode(QStringLiteral("EUR")).isNaN());
    EXPECT_EQ(table.saleValueForCurrency(392).toString(), QStringLiteral("0.355"));
    const auto found = table.findCurrencyInfoWithPredicate(
        [](const CCBRCurrencyInfo& r) { return r.saleValue > Decimal::fromInt(50); });
    ASSERT_TRUE(found);
    EXPECT_EQ(found->saleValue.toString(), QStringLiteral("99"));
    EXPECT_EQ(table.currenciesInfo.size(), 3);

    table.removeAllCurrenciesInfo();
    EXPECT_TRUE(table.saleValueForCurrencyWithTextCode(QStringLiteral("USD")).isNaN());
}

TEST(RateTable, AMissingNumericCodeIsLoggedNotFatal) {
    CCBRCurrenciesInfo table;
    table.addCurrencyInfo(row("USD", "30", 1, 840));
    LogCapture log;
    EXPECT_TRUE(table.saleValueForCurrency(978).isNaN());
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral("Inconsistent currencies information")});
}

}  // namespace
