#include "CCurrencyChartSettings.h"

#include "ChartTestSupport.h"

#include <gtest/gtest.h>

using namespace charttest;

TEST(ChartSettings, AFreshInstallChartsUsdEurOverOneDayAndMalformedValuesReadAsNothing) {
    {
        ScopedChartDataDir dir;
        EXPECT_EQ(CCurrencyChartSettings::getCurrencyPair(dir.defaults()),
                  QStringList({"USD", "EUR"}));
        EXPECT_EQ(CCurrencyChartSettings::getChartPeriod(dir.defaults()), 0);
        // Registered, not stored.
        EXPECT_FALSE(dir.defaults().persistentObjectForKey("ChartCurrencyPair").isValid());
        dir.defaults().setObject(QStringLiteral("weekly"), "ChartPeriod");
        EXPECT_EQ(CCurrencyChartSettings::getChartPeriod(dir.defaults()), 0);
        dir.defaults().setObject(QStringLiteral("3"), "ChartPeriod");
        EXPECT_EQ(CCurrencyChartSettings::getChartPeriod(dir.defaults()), 3);
    }
    const QVariant stored[] = {
        QVariant(QStringLiteral("USD")),
        QVariant(QVariantList{QStringLiteral("USD")}),
        QVariant(QVariantList{QStringLiteral("USD"), QStringLiteral("EUR"), QStringLiteral("GBP")}),
        QVariant(QVariantList{QStringLiteral("USD"), 5}),
        QVariant(42),
    };
    for (const QVariant& value : stored) {
        SCOPED_TRACE(value.toString().toStdString());
        ScopedChartDataDir dir;
        dir.defaults().setObject(value, "ChartCurrencyPair");
        EXPECT_FALSE(CCurrencyChartSettings::getCurrencyPair(dir.defaults()).has_value());
    }
}
