#include "CCurrencyChartSettings.h"

#include <cmath>
#include <limits>

const QString CCurrencyChartSettings::ChartCurrencyPairKey = QStringLiteral("ChartCurrencyPair");
const QString CCurrencyChartSettings::ChartPeriodKey = QStringLiteral("ChartPeriod");

QVariantMap CCurrencyChartSettings::classDefaults() {
    return {
        {ChartCurrencyPairKey, QVariantList{QStringLiteral("USD"), QStringLiteral("EUR")}},
        {ChartPeriodKey, 0},
    };
}

void CCurrencyChartSettings::registerDefaults(UserDefaults& defaults) {
    // Once per store: a later registration by someone else of the same keys is left to win.
    const QVariantMap registered = defaults.registeredDefaults();
    if (registered.contains(ChartCurrencyPairKey) && registered.contains(ChartPeriodKey)) {
        return;
    }
    QVariantMap missing;
    const QVariantMap ours = classDefaults();
    for (auto it = ours.begin(); it != ours.end(); ++it) {
        if (!registered.contains(it.key())) {
            missing.insert(it.key(), it.value());
        }
    }
    defaults.registerDefaults(missing);
}

std::optional<QStringList> CCurrencyChartSettings::getCurrencyPair(UserDefaults& defaults) {
    registerDefaults(defaults);
    const QVariant value = defaults.objectForKey(ChartCurrencyPairKey);
    if (value.typeId() != QMetaType::QVariantList && value.typeId() != QMetaType::QStringList) {
        return std::nullopt;
    }
    const QVariantList items = value.toList();
    if (items.size() != 2) {
        return std::nullopt;
    }
    QStringList pair;
    for (const QVariant& item : items) {
        if (item.typeId() != QMetaType::QString) {
            return std::nullopt;
        }
        pair.append(item.toString());
    }
    return pair;
}

void CCurrencyChartSettings::setCurrencyPair(const QStringList& pair, UserDefaults& defaults) {
    registerDefaults(defaults);
    defaults.setObject(QVariant(pair), ChartCurrencyPairKey);
    defaults.synchronize();
}

int CCurrencyChartSettings::getChartPeriod(UserDefaults& defaults) {
    registerDefaults(defaults);
    const std::optional<double> value = defaults.numberForKey(ChartPeriodKey);
    if (!value || !std::isfinite(*value) || *value < std::numeric_limits<int>::min() ||
        *value > std::numeric_limits<int>::max()) {
        return 0;
    }
    return static_cast<int>(*value);
}

void CCurrencyChartSettings::setChartPeriod(int period, UserDefaults& defaults) {
    registerDefaults(defaults);
    defaults.setObject(period, ChartPeriodKey);
    defaults.synchronize();
}
