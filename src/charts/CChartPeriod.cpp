#include "CChartPeriod.h"

#include "Localization.h"

#include <array>

namespace ChartPeriodNames {

std::optional<QString> displayKey(int period) {
    static constexpr std::array<const char*, 11> keys = {
        "1Day",   "1Week",  "1Month", "3Months", "6Months",      "1Year",
        "2Years", "3Years", "5Years", "10Years", "OverallPeriod"};
    if (period < 0 || period >= static_cast<int>(keys.size())) {
        return std::nullopt;
    }
    return QString::fromLatin1(keys[static_cast<size_t>(period)]);
}

std::optional<QString> displayName(int period) {
    const auto key = displayKey(period);
    if (!key) {
        return std::nullopt;
    }
    return Localization::localizedString(*key);
}

}  // namespace ChartPeriodNames
