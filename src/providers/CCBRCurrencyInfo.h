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
    /// The day the provider published the rate (see `publishedDay`) where its answer says so,
    /// else the moment it was fetched.
    QDateTime actualDate;
    /// The data source the rate came from (its identifier); empty while unknown.
    QString dataSource;
    /// The rate is a cached one, not part of this refresh's answers.
    bool fromCache = false;
    /// Cached because its source failed in this refresh.
    bool sourceFailed = false;

    /// The value of one unit: saleValue / nominalValue. NaN for a row without a nominal (0),
    /// instead of dividing by zero.
    Decimal saleValueForCurrency() const;

    /// A published day is kept as midnight UTC of that day, so that a stored date tells a day
    /// from a moment; invalid for an invalid day.
    static QDateTime publishedDay(const QDate& day);
    static bool isPublishedDay(const QDateTime& date);
};

using CCBRCurrencyInfoPtr = std::shared_ptr<CCBRCurrencyInfo>;
