#include "CCBRCurrencyInfo.h"

#include <QTimeZone>

CCBRCurrencyInfo::CCBRCurrencyInfo() : actualDate(QDateTime::currentDateTimeUtc()) {}

Decimal CCBRCurrencyInfo::saleValueForCurrency() const {
    return saleValue / Decimal::fromInt(nominalValue);
}

QDateTime CCBRCurrencyInfo::publishedDay(const QDate& day) {
    return day.isValid() ? QDateTime(day, QTime(0, 0), QTimeZone::utc()) : QDateTime();
}

bool CCBRCurrencyInfo::isPublishedDay(const QDateTime& date) {
    return date.isValid() && date.toUTC().time() == QTime(0, 0);
}
