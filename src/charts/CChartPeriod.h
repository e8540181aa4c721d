#pragma once

#include <QString>

#include <optional>

/// The chart periods, from one day to the whole history. The value is what chart records and the
/// "ChartPeriod" setting store; other values are legal in storage but have no name and no length.
enum CChartPeriod : qint32 {
    ChartPeriod1Day = 0,
    ChartPeriod1Week = 1,
    ChartPeriod1Month = 2,
    ChartPeriod3Months = 3,
    ChartPeriod6Months = 4,
    ChartPeriod1Year = 5,
    ChartPeriod2Years = 6,
    ChartPeriod3Years = 7,
    ChartPeriod5Years = 8,
    ChartPeriod10Years = 9,
    ChartPeriodOverall = 10,
};

/// Names of the chart periods.
namespace ChartPeriodNames {

/// The string-table key of a period's name ("1Day" ... "OverallPeriod"); nothing outside 0..10.
std::optional<QString> displayKey(int period);
/// The localized name of a period; nothing outside 0..10.
std::optional<QString> displayName(int period);

}  // namespace ChartPeriodNames
