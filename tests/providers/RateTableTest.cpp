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

TEST(RateTable, LookupsTakeTheFirstExactMatchPerOneUnit) {
    CCBRCurrenciesInfo table;
    table.addCurrencyInfo(row("USD", "30", 1, 840));
    table.addCurrencyInfo(row("USD", "99", 1, 840));
    table.addCurrencyInfo(row("JPY", "35.5", 100, 392));
    table.addCurrencyInfo(row("XAU", "NaN", 1));
    table.addCurrencyInfo(std::make_shared<CCBRCurrencyInfo>());  // never merged: nominal 0
    QStringList values;
    for (const char* code : {"USD", "JPY", "usd", "EUR", "XAU", ""}) {
        values << table.saleValueForCurrencyWithTextCode(QString::fromLatin1(code)).toString();
    }
    EXPECT_EQ(values, (QStringList{"30", "0.355", "NaN", "NaN", "NaN", "NaN"}));
    EXPECT_EQ(table.saleValueForCurrency(392).toString(), QStringLiteral("0.355"));
    const auto found = table.findCurrencyInfoWithPredicate(
        [](const CCBRCurrencyInfo& r) { return r.saleValue > Decimal::fromInt(50); });
    ASSERT_TRUE(found);
    EXPECT_EQ(found->saleValue.toString(), QStringLiteral("99"));
    table.removeAllCurrenciesInfo();
    EXPECT_TRUE(table.currenciesInfo.isEmpty());
}

TEST(RateTable, AMissingNumericCodeIsLoggedNotFatal) {
    CCBRCurrenciesInfo table;
    table.addCurrencyInfo(row("USD", "30", 1, 840));
    LogCapture log;
    EXPECT_TRUE(table.saleValueForCurrency(978).isNaN());
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral("Inconsistent currencies information")});
}

}  // namespace
