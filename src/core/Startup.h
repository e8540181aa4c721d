#pragma once

#include <QString>

class UserDefaults;

/// Start-up concerns shared by the app and numiva-cli.
namespace Startup {

/// Registers the settings bundle's "DefaultValue"s (from "Root.plist", "PreferenceSpecifiers")
/// for every key that has no value yet. Without a bundle nothing is registered. `bundlePath`
/// empty: the bundled "Settings.bundle".
void registerDefaultsFromSettingsBundle(UserDefaults& defaults, const QString& bundlePath = {});

}  // namespace Startup
