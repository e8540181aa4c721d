#include "CurrencyNames.h"
#include "Localization.h"
#include "PropertyList.h"
#include "Resources.h"

#include <QDateTime>
#include <QTimeZone>

#include <gtest/gtest.h>

namespace {

TEST(PropertyList, RoundTripsEveryType) {
    const QVariantMap value{
        {QStringLiteral("text"), QStringLiteral("Ünïcode")},
        {QStringLiteral("integer"), qint64(-3)},
        {QStringLiteral("real"), 0.0311034768},
        {QStringLiteral("flag"), true},
        {QStringLiteral("list"), QVariantList{QStringLiteral("a"), qint64(1)}},
        {QStringLiteral("date"),
         QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59), QTimeZone::utc())},
        {QStringLiteral("data"), QByteArray("\x00\x01", 2)},
    };
    const auto back = PropertyList::fromData(PropertyList::toXml(value));
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->toMap(), value);
    EXPECT_FALSE(PropertyList::fromData(QByteArray()).has_value());
    EXPECT_FALSE(PropertyList::fromData("not a plist").has_value());
}

TEST(Localization, MissingKeysReadAsThemselvesAndTablesTranslate) {
    ASSERT_TRUE(Localization::install(QStringLiteral("ru")));
    EXPECT_EQ(Localization::localizedString(QStringLiteral("NoData")),
              QStringLiteral("Нет данных"));
    EXPECT_EQ(Localization::localizedString(QStringLiteral("NoSuchKey")),
              QStringLiteral("NoSuchKey"));
    ASSERT_TRUE(Localization::install(QStringLiteral("en")));
    EXPECT_EQ(Localization::localizedString(QStringLiteral("ECB-CurrencyDataSource")),
              QStringLiteral("European Central Bank"));
    EXPECT_FALSE(Localization::install(QStringLiteral("xx")));
    EXPECT_EQ(Localization::localizedString(QStringLiteral("NoData")), QStringLiteral("NoData"));
}

TEST(CurrencyNames, ComeFromIcuForTheLocale) {
    EXPECT_EQ(CurrencyNames::displayName(QStringLiteral("EUR"), QStringLiteral("en_US")),
              QStringLiteral("Euro"));
    EXPECT_EQ(CurrencyNames::displayName(QStringLiteral("EUR"), QStringLiteral("ru_RU")),
              QStringLiteral("евро"));
    EXPECT_EQ(CurrencyNames::displayName(QStringLiteral("XAU"), QStringLiteral("en_US")),
              QStringLiteral("Gold"));
    EXPECT_FALSE(
        CurrencyNames::displayName(QStringLiteral("GBX"), QStringLiteral("en_US")).has_value());
    EXPECT_FALSE(
        CurrencyNames::displayName(QStringLiteral("EURO"), QStringLiteral("en_US")).has_value());
    const QStringList iso = CurrencyNames::isoCurrencyCodes();
    EXPECT_TRUE(iso.contains(QStringLiteral("JPY")));
    EXPECT_GT(iso.size(), 100);
}

}  // namespace
