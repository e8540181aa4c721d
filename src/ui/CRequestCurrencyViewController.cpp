#include "CRequestCurrencyViewController.h"

#include "CCurrencyDataSourceInfo.h"
#include "CRateRows.h"
#include "CUISettings.h"
#include "CurrencyNames.h"

CRequestCurrencyViewController::CRequestCurrencyViewController(
    const CCurrencyDataSourceInfo& dataSourceInfo, bool tablet, QObject* parent)
    : CViewController(QStringLiteral("RequestCurrencyView"), tablet, parent),
      dataSourceInfo_(dataSourceInfo) {
    setTitle(localized(QStringLiteral("RequestCurrency")));
}

QString CRequestCurrencyViewController::headerText() const {
    return localized(QStringLiteral("EnterRequestedCurrencyCode"));
}

QVariantList CRequestCurrencyViewController::requestedRows() const {
    QVariantList rows;
    for (const QString& code : selectedCurrencies_) {
        rows.append(QVariantMap{
            {QStringLiteral("code"), code},
            {QStringLiteral("name"),
             CRateRows::capitalizedName(localized(CUISettings::getDisplayNameForCurrency(code)))}});
    }
    return rows;
}

bool CRequestCurrencyViewController::checkCanAddCurrencyToRequest(const QString& code) {
    static const QStringList isoCodes = CurrencyNames::isoCurrencyCodes();
    if (!isoCodes.contains(code)) {
        showMessage(localized(QStringLiteral("InvalidCurrencyCode")));
        return false;
    }
    QStringList offeredBy;
    for (const QString& id : dataSourceInfo_.getAllDataSourceIds()) {
        if (dataSourceInfo_.getAvailableCurrencyCodes(id).contains(code)) {
            offeredBy.append(dataSourceInfo_.getDataSourceDisplayName(id));
        }
    }
    if (!offeredBy.isEmpty()) {
        showMessage(localized(QStringLiteral("CurrencyContainedInDataSource"))
                        .arg(offeredBy.join(QStringLiteral(", "))));
        return false;
    }
    return true;
}

bool CRequestCurrencyViewController::enterCode(const QString& text) {
    const QString code = text.trimmed().toUpper();
    if (!checkCanAddCurrencyToRequest(code)) {
        return false;
    }
    selectedCurrencies_.append(code);
    emit selectedCurrenciesChanged();
    return true;
}

void CRequestCurrencyViewController::deleteCode(int row) {
    if (row < 0 || row >= selectedCurrencies_.size()) {
        return;
    }
    selectedCurrencies_.removeAt(row);
    emit selectedCurrenciesChanged();
}

void CRequestCurrencyViewController::onDoneClick() {
    if (selectedCurrencies_.isEmpty()) {
        showMessage(localized(QStringLiteral("NoRequestedCurrency")));
        return;
    }
    if (delegate_ != nullptr) {
        const QStringList codes = selectedCurrencies_;
        delegate_->requestCurrencyController(this, codes);
    }
}
