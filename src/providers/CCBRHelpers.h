#pragma once

#include "Decimal.h"

#include <QString>

/// Metal codes and units of the Central Bank of Russia, shared by its rate and chart providers.
class CCBRHelpers {
public:
    CCBRHelpers() = delete;

    /// The bank's metal number as an ISO code: 1 "XAU", 2 "XAG", 3 "XPT", 4 "XPD"; any other
    /// number gives an empty (null) text.
    static QString isoMetalCodeFromInternal(int code);
    /// True for "XAU", "XAG", "XPT" and "XPD".
    static bool isMetalCurrencyCode(const QString& code);
    /// A price per gram as the price per troy ounce (31.1034768 grams).
    static Decimal convertGrammToOunce(const Decimal& pricePerGram);
};
