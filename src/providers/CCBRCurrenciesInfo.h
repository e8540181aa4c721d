#pragma once

#include "CCBRCurrencyInfo.h"

#include <QDateTime>
#include <QList>

#include <functional>
#include <memory>

/// A rate table: the one result shape of every rate provider. Rows keep the order in which they
/// were added; codes need not be unique, and every lookup takes the first match.
class CCBRCurrenciesInfo {
public:
    CCBRCurrenciesInfo();

    QDateTime currencyDate;
    QList<CCBRCurrencyInfoPtr> currenciesInfo;

    void addCurrencyInfo(CCBRCurrencyInfoPtr info);
    void removeAllCurrenciesInfo();
    /// Dates the table with the day (or moment) the provider published it, and every row that
    /// has no published day of its own yet. An invalid date changes nothing.
    void setPublishedDate(const QDateTime& date);

    /// The first row (in list order) that satisfies the filter, or nullptr.
    CCBRCurrencyInfoPtr findCurrencyInfoWithPredicate(
        const std::function<bool(const CCBRCurrencyInfo&)>& filter) const;
    /// The first row whose text code equals `code` exactly (case-sensitive), or nullptr.
    CCBRCurrencyInfoPtr findCurrencyInfoWithTextCode(const QString& code) const;

    /// The one-unit value of the first row with that text code; NaN when there is none.
    Decimal saleValueForCurrencyWithTextCode(const QString& code) const;
    /// The one-unit value of the first row with that numeric code. A missing code is a broken
    /// invariant: logged as "Inconsistent currencies information" and answered with NaN rather
    /// than bringing the application down.
    Decimal saleValueForCurrency(qint32 isoCode) const;
};

using CCBRCurrenciesInfoPtr = std::shared_ptr<CCBRCurrenciesInfo>;
