#pragma once

#include "CCBRCurrenciesInfo.h"
#include "Decimal.h"

#include <memory>

inline Decimal d(const char* text) {
    return Decimal::fromString(QString::fromLatin1(text));
}

/// A rate row of `nominal` units of `code` worth `sale`.
inline CCBRCurrencyInfoPtr row(const QString& code, const char* sale, int nominal = 1) {
    auto r = std::make_shared<CCBRCurrencyInfo>();
    r->isoTextCode = code;
    r->saleValue = d(sale);
    r->nominalValue = nominal;
    return r;
}
