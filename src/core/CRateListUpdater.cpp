#include "CRateListUpdater.h"

#include "CRootViewModel.h"

CRateListUpdater::CRateListUpdater(CRootViewModel& model, Endpoints endpoints)
    : model_(model), endpoints_(std::move(endpoints)) {}

CRateListUpdater::~CRateListUpdater() {
    if (currencyDataSource_) {
        currencyDataSource_->setDelegate(nullptr);
    }
}

CCurrencyDataSource& CRateListUpdater::ensureDataSource() {
    if (!currencyDataSource_) {
        currencyDataSource_ = std::make_unique<CCurrencyDataSource>(model_, endpoints_);
        currencyDataSource_->setDelegate(this);
    }
    return *currencyDataSource_;
}

void CRateListUpdater::queryCurrencyRates() {
    ensureDataSource().queryCurrencyRates();
}

void CRateListUpdater::queryCurrencyRateRelativeToBase(const QString& code) {
    ensureDataSource().queryCurrencyRateRelativeToBase(code);
}

void CRateListUpdater::queryCurrencyDataSourceCompletedWithResult(CCBRCurrenciesInfoPtr result) {
    const CCBRCurrenciesInfo table = result ? *result : CCBRCurrenciesInfo();
    if (const std::optional<QString> source = model_.getSelectedDataSource()) {
        model_.currencyDataStorageManager().addCurrenciesInfoAsync(table, *source);
    }
    model_.synchronizeDataSourceWithInfo(table);
    if (finished_) {
        finished_(std::nullopt);
    }
}

void CRateListUpdater::queryCurrencyDataSourceFailedWithErrorDescription(
    const QString& description) {
    model_.synchronizeDataSourceWithInfo(CCBRCurrenciesInfo());
    if (finished_) {
        finished_(description);
    }
}
