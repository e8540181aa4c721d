#pragma once

#include "Decimal.h"

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

/// One rate row: the price of `nominalValue` units of a currency or metal in the table's
/// reference currency. Rows are shared by reference (see CCBRCurrencyInfoPtr).
class CCBRCurrencyInfo {
public:
    /// A new row: empty name, zero sale value, nominal 0, numeric code -1, no text code, and the
    /// creation moment as its date.
    CCBRCurrencyInfo();

    QString displayName;
    Decimal saleValue;
    qint32 nominalValue = 0;
    qint32 isoCode = -1;
    /// Empty (null) means no code.
    QString isoTextCode;
    QDateTime actualDate;

    /// The value of one unit: saleValue / nominalValue. NaN for a row without a nominal (0),
    /// instead of dividing by zero.
    Decimal saleValueForCurrency() const;
};

using CCBRCurrencyInfoPtr = std::shared_ptr<CCBRCurrencyInfo>;
