#pragma once

#include "CCurrencyChartInfo.h"
#include "TestSupport.h"

#include <QDateTime>
#include <QTimeZone>

#include <initializer_list>
#include <utility>

namespace charttest {

/// An instant in UTC.
inline QDateTime utc(int y, int m, int d, int h = 0, int min = 0, int s = 0) {
    return QDateTime(QDate(y, m, d), QTime(h, min, s), QTimeZone::utc());
}

/// A series of (date, value) points in the order given.
inline CCurrencyChartPointList series(
    std::initializer_list<std::pair<QDateTime, const char*>> points) {
    CCurrencyChartPointList list;
    for (const auto& [date, value] : points) {
        list.append(CCurrencyChartPoint(Decimal::fromString(QString::fromLatin1(value)), date));
    }
    return list;
}

/// A daily series from `first`, one point per day at the same time of day, values 1, 2, 3...
inline CCurrencyChartPointList dailySeries(const QDateTime& first, int days) {
    CCurrencyChartPointList list;
    for (int i = 0; i < days; ++i) {
        list.append(CCurrencyChartPoint(Decimal::fromInt(i + 1), first.addDays(i)));
    }
    return list;
}

/// A fresh data directory (TestSupport.h) and its settings store.
class ScopedChartDataDir : public ScopedDataDir {
public:
    UserDefaults& defaults() { return UserDefaults::standardUserDefaults(); }
};

}  // namespace charttest
