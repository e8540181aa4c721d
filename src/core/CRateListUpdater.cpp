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
    // Each source's rates under its own id, so that a source failing later supplies its own.
    for (const auto& [source, answer] : currencyDataSource_->answers()) {
        model_.currencyDataStorageManager().addCurrenciesInfoAsync(*answer, source);
    }
    model_.synchronizeDataSourceWithInfo(table, currencyDataSource_->failedDataSources());
    if (finished_) {
        finished_(currencyDataSource_->partialFailure());
    }
}

void CRateListUpdater::queryCurrencyDataSourceFailedWithErrorDescription(
    const QString& description) {
    // Every source failed: all the rates are the cached ones of failed sources.
    model_.synchronizeDataSourceWithInfo(CCBRCurrenciesInfo(),
                                         currencyDataSource_->selectedDataSources());
    if (finished_) {
        finished_(description);
    }
}
