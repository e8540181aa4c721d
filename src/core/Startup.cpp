#include "Startup.h"

#include "PropertyList.h"
#include "Resources.h"
#include "UserDefaults.h"

namespace Startup {

void registerDefaultsFromSettingsBundle(UserDefaults& defaults, const QString& bundlePath) {
    defaults.synchronize();
    const QString bundle = bundlePath.isEmpty() ? Resources::settingsBundlePath() : bundlePath;
    if (bundle.isEmpty()) {
        return;
    }
    const QVariantMap root =
        PropertyList::readFile(bundle + QStringLiteral("/Root.plist")).value_or(QVariant()).toMap();
    const QVariantList specifiers = root.value(QStringLiteral("PreferenceSpecifiers")).toList();
    QVariantMap toRegister;
    for (const QVariant& item : specifiers) {
        const QVariantMap specifier = item.toMap();
        const QString key = specifier.value(QStringLiteral("Key")).toString();
        // A specifier without a default has nothing to register.
        if (key.isEmpty() || !specifier.contains(QStringLiteral("DefaultValue")) ||
            defaults.hasValueForKey(key)) {
            continue;
        }
        toRegister.insert(key, specifier.value(QStringLiteral("DefaultValue")));
    }
    defaults.registerDefaults(toRegister);
}

}  // namespace Startup
