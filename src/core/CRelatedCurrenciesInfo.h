#pragma once

#include "Decimal.h"

#include <QString>
#include <QVariantMap>

/// Currencies quoted through another currency with a fixed multiplier ("RelatedCurrencies"):
/// the price of one unit of the code is the related currency's price times the multiplier.
class CRelatedCurrenciesInfo {
public:
    CRelatedCurrenciesInfo();
    explicit CRelatedCurrenciesInfo(QVariantMap entries);

    bool hasRelatedCurrencyForCode(const QString& code) const;
    /// Empty when the code has none.
    QString getRelatedCurrencyForCode(const QString& code) const;
    /// 0 when absent.
    Decimal getMultiplierForCode(const QString& code) const;

private:
    QVariantMap entries_;
};
