#pragma once

#include "UserDefaults.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

/// The two persistent chart settings: the charted currency pair and the chart period.
///
/// The defaults (pair "USD", "EUR"; period 0) are registered in the store on its first use by
/// this class, before any value is read. Setters write and flush the store at once.
class CCurrencyChartSettings {
public:
    static const QString ChartCurrencyPairKey;  // "ChartCurrencyPair"
    static const QString ChartPeriodKey;        // "ChartPeriod"

    static QVariantMap classDefaults();

    /// The pair, first currency then last currency; nothing unless the stored value is an array
    /// of exactly two texts (a malformed value would otherwise be indexed past its end).
    static std::optional<QStringList> getCurrencyPair(
        UserDefaults& defaults = UserDefaults::standardUserDefaults());
    static void setCurrencyPair(const QStringList& pair,
                                UserDefaults& defaults = UserDefaults::standardUserDefaults());

    /// The stored CChartPeriod value (0 when the stored value is not a number).
    static int getChartPeriod(UserDefaults& defaults = UserDefaults::standardUserDefaults());
    static void setChartPeriod(int period,
                               UserDefaults& defaults = UserDefaults::standardUserDefaults());

private:
    static void registerDefaults(UserDefaults& defaults);
};
