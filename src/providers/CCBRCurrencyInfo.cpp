#include "CCBRCurrencyInfo.h"

CCBRCurrencyInfo::CCBRCurrencyInfo() : actualDate(QDateTime::currentDateTimeUtc()) {}

Decimal CCBRCurrencyInfo::saleValueForCurrency() const {
    return saleValue / Decimal::fromInt(nominalValue);
}
