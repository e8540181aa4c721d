#pragma once

#include <QString>

#include <optional>

/// Presentation settings shared by every screen: display names and images of currencies and
/// chart periods.
class CUISettings {
public:
    /// The path of the image named exactly as the code, else of "unknownCurrencyFlag" (empty
    /// when neither exists).
    static QString getImageForCurrency(const QString& code);
    /// The current locale's name for the code; for a code the locale does not know, one log line
    /// and the code's localization (the code itself without an entry).
    static QString getDisplayNameForCurrency(const QString& code);
    /// The localized name of a chart period 0 ("1Day") to 10 ("OverallPeriod"); nothing outside.
    static std::optional<QString> getDisplayNameForChartPeriod(int period);
};
