#include "CUISettings.h"

#include "CChartPeriod.h"
#include "CurrencyNames.h"
#include "Resources.h"

QString CUISettings::getImageForCurrency(const QString& code) {
    const QString path = Resources::imagePath(code);
    return path.isEmpty() ? Resources::imagePath(QStringLiteral("unknownCurrencyFlag")) : path;
}

QString CUISettings::getDisplayNameForCurrency(const QString& code) {
    return CurrencyNames::displayNameForCurrency(code);
}

std::optional<QString> CUISettings::getDisplayNameForChartPeriod(int period) {
    return ChartPeriodNames::displayName(period);
}
