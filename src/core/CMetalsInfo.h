#pragma once

#include "Decimal.h"

#include <QString>
#include <QVariantMap>

#include <optional>

class UserDefaults;

/// Precious metals ("Metals") and the weight units their prices are quoted in.
class CMetalsInfo {
public:
    /// `defaults` (not owned) holds the user's unit under "MetalBaseUnitUserDefaultsKey".
    explicit CMetalsInfo(const UserDefaults& defaults);
    CMetalsInfo(QVariantMap entries, const UserDefaults& defaults);

    bool isCurrencyMetal(const QString& code) const;
    /// Turns a price per the metal's base unit into a price per the user's unit; nothing for a
    /// code that is not a metal or when either unit is unknown.
    std::optional<Decimal> getMultiplierForCurrency(const QString& code) const;
    /// The amount of `unit` in one troy ounce ("Kilo", "Ounce", "Pound", "Gramm"); nothing for
    /// any other name.
    static std::optional<Decimal> getUnitToOunceMultiplier(const QString& unit);

private:
    QVariantMap entries_;
    const UserDefaults& defaults_;
};
