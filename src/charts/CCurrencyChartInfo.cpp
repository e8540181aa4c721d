#include "CCurrencyChartInfo.h"

#include "CChartPeriod.h"
#include "ChartArchive.h"

#include <QCborArray>
#include <QCborParserError>
#include <QCborValue>

namespace {

const QString kMinCurrencyValue = QStringLiteral("minCurrencyValue");
const QString kMaxCurrencyValue = QStringLiteral("maxCurrencyValue");
const QString kMinDate = QStringLiteral("minDate");
const QString kMaxDate = QStringLiteral("maxDate");
const QString kPlotPoints = QStringLiteral("plotPoints");
const QString kChartPeriod = QStringLiteral("chartPeriod");
const QString kFirstCurrencyCode = QStringLiteral("firstCurrencyCode");
const QString kLastCurrencyCode = QStringLiteral("lastCurrencyCode");

constexpr qint64 kDayMSecs = 24LL * 60 * 60 * 1000;

bool sameDecimal(const Decimal& a, const Decimal& b) {
    return a.isNaN() ? b.isNaN() : (!b.isNaN() && a == b);
}

}  // namespace

QDateTime CCurrencyChartInfo::distantPast() {
    return QDateTime(QDate(1, 1, 1), QTime(0, 0), QTimeZone::utc());
}

QDateTime CCurrencyChartInfo::distantFuture() {
    return QDateTime(QDate(4001, 1, 1), QTime(0, 0), QTimeZone::utc());
}

Decimal CCurrencyChartInfo::largestValue() {
    static const Decimal largest = Decimal::fromString(u"9999999999999999999999999999999999E6111");
    return largest;
}

QDateTime CCurrencyChartInfo::findDateMax(bool max, const CCurrencyChartPointList& points) {
    QDateTime result = max ? distantPast() : distantFuture();
    for (const CCurrencyChartPoint& point : points) {
        if (!point.date.isValid()) {
            continue;
        }
        if (max ? point.date > result : point.date < result) {
            result = point.date;
        }
    }
    return result;
}

Decimal CCurrencyChartInfo::findValueMax(bool max, const CCurrencyChartPointList& points) {
    Decimal result = max ? Decimal() : largestValue();
    for (const CCurrencyChartPoint& point : points) {
        // Every comparison with NaN is false, so NaN values never win.
        if (max ? point.value > result : point.value < result) {
            result = point.value;
        }
    }
    return result;
}

void CCurrencyChartInfo::updateExtremes() {
    minCurrencyValue = findValueMax(false, plotPoints);
    maxCurrencyValue = findValueMax(true, plotPoints);
    minDate = findDateMax(false, plotPoints);
    maxDate = findDateMax(true, plotPoints);
}

std::optional<CCurrencyChartInfo::ValueRange> CCurrencyChartInfo::getValueRange() const {
    if (plotPoints.isEmpty() || minCurrencyValue.isNaN() || maxCurrencyValue.isNaN() ||
        maxCurrencyValue < minCurrencyValue) {
        return std::nullopt;
    }
    Decimal low = minCurrencyValue;
    Decimal high = maxCurrencyValue;
    if (low == high) {
        const Decimal magnitude = low.isNegative() ? -low : low;
        const Decimal pad =
            magnitude.isZero() ? Decimal::fromInt(1) : magnitude / Decimal::fromInt(100);
        low -= pad;
        high += pad;
    }
    const Decimal location = low - Decimal::fromString(u"0.0000001");
    const Decimal length = (high - location) * Decimal::fromString(u"1.2");
    if (location.isNaN() || length.isNaN() || !(length > Decimal())) {
        return std::nullopt;
    }
    return ValueRange{location, length};
}

std::optional<CCurrencyChartInfo::DateRange> CCurrencyChartInfo::getDateRange() const {
    if (plotPoints.isEmpty() || !minDate.isValid() || !maxDate.isValid() || maxDate < minDate) {
        return std::nullopt;
    }
    const qint64 span = minDate.msecsTo(maxDate);
    if (span == 0) {
        return DateRange{minDate.addMSecs(-kDayMSecs / 2), kDayMSecs * 103 / 100};
    }
    return DateRange{minDate, span / 100 * 103 + span % 100 * 103 / 100};
}

void CCurrencyChartInfo::invertValuesInPointList(CCurrencyChartPointList& points) {
    const Decimal one = Decimal::fromInt(1);
    for (CCurrencyChartPoint& point : points) {
        point.value = one / point.value;
    }
    points.removeIf([](const CCurrencyChartPoint& point) { return point.value.isNaN(); });
}

CCurrencyChartPointList CCurrencyChartInfo::divideValuesFromList(
    const CCurrencyChartPointList& numerators, const CCurrencyChartPointList& divisors) {
    CCurrencyChartPointList result;
    result.reserve(numerators.size());
    if (numerators.isEmpty() || divisors.isEmpty()) {
        return result;
    }
    const QDateTime start = numerators.first().date < divisors.first().date
                                ? divisors.first().date
                                : numerators.first().date;
    auto alignedStart = [&start](const CCurrencyChartPointList& list) -> qsizetype {
        for (qsizetype i = 0; i < list.size(); ++i) {
            if (list[i].date == start) {
                return i;
            }
        }
        return 0;
    };
    const qsizetype a0 = alignedStart(numerators);
    const qsizetype b0 = alignedStart(divisors);
    for (qsizetype i = 0; a0 + i < numerators.size() && b0 + i < divisors.size(); ++i) {
        const CCurrencyChartPoint& a = numerators[a0 + i];
        const Decimal quotient = a.value / divisors[b0 + i].value;
        if (!quotient.isNaN()) {
            result.append(CCurrencyChartPoint(quotient, a.date));
        }
    }
    return result;
}

CCurrencyChartPointList CCurrencyChartInfo::filterPointList(const CCurrencyChartPointList& points,
                                                            int period, const QTimeZone& zone) {
    if (period == ChartPeriodOverall || points.isEmpty()) {
        return points;
    }
    const QDateTime start = getStartDateForPeriod(period, points.last().date, zone);
    for (qsizetype i = 0; i < points.size(); ++i) {
        if (points[i].date == start) {
            return points.mid(i);
        }
    }
    return points;
}

QDateTime CCurrencyChartInfo::getStartDateForPeriod(int period, const QDateTime& lastDate,
                                                    const QTimeZone& zone) {
    if (!lastDate.isValid()) {
        return lastDate;
    }
    const QDateTime wallClock = lastDate.toTimeZone(zone);
    QDateTime start;
    switch (period) {
        case ChartPeriod1Week:
            start = wallClock.addDays(-7);
            break;
        case ChartPeriod1Month:
            start = wallClock.addMonths(-1);
            break;
        case ChartPeriod3Months:
            start = wallClock.addMonths(-3);
            break;
        case ChartPeriod6Months:
            start = wallClock.addMonths(-6);
            break;
        case ChartPeriod1Year:
            start = wallClock.addYears(-1);
            break;
        case ChartPeriod2Years:
            start = wallClock.addYears(-2);
            break;
        case ChartPeriod3Years:
            start = wallClock.addYears(-3);
            break;
        case ChartPeriod5Years:
            start = wallClock.addYears(-5);
            break;
        case ChartPeriod10Years:
            start = wallClock.addYears(-10);
            break;
        case ChartPeriodOverall:
            start = wallClock.addYears(-100);
            break;
        default:
            return lastDate;
    }
    return start.toTimeZone(lastDate.timeZone());
}

QDateTime CCurrencyChartInfo::toLocalTime(const QDateTime& date, const QTimeZone& zone) {
    if (!date.isValid()) {
        return date;
    }
    return date.addSecs(zone.offsetFromUtc(date));
}

QCborMap CCurrencyChartInfo::encode() const {
    QCborMap map;
    ChartArchive::encodeDecimal(map, kMinCurrencyValue, minCurrencyValue);
    ChartArchive::encodeDecimal(map, kMaxCurrencyValue, maxCurrencyValue);
    ChartArchive::encodeDate(map, kMinDate, minDate);
    ChartArchive::encodeDate(map, kMaxDate, maxDate);
    QCborArray points;
    for (const CCurrencyChartPoint& point : plotPoints) {
        points.append(point.encode());
    }
    map.insert(kPlotPoints, points);
    map.insert(kFirstCurrencyCode, firstCurrencyCode);
    map.insert(kLastCurrencyCode, lastCurrencyCode);
    map.insert(kChartPeriod, chartPeriod);
    return map;
}

CCurrencyChartInfo CCurrencyChartInfo::decode(const QCborMap& map) {
    CCurrencyChartInfo info;
    info.minCurrencyValue = ChartArchive::decodeDecimal(map, kMinCurrencyValue);
    info.maxCurrencyValue = ChartArchive::decodeDecimal(map, kMaxCurrencyValue);
    info.minDate = ChartArchive::decodeDate(map, kMinDate);
    info.maxDate = ChartArchive::decodeDate(map, kMaxDate);
    const QCborArray points = map.value(kPlotPoints).toArray();
    info.plotPoints.reserve(points.size());
    for (const QCborValue& point : points) {
        if (point.isMap()) {
            info.plotPoints.append(CCurrencyChartPoint::decode(point.toMap()));
        }
    }
    info.firstCurrencyCode = map.value(kFirstCurrencyCode).toString();
    info.lastCurrencyCode = map.value(kLastCurrencyCode).toString();
    // We store an integer; a stored double would not convert safely (it may be out of range).
    const QCborValue periodValue = map.value(kChartPeriod);
    const qint64 period = periodValue.isInteger() ? periodValue.toInteger() : 0;
    info.chartPeriod = period >= INT32_MIN && period <= INT32_MAX ? static_cast<qint32>(period) : 0;
    return info;
}

QByteArray CCurrencyChartInfo::toArchiveData() const {
    return QCborValue(encode()).toCbor();
}

std::optional<CCurrencyChartInfo> CCurrencyChartInfo::fromArchiveData(const QByteArray& data) {
    QCborParserError error;
    const QCborValue value = QCborValue::fromCbor(data, &error);
    if (error.error != QCborError::NoError || !value.isMap()) {
        return std::nullopt;
    }
    return decode(value.toMap());
}

bool CCurrencyChartInfo::operator==(const CCurrencyChartInfo& other) const {
    return sameDecimal(minCurrencyValue, other.minCurrencyValue) &&
           sameDecimal(maxCurrencyValue, other.maxCurrencyValue) && minDate == other.minDate &&
           maxDate == other.maxDate && plotPoints == other.plotPoints &&
           chartPeriod == other.chartPeriod && firstCurrencyCode == other.firstCurrencyCode &&
           lastCurrencyCode == other.lastCurrencyCode;
}
