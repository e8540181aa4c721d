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
