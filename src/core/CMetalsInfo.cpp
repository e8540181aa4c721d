#include "CMetalsInfo.h"

#include "Resources.h"
#include "UserDefaults.h"

CMetalsInfo::CMetalsInfo(const UserDefaults& defaults)
    : CMetalsInfo(Resources::propertyList(QStringLiteral("Metals")).toMap(), defaults) {}

CMetalsInfo::CMetalsInfo(QVariantMap entries, const UserDefaults& defaults)
    : entries_(std::move(entries)), defaults_(defaults) {}

bool CMetalsInfo::isCurrencyMetal(const QString& code) const {
    return entries_.contains(code);
}

std::optional<Decimal> CMetalsInfo::getMultiplierForCurrency(const QString& code) const {
    if (!isCurrencyMetal(code)) {
        return std::nullopt;
    }
    const QString baseUnit =
        entries_.value(code).toMap().value(QStringLiteral("BaseUnit")).toString();
    const auto from = getUnitToOunceMultiplier(baseUnit);
    const auto to = getUnitToOunceMultiplier(
        defaults_.stringForKey(QStringLiteral("MetalBaseUnitUserDefaultsKey")));
    if (!from || !to) {
        return std::nullopt;
    }
    return *from / *to;
}

std::optional<Decimal> CMetalsInfo::getUnitToOunceMultiplier(const QString& unit) {
    static const Decimal kiloPerOunce = Decimal::fromString(u"0.0311034768");
    if (unit == u"Kilo") {
        return kiloPerOunce;
    }
    if (unit == u"Ounce") {
        return Decimal::fromInt(1);
    }
    if (unit == u"Pound") {
        return Decimal::fromInt(1) / Decimal::fromString(u"12");
    }
    if (unit == u"Gramm") {
        return kiloPerOunce.scaledByPowerOfTen(3);
    }
    return std::nullopt;
}
