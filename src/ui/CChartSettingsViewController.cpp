#include "CChartSettingsViewController.h"

#include "CCurrencyChartDataSource.h"
#include "CCurrencyChartSettings.h"
#include "CCurrencyChartViewController.h"
#include "CCurrencyDataSourceInfo.h"
#include "CPopoverGlobalHolder.h"
#include "CRootViewModel.h"
#include "CUISettings.h"

CChartSettingsViewController::CChartSettingsViewController(CRootViewModel& model, bool tablet,
                                                           QObject* parent)
    : CViewController(QStringLiteral("ChartSettingsView"), tablet, parent), dataModel_(model) {
    setTitle(localized(QStringLiteral("Settings")));
}

QString CChartSettingsViewController::pairDetail() const {
    return CCurrencyChartSettings::getCurrencyPair(dataModel_.userDefaults())
        .value_or(QStringList())
        .join(QStringLiteral(", "));
}

QList<int> CChartSettingsViewController::periods() const {
    const std::optional<QString> source = dataModel_.getSelectedDataSource();
    if (!source) {
        return {};
    }
    return CCurrencyChartDataSource::supportedPeriodsForDatasource(*source).value_or(QList<int>());
}

QVariantList CChartSettingsViewController::periodRows() const {
    const int stored = CCurrencyChartSettings::getChartPeriod(dataModel_.userDefaults());
    QVariantList rows;
    for (int period : periods()) {
        rows.append(QVariantMap{
            {QStringLiteral("title"),
             CUISettings::getDisplayNameForChartPeriod(period).value_or(QString())},
            {QStringLiteral("checked"), period == stored},
        });
    }
    return rows;
}

void CChartSettingsViewController::onPairRowSelect() {
    const std::optional<QString> source = dataModel_.getSelectedDataSource();
    const QStringList codes =
        source ? dataModel_.currencyDataSourceInfo().getAvailableCurrencyCodes(*source)
               : QStringList();
    auto* picker = new CCurrencyPickerViewController(codes, isTablet());
    picker->setAllowsMultipleSelection(true);
    picker->setMaxSelectedItems(2);
    picker->setSupportsLandscapeOrientation(true);
    picker->setDelegate(this);
    // Inside the tablet's popover the picker opens as a sheet over it, not as a second
    // popover that would close this one.
    picker->setFormSheet(true);
    presentViewController(picker);
}

void CChartSettingsViewController::currencyPicker(CCurrencyPickerViewController* picker,
                                                  const QStringList& codes) {
    if (codes.size() < 2) {
        picker->showMessage(localized(QStringLiteral("SelectCurrencyPairPrompt")));
        return;
    }
    UserDefaults& defaults = dataModel_.userDefaults();
    if (CCurrencyChartSettings::getCurrencyPair(defaults) != codes) {
        CCurrencyChartSettings::setCurrencyPair(codes, defaults);
        reloadChart();
    }
    emit rowsChanged();
    if (isTablet()) {
        dismissViewController(true);
        CPopoverGlobalHolder::sharedInstance().dismissActivePopover(true);
    } else {
        dismissViewController(true);
    }
}

void CChartSettingsViewController::onPeriodRowSelect(int row) {
    const QList<int> list = periods();
    if (row < 0 || row >= list.size()) {
        return;
    }
    UserDefaults& defaults = dataModel_.userDefaults();
    const int previous = CCurrencyChartSettings::getChartPeriod(defaults);
    const int period = list[row];
    if (period != previous) {
        CCurrencyChartSettings::setChartPeriod(period, defaults);
    }
    emit rowsChanged();
    if (isTablet()) {
        CPopoverGlobalHolder::sharedInstance().dismissActivePopover(true);
    }
    if (period != previous) {
        reloadChart();
    }
}

void CChartSettingsViewController::reloadChart() {
    if (chartController_) {
        chartController_->reloadCurrencyChartData();
    }
}
