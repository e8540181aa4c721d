#include "CCBRHelpers.h"

QString CCBRHelpers::isoMetalCodeFromInternal(int code) {
    switch (code) {
        case 1:
            return QStringLiteral("XAU");
        case 2:
            return QStringLiteral("XAG");
        case 3:
            return QStringLiteral("XPT");
        case 4:
            return QStringLiteral("XPD");
        default:
            return {};
    }
}

bool CCBRHelpers::isMetalCurrencyCode(const QString& code) {
    return code == QLatin1String("XAU") || code == QLatin1String("XAG") ||
           code == QLatin1String("XPT") || code == QLatin1String("XPD");
}

Decimal CCBRHelpers::convertGrammToOunce(const Decimal& pricePerGram) {
    static const Decimal gramsPerOunce = Decimal::fromString(u"0.0311034768").scaledByPowerOfTen(3);
    return pricePerGram * gramsPerOunce;
}
