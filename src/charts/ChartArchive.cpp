#include "ChartArchive.h"

#include <QTimeZone>

namespace ChartArchive {

void encodeDecimal(QCborMap& map, const QString& key, const Decimal& value) {
    map.insert(key, value.toString());
}

Decimal decodeDecimal(const QCborMap& map, const QString& key) {
    const QCborValue v = map.value(key);
    return v.isString() ? Decimal::fromString(v.toString()) : Decimal::nan();
}

void encodeDate(QCborMap& map, const QString& key, const QDateTime& date) {
    if (date.isValid()) {
        map.insert(key, QCborValue(date.toUTC()));
    }
}

QDateTime decodeDate(const QCborMap& map, const QString& key) {
    const QDateTime date = map.value(key).toDateTime();
    return date.isValid() ? date.toUTC() : QDateTime();
}

}  // namespace ChartArchive
