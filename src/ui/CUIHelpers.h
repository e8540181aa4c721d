#pragma once

#include "Decimal.h"

#include <QString>

#include <optional>

class UserDefaults;

/// Small helpers shared by the screens and start-up.
class CUIHelpers {
public:
    /// Reads a percentage typed by the user: "," as separator first, then "."; nothing for a
    /// text that is neither, or for a value below 0 or above 100.
    static std::optional<Decimal> getPercentValueFromText(const QString& text);

    /// Registers the settings bundle's "DefaultValue"s (from "Root.plist", "PreferenceSpecifiers")
    /// for every key that has no value yet, then synchronises. Without a bundle nothing is
    /// registered. `bundlePath` empty: the bundled "Settings.bundle".
    static void registerDefaultsFromSettingsBundle(UserDefaults& defaults, const QString& bundlePath = {});
};
