#pragma once

#include "Decimal.h"

#include <QString>

/// Formats decimals for display with ICU, from the decimal's exact text (never via a double).
class NumberFormatter {
public:
    struct Options {
        bool useGrouping = true;
        int minimumFractionDigits = 0;
        int maximumFractionDigits = 2;
        /// Show the decimal separator even when no fraction digit follows ("12,").
        bool alwaysShowDecimalSeparator = false;
        /// Empty: the locale's symbol.
        QString groupingSeparator;
        QString decimalSeparator;
    };

    /// `localeName` is an ICU/Qt locale name such as "en_US" or "ru_RU"; empty means the
    /// current locale (QLocale()).
    explicit NumberFormatter(Options options, QString localeName = {});

    /// Rounds half-even to the maximum fraction digits. NaN gives an empty text; the caller
    /// decides what to show for "no rate".
    QString format(const Decimal& value) const;

private:
    Options options_;
    QString localeName_;
};
