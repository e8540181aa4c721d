#include "CRootViewModel.h"

#include "CurrencyNames.h"
#include "Localization.h"
#include "NotificationCenter.h"
#include "Resources.h"
#include "UserDefaults.h"

#include <QLocale>
#include <QSet>

#include <algorithm>

namespace {

const QString kSelectedCurrencies = QStringLiteral("SelectedCurrencies");
const QString kBaseCurrency = QStringLiteral("BaseCurrency");
const QString kBaseCurrencyAutoSelect = QStringLiteral("BaseCurrencyAutoSelect");
const QString kSelectedCurrencySources = QStringLiteral("SelectedCurrencySources");
const QString kConversionFee = QStringLiteral("ConversionFee");
const QString kConversionFeeEnabled = QStringLiteral("ConversionFeeEnabled");
const QString kSubtractFeeEnabled = QStringLiteral("SubtractFeeEnabled");
const QString kDisplayDirectRates = QStringLiteral("DisplayDirectRates");
const QString kMetalBaseUnit = QStringLiteral("MetalBaseUnitUserDefaultsKey");
const QString kUsd = QStringLiteral("USD");
/// The codes a built-in source reported itself, and when ("<ID>-AvailableCurrencies[Date]").
const QString kAvailableCurrencies = QStringLiteral("-AvailableCurrencies");
const QString kAvailableCurrenciesDate = QStringLiteral("-AvailableCurrenciesDate");

}  // namespace

QVariantMap CRootViewModel::classDefaults() {
    // Yahoo's quote service has refused every request since 2017; Frankfurter answers without
    // an account. A first base currency from the system's region spares most users a trip to
    // the settings where no position fix or GeoNames account is at hand.
    const QString source = QStringLiteral("Frankfurter");
    const QString regional =
        CBaseCurrencySelector::currencyForTerritory(QLocale::system().territory());
    // Only a currency the first source quotes: a base without a rate would show nothing.
    const bool quoted =
        !regional.isEmpty() && Resources::propertyList(QStringLiteral("CurrencyDataSources"))
                                   .toMap()
                                   .value(source)
                                   .toStringList()
                                   .contains(regional);
    return {
        {kSelectedCurrencies, QVariantList{QStringLiteral("EUR")}},
        {kBaseCurrency, quoted ? regional : kUsd},
        {kBaseCurrencyAutoSelect, false},
        {kSelectedCurrencySources, QVariantList{source}},
    };
}

std::optional<Decimal> CRootViewModel::getPercentValueFromText(const QString& text) {
    std::optional<Decimal> value = Decimal::parse(text, u',');
    if (!value) {
        value = Decimal::parse(text, u'.');
    }
    if (!value || *value < Decimal() || *value > Decimal::fromInt(100)) {
        return std::nullopt;
    }
    return value;
}

QStringList CRootViewModel::metalBaseUnits() {
    return {QStringLiteral("Kilo"), QStringLiteral("Ounce"), QStringLiteral("Pound"),
            QStringLiteral("Gramm")};
}

CRootViewModel::CRootViewModel(UserDefaults& defaults, NotificationCenter& center)
    : CRootViewModel(defaults, center, Options{}) {}

CRootViewModel::CRootViewModel(UserDefaults& defaults, NotificationCenter& center, Options options)
    : defaults_(defaults),
      center_(center),
      customSources_(options.customSources != nullptr
                         ? *options.customSources
                         : CCustomDataSourceStorageManager::sharedInstance()) {
    // Registered after the settings bundle's defaults, so these win for a key both name.
    defaults_.registerDefaults(classDefaults());

    initializeCurrencyDataSource();
    isConversionModeEnabled_ = false;
    convertedCurrencyCode = QString();
    convertedCurrencyValue = Decimal();
    baseCurrencySelector_ =
        std::make_unique<CBaseCurrencySelector>(this, options.location, center_, options.endpoints);
    baseCurrencySelector_->enableBaseCurrencyAutoSelect(isBaseCurrencyAutoSelectEnabled());
    currencyDataSourceInfo_ =
        options.builtInCatalogue.isEmpty()
            ? std::make_unique<CCurrencyDataSourceInfo>(customSources_)
            : std::make_unique<CCurrencyDataSourceInfo>(options.builtInCatalogue, customSources_);
    for (const QString& source : currencyDataSourceInfo_->getAllDataSourceIds()) {
        if (!currencyDataSourceInfo_->isCustomDataSource(source)) {
            currencyDataSourceInfo_->setAvailableCurrencyCodes(
                source, defaults_.stringArrayForKey(source + kAvailableCurrencies));
        }
    }
    rateCachePath_ = options.rateCachePath;
    relatedCurrenciesInfo_ = std::make_unique<CRelatedCurrenciesInfo>();
    metalsInfo_ = std::make_unique<CMetalsInfo>(defaults_);
    customDataSourceInfoUpdater_ =
        std::make_unique<CCustomDataSourceMetadataUpdater>(customSources_, center_);
}

CRootViewModel::~CRootViewModel() = default;

CCurrencyDataStorageManager& CRootViewModel::currencyDataStorageManager() {
    if (!currencyDataStorageManager_) {
        currencyDataStorageManager_ = std::make_unique<CCurrencyDataStorageManager>(rateCachePath_);
    }
    return *currencyDataStorageManager_;
}

void CRootViewModel::post(const QString& name) {
    center_.post(name, this);
}

// Settings ------------------------------------------------------------------------------------

QString CRootViewModel::getBaseCurrencyCode() const {
    return defaults_.stringForKey(kBaseCurrency);
}

void CRootViewModel::setBaseCurrencyCode(const QString& code) {
    if (code == getBaseCurrencyCode()) {
        return;
    }
    defaults_.setObject(code, kBaseCurrency);
    defaults_.synchronize();
    if (!findInList(code)) {
        currencyDataSource_.append(getInfoForCurrency(code));
        saveSelectedCurrencyCodes();
    }
    sortCurrencyDataSource();
    post(CurrencyDataSourceChanged);
    post(BaseCurrencyChanged);
}

bool CRootViewModel::isBaseCurrencyAutoSelectEnabled() const {
    return defaults_.boolForKey(kBaseCurrencyAutoSelect) && isBaseCurrencyAutoselectAvailable();
}

bool CRootViewModel::isBaseCurrencyAutoselectAvailable() const {
    return baseCurrencySelector_ && baseCurrencySelector_->isBaseCurrencyAutoselectAvailable();
}

void CRootViewModel::setBaseCurrencyAutoSelectEnabled(bool enabled) {
    defaults_.setObject(enabled, kBaseCurrencyAutoSelect);
    defaults_.synchronize();
    baseCurrencySelector_->enableBaseCurrencyAutoSelect(enabled);
}

std::optional<Decimal> CRootViewModel::getConversionFee() const {
    const QVariant v = defaults_.objectForKey(kConversionFee);
    if (v.typeId() == QMetaType::QString) {
        return Decimal::parse(v.toString());
    }
    if (auto number = defaults_.numberForKey(kConversionFee)) {
        return Decimal::fromDouble(*number);
    }
    return std::nullopt;
}

void CRootViewModel::setConversionFee(const Decimal& percent) {
    const auto current = getConversionFee();
    if (current && *current == percent) {
        return;
    }
    defaults_.setObject(percent.toDouble(), kConversionFee);
    defaults_.synchronize();
    post(CurrencyDataSourceChanged);
}

void CRootViewModel::storeFlag(const QString& key, bool value) {
    if (defaults_.boolForKey(key) == value) {
        return;
    }
    defaults_.setObject(value, key);
    defaults_.synchronize();
    post(CurrencyDataSourceChanged);
}

bool CRootViewModel::isConversionFeeEnabled() const {
    return defaults_.boolForKey(kConversionFeeEnabled);
}

void CRootViewModel::setConversionFeeEnabled(bool enabled) {
    storeFlag(kConversionFeeEnabled, enabled);
}

bool CRootViewModel::isSubtractFeeEnabled() const {
    return defaults_.boolForKey(kSubtractFeeEnabled);
}

void CRootViewModel::setSubtractFeeEnabled(bool enabled) {
    storeFlag(kSubtractFeeEnabled, enabled);
}

bool CRootViewModel::isDisplayInverseRatesEnabled() const {
    return defaults_.boolForKey(kDisplayDirectRates);
}

QString CRootViewModel::getMetalBaseUnit() const {
    return defaults_.stringForKey(kMetalBaseUnit);
}

void CRootViewModel::setMetalBaseUnit(const QString& unit) {
    if (!metalBaseUnits().contains(unit) || unit == getMetalBaseUnit()) {
        return;
    }
    defaults_.setObject(unit, kMetalBaseUnit);
    defaults_.synchronize();
    post(CurrencyDataSourceChanged);
}

bool CRootViewModel::isDataSourceSelected(const QString& identifier) const {
    return getAllSelectedDataSources().contains(identifier);
}

void CRootViewModel::setDataSource(const QString& identifier, bool selected) {
    QStringList sources = getAllSelectedDataSources();
    const bool present = sources.contains(identifier);
    if (selected && !present) {
        sources.append(identifier);
    } else if (!selected && present) {
        sources.removeAll(identifier);
    } else {
        return;
    }
    defaults_.setObject(sources, kSelectedCurrencySources);
    defaults_.synchronize();
    post(CurrencyDataSourceChanged);
}

void CRootViewModel::selectSingleDataSource(const QString& identifier) {
    setSelectedDataSources({identifier});
}

void CRootViewModel::setSelectedDataSources(const QStringList& identifiers) {
    QStringList sources = identifiers;
    sources.removeDuplicates();
    if (getAllSelectedDataSources() == sources) {
        return;
    }
    defaults_.setObject(sources, kSelectedCurrencySources);
    defaults_.synchronize();
    post(CurrencyDataSourceChanged);
}

QStringList CRootViewModel::getFurtherDataSources() const {
    return getAllSelectedDataSources().mid(1);
}

std::optional<QString> CRootViewModel::getDataSourceForCurrency(const QString& code) const {
    for (const QString& source : getAllSelectedDataSources()) {
        if (currencyDataSourceInfo_->getAvailableCurrencyCodes(source).contains(code)) {
            return source;
        }
    }
    return std::nullopt;
}

std::optional<QString> CRootViewModel::getSelectedDataSource() const {
    const QStringList sources = getAllSelectedDataSources();
    if (sources.isEmpty()) {
        return std::nullopt;
    }
    return sources.first();
}

QStringList CRootViewModel::getAllSelectedDataSources() const {
    return defaults_.stringArrayForKey(kSelectedCurrencySources);
}

void CRootViewModel::setAvailableCurrencyCodesForDataSource(const QString& identifier,
                                                            const QStringList& codes) {
    if (codes.isEmpty() || currencyDataSourceInfo_->isCustomDataSource(identifier)) {
        return;
    }
    defaults_.setObject(codes, identifier + kAvailableCurrencies);
    defaults_.setObject(QDateTime::currentDateTimeUtc(), identifier + kAvailableCurrenciesDate);
    defaults_.synchronize();
    currencyDataSourceInfo_->setAvailableCurrencyCodes(identifier, codes);
}

QDateTime CRootViewModel::availableCurrencyCodesDate(const QString& identifier) const {
    return defaults_.dateForKey(identifier + kAvailableCurrenciesDate);
}

// The rate list --------------------------------------------------------------------------------

void CRootViewModel::initializeCurrencyDataSource() {
    currencyDataSource_.clear();
    QStringList codes = defaults_.stringArrayForKey(kSelectedCurrencies);
    const QString base = getBaseCurrencyCode();
    if (!codes.contains(base)) {
        codes.append(base);
    }
    for (const QString& code : codes) {
        if (!findInList(code)) {  // a hand-edited settings file may repeat a code
            currencyDataSource_.append(getInfoForCurrency(code));
        }
    }
    // A list the user never stored is derived like this at every start; only a stored one is
    // written back (with the base currency it may lack).
    if (defaults_.persistentObjectForKey(kSelectedCurrencies).isValid()) {
        saveSelectedCurrencyCodes();
    }
    sortCurrencyDataSource();
}

QStringList CRootViewModel::getSelectedCurrencyCodes() const {
    QStringList codes;
    codes.reserve(currencyDataSource_.size());
    for (const CCBRCurrencyInfoPtr& row : currencyDataSource_) {
        codes.append(row->isoTextCode);
    }
    return codes;
}

void CRootViewModel::saveSelectedCurrencyCodes() {
    const QStringList codes = getSelectedCurrencyCodes();
    if (!defaults_.persistentObjectForKey(kSelectedCurrencies).isValid()) {
        // A list the user never changed is derived again at every start (the base currency,
        // then the default list): storing it would turn a read-only command into a write.
        const QString base = getBaseCurrencyCode();
        QStringList derived{base};
        for (const QString& code : defaults_.stringArrayForKey(kSelectedCurrencies)) {
            if (!derived.contains(code)) {
                derived.append(code);
            }
        }
        if (codes == derived) {
            return;
        }
    }
    defaults_.setObject(codes, kSelectedCurrencies);
    defaults_.synchronize();
}

void CRootViewModel::addCurrencyInfo(const QString& code) {
    const qsizetype position = std::min<qsizetype>(1, currencyDataSource_.size());
    currencyDataSource_.insert(position, getInfoForCurrency(code));
}

CCBRCurrencyInfoPtr CRootViewModel::getRubleCurrencyInfo() const {
    auto row = std::make_shared<CCBRCurrencyInfo>();
    row->isoTextCode = kUsd;
    row->nominalValue = 1;
    row->saleValue = Decimal::fromInt(1);
    row->displayName = CurrencyNames::displayName(kUsd).value_or(kUsd);
    return row;
}

CCBRCurrencyInfoPtr CRootViewModel::getInfoForCurrency(const QString& code) const {
    if (code == kUsd) {
        return getRubleCurrencyInfo();
    }
    auto row = std::make_shared<CCBRCurrencyInfo>();
    row->isoTextCode = code;
    row->displayName = Localization::localizedString(CurrencyNames::displayNameForCurrency(code));
    return row;
}

QStringList CRootViewModel::getAvailableCurrencyCodes() const {
    // In the sources' order, each once; a set spares a search of the list for each of a
    // source's hundred and more codes.
    QStringList codes;
    QSet<QString> seen;
    for (const QString& source : getAllSelectedDataSources()) {
        for (const QString& code : currencyDataSourceInfo_->getAvailableCurrencyCodes(source)) {
            if (!seen.contains(code)) {
                seen.insert(code);
                codes.append(code);
            }
        }
    }
    return codes;
}

bool CRootViewModel::isCurrencyCodeAvailable(const QString& code) const {
    const QStringList sources = getAllSelectedDataSources();
    return std::any_of(sources.cbegin(), sources.cend(), [&](const QString& source) {
        return currencyDataSourceInfo_->getAvailableCurrencyCodes(source).contains(code);
    });
}

QStringList CRootViewModel::getAvailableNotSelectedCurrencyCodes() const {
    QStringList codes;
    for (const QString& code : getAvailableCurrencyCodes()) {
        if (!findInList(code)) {
            codes.append(code);
        }
    }
    return codes;
}

void CRootViewModel::sortCurrencyDataSource() {
    const QStringList captured = getSelectedCurrencyCodes();
    const QString base = getBaseCurrencyCode();
    auto rank = [&](const CCBRCurrencyInfoPtr& row) {
        if (isConversionModeEnabled_ && row->isoTextCode == convertedCurrencyCode) {
            return 0;
        }
        return row->isoTextCode == base ? 1 : 2;
    };
    std::stable_sort(currencyDataSource_.begin(), currencyDataSource_.end(),
                     [&](const CCBRCurrencyInfoPtr& p, const CCBRCurrencyInfoPtr& q) {
                         const int rp = rank(p);
                         const int rq = rank(q);
                         if (rp != rq) {
                             return rp < rq;
                         }
                         return captured.indexOf(p->isoTextCode) < captured.indexOf(q->isoTextCode);
                     });
}

void CRootViewModel::synchronizeDataSourceWithInfo(const CCBRCurrenciesInfo& info,
                                                   const QStringList& failedSources) {
    const QStringList sources = getAllSelectedDataSources();
    const QStringList available = getAvailableCurrencyCodes();
    for (qsizetype i = currencyDataSource_.size() - 1; i >= 0; --i) {
        CCBRCurrencyInfo& row = *currencyDataSource_[i];
        if (row.isoTextCode == kUsd) {
            continue;
        }
        auto markNoRate = [&row] {
            row.saleValue = Decimal::nan();
            row.actualDate = QDateTime::currentDateTimeUtc();
            row.dataSource.clear();
            row.fromCache = false;
            row.sourceFailed = false;
        };
        if (!available.contains(row.isoTextCode)) {
            markNoRate();
            continue;
        }
        const QString sourceCode =
            relatedCurrenciesInfo_->hasRelatedCurrencyForCode(row.isoTextCode)
                ? relatedCurrenciesInfo_->getRelatedCurrencyForCode(row.isoTextCode)
                : row.isoTextCode;
        if (const CCBRCurrencyInfoPtr answer = info.findCurrencyInfoWithTextCode(sourceCode)) {
            synchronizeCurrencyInfo(row, *answer);
            continue;
        }
        // Each source's answers are cached under its own id; a source that failed this time
        // still supplies its last rates, in the order of the sources.
        CCBRCurrencyInfoPtr cached;
        for (qsizetype s = 0; !cached && s < sources.size(); ++s) {
            cached = currencyDataStorageManager().getCurrencyInfoForCode(sourceCode, sources[s]);
        }
        if (cached) {
            cached->sourceFailed = failedSources.contains(cached->dataSource);
            synchronizeCurrencyInfo(row, *cached);
        } else {
            markNoRate();
        }
    }
    saveSelectedCurrencyCodes();
}

void CRootViewModel::synchronizeCurrencyInfo(CCBRCurrencyInfo& target,
                                             const CCBRCurrencyInfo& source) const {
    if (relatedCurrenciesInfo_->hasRelatedCurrencyForCode(target.isoTextCode) &&
        !source.saleValue.isNaN()) {
        target.saleValue =
            source.saleValue * relatedCurrenciesInfo_->getMultiplierForCode(target.isoTextCode);
    } else {
        target.saleValue = source.saleValue;
    }
    target.nominalValue = source.nominalValue;
    target.actualDate = source.actualDate;
    target.dataSource = source.dataSource;
    target.fromCache = source.fromCache;
    target.sourceFailed = source.sourceFailed;
}

CCBRCurrencyInfoPtr CRootViewModel::findInList(const QString& code) const {
    for (const CCBRCurrencyInfoPtr& row : currencyDataSource_) {
        if (row->isoTextCode == code) {
            return row;
        }
    }
    return nullptr;
}

// Rates ------------------------------------------------------------------------------------------

Decimal CRootViewModel::getSaleValueForCurrency(const QString& code,
                                                const QString& relativeTo) const {
    const CCBRCurrencyInfoPtr b = findInList(relativeTo);
    const CCBRCurrencyInfoPtr a = findInList(code);
    if (!a || !b || a->saleValue.isNaN() || b->saleValue.isNaN()) {
        return Decimal::nan();
    }
    // A row never merged (nominal 0) gives a NaN one-unit value, and a zero denominator gives
    // NaN below: neither divides by zero.
    return saleValue(a->saleValueForCurrency(), b->saleValueForCurrency(), code, relativeTo);
}

Decimal CRootViewModel::getConversionSaleValue(const QString& code,
                                               const QString& relativeTo) const {
    if (!conversionDate.isValid()) {
        return getSaleValueForCurrency(code, relativeTo);
    }
    const auto a = conversionRates.constFind(code);
    const auto b = conversionRates.constFind(relativeTo);
    if (a == conversionRates.cend() || b == conversionRates.cend()) {
        return Decimal::nan();
    }
    return saleValue(a->usdValue, b->usdValue, code, relativeTo);
}

QDate CRootViewModel::getConversionRateDate(const QString& code, const QString& relativeTo) const {
    const auto a = conversionRates.constFind(code);
    const auto b = conversionRates.constFind(relativeTo);
    if (!conversionDate.isValid() || a == conversionRates.cend() || b == conversionRates.cend()) {
        return {};
    }
    return std::min(a->date, b->date);
}

Decimal CRootViewModel::saleValue(Decimal numerator, Decimal denominator, const QString& code,
                                  const QString& relativeTo) const {
    if (metalsInfo_->isCurrencyMetal(code)) {
        if (auto m = metalsInfo_->getMultiplierForCurrency(code)) {
            numerator *= *m;
        }
    }
    if (metalsInfo_->isCurrencyMetal(relativeTo)) {
        if (auto m = metalsInfo_->getMultiplierForCurrency(relativeTo)) {
            denominator *= *m;
        }
    }
    if (isConversionFeeEnabled()) {
        const Decimal fee = getConversionFee().value_or(Decimal());
        Decimal margin = fee.scaledByPowerOfTen(-2) * numerator;
        if (isSubtractFeeEnabled()) {
            margin = Decimal() - margin;
        }
        numerator += margin;
    }
    return numerator / denominator;
}

Decimal CRootViewModel::getSaleValueForBaseCurrency(const QString& code) const {
    const QString base = getBaseCurrencyCode();
    return isDisplayInverseRatesEnabled() ? getSaleValueForCurrency(base, code)
                                          : getSaleValueForCurrency(code, base);
}

Decimal CRootViewModel::getSaleValueForConvertedCurrency(const QString& code, bool inverse) const {
    const Decimal rate = inverse ? getConversionSaleValue(code, convertedCurrencyCode)
                                 : getConversionSaleValue(convertedCurrencyCode, code);
    if (rate.isNaN()) {
        return rate;
    }
    return rate * convertedCurrencyValue;
}

void CRootViewModel::setIsconversionModeEnabled(bool enabled) {
    isConversionModeEnabled_ = enabled;
    if (!enabled) {
        conversionDate = QDate();
        conversionRates.clear();
    }
    sortCurrencyDataSource();
    post(CurrencyDataSourceChanged);
}
