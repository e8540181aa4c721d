#pragma once

#include "CCurrencyChartInfo.h"
#include "CFileOperations.h"
#include "UserDefaults.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <QTimeZone>

#include <initializer_list>
#include <utility>

namespace charttest {

/// An instant in UTC.
inline QDateTime utc(int y, int m, int d, int h = 0, int min = 0, int s = 0) {
    return QDateTime(QDate(y, m, d), QTime(h, min, s), QTimeZone::utc());
}

inline CCurrencyChartPoint point(const QDateTime& date, const char* value) {
    return CCurrencyChartPoint(Decimal::fromString(QString::fromLatin1(value)), date);
}

/// A series of (date, value) points in the order given.
inline CCurrencyChartPointList series(
    std::initializer_list<std::pair<QDateTime, const char*>> points) {
    CCurrencyChartPointList list;
    for (const auto& [date, value] : points) {
        list.append(point(date, value));
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

/// Points the data directory at a fresh temporary directory for one test and gives the test
/// its own settings store there.
class ScopedChartDataDir {
public:
    ScopedChartDataDir() : defaults_(dir_.filePath(QStringLiteral("settings.plist"))) {
        CFileOperations::setDataDirectory(dir_.path());
    }
    ~ScopedChartDataDir() { CFileOperations::setDataDirectory(QString()); }
    ScopedChartDataDir(const ScopedChartDataDir&) = delete;
    ScopedChartDataDir& operator=(const ScopedChartDataDir&) = delete;

    QString filePath(const QString& name) const { return dir_.filePath(name); }
    UserDefaults& defaults() { return defaults_; }

private:
    QTemporaryDir dir_;
    UserDefaults defaults_;
};

}  // namespace charttest
