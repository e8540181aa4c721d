#pragma once

#include "CCurrencyChartPoint.h"
#include "Decimal.h"

#include <QByteArray>
#include <QCborMap>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QTimeZone>

#include <optional>

using CCurrencyChartPointList = QList<CCurrencyChartPoint>;

/// The chart record: a currency pair, a period and the rate series with its extremes. Every chart
/// provider produces one and every chart consumer reads one. A record without points is legal
/// and means "no data".
///
/// The class operations are pure list functions that the providers share; they may run on any
/// thread.
class CCurrencyChartInfo {
public:
    /// The lowest and highest point value (NaN until set).
    Decimal minCurrencyValue = Decimal::nan();
    Decimal maxCurrencyValue = Decimal::nan();
    /// The earliest and latest point date (invalid until set).
    QDateTime minDate;
    QDateTime maxDate;
    /// Oldest first, in the order the provider delivered them.
    CCurrencyChartPointList plotPoints;
    /// A CChartPeriod value.
    qint32 chartPeriod = 0;
    QString firstCurrencyCode;
    QString lastCurrencyCode;

    bool hasData() const { return !plotPoints.isEmpty(); }

    /// Fills the four extremes from `plotPoints` with the list operations below; call it once
    /// the point list is final.
    void updateExtremes();

    /// The vertical extent to plot: from just below the lowest value to a fifth above the
    /// highest. A flat series (every value equal, or one point) is widened by 1% of its value
    /// on either side (by 1 around zero), so the extent never collapses. Nothing for a record
    /// without points or without numeric extremes.
    struct ValueRange {
        Decimal location;
        Decimal length;
    };
    std::optional<ValueRange> getValueRange() const;
    /// The horizontal extent to plot: from the earliest date over 103% of the span. A series on
    /// one instant gets one day centred on it. Nothing for a record without points or dates.
    struct DateRange {
        QDateTime location;
        qint64 lengthMSecs = 0;
    };
    std::optional<DateRange> getDateRange() const;

    /// Start values of the extremes, returned unchanged for an empty list.
    static QDateTime distantPast();    // 0001-01-01 00:00:00 UTC
    static QDateTime distantFuture();  // 4001-01-01 00:00:00 UTC
    static Decimal largestValue();     // the largest finite decimal128

    /// The latest (`max` true) or earliest point date; ties keep the first found.
    static QDateTime findDateMax(bool max, const CCurrencyChartPointList& points);
    /// The highest (`max` true, starting from zero) or lowest point value; NaN values are passed
    /// over.
    static Decimal findValueMax(bool max, const CCurrencyChartPointList& points);

    /// Replaces every value by its reciprocal, in place. A point whose reciprocal is undefined
    /// (zero or NaN) is removed rather than left in the series as a value that cannot be drawn.
    static void invertValuesInPointList(CCurrencyChartPointList& points);

    /// Cross rates numerators[i] / divisors[i]. Both lists are first aligned on a common start:
    /// the later of the two first dates, and each list loses the points before its point at
    /// exactly that instant (a list without such a point is used whole). Points are then paired
    /// by position up to the shorter list; each result point takes the numerator's date. A pair
    /// whose quotient is undefined (zero or NaN divisor) gives no point.
    static CCurrencyChartPointList divideValuesFromList(const CCurrencyChartPointList& numerators,
                                                        const CCurrencyChartPointList& divisors);

    /// The tail of the list that covers `period`: from the first point dated exactly at the
    /// period's start (counted back from the last point) to the end. The whole list when no point
    /// carries exactly that instant, for ChartPeriodOverall and for an empty list. Calendar
    /// arithmetic happens in `zone` (the device's time zone by default).
    static CCurrencyChartPointList filterPointList(
        const CCurrencyChartPointList& points, int period,
        const QTimeZone& zone = QTimeZone::systemTimeZone());

    /// `lastDate` moved back by the period's calendar length (1 week ... 10 years, 100 years for
    /// ChartPeriodOverall) as wall-clock time in `zone`: a month back from 31 March is the last
    /// day of February. ChartPeriod1Day and unknown periods give `lastDate` itself.
    static QDateTime getStartDateForPeriod(int period, const QDateTime& lastDate,
                                           const QTimeZone& zone = QTimeZone::systemTimeZone());

    /// The instant shifted by the offset of `zone` from GMT at that instant: printed as GMT it
    /// shows the wall-clock time of `zone`.
    static QDateTime toLocalTime(const QDateTime& date,
                                 const QTimeZone& zone = QTimeZone::systemTimeZone());

    /// The keyed-archive form under "minCurrencyValue", "maxCurrencyValue", "minDate",
    /// "maxDate", "plotPoints", "firstCurrencyCode", "lastCurrencyCode" and "chartPeriod".
    QCborMap encode() const;
    /// Reads the keys `encode` writes; a missing key leaves its field unset (period 0).
    static CCurrencyChartInfo decode(const QCborMap& map);
    /// The archive as bytes (CBOR), and back; nothing for bytes that are not such an archive.
    QByteArray toArchiveData() const;
    static std::optional<CCurrencyChartInfo> fromArchiveData(const QByteArray& data);

    bool operator==(const CCurrencyChartInfo& other) const;
    bool operator!=(const CCurrencyChartInfo& other) const { return !(*this == other); }
};
