#include "ChartProviderSupport.h"

#include "CChartPeriod.h"

#include <QSet>
#include <QUrl>

#include <algorithm>
#include <cstdint>
#include <limits>

namespace ChartProviderSupport {

namespace {

char16_t unit(QChar c) {
    return c.unicode();
}

char16_t unit(char c) {
    return static_cast<unsigned char>(c);
}

/// Reads `count` digits at `at`; -1 when any of them is not a digit.
template <class Text>
int digitsAt(const Text& text, qsizetype at, int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const char16_t c = unit(text[at + i]);
        if (c < u'0' || c > u'9') {
            return -1;
        }
        value = value * 10 + static_cast<int>(c - u'0');
    }
    return value;
}

/// The Julian day of a calendar day, or noDay for one that does not exist (such as 2012-02-30).
/// Checked and counted here rather than by QDate: a whole history is tens of thousands of days,
/// and the calendar's general routines cost more than the rest of reading a point.
inline qint64 julianDayOf(int year, int month, int day) {
    static constexpr int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year <= 0 || month < 1 || month > 12 || day < 1) {
        return noDay;
    }
    // The leap year rule is only asked about 29 February.
    if (day > monthDays[month - 1] &&
        !(month == 2 && day == 29 && (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)))) {
        return noDay;
    }
    // The Julian day number of a Gregorian date (Fliegel and Van Flandern).
    const qint64 a = (14 - month) / 12;
    const qint64 y = year + 4800 - a;
    const qint64 m = month + 12 * a - 3;
    return day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 - 32045;
}

/// The Julian day of the day written in `raw`, or noDay.
template <class Text>
qint64 readJulianDay(const Text& raw, DayLayout layout) {
    qsizetype begin = 0;
    qsizetype end = static_cast<qsizetype>(raw.size());
    auto isSpace = [](auto c) {
        const char16_t u = unit(c);
        return u == u' ' || u == u'\t' || u == u'\r' || u == u'\n';
    };
    while (begin < end && isSpace(raw[begin])) {
        ++begin;
    }
    while (end > begin && isSpace(raw[end - 1])) {
        --end;
    }
    int year = -1;
    int month = -1;
    int day = -1;
    switch (layout) {
        case DayLayout::YearMonthDay:
            if (end - begin != 8) {
                return noDay;
            }
            year = digitsAt(raw, begin, 4);
            month = digitsAt(raw, begin + 4, 2);
            day = digitsAt(raw, begin + 6, 2);
            break;
        case DayLayout::IsoDate:
            if (end - begin != 10 || unit(raw[begin + 4]) != u'-' || unit(raw[begin + 7]) != u'-') {
                return noDay;
            }
            year = digitsAt(raw, begin, 4);
            month = digitsAt(raw, begin + 5, 2);
            day = digitsAt(raw, begin + 8, 2);
            break;
        case DayLayout::DayDotMonthYear:
            if (end - begin != 10 || unit(raw[begin + 2]) != u'.' || unit(raw[begin + 5]) != u'.') {
                return noDay;
            }
            day = digitsAt(raw, begin, 2);
            month = digitsAt(raw, begin + 3, 2);
            year = digitsAt(raw, begin + 6, 4);
            break;
    }
    return julianDayOf(year, month, day);
}

/// The day written in `raw`, or an invalid date.
template <class Text>
QDate readDay(const Text& raw, DayLayout layout) {
    const qint64 julianDay = readJulianDay(raw, layout);
    return julianDay == noDay ? QDate() : QDate::fromJulianDay(julianDay);
}

/// The quotient of two series whose dates are already paired by position.
CCurrencyChartPointList divided(CCurrencyChartPointList numerators,
                                CCurrencyChartPointList divisors) {
    keepCommonDates(numerators, divisors);
    return CCurrencyChartInfo::divideValuesFromList(numerators, divisors);
}

}  // namespace

bool notCancelled() {
    return false;
}

std::optional<QDate> dayFromText(QStringView text, DayLayout layout) {
    const QDate day = readDay(text, layout);
    return day.isValid() ? std::optional<QDate>(day) : std::nullopt;
}

std::optional<QDate> dayFromText(std::string_view text, DayLayout layout) {
    const QDate day = readDay(text, layout);
    return day.isValid() ? std::optional<QDate>(day) : std::nullopt;
}

QDate calendarDay(std::string_view text, DayLayout layout) {
    return readDay(text, layout);
}

qint64 julianDayFromText(std::string_view text, DayLayout layout) {
    // The usual forms without white space around them, read in one step.
    if (layout == DayLayout::YearMonthDay && text.size() == 8) {
        return julianDayOf(plainDigits(text, 0, 4), plainDigits(text, 4, 2),
                           plainDigits(text, 6, 2));
    }
    if (layout == DayLayout::IsoDate && text.size() == 10) {
        if (text[4] != '-' || text[7] != '-') {
            return noDay;
        }
        return julianDayOf(plainDigits(text, 0, 4), plainDigits(text, 5, 2),
                           plainDigits(text, 8, 2));
    }
    return readJulianDay(text, layout);
}

bool IsoDayReader::readMonth(std::string_view text, std::uint64_t month) {
    if (!basic_ && (text[4] != '-' || text[7] != '-')) {
        return false;
    }
    static constexpr unsigned monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int year = plainDigits(text, 0, 4);
    const int monthNumber = plainDigits(text, basic_ ? 4 : 5, 2);
    // The first of a month exists whenever the year and the month do.
    const qint64 first = julianDayOf(year, monthNumber, 1);
    if (first == noDay) {
        return false;
    }
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    month_ = month;
    dayZero_ = first - 1;
    monthLength_ = monthDays[monthNumber - 1] + (monthNumber == 2 && leap ? 1 : 0);
    return true;
}

QDateTime instantFromUnixSeconds(qint64 seconds) {
    // Years 1..9999: beyond them QDateTime arithmetic overflows or the date cannot be shown.
    static const qint64 earliest =
        QDateTime(QDate(1, 1, 1), QTime(0, 0), QTimeZone::utc()).toSecsSinceEpoch();
    static const qint64 latest =
        QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), QTimeZone::utc()).toSecsSinceEpoch();
    if (seconds < earliest || seconds > latest) {
        return {};
    }
    return QDateTime::fromSecsSinceEpoch(seconds, Qt::UTC);
}

DayStarts::DayStarts(const QTimeZone& zone)
    : zone_(zone.isValid() ? zone : QTimeZone::utc()),
      // Without a transition table the offset at one date says nothing about the next one.
      canCache_(zone_.hasTransitions() || !zone_.hasDaylightTime()) {}

QDateTime DayStarts::at(const QDate& day) {
    if (!day.isValid()) {
        return {};
    }
    const qint64 localSeconds = (day.toJulianDay() - unixEpochJulianDay) * secondsPerDay;
    if (haveSpan_) {
        // Inside the span the zone's offset is offset_, so this instant shows local midnight.
        qint64 utcSeconds = localSeconds - offset_;
        if ((utcSeconds >= spanStart_ && utcSeconds < spanEnd_) ||
            stepSpan(localSeconds, utcSeconds)) {
            // Qt::UTC keeps the instant inside the QDateTime; a zone object would be allocated
            // for every point.
            return QDateTime::fromSecsSinceEpoch(utcSeconds, Qt::UTC);
        }
    }
    const QDateTime start(day, QTime(0, 0), zone_);
    if (!start.isValid()) {
        return {};
    }
    const QDateTime result = start.toUTC();
    if (!canCache_) {
        return result;
    }
    offset_ = zone_.offsetFromUtc(result);
    spanStart_ = std::numeric_limits<qint64>::min();
    spanEnd_ = std::numeric_limits<qint64>::max();
    if (zone_.hasTransitions()) {
        findSpan(result.toSecsSinceEpoch());
    }
    haveSpan_ = true;
    return result;
}

qint64 DayStarts::spanBegin(qsizetype index) const {
    return index < 0 ? cacheFrom_ : transitionAt_[static_cast<size_t>(index)];
}

qint64 DayStarts::spanFinish(qsizetype index) const {
    const auto next = static_cast<size_t>(index + 1);
    return next < transitionAt_.size() ? transitionAt_[next] : cacheTo_;
}

void DayStarts::findSpan(qint64 utcSeconds) {
    if (!haveTransitions_ || utcSeconds < cacheFrom_ || utcSeconds >= cacheTo_) {
        // About twenty years ahead (a chart's points come in date order) and one behind.
        cacheFrom_ = utcSeconds - 400 * secondsPerDay;
        cacheTo_ = utcSeconds + 7305 * secondsPerDay;
        const QDateTime from = QDateTime::fromSecsSinceEpoch(cacheFrom_, Qt::UTC);
        offsetBefore_ = zone_.offsetFromUtc(from);
        transitionAt_.clear();
        offsetAfter_.clear();
        const QTimeZone::OffsetDataList transitions =
            zone_.transitions(from, QDateTime::fromSecsSinceEpoch(cacheTo_, Qt::UTC));
        for (const QTimeZone::OffsetData& transition : transitions) {
            const qint64 at = transition.atUtc.toSecsSinceEpoch();
            if (transition.atUtc.isValid() && at > cacheFrom_ && at < cacheTo_ &&
                (transitionAt_.empty() || at > transitionAt_.back())) {
                transitionAt_.push_back(at);
                offsetAfter_.push_back(transition.offsetFromUtc);
            }
        }
        haveTransitions_ = true;
    }
    spanIndex_ = static_cast<qsizetype>(
                     std::upper_bound(transitionAt_.begin(), transitionAt_.end(), utcSeconds) -
                     transitionAt_.begin()) -
                 1;
    spanStart_ = spanBegin(spanIndex_);
    spanEnd_ = spanFinish(spanIndex_);
}

bool DayStarts::stepSpan(qint64 localSeconds, qint64& utcSeconds) {
    if (!haveTransitions_) {
        return false;
    }
    const auto last = static_cast<qsizetype>(transitionAt_.size()) - 1;
    const auto offsetOf = [this](qsizetype index) {
        return index < 0 ? offsetBefore_ : offsetAfter_[static_cast<size_t>(index)];
    };
    const auto shows = [&](qsizetype index) {
        if (index < -1 || index > last) {
            return false;
        }
        const qint64 utc = localSeconds - offsetOf(index);
        return utc >= spanBegin(index) && utc < spanFinish(index);
    };
    for (const qsizetype index : {spanIndex_ + 1, spanIndex_ - 1}) {
        // A midnight that two spans show (clocks set back over it) is left to the zone.
        if (shows(index) && !shows(index - 1) && !shows(index + 1)) {
            spanIndex_ = index;
            offset_ = offsetOf(index);
            spanStart_ = spanBegin(index);
            spanEnd_ = spanFinish(index);
            utcSeconds = localSeconds - offset_;
            return true;
        }
    }
    return false;
}

bool DayStarts::msecsAtSlowly(qint64 julianDay, qint64& msecs) {
    const QDateTime start = at(QDate::fromJulianDay(julianDay));
    if (!start.isValid()) {
        return false;
    }
    msecs = start.toMSecsSinceEpoch();
    return true;
}

bool isUsablePoint(const CCurrencyChartPoint& point) {
    return point.date.isValid() && !point.value.isNaN() && point.value > Decimal();
}

void removeUnusablePoints(CCurrencyChartPointList& points) {
    points.removeIf([](const CCurrencyChartPoint& point) { return !isUsablePoint(point); });
}

QString urlSafeCode(const QString& code) {
    return QString::fromLatin1(QUrl::toPercentEncoding(code));
}

CCurrencyChartPointList cutToPeriod(const CCurrencyChartPointList& points, int period,
                                    const QTimeZone& zone) {
    if (period == ChartPeriodOverall || points.isEmpty()) {
        return points;
    }
    const QDateTime start =
        CCurrencyChartInfo::getStartDateForPeriod(period, points.last().date, zone);
    if (!start.isValid() || start == points.last().date) {
        // A period without a length (one day, an unknown value) keeps the series.
        return points;
    }
    for (qsizetype i = 0; i < points.size(); ++i) {
        if (points[i].date.isValid() && points[i].date >= start) {
            return points.mid(i);
        }
    }
    return points;
}

void keepCommonDates(CCurrencyChartPointList& a, CCurrencyChartPointList& b) {
    QSet<qint64> datesOfA;
    datesOfA.reserve(a.size());
    for (const CCurrencyChartPoint& point : a) {
        datesOfA.insert(point.date.toMSecsSinceEpoch());
    }
    QSet<qint64> common;
    common.reserve(b.size());
    for (const CCurrencyChartPoint& point : b) {
        const qint64 date = point.date.toMSecsSinceEpoch();
        if (datesOfA.contains(date)) {
            common.insert(date);
        }
    }
    auto notCommon = [&common](const CCurrencyChartPoint& point) {
        return !common.contains(point.date.toMSecsSinceEpoch());
    };
    a.removeIf(notCommon);
    b.removeIf(notCommon);
}

std::optional<CCurrencyChartInfo> combineSeries(SeriesCombinationInput input,
                                                const CancelCheck& isCancelled) {
    removeUnusablePoints(input.series);
    removeUnusablePoints(input.divisor);
    if (input.cutToPeriod) {
        input.series = cutToPeriod(input.series, input.chartPeriod, input.timeZone);
        if (isCancelled()) {
            return std::nullopt;
        }
        input.divisor = cutToPeriod(input.divisor, input.chartPeriod, input.timeZone);
        if (isCancelled()) {
            return std::nullopt;
        }
    }
    CCurrencyChartPointList points;
    switch (input.combination) {
        case SeriesCombination::AsDelivered:
            points = std::move(input.series);
            break;
        case SeriesCombination::Inverted:
            points = std::move(input.series);
            CCurrencyChartInfo::invertValuesInPointList(points);
            break;
        case SeriesCombination::CrossRate:
            points = divided(std::move(input.series), std::move(input.divisor));
            break;
    }
    removeUnusablePoints(points);
    if (isCancelled()) {
        return std::nullopt;
    }
    CCurrencyChartInfo record;
    record.chartPeriod = input.chartPeriod;
    record.firstCurrencyCode = input.firstCurrencyCode;
    record.lastCurrencyCode = input.lastCurrencyCode;
    if (!finishRecord(record, std::move(points), isCancelled)) {
        return std::nullopt;
    }
    return record;
}

Extremes::Extremes()
    : earliest_(CCurrencyChartInfo::distantFuture().toMSecsSinceEpoch()),
      latest_(CCurrencyChartInfo::distantPast().toMSecsSinceEpoch()),
      lowest_(CCurrencyChartInfo::largestValue()),
      lowestNumber_(lowest_.toDouble()) {}

void Extremes::add(const CCurrencyChartPoint& point, qsizetype index) {
    if (point.date.isValid()) {
        addDate(point.date.toMSecsSinceEpoch(), index);
    }
    // Every comparison with NaN is false, so NaN values never win.
    if (point.value > highest_) {
        highest_ = point.value;
        highestNumber_ = highest_.toDouble();
    }
    if (point.value < lowest_) {
        lowest_ = point.value;
        lowestNumber_ = lowest_.toDouble();
    }
}

void Extremes::apply(CCurrencyChartInfo& record) const {
    const CCurrencyChartPointList& points = record.plotPoints;
    record.minDate =
        earliestIndex_ < 0 ? CCurrencyChartInfo::distantFuture() : points[earliestIndex_].date;
    record.maxDate =
        latestIndex_ < 0 ? CCurrencyChartInfo::distantPast() : points[latestIndex_].date;
    record.minCurrencyValue = lowest_;
    record.maxCurrencyValue = highest_;
}

bool finishRecord(CCurrencyChartInfo& record, CCurrencyChartPointList points,
                  const CancelCheck& isCancelled) {
    if (isCancelled()) {
        return false;
    }
    record.plotPoints = std::move(points);
    Extremes extremes;
    for (qsizetype i = 0; i < record.plotPoints.size(); ++i) {
        extremes.add(record.plotPoints[i], i);
    }
    if (isCancelled()) {
        return false;
    }
    extremes.apply(record);
    return true;
}

}  // namespace ChartProviderSupport
