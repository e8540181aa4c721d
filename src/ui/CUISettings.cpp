#include "CUISettings.h"

#include "CurrencyNames.h"
#include "Localization.h"
#include "Resources.h"

#include <array>

QString CUISettings::getImageForCurrency(const QString& code) {
    const QString path = Resources::imagePath(code);
    return path.isEmpty() ? Resources::imagePath(QStringLiteral("unknownCurrencyFlag")) : path;
}

QString CUISettings::getDisplayNameForCurrency(const QString& code) {
    return CurrencyNames::displayNameForCurrency(code);
}

std::optional<QString> CUISettings::getDisplayNameForChartPeriod(int period) {
    static const std::array<const char*, 11> keys = {"1Day",   "1Week",  "1Month", "3Months",
                                                      "6Months", "1Year", "2Years", "3Years",
                                                      "5Years", "10Years", "OverallPeriod"};
    if (period < 0 || period >= static_cast<int>(keys.size())) {
        return std::nullopt;
    }
    return Localization::localizedString(QString::fromLatin1(keys[static_cast<size_t>(period)]));
}
