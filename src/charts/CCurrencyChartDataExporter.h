#pragma once

#include "CCurrencyChartInfo.h"

#include <QDateTime>
#include <QString>

class UserDefaults;

/// Turns one chart record into the CSV text handed to other applications, its file name, and the
/// HTML table that is printed.
///
/// Dates are printed in GMT ("yyyy.MM.dd HH:mm:ss"): the chart screen hands in a record whose
/// instants it has already shifted to local wall-clock time.
class CCurrencyChartDataExporter {
public:
    /// The settings key of the CSV field separator.
    static const QString ChartDataCsvSeparatorKey;  // "ChartDataCsvSeparatorUserDefaultsKey"

    /// `defaults` nullptr: the process-wide settings store, looked up at each CSV export.
    explicit CCurrencyChartDataExporter(CCurrencyChartInfo chartInfo,
                                        UserDefaults* defaults = nullptr);

    const CCurrencyChartInfo& chartInfo() const { return chartInfo_; }

    /// The ICU locale whose number style the CSV values use; empty (the default) is the current
    /// locale.
    void setLocaleName(const QString& localeName) { localeName_ = localeName; }

    /// Title line in double quotes, an empty line, the header "Date<S>Value", then one line per
    /// point; lines end with CR LF except the last. S is the separator setting, read anew each
    /// time (a comma when the setting is empty). Values have at most 10 fraction digits, "." as
    /// decimal separator and the locale's grouping, unless that grouping would be mistaken for
    /// the separator or the decimal point: then the values are not grouped.
    QString exportToCsv() const;
    /// "<first>-<last>_<period name>.csv"; characters that cannot stand in a file name
    /// (path separators and the like) become "-".
    QString getCsvFileName() const;
    /// A one-table HTML page with the "chartData.css" style sheet and every digit of the values.
    QString exportToHtml() const;

    /// "yyyy.MM.dd HH:mm:ss" in GMT; empty for an invalid instant.
    static QString dateText(const QDateTime& date);
    /// "<first> to <last>. From <min date> to <max date>".
    static QString titleText(const CCurrencyChartInfo& info);

private:
    QString csvSeparator() const;

    CCurrencyChartInfo chartInfo_;
    UserDefaults* defaults_;
    QString localeName_;
};
