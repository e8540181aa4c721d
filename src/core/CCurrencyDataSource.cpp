#include "CCurrencyDataSource.h"

#include "CCustomDataSourceStorageManager.h"
#include "CRelatedCurrenciesInfo.h"
#include "CRootViewModel.h"
#include "Localization.h"
#include "Log.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>

namespace {

const QString usd = QStringLiteral("USD");
}  // namespace

CCurrencyDataSource::CCurrencyDataSource(CRootViewModel& model, Endpoints endpoints)
    : dataModel_(model),
      endpoints_(std::move(endpoints)),
      context_(std::make_unique<QObject>()),
      resultCurrenciesInfo_(std::make_shared<CCBRCurrenciesInfo>()) {}

CCurrencyDataSource::~CCurrencyDataSource() {
    context_.reset();
    if (frankfurterCurrenciesService_) {
        frankfurterCurrenciesService_->cancelAllHttpRequests();
    }
    for (CWebServiceClient* client : clients()) {
        client->cancelAllHttpRequests();
    }
}

std::vector<CWebServiceClient*> CCurrencyDataSource::clients() const {
    std::vector<CWebServiceClient*> made;
    for (CWebServiceClient* client : std::initializer_list<CWebServiceClient*>{
             cbrCurrenciesService_.get(), yahooFinanceService_.get(), ecbCurrenciesService_.get(),
             bloombergCurrenciesService_.get(), payPalService_.get(), ocbcBankService_.get(),
             bankUaService_.get(), customCurrenciesService_.get(), frankfurterService_.get(),
             currencyApiService_.get()}) {
        if (client != nullptr) {
            made.push_back(client);
        }
    }
    return made;
}

template <typename Client>
Client& CCurrencyDataSource::serviceFor(std::unique_ptr<Client>& slot) {
    if (!slot) {
        slot = std::make_unique<Client>(endpoints_);
    }
    slot->setDelegate(this);
    return *slot;
}

void CCurrencyDataSource::queryCurrencyRates() {
    queryCurrencyRateRelativeToBase(dataModel_.getBaseCurrencyCode());
}

void CCurrencyDataSource::queryCurrencyRateRelativeToBase(const QString& baseCurrency) {
    for (CWebServiceClient* client : clients()) {
        client->cancelAllHttpRequests();
    }
    ++cycle_;
    currentBaseCurrency_ = baseCurrency;
    selectedDataSources_ = dataModel_.getAllSelectedDataSources();
    currentDataSourceIndex_ = 0;
    resultCurrenciesInfo_ = std::make_shared<CCBRCurrenciesInfo>();
    answers_.clear();
    failures_.clear();
    failedDataSources_.clear();
    partialFailure_.reset();
    cycleActive_ = true;
    if (selectedDataSources_.isEmpty()) {
        // A refresh that nobody answers would leave the screen waiting for ever.
        failLater(QStringLiteral("No data source is selected."));
        return;
    }
    queryDataSource(selectedDataSources_.first());
}

void CCurrencyDataSource::queryDataSource(const QString& identifier) {
    const QStringList selectedCodes = dataModel_.getSelectedCurrencyCodes();
    if (identifier == CBR) {
        serviceFor(cbrCurrenciesService_).queryCurrenciesForDate(QDateTime::currentDateTime());
    } else if (identifier == YFinance) {
        const CRelatedCurrenciesInfo& related = dataModel_.relatedCurrenciesInfo();
        const QString base = related.hasRelatedCurrencyForCode(currentBaseCurrency_)
                                 ? related.getRelatedCurrencyForCode(currentBaseCurrency_)
                                 : currentBaseCurrency_;
        serviceFor(yahooFinanceService_)
            .queryCurrencies(filterAvailableCurrencies(selectedCodes, identifier), base);
    } else if (identifier == ECB) {
        serviceFor(ecbCurrenciesService_).queryCurrencies();
    } else if (identifier == Bloomberg) {
        serviceFor(bloombergCurrenciesService_).queryCurrencies();
    } else if (identifier == PayPal) {
        serviceFor(payPalService_)
            .queryCurrencies(filterAvailableCurrencies(selectedCodes, identifier),
                             currentBaseCurrency_);
    } else if (identifier == OCBC) {
        serviceFor(ocbcBankService_).queryCurrencies();
    } else if (identifier == BankUa) {
        serviceFor(bankUaService_).queryCurrencies();
    } else if (identifier == Frankfurter) {
        serviceFor(frankfurterService_)
            .queryCurrencies(filterAvailableCurrencies(selectedCodes, identifier), usd);
    } else if (identifier == CurrencyApi) {
        serviceFor(currencyApiService_).queryCurrencies(usd);
    } else {
        queryCustomDataSource(identifier);
    }
}

void CCurrencyDataSource::queryCustomDataSource(const QString& url) {
    if (!customCurrenciesService_) {
        customCurrenciesService_ = std::make_unique<CCustomCurrenciesWebServiceClient>();
    }
    customCurrenciesService_->delegate = this;
    customCurrenciesService_->queryCurrenciesWithUrl(url);
}

void CCurrencyDataSource::failLater(const QString& description) {
    QTimer::singleShot(0, context_.get(), [this, cycle = cycle_, description] {
        if (cycle == cycle_) {
            dataSourceFailed(description);
        }
    });
}

QStringList CCurrencyDataSource::filterAvailableCurrencies(const QStringList& codes,
                                                           const QString& dataSource) const {
    return filterAvailableCurrencies(
        codes, dataModel_.currencyDataSourceInfo().getAvailableCurrencyCodes(dataSource),
        dataModel_.relatedCurrenciesInfo());
}

QStringList CCurrencyDataSource::filterAvailableCurrencies(const QStringList& codes,
                                                           const QStringList& available,
                                                           const CRelatedCurrenciesInfo& related) {
    QStringList request;
    const auto add = [&](const QString& code) {
        if (!request.contains(code)) {
            request.append(code);
        }
    };
    if (!codes.contains(usd)) {
        add(usd);
    }
    for (const QString& code : codes) {
        if (!available.contains(code)) {
            continue;
        }
        if (related.hasRelatedCurrencyForCode(code)) {
            const QString relatedCode = related.getRelatedCurrencyForCode(code);
            if (available.contains(relatedCode)) {
                add(relatedCode);
            }
        } else {
            add(code);
        }
    }
    return request;
}

void CCurrencyDataSource::convertCurrenciesInfoToUsdBase(CCBRCurrenciesInfo& info) {
    const Decimal dollar = info.saleValueForCurrencyWithTextCode(usd);
    // A zero dollar cannot be divided by; like a missing one, it leaves no rates.
    const bool usable = !dollar.isNaN() && !dollar.isZero();
    const Decimal one = Decimal::fromInt(1);
    for (const CCBRCurrencyInfoPtr& row : info.currenciesInfo) {
        Decimal value = row->saleValueForCurrency();
        if (value.isZero()) {
            value = one;
        }
        row->saleValue = usable ? value / dollar : Decimal::nan();
        row->nominalValue = 1;
    }
}

namespace {

/// A date a rate cannot really have (years such as 2812 or 9999) is as no date at all.
QDateTime plausible(const QDateTime& date) {
    return date.isValid() && date.date().year() >= 1970 && date.date().year() <= 2100 ? date
                                                                                      : QDateTime();
}

QString printableName(const QString& name) {
    QString out;
    for (QChar c : name.trimmed()) {
        if (!c.isNonCharacter() && c.category() != QChar::Other_Control &&
            c.category() != QChar::Other_Format) {
            out.append(c);
        }
    }
    return out.left(100);
}

}  // namespace

bool CCurrencyDataSource::isIsoCode(const QString& code) {
    return code.size() == 3 &&
           std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'A' && c <= u'Z'; });
}

CCBRCurrenciesInfoPtr CCurrencyDataSource::usableRebasedRows(const CCBRCurrenciesInfo& answer,
                                                             const QString& source,
                                                             QString* failure) {
    auto usable = std::make_shared<CCBRCurrenciesInfo>();
    usable->currencyDate = plausible(answer.currencyDate);
    for (const CCBRCurrencyInfoPtr& row : answer.currenciesInfo) {
        if (!row) {
            continue;
        }
        const QString code = row->isoTextCode.trimmed();
        const Decimal value = row->saleValueForCurrency();
        if (!isIsoCode(code)) {
            nlog(QStringLiteral("%1: left out a row with the code \"%2\"")
                     .arg(source, printableName(row->isoTextCode).left(20)));
            continue;
        }
        if (!(value > Decimal())) {
            nlog(QStringLiteral("%1: left out %2 with the value %3")
                     .arg(source, code, value.toString()));
            continue;
        }
        auto copy = std::make_shared<CCBRCurrencyInfo>(*row);
        copy->isoTextCode = code;
        copy->displayName = printableName(row->displayName);
        copy->actualDate = plausible(row->actualDate);
        usable->addCurrencyInfo(copy);
    }
    if (!usable->findCurrencyInfoWithTextCode(usd)) {
        *failure = Localization::localizedString(QStringLiteral("AnswerWithoutDollar"));
        return nullptr;
    }
    convertCurrenciesInfoToUsdBase(*usable);
    // Dollars a unit: from a hundredth of a millionth of a cent to a trillion.
    static const Decimal lowest = Decimal::fromString(u"0.000000001");
    static const Decimal highest = Decimal::fromString(u"1000000000000");
    usable->currenciesInfo.removeIf([&](const CCBRCurrencyInfoPtr& row) {
        const bool sane = row->saleValue >= lowest && row->saleValue <= highest;
        if (!sane) {
            nlog(QStringLiteral("%1: left out %2 at %3 US dollars")
                     .arg(source, row->isoTextCode, row->saleValue.toString()));
        }
        return !sane;
    });
    if (usable->currenciesInfo.size() < 2) {  // the dollar alone says nothing
        *failure = Localization::localizedString(QStringLiteral("AnswerWithoutRates"));
        return nullptr;
    }
    return usable;
}

QString CCurrencyDataSource::currentDataSourceName() const {
    const QString id = selectedDataSources_.value(currentDataSourceIndex_);
    const QString name = dataModel_.currencyDataSourceInfo().getDataSourceDisplayName(id);
    return name.isEmpty() ? id : name;
}

void CCurrencyDataSource::mergeResultCurrenciesInfoWithInfo(const CCBRCurrenciesInfo& info) {
    for (const CCBRCurrencyInfoPtr& row : info.currenciesInfo) {
        if (!resultCurrenciesInfo_->findCurrencyInfoWithTextCode(row->isoTextCode)) {
            resultCurrenciesInfo_->addCurrencyInfo(row);
        }
    }
}

void CCurrencyDataSource::processNextDataSource() {
    ++currentDataSourceIndex_;
    if (currentDataSourceIndex_ < selectedDataSources_.size()) {
        queryDataSource(selectedDataSources_[currentDataSourceIndex_]);
        return;
    }
    cycleActive_ = false;
    if (answers_.isEmpty()) {
        // Every one of several sources failed: nothing fresh to deliver.
        if (delegate_ != nullptr) {
            delegate_->queryCurrencyDataSourceFailedWithErrorDescription(failuresText(false));
        }
        return;
    }
    if (!failures_.isEmpty()) {
        partialFailure_ = failuresText(true);
    }
    if (delegate_ != nullptr) {
        delegate_->queryCurrencyDataSourceCompletedWithResult(resultCurrenciesInfo_);
    }
}

QString CCurrencyDataSource::failuresText(bool delivered) const {
    QStringList names;
    QStringList reasons;
    for (const auto& [name, text] : failures_) {
        names.append(name);
        QString reason = CWebServiceClient::sourceFailureText(QString(), text, QString());
        if (reason.endsWith(u'.')) {
            reason.chop(1);
        }
        reasons.append(reason);
    }
    // The same reason (the network is down) is said once; different ones each by their source.
    QString reason = reasons.first();
    if (reasons.count(reason) != reasons.size()) {
        for (qsizetype i = 0; i < reasons.size(); ++i) {
            reasons[i] = QStringLiteral("%1: %2").arg(names[i], reasons[i]);
        }
        reason = reasons.join(QStringLiteral("; "));
    }
    const QString key = !delivered              ? QStringLiteral("SourceFailedMessage")
                        : failures_.size() == 1 ? QStringLiteral("SourceFailedOthersFreshMessage")
                                                : QStringLiteral("SourcesFailedOthersFreshMessage");
    return CWebServiceClient::sourceFailureText(names.join(QStringLiteral(", ")), reason, key);
}

void CCurrencyDataSource::dataSourceCompleted(CCBRCurrenciesInfoPtr result) {
    if (!cycleActive_) {
        return;
    }
    QString failure;
    const CCBRCurrenciesInfoPtr usable = usableRebasedRows(result ? *result : CCBRCurrenciesInfo(),
                                                           currentDataSourceName(), &failure);
    if (!usable) {
        // An answer that parses but says nothing usable must not pass for fresh rates.
        dataSourceFailed(failure);
        return;
    }
    const QString source = selectedDataSources_.value(currentDataSourceIndex_);
    for (const CCBRCurrencyInfoPtr& row : usable->currenciesInfo) {
        row->dataSource = source;
    }
    answers_.append({source, usable});
    mergeResultCurrenciesInfoWithInfo(*usable);
    processNextDataSource();
}

void CCurrencyDataSource::dataSourceFailed(const QString& description) {
    if (!cycleActive_) {
        return;
    }
    failedDataSources_.append(selectedDataSources_.value(currentDataSourceIndex_));
    if (selectedDataSources_.size() > 1) {
        // The other sources' fresh rates are worth more than this one's failure.
        nlog(QStringLiteral("%1 failed, the refresh goes on: %2")
                 .arg(currentDataSourceName(), description));
        failures_.append({currentDataSourceName(), description});
        processNextDataSource();
        return;
    }
    cycleActive_ = false;
    if (delegate_ != nullptr) {
        delegate_->queryCurrencyDataSourceFailedWithErrorDescription(
            CWebServiceClient::sourceFailureText(currentDataSourceName(), description,
                                                 QStringLiteral("SourceFailedMessage")));
    }
}

void CCurrencyDataSource::customDataSourceCompleted(
    const QString& url, CCBRCurrenciesInfoPtr result, const std::optional<QString>& displayName,
    const std::optional<QByteArray>& logoImageData) {
    if (!cycleActive_) {
        return;
    }
    CCustomDataSourceInfo info;
    info.url = url;
    if (displayName) {
        info.displayName = printableName(*displayName);
    }
    info.logoImageData = logoImageData;
    if (result) {
        for (const CCBRCurrencyInfoPtr& row : result->currenciesInfo) {
            if (isIsoCode(row->isoTextCode.trimmed())) {
                info.currenciesList.append(row->isoTextCode.trimmed());
            }
        }
    }
    dataModel_.customDataSourceStorage().updateDataSource(url, info);
    dataSourceCompleted(std::move(result));
}

void CCurrencyDataSource::queryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) {
    dataSourceCompleted(std::move(result));
}

void CCurrencyDataSource::queryFailedWithErrorDescription(const QString& description) {
    dataSourceFailed(description);
}

void CCurrencyDataSource::ecbCurrenciesQueryCurrenciesCompletedWithResult(
    CCBRCurrenciesInfoPtr result) {
    dataSourceCompleted(std::move(result));
}

void CCurrencyDataSource::ecbCurrenciesQueryFailedWithErrorDescription(const QString& description) {
    dataSourceFailed(description);
}

void CCurrencyDataSource::bloombergQueryCurrenciesCompletedWithResult(
    CCBRCurrenciesInfoPtr result) {
    dataSourceCompleted(std::move(result));
}

void CCurrencyDataSource::bloombergQueryFailedWithErrorDescription(const QString& description) {
    dataSourceFailed(description);
}

void CCurrencyDataSource::ocbcQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) {
    dataSourceCompleted(std::move(result));
}

void CCurrencyDataSource::ocbcQueryFailedWithErrorDescription(const QString& description) {
    dataSourceFailed(description);
}

void CCurrencyDataSource::bankUaQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) {
    dataSourceCompleted(std::move(result));
}

void CCurrencyDataSource::bankUaQueryFailedWithErrorDescription(const QString& description) {
    dataSourceFailed(description);
}

void CCurrencyDataSource::yahooFinanceQueryCurrenciesCompletedWithResult(
    CCBRCurrenciesInfoPtr result) {
    dataSourceCompleted(std::move(result));
}

void CCurrencyDataSource::yahooFinanceQueryFailedWithErrorDescription(const QString& description) {
    dataSourceFailed(description);
}

void CCurrencyDataSource::payPalQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) {
    dataSourceCompleted(std::move(result));
}

void CCurrencyDataSource::payPalQueryFailedWithErrorDescription(const QString& description) {
    dataSourceFailed(description);
}

void CCurrencyDataSource::customCurrenciesQueryCurrenciesCompleted(
    CCustomCurrenciesWebServiceClient* client, CCBRCurrenciesInfoPtr rates,
    const std::optional<QString>& displayName, const std::optional<QByteArray>& logo) {
    customDataSourceCompleted(client->serviceUrl(), std::move(rates), displayName, logo);
}

void CCurrencyDataSource::customCurrenciesQueryFailed(CCustomCurrenciesWebServiceClient*,
                                                      const QString& text) {
    dataSourceFailed(text);
}

void CCurrencyDataSource::frankfurterQueryCurrenciesCompletedWithResult(
    CCBRCurrenciesInfoPtr result) {
    if (!cycleActive_) {
        return;
    }
    // The list of codes is refreshed at most daily, after a refresh that worked, so a refresh
    // still costs one request and a service that is down is not asked twice.
    const QDateTime listed = dataModel_.availableCurrencyCodesDate(Frankfurter);
    if (!listed.isValid() ||
        listed.secsTo(QDateTime::currentDateTimeUtc()) > availableCurrenciesMaximumAgeSeconds) {
        if (!frankfurterCurrenciesService_) {
            frankfurterCurrenciesService_ =
                std::make_unique<CFrankfurterWebServiceClient>(endpoints_);
        }
        frankfurterCurrenciesService_->setDelegate(this);
        frankfurterCurrenciesService_->queryAvailableCurrencies();
    }
    dataSourceCompleted(std::move(result));
}

void CCurrencyDataSource::frankfurterQueryFailedWithErrorDescription(const QString& description) {
    dataSourceFailed(description);
}

void CCurrencyDataSource::frankfurterAvailableCurrenciesReceived(const QStringList& codes) {
    dataModel_.setAvailableCurrencyCodesForDataSource(Frankfurter, codes);
}

void CCurrencyDataSource::currencyApiQueryCurrenciesCompletedWithResult(
    CCBRCurrenciesInfoPtr result) {
    dataSourceCompleted(std::move(result));
}

void CCurrencyDataSource::currencyApiQueryFailedWithErrorDescription(const QString& description) {
    dataSourceFailed(description);
}
