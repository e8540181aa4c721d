#pragma once

class CRootViewModel;

/// Chooses the base currency from the device's country. Without a location service (none is
/// wired in yet) auto-selection is unavailable and enabling it does nothing.
class CBaseCurrencySelector {
public:
    explicit CBaseCurrencySelector(CRootViewModel* dataModel) : dataModel_(dataModel) {}
    virtual ~CBaseCurrencySelector() = default;

    virtual bool isBaseCurrencyAutoselectAvailable() const { return false; }
    virtual void enableBaseCurrencyAutoSelect(bool enable) { (void)enable; }

protected:
    CRootViewModel* dataModel_;
};
