#pragma once

#include "Decimal.h"

#include <QCborMap>
#include <QDateTime>

/// One sample of a chart series: the rate of the pair at one instant (so many units of the
/// pair's first currency per one unit of its last currency).
class CCurrencyChartPoint {
public:
    CCurrencyChartPoint() = default;
    CCurrencyChartPoint(Decimal value, QDateTime date);
    /// At the instant `utcMSecs` milliseconds after 1970-01-01 UTC: long series are built in
    /// place, without a date made and moved for each point.
    CCurrencyChartPoint(const Decimal& value, qint64 utcMSecs)
        : value(value), date(QDateTime::fromMSecsSinceEpoch(utcMSecs, Qt::UTC)) {}

    /// NaN until set.
    Decimal value = Decimal::nan();
    /// An absolute instant; invalid until set.
    QDateTime date;

    /// The keyed-archive form: "value" (the exact decimal text) and "date" (to the millisecond).
    QCborMap encode() const;
    /// Reads the keys `encode` writes; a missing or unreadable key leaves its field unset.
    static CCurrencyChartPoint decode(const QCborMap& map);

    /// Same instant and numerically equal values (NaN equals NaN here, so records compare).
    bool operator==(const CCurrencyChartPoint& other) const;
    bool operator!=(const CCurrencyChartPoint& other) const { return !(*this == other); }
};

// A decimal's bits and a QDateTime move in memory as they are: long lists grow and shrink
// without running constructors.
Q_DECLARE_TYPEINFO(CCurrencyChartPoint, Q_RELOCATABLE_TYPE);
