#include "CurrencyNames.h"
#include "Localization.h"
#include "Log.h"
#include "PropertyList.h"
#include "Resources.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
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
        {QStringLiteral("empty"), QVariantList{}},
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
    EXPECT_EQ(Localization::localizedString(QStringLiteral("NoData")) + "|" +
                  Localization::localizedString(QStringLiteral("NoSuchKey")),
              QStringLiteral("Нет данных|NoSuchKey"));
    ASSERT_TRUE(Localization::install(QStringLiteral("en")));
    EXPECT_EQ(Localization::localizedString(QStringLiteral("ECB-CurrencyDataSource")),
              QStringLiteral("European Central Bank"));
    EXPECT_FALSE(Localization::install(QStringLiteral("xx")));
    EXPECT_EQ(Localization::localizedString(QStringLiteral("NoData")), QStringLiteral("NoData"));
}

TEST(CurrencyNames, ComeFromIcuForTheLocale) {
    // Code, locale, name ("-": none).
    const char* const cases[][3] = {{"EUR", "en_US", "Euro"},
                                    {"EUR", "ru_RU", "евро"},
                                    {"XAU", "en_US", "Gold"},
                                    {"GBX", "en_US", "-"},
                                    {"EURO", "en_US", "-"}};
    for (const auto& [code, locale, name] : cases) {
        EXPECT_EQ(CurrencyNames::displayName(QString::fromLatin1(code), QString::fromLatin1(locale))
                      .value_or(QStringLiteral("-")),
                  QString::fromUtf8(name));
    }
    const QStringList iso = CurrencyNames::isoCurrencyCodes();
    EXPECT_TRUE(iso.contains(QStringLiteral("JPY")));
    EXPECT_GT(iso.size(), 100);
}

TEST(Resources, InstalledDataBesideTheProgramComesFirstAndTheFirstThatHoldsAFolderWins) {
    QTemporaryDir root;
    const QStringList order = Resources::dataDirectories(root.filePath(QStringLiteral("usr/bin")));
    ASSERT_GE(order.size(), 2);
    EXPECT_EQ(order.first(), root.filePath(QStringLiteral("usr/share/numiva")));
    EXPECT_EQ(order.last(), QStringLiteral("/usr/local/share/numiva"));
    EXPECT_EQ(order.size(), QSet<QString>(order.begin(), order.end()).size());

    const QStringList here{order.first(), root.filePath(QStringLiteral("setup"))};
    for (const QString& dir : {here[0] + QLatin1String("/icons"), here[1] + QLatin1String("/icons"),
                               here[1] + QLatin1String("/flags")}) {
        ASSERT_TRUE(QDir().mkpath(dir));
    }
    EXPECT_EQ(Resources::findDataDirectory(QStringLiteral("icons"), here), here[0] + "/icons");
    EXPECT_EQ(Resources::findDataDirectory(QStringLiteral("flags"), here), here[1] + "/flags");
    EXPECT_EQ(Resources::findDataDirectory(QStringLiteral("none"), here), QString());
}

TEST(LogFile, LivesInTheStateDirectoryAndIsMovedAsideBeforePassingItsBound) {
    const QByteArray saved = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", "relative/is/ignored");
    EXPECT_EQ(LogFile::defaultPath(), QDir::homePath() + "/.local/state/numiva/numiva.log");
    QTemporaryDir dir;
    qputenv("XDG_STATE_HOME", dir.path().toUtf8());
    const QString path = LogFile::defaultPath();
    qputenv("XDG_STATE_HOME", saved);
    EXPECT_EQ(path, dir.filePath(QStringLiteral("numiva/numiva.log")));

    ASSERT_TRUE(LogFile::install(path, 300, false));
    for (int i = 0; i < 12; ++i) {
        nlog(QStringLiteral("line %1 ").arg(i) + QString(40, u'x'));
    }
    LogFile::uninstall();
    QFile current(path);
    QFile older(path + QStringLiteral(".1"));
    ASSERT_TRUE(current.open(QIODevice::ReadOnly) && older.open(QIODevice::ReadOnly));
    EXPECT_TRUE(current.size() <= 300 && older.size() <= 300);
    EXPECT_TRUE(current.readAll().contains("numiva.system: line 11 xxx"));
    EXPECT_TRUE(older.readAll().startsWith(QByteArray("20")));
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".2")));
    EXPECT_EQ(current.permissions() & (QFile::ReadOther | QFile::ReadGroup), 0);
}

}  // namespace
