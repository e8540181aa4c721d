#pragma once

#include "CBaseCurrencySelector.h"
#include "CCBRCurrenciesInfo.h"
#include "CCurrencyDataSourceInfo.h"
#include "CCurrencyDataStorageManager.h"
#include "CCustomDataSourceMetadataUpdater.h"
#include "CMetalsInfo.h"
#include "CRelatedCurrenciesInfo.h"
#include "Decimal.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class NotificationCenter;
class UserDefaults;

/// The model behind the rate list, settings, converter and chart screens: the selected
/// currencies as rate rows, the user's choices (kept in the settings store), the merge of each
/// provider answer, and every rate and converted amount the screens show.
///
/// Main thread only. Changes are announced with "CurrencyDataSourceChanged" (and
/// "BaseCurrencyChanged") on the notification centre, with the model as sender.
class CRootViewModel {
public:
    static inline const QString CurrencyDataSourceChanged =
        QStringLiteral("CurrencyDataSourceChanged");
    static inline const QString BaseCurrencyChanged = QStringLiteral("BaseCurrencyChanged");

    struct Options {
        /// The registry of user-added sources (not owned); null: the shared registry. The app
        /// and numiva-cli pass theirs; this is the one place below them that falls back.
        CCustomDataSourceStorageManager* customSources = nullptr;
        /// The rate cache file; empty: the library directory's default.
        QString rateCachePath;
        /// The device's location service (not owned); null: no base currency auto-selection.
        LocationService* location = nullptr;
        /// Service hosts of the base currency selector (GeoNames); empty: none.
        Endpoints endpoints;
        /// The built-in sources and their codes; empty: the bundled "CurrencyDataSources".
        QVariantMap builtInCatalogue;
    };

    /// Registers the model's own defaults in `defaults`, then builds the list.
    CRootViewModel(UserDefaults& defaults, NotificationCenter& center, Options options);
    CRootViewModel(UserDefaults& defaults, NotificationCenter& center);
    ~CRootViewModel();
    CRootViewModel(const CRootViewModel&) = delete;
    CRootViewModel& operator=(const CRootViewModel&) = delete;

    /// The four defaults the model registers.
    static QVariantMap classDefaults();

    /// Reads a percentage typed by the user: "," as separator first, then "."; nothing for a
    /// text that is neither, or for a value below 0 or above 100.
    static std::optional<Decimal> getPercentValueFromText(const QString& text);
    /// The weight units of metal prices, as stored under "MetalBaseUnitUserDefaultsKey".
    static QStringList metalBaseUnits();

    // Settings.
    QString getBaseCurrencyCode() const;
    void setBaseCurrencyCode(const QString& code);
    bool isBaseCurrencyAutoSelectEnabled() const;
    bool isBaseCurrencyAutoselectAvailable() const;
    void setBaseCurrencyAutoSelectEnabled(bool enabled);
    /// The stored fee in percent, or nothing.
    std::optional<Decimal> getConversionFee() const;
    void setConversionFee(const Decimal& percent);
    bool isConversionFeeEnabled() const;
    void setConversionFeeEnabled(bool enabled);
    bool isSubtractFeeEnabled() const;
    void setSubtractFeeEnabled(bool enabled);
    bool isDisplayInverseRatesEnabled() const;
    /// The weight unit of metal prices (one of `metalBaseUnits`); empty when none is stored.
    QString getMetalBaseUnit() const;
    /// Ignores a name that is not one of `metalBaseUnits`.
    void setMetalBaseUnit(const QString& unit);
    bool isDataSourceSelected(const QString& identifier) const;
    void setDataSource(const QString& identifier, bool selected);
    /// Makes `identifier` the one selected source in one change (one notification).
    void selectSingleDataSource(const QString& identifier);
    /// Stores the whole ordered list (the active source first, then the further ones, each
    /// once) in one change; posts "CurrencyDataSourceChanged" unless it is unchanged.
    void setSelectedDataSources(const QStringList& identifiers);
    std::optional<QString> getSelectedDataSource() const;
    QStringList getAllSelectedDataSources() const;
    /// The selected sources after the active one, in order.
    QStringList getFurtherDataSources() const;
    /// The first selected source that offers `code`, or nothing: the source whose rate the
    /// list shows for it.
    std::optional<QString> getDataSourceForCurrency(const QString& code) const;
    /// Keeps the codes a built-in source reported itself (in the settings, with the moment) and
    /// makes them the catalogue's list for it.
    void setAvailableCurrencyCodesForDataSource(const QString& identifier,
                                                const QStringList& codes);
    /// When that list was last kept; invalid when never.
    QDateTime availableCurrencyCodesDate(const QString& identifier) const;

    // The rate list.
    const QList<CCBRCurrencyInfoPtr>& currencyDataSource() const { return currencyDataSource_; }
    QList<CCBRCurrencyInfoPtr>& currencyDataSource() { return currencyDataSource_; }
    QStringList getSelectedCurrencyCodes() const;
    void saveSelectedCurrencyCodes();
    /// Inserts the code's row at position 1; the caller saves and sorts.
    void addCurrencyInfo(const QString& code);
    CCBRCurrencyInfoPtr getInfoForCurrency(const QString& code) const;
    /// The listed row of `code`, or null.
    CCBRCurrencyInfoPtr getListedInfoForCurrency(const QString& code) const {
        return findInList(code);
    }
    /// The US dollar reference row: nominal 1, sale value 1.
    CCBRCurrencyInfoPtr getRubleCurrencyInfo() const;
    QStringList getAvailableCurrencyCodes() const;
    bool isCurrencyCodeAvailable(const QString& code) const;
    QStringList getAvailableNotSelectedCurrencyCodes() const;
    void sortCurrencyDataSource();
    /// Merges a provider answer (an empty table after a failed query) into the list. A code the
    /// answer lacks takes the cached rate of the first selected source that has one; such a row
    /// says whether its source is one of `failedSources`.
    void synchronizeDataSourceWithInfo(const CCBRCurrenciesInfo& info,
                                       const QStringList& failedSources = {});
    void synchronizeCurrencyInfo(CCBRCurrencyInfo& target, const CCBRCurrencyInfo& source) const;

    // Rates; NaN means no rate.
    /// Units of `relativeTo` for one unit of `code`, fee included. NaN when either code is not in
    /// the list or has no usable rate.
    Decimal getSaleValueForCurrency(const QString& code, const QString& relativeTo) const;
    Decimal getSaleValueForBaseCurrency(const QString& code) const;
    Decimal getSaleValueForConvertedCurrency(const QString& code, bool inverse) const;
    /// As getSaleValueForCurrency, from the rates of the conversion date while one is set.
    Decimal getConversionSaleValue(const QString& code, const QString& relativeTo) const;

    // Conversion mode.
    bool isConversionModeEnabled() const { return isConversionModeEnabled_; }
    void setIsconversionModeEnabled(bool enabled);
    QString convertedCurrencyCode;
    Decimal convertedCurrencyValue;

    /// A rate of a past day: the dollar price of one unit, the day it was published and the
    /// source that gave it.
    struct DatedRate {
        Decimal usdValue;
        QDate date;
        QString source;
    };
    /// The day a conversion is made at (invalid: today's rates) and the rates found for it, by
    /// code. A code without an entry has no rate that day.
    QDate conversionDate;
    QHash<QString, DatedRate> conversionRates;
    /// The publication day of the older of the two rates a conversion at the conversion date
    /// uses; invalid without a conversion date or either rate.
    QDate getConversionRateDate(const QString& code, const QString& relativeTo) const;

    // Owned collaborators.
    CBaseCurrencySelector& baseCurrencySelector() { return *baseCurrencySelector_; }
    const CCurrencyDataSourceInfo& currencyDataSourceInfo() const {
        return *currencyDataSourceInfo_;
    }
    /// The rate cache, opened on first use (listing the sources needs no store).
    CCurrencyDataStorageManager& currencyDataStorageManager();
    const CRelatedCurrenciesInfo& relatedCurrenciesInfo() const { return *relatedCurrenciesInfo_; }
    const CMetalsInfo& metalsInfo() const { return *metalsInfo_; }
    /// Refreshes user-added sources on demand (the settings screen, after adding one).
    CCustomDataSourceMetadataUpdater& customDataSourceInfoUpdater() {
        return *customDataSourceInfoUpdater_;
    }

    /// The registry of user-added sources the model was given.
    CCustomDataSourceStorageManager& customDataSourceStorage() { return customSources_; }

    UserDefaults& userDefaults() { return defaults_; }
    NotificationCenter& notificationCenter() { return center_; }

private:
    void initializeCurrencyDataSource();
    CCBRCurrencyInfoPtr findInList(const QString& code) const;
    /// The fee and the metals' units applied to two dollar prices.
    Decimal saleValue(Decimal numerator, Decimal denominator, const QString& code,
                      const QString& relativeTo) const;
    /// Stores a setting, synchronises and posts "CurrencyDataSourceChanged" unless unchanged.
    void storeFlag(const QString& key, bool value);
    void post(const QString& name);

    UserDefaults& defaults_;
    NotificationCenter& center_;
    CCustomDataSourceStorageManager& customSources_;
    QList<CCBRCurrencyInfoPtr> currencyDataSource_;
    bool isConversionModeEnabled_ = false;
    std::unique_ptr<CBaseCurrencySelector> baseCurrencySelector_;
    std::unique_ptr<CCurrencyDataSourceInfo> currencyDataSourceInfo_;
    QString rateCachePath_;
    std::unique_ptr<CCurrencyDataStorageManager> currencyDataStorageManager_;
    std::unique_ptr<CRelatedCurrenciesInfo> relatedCurrenciesInfo_;
    std::unique_ptr<CMetalsInfo> metalsInfo_;
    std::unique_ptr<CCustomDataSourceMetadataUpdater> customDataSourceInfoUpdater_;
};
