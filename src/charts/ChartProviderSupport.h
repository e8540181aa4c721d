#pragma once

#include "CCurrencyChartInfo.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QTimeZone>

#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

/// Rules the four chart clients share: reading dates and numbers from answers, cleaning and
/// combining series, and building the final record with cancellation checks between the steps.
namespace ChartProviderSupport {

/// Asked between the steps of a parse or combine; true stops the work (nothing is delivered).
using CancelCheck = std::function<bool()>;

/// Never cancelled.
bool notCancelled();

/// The day layouts the services write.
enum class DayLayout {
    YearMonthDay,     // "yyyyMMdd"
    IsoDate,          // "yyyy-MM-dd"
    DayDotMonthYear,  // "dd.MM.yyyy"
};

/// The calendar day written in `layout` (surrounding white space allowed); nothing for any other
/// text, including impossible days such as 20120230.
std::optional<QDate> dayFromText(QStringView text, DayLayout layout);
std::optional<QDate> dayFromText(std::string_view text, DayLayout layout);
/// The value of `count` ASCII digits at `at`, or -1 when one of them is not a digit; without a
/// branch per digit.
inline int plainDigits(std::string_view text, size_t at, size_t count) {
    int value = 0;
    unsigned bad = 0;
    for (size_t i = 0; i < count; ++i) {
        const unsigned digit = static_cast<unsigned char>(text[at + i]) - unsigned('0');
        bad |= digit > 9 ? 1U : 0U;
        value = value * 10 + static_cast<int>(digit);
    }
    return bad != 0 ? -1 : value;
}

/// The same, with an invalid date for a text that is not a day (cheaper in long loops).
QDate calendarDay(std::string_view text, DayLayout layout);
/// The Julian day of the same day, or `noDay`: long series go from text to instant without a
/// QDate in between.
constexpr qint64 noDay = std::numeric_limits<qint64>::min();
qint64 julianDayFromText(std::string_view text, DayLayout layout);

/// Julian days of exact ISO 8601 day texts (nothing around them) read one after another, as a
/// chart's rows give them: "yyyy-MM-dd" (DayLayout::IsoDate) or the basic "yyyyMMdd"
/// (DayLayout::YearMonthDay). The year and month are checked and counted once for each run of
/// days in the same month, and each day then costs two digits. The same days as
/// julianDayFromText(text, layout) gives for such a text, and noDay for any other.
class IsoDayReader {
public:
    explicit IsoDayReader(DayLayout layout = DayLayout::IsoDate)
        : basic_(layout == DayLayout::YearMonthDay) {}

    qint64 julianDay(std::string_view text) {
        const std::size_t monthChars = basic_ ? 6 : 8;
        if (text.size() != monthChars + 2) {
            return noDay;
        }
        std::uint64_t month = 0;
        std::memcpy(&month, text.data(), monthChars);
        if (month != month_ && !readMonth(text, month)) {
            return noDay;
        }
        const unsigned tens = static_cast<unsigned char>(text[monthChars]) - unsigned('0');
        const unsigned ones = static_cast<unsigned char>(text[monthChars + 1]) - unsigned('0');
        const unsigned day = tens * 10 + ones;
        if (tens > 9 || ones > 9 || day < 1 || day > monthLength_) {
            return noDay;
        }
        return dayZero_ + day;
    }

private:
    /// Takes the year and month of `text`, whose first characters are `month`; false (and no
    /// month kept) when they are not "yyyy-MM-" (or "yyyyMM") of a real month.
    bool readMonth(std::string_view text, std::uint64_t month);

    bool basic_;
    std::uint64_t month_ = 0;   // the first characters of the month's days
    qint64 dayZero_ = 0;        // the Julian day before the month's first
    unsigned monthLength_ = 0;  // no day matches before a month is read
};

/// A plain decimal token as services write rates ("1.2345", "133", "0.00781"): up to 18 digits
/// with at most one point, read into the same decimal the general
/// readers give, and its nearest double. False for anything else (signs, exponents, white
/// space, longer numbers): the caller then uses the general reader.
inline bool readPlainDecimal(std::string_view token, Decimal& value, double& number) {
    const size_t size = token.size();
    // Whole digits, then fraction digits: two tight loops rather than one with a branch for
    // the point in every step.
    std::uint64_t coefficient = 0;
    size_t i = 0;
    for (; i < size && static_cast<unsigned char>(token[i] - '0') <= 9; ++i) {
        coefficient = coefficient * 10 + static_cast<std::uint64_t>(token[i] - '0');
    }
    size_t digits = i;
    int exponent = 0;
    if (i < size && token[i] == '.') {
        const size_t fraction = ++i;
        for (; i < size && static_cast<unsigned char>(token[i] - '0') <= 9; ++i) {
            coefficient = coefficient * 10 + static_cast<std::uint64_t>(token[i] - '0');
        }
        digits += i - fraction;
        exponent = -static_cast<int>(i - fraction);
    }
    // Up to 18 digits (leading zeros included) fit in 64 bits; longer numbers, and anything
    // else, are the general reader's.
    if (i != size || digits == 0 || digits > 18) {
        return false;
    }
    value = Decimal::fromParts(false, coefficient, exponent);
    // A coefficient and a power of ten that are both exact doubles give the correctly rounded
    // quotient in one division.
    static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                        1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                        1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (coefficient <= (1ULL << 53) && exponent >= -22) {
        number = static_cast<double>(coefficient) / powers[-exponent];
    } else {
        number = value.toDouble();
    }
    return true;
}

/// An instant from seconds since 1970-01-01 UTC; invalid outside the years QDateTime can hold
/// as dates the charts can show (1..9999).
QDateTime instantFromUnixSeconds(qint64 seconds);

/// The starts of calendar days in one time zone. Long runs of dates (a century of daily points)
/// are converted without asking the zone for each date: its offset is looked up again only when
/// a date leaves the span between two of the zone's transitions.
class DayStarts {
public:
    explicit DayStarts(const QTimeZone& zone);

    /// Midnight of `day` in the zone (the first valid time of the day when midnight is skipped by
    /// a clock change); invalid for an invalid day.
    QDateTime at(const QDate& day);
    /// The same instant as milliseconds since 1970 UTC, for the Julian day of a day in years
    /// 1..9999; false when the zone cannot show it. Inside a known span this is plain arithmetic.
    bool msecsAt(qint64 julianDay, qint64& msecs) {
        if (haveSpan_) {
            const qint64 utcSeconds = (julianDay - unixEpochJulianDay) * secondsPerDay - offset_;
            if (utcSeconds >= spanStart_ && utcSeconds < spanEnd_) {
                msecs = utcSeconds * 1000;
                return true;
            }
        }
        return msecsAtSlowly(julianDay, msecs);
    }

private:
    static constexpr qint64 unixEpochJulianDay = 2440588;  // 1970-01-01
    static constexpr qint64 secondsPerDay = 24 * 60 * 60;

    bool msecsAtSlowly(qint64 julianDay, qint64& msecs);
    /// Moves the span to the one before or after it when local midnight `localSeconds` falls
    /// there and in no span next to that one; from the cached transitions, without asking the
    /// zone.
    bool stepSpan(qint64 localSeconds, qint64& utcSeconds);
    /// Sets the span around `utcSeconds` (offset_ already set) from the cached transitions,
    /// loading them first when `utcSeconds` is outside the cached years.
    void findSpan(qint64 utcSeconds);
    qint64 spanBegin(qsizetype index) const;
    qint64 spanFinish(qsizetype index) const;

    QTimeZone zone_;
    bool canCache_ = false;
    bool haveSpan_ = false;
    qint64 spanStart_ = 0;  // UTC seconds, inclusive
    qint64 spanEnd_ = 0;    // UTC seconds, exclusive
    int offset_ = 0;        // seconds east of UTC inside the span
    // The zone's transitions over some years (UTC seconds, and the offset after each): a whole
    // history crosses a transition twice a year, and asking the zone each time costs more than
    // the rest of its points.
    bool haveTransitions_ = false;
    qint64 cacheFrom_ = 0;
    qint64 cacheTo_ = 0;
    int offsetBefore_ = 0;  // the offset at cacheFrom_
    std::vector<qint64> transitionAt_;
    std::vector<int> offsetAfter_;
    qsizetype spanIndex_ = -1;  // the transition that starts the span; -1 for cacheFrom_
};

/// True for a point a chart can show: a valid date and a value greater than zero.
bool isUsablePoint(const CCurrencyChartPoint& point);
/// Removes every point that is not usable, keeping the order.
void removeUnusablePoints(CCurrencyChartPointList& points);

/// A currency code made safe to place in a URL path or query.
QString urlSafeCode(const QString& code);

/// How a record's points are made from the one or two series fetched for it.
enum class SeriesCombination {
    /// The series as delivered.
    AsDelivered,
    /// The reciprocal of every value.
    Inverted,
    /// Numerator series divided by divisor series, day by day.
    CrossRate,
};

/// Everything the combine step needs, copied so that it can run off the main thread.
struct SeriesCombinationInput {
    SeriesCombination combination = SeriesCombination::AsDelivered;
    /// The one series (as delivered or inverted), or the numerator of a cross rate.
    CCurrencyChartPointList series;
    /// The divisor of a cross rate.
    CCurrencyChartPointList divisor;
    /// Cut both series to `chartPeriod` before combining (for services that always send the
    /// whole history).
    bool cutToPeriod = false;
    qint32 chartPeriod = 0;
    /// The codes the record is labelled with.
    QString firstCurrencyCode;
    QString lastCurrencyCode;
    QTimeZone timeZone = QTimeZone::systemTimeZone();
};

/// The points of `points` from the period's start on: the start is counted back from the last
/// point's date, and the cut keeps every point dated at or after it, so a start that falls on a
/// day without a quote (a weekend, a holiday) still cuts. ChartPeriodOverall and periods without
/// a length keep everything.
CCurrencyChartPointList cutToPeriod(const CCurrencyChartPointList& points, int period,
                                    const QTimeZone& zone);

/// The two series reduced to the dates they have in common, each in its own order, so that
/// pairing them by position pairs equal dates.
void keepCommonDates(CCurrencyChartPointList& a, CCurrencyChartPointList& b);

/// Combines the series into a record (unusable points and undefined quotients left out);
/// nothing when cancelled between the steps.
std::optional<CCurrencyChartInfo> combineSeries(SeriesCombinationInput input,
                                                const CancelCheck& isCancelled);

/// The four extremes of a point list as CCurrencyChartInfo's list operations find them (strict
/// comparisons from the same start values, so ties keep the first point), gathered point by
/// point while the list is made, so a long series is not walked again.
class Extremes {
public:
    Extremes();
    /// `point` is the list's point at `index`.
    void add(const CCurrencyChartPoint& point, qsizetype index);
    /// The same for a point with a valid date at `msecs` (since 1970 UTC) and `value`, whose
    /// nearest double is `number`: values are compared as doubles first, and as decimals only
    /// when the doubles are equal (rounding to the nearest double keeps the order).
    void add(qint64 msecs, const Decimal& value, double number, qsizetype index) {
        addDate(msecs, index);
        if (number > highestNumber_ || (number == highestNumber_ && value > highest_)) {
            highest_ = value;
            highestNumber_ = number;
        }
        if (number < lowestNumber_ || (number == lowestNumber_ && value < lowest_)) {
            lowest_ = value;
            lowestNumber_ = number;
        }
    }
    /// Sets the record's extremes from its `plotPoints`, the list the indices refer to.
    void apply(CCurrencyChartInfo& record) const;

private:
    void addDate(qint64 msecs, qsizetype index) {
        if (msecs > latest_) {
            latest_ = msecs;
            latestIndex_ = index;
        }
        if (msecs < earliest_) {
            earliest_ = msecs;
            earliestIndex_ = index;
        }
    }

    qint64 earliest_;
    qint64 latest_;
    qsizetype earliestIndex_ = -1;
    qsizetype latestIndex_ = -1;
    Decimal lowest_;
    Decimal highest_;
    double lowestNumber_;
    double highestNumber_ = 0;
};

/// Sets the points and the extremes of `record`, testing for cancellation before the dates and
/// before the values; false when cancelled (the record is then unfinished).
bool finishRecord(CCurrencyChartInfo& record, CCurrencyChartPointList points,
                  const CancelCheck& isCancelled);

}  // namespace ChartProviderSupport
