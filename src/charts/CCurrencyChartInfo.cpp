#include "CCurrencyChartInfo.h"

#include "CChartPeriod.h"
#include "ChartArchive.h"
#include "ChartProviderSupport.h"

#include <QCborArray>
#include <QCborParserError>
#include <QCborStreamReader>
#include <QCborValue>

#include <algorithm>
#include <bitset>
#include <string>
#include <string_view>

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

// Reading an archive in one pass -----------------------------------------------------------------
// The tree of a whole-history record (some 14,000 nodes, each date parsed by the general ISO
// reader) took about 65 ms on the main thread when the chart screen opened. The stream reader
// below takes the shape the archive is written in; anything else (another shape, a repeated key,
// a date in another form, bytes after the record) makes it give up, and the tree reads the
// archive instead, so both read every archive alike.

/// A reader that knows how many bytes the archive has.
struct ArchiveReader : QCborStreamReader {
    explicit ArchiveReader(const QByteArray& data) : QCborStreamReader(data), size(data.size()) {}
    qsizetype size;
};

/// The current text string's UTF-8 bytes into `out`; false for another item or a broken one.
/// A chunk is taken only when the archive holds its bytes: its header may claim gigabytes.
bool readText(ArchiveReader& reader, std::string& out) {
    out.clear();
    if (!reader.isString()) {
        return false;
    }
    for (;;) {
        const qsizetype size = reader.currentStringChunkSize();
        if (size < 0 || size > reader.size - reader.currentOffset()) {
            return false;
        }
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(size));
        const auto result = reader.readStringChunk(out.data() + at, size);
        if (result.status == QCborStreamReader::EndOfString) {
            return true;
        }
        if (result.status != QCborStreamReader::Ok) {
            return false;
        }
    }
}

/// A decimal archived as its text; another item reads as NaN, as in the tree.
bool readDecimal(ArchiveReader& reader, std::string& text, Decimal& value) {
    if (!reader.isString()) {
        value = Decimal::nan();
        return reader.next();
    }
    if (!readText(reader, text)) {
        return false;
    }
    const bool ascii = std::all_of(text.cbegin(), text.cend(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    value = ascii ? Decimal::fromString(std::string_view(text))
                  : Decimal::fromString(QString::fromUtf8(text.data(), qsizetype(text.size())));
    return true;
}

/// An instant as the archive writes it: a date-time tag around "YYYY-MM-DDTHH:MM:SS.zzzZ".
/// False for any other form (the tree reads those).
bool readDate(ArchiveReader& reader, std::string& text, QDateTime& date) {
    if (!reader.isTag() || reader.toTag() != QCborKnownTags::DateTimeString || !reader.next() ||
        !readText(reader, text) || text.size() != 24) {
        return false;
    }
    const std::string_view t(text);
    if (t[10] != 'T' || t[13] != ':' || t[16] != ':' || t[19] != '.' || t[23] != 'Z') {
        return false;
    }
    using namespace ChartProviderSupport;
    const qint64 day = julianDayFromText(t.substr(0, 10), DayLayout::IsoDate);
    const QTime time(plainDigits(t, 11, 2), plainDigits(t, 14, 2), plainDigits(t, 17, 2),
                     plainDigits(t, 20, 3));
    if (day == noDay || !time.isValid()) {
        return false;
    }
    date = QDateTime(QDate::fromJulianDay(day), time, Qt::UTC);
    return true;
}

/// One plot point's map; false when the tree must read the archive.
bool readPoint(ArchiveReader& reader, std::string& key, std::string& text,
               CCurrencyChartPoint& point) {
    if (!reader.enterContainer()) {
        return false;
    }
    std::bitset<2> seen;
    while (reader.hasNext()) {
        if (!readText(reader, key)) {
            return false;
        }
        if (key == "value") {
            if (seen[0] || !readDecimal(reader, text, point.value)) {
                return false;
            }
            seen[0] = true;
        } else if (key == "date") {
            if (seen[1] || !readDate(reader, text, point.date)) {
                return false;
            }
            seen[1] = true;
        } else if (!reader.next()) {
            return false;
        }
    }
    if (!seen[0]) {
        point.value = Decimal::nan();
    }
    return reader.leaveContainer();
}

/// The record from the archive's bytes in one pass, or nothing when the tree must read them.
std::optional<CCurrencyChartInfo> streamDecode(const QByteArray& data) {
    ArchiveReader reader(data);
    if (!reader.isMap() || !reader.enterContainer()) {
        return std::nullopt;
    }
    CCurrencyChartInfo info;
    info.minCurrencyValue = Decimal::nan();
    info.maxCurrencyValue = Decimal::nan();
    std::bitset<8> seen;
    std::string key;
    std::string text;
    const QByteArray names[] = {kMinCurrencyValue.toUtf8(), kMaxCurrencyValue.toUtf8(),
                                kMinDate.toUtf8(),          kMaxDate.toUtf8(),
                                kPlotPoints.toUtf8(),       kFirstCurrencyCode.toUtf8(),
                                kLastCurrencyCode.toUtf8(), kChartPeriod.toUtf8()};
    while (reader.hasNext()) {
        if (!readText(reader, key)) {
            return std::nullopt;
        }
        const auto found = std::find(std::cbegin(names), std::cend(names),
                                     QByteArrayView(key.data(), qsizetype(key.size())));
        if (found == std::cend(names)) {
            if (!reader.next()) {
                return std::nullopt;
            }
            continue;
        }
        const auto index = static_cast<std::size_t>(found - std::cbegin(names));
        if (seen[index]) {
            return std::nullopt;
        }
        seen[index] = true;
        bool ok = true;
        switch (index) {
            case 0:
                ok = readDecimal(reader, text, info.minCurrencyValue);
                break;
            case 1:
                ok = readDecimal(reader, text, info.maxCurrencyValue);
                break;
            case 2:
                ok = readDate(reader, text, info.minDate);
                break;
            case 3:
                ok = readDate(reader, text, info.maxDate);
                break;
            case 4:
                // Each point takes at least a byte: a count beyond the archive's bytes is a lie.
                if (reader.isArray() && reader.isLengthKnown()) {
                    info.plotPoints.reserve(qsizetype(std::min<quint64>(
                        reader.length(), quint64(reader.size - reader.currentOffset()))));
                }
                ok = reader.isArray() && reader.enterContainer();
                while (ok && reader.hasNext()) {
                    if (reader.isMap()) {
                        CCurrencyChartPoint point;
                        ok = readPoint(reader, key, text, point);
                        info.plotPoints.append(point);
                    } else {
                        ok = reader.next();  // the tree leaves out what is not a point
                    }
                }
                ok = ok && reader.leaveContainer();
                break;
            case 5:
            case 6:
                if (reader.isString()) {
                    ok = readText(reader, text);
                    (index == 5 ? info.firstCurrencyCode : info.lastCurrencyCode) =
                        QString::fromUtf8(text.data(), qsizetype(text.size()));
                } else {
                    ok = reader.next();
                }
                break;
            default:
                if (reader.isUnsignedInteger() && reader.toUnsignedInteger() <= INT32_MAX) {
                    info.chartPeriod = static_cast<qint32>(reader.toUnsignedInteger());
                    ok = reader.next();
                } else {
                    ok = false;  // a negative or larger number, or another item
                }
                break;
        }
        if (!ok) {
            return std::nullopt;
        }
    }
    if (!reader.leaveContainer() || reader.lastError() != QCborError::NoError ||
        reader.currentOffset() != data.size()) {
        return std::nullopt;
    }
    return info;
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
    if (std::optional<CCurrencyChartInfo> info = streamDecode(data)) {
        return info;
    }
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
