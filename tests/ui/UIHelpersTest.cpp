#include "CRootViewModel.h"
#include "CUISettings.h"
#include "Localization.h"
#include "Log.h"
#include "PropertyList.h"
#include "Startup.h"
#include "UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct PercentCase {
    const char* text;
    const char* expected;  // nullptr: refused
};

class PercentText : public ::testing::TestWithParam<PercentCase> {};

TEST_P(PercentText, AcceptsCommaOrPointWithinZeroToHundred) {
    const auto value = CRootViewModel::getPercentValueFromText(QString::fromUtf8(GetParam().text));
    if (GetParam().expected == nullptr) {
        EXPECT_FALSE(value.has_value()) << GetParam().text;
    } else {
        ASSERT_TRUE(value.has_value()) << GetParam().text;
        EXPECT_EQ(value->toString(), QString::fromLatin1(GetParam().expected));
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, PercentText,
                         ::testing::Values(PercentCase{"2,5", "2.5"}, PercentCase{"2.5", "2.5"},
                                           PercentCase{"0", "0"}, PercentCase{"100", "100"},
                                           PercentCase{" 1,75 ", "1.75"},
                                           PercentCase{"100.01", nullptr},
                                           PercentCase{"-0.5", nullptr}, PercentCase{"", nullptr},
                                           PercentCase{"abc", nullptr},
                                           PercentCase{"2,5.1", nullptr}, PercentCase{"1e2", "100"},
                                           PercentCase{"5%", nullptr}));

class SettingsBundle : public ::testing::Test {
protected:
    QTemporaryDir dir;
    UserDefaults defaults{dir.filePath(QStringLiteral("prefs.plist"))};

    QString bundleWith(const QVariant& root) {
        const QString bundle = dir.filePath(QStringLiteral("Settings.bundle"));
        QDir().mkpath(bundle);
        QFile f(bundle + QStringLiteral("/Root.plist"));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(PropertyList::toXml(root));
        return bundle;
    }
};

TEST_F(SettingsBundle, TheBundledDefaultsAreRegisteredNotStored) {
    Startup::registerDefaultsFromSettingsBundle(defaults);
    const QVariantMap registered = defaults.registeredDefaults();
    EXPECT_EQ(registered.value(QStringLiteral("MetalBaseUnitUserDefaultsKey")),
              QStringLiteral("Ounce"));
    EXPECT_EQ(registered.value(QStringLiteral("ChartDataCsvSeparatorUserDefaultsKey")),
              QStringLiteral(","));
    for (const char* key :
         {"ConversionFee", "ConversionFeeEnabled", "SubtractFeeEnabled", "DisplayDirectRates"}) {
        EXPECT_TRUE(registered.contains(QString::fromLatin1(key))) << key;
    }
    EXPECT_EQ(registered.size(), 6);
    EXPECT_FALSE(QFile::exists(defaults.filePath())) << "registration writes nothing";
}

TEST_F(SettingsBundle, KeysTheUserChangedAndSpecifiersWithoutKeyOrDefaultAreSkipped) {
    defaults.setObject(QStringLiteral("Gramm"), QStringLiteral("MetalBaseUnitUserDefaultsKey"));
    defaults.synchronize();
    const QVariantMap root{
        {QStringLiteral("PreferenceSpecifiers"),
         QVariantList{
             QVariantMap{{QStringLiteral("Type"), QStringLiteral("PSGroupSpecifier")}},
             QVariantMap{{QStringLiteral("Key"), QStringLiteral("MetalBaseUnitUserDefaultsKey")},
                         {QStringLiteral("DefaultValue"), QStringLiteral("Ounce")}},
             QVariantMap{{QStringLiteral("Key"), QStringLiteral("NoDefault")}},
             QVariantMap{{QStringLiteral("Key"), QStringLiteral("DisplayDirectRates")},
                         {QStringLiteral("DefaultValue"), true}}}}};
    UserDefaults fresh(defaults.filePath());
    Startup::registerDefaultsFromSettingsBundle(fresh, bundleWith(root));
    EXPECT_EQ(fresh.registeredDefaults(),
              (QVariantMap{{QStringLiteral("DisplayDirectRates"), true}}));
    EXPECT_EQ(fresh.stringForKey(QStringLiteral("MetalBaseUnitUserDefaultsKey")),
              QStringLiteral("Gramm"));
}

}  // namespace
