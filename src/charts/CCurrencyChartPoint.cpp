#include "CCurrencyChartPoint.h"

#include "ChartArchive.h"

CCurrencyChartPoint::CCurrencyChartPoint(Decimal value, QDateTime date)
    : value(value), date(std::move(date)) {}

QCborMap CCurrencyChartPoint::encode() const {
    QCborMap map;
    ChartArchive::encodeDecimal(map, QStringLiteral("value"), value);
    ChartArchive::encodeDate(map, QStringLiteral("date"), date);
    return map;
}

CCurrencyChartPoint CCurrencyChartPoint::decode(const QCborMap& map) {
    CCurrencyChartPoint point;
    point.value = ChartArchive::decodeDecimal(map, QStringLiteral("value"));
    point.date = ChartArchive::decodeDate(map, QStringLiteral("date"));
    return point;
}

bool CCurrencyChartPoint::operator==(const CCurrencyChartPoint& other) const {
    const bool sameValue =
        value.isNaN() ? other.value.isNaN() : (!other.value.isNaN() && value == other.value);
    return sameValue && date == other.date;
}
