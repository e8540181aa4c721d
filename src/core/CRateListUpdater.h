#pragma once

#include "CCurrencyDataSource.h"
#include "Endpoints.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class CRootViewModel;

/// One refresh of the rate list, the same for the rate list screen and numiva-cli: asks the
/// aggregator, stores each source's answer in the rate cache under that source, and merges the
/// answer (after a failure, the cached rates alone) into the model. Main thread only.
class CRateListUpdater : public CCurrencyDataSourceDelegate {
public:
    /// Told at the end of each cycle, after the merge: nothing, or the failure text (also when
    /// some of several sources failed and the others' rates were merged).
    using Finished = std::function<void(const std::optional<QString>& failure)>;

    /// `model` (not owned) must outlive the updater; `endpoints` go to every provider client.
    CRateListUpdater(CRootViewModel& model, Endpoints endpoints);
    ~CRateListUpdater() override;
    CRateListUpdater(const CRateListUpdater&) = delete;
    CRateListUpdater& operator=(const CRateListUpdater&) = delete;

    void setFinished(Finished finished) { finished_ = std::move(finished); }

    /// Starts a cycle relative to the model's base currency; cancels the one in flight.
    void queryCurrencyRates();
    /// Starts a cycle relative to `code` (for a base currency no selected source offers).
    void queryCurrencyRateRelativeToBase(const QString& code);
    /// The aggregator, or null before the first cycle.
    CCurrencyDataSource* currencyDataSource() const { return currencyDataSource_.get(); }

    void queryCurrencyDataSourceCompletedWithResult(CCBRCurrenciesInfoPtr result) override;
    void queryCurrencyDataSourceFailedWithErrorDescription(const QString& description) override;

private:
    CCurrencyDataSource& ensureDataSource();

    CRootViewModel& model_;
    Endpoints endpoints_;
    std::unique_ptr<CCurrencyDataSource> currencyDataSource_;
    Finished finished_;
};
