#include "CCurrencyChartDataSource.h"

#include "CChartDataStorageManager.h"
#include "CCurrencyChartSettings.h"
#include "CRootViewModel.h"
#include "Endpoints.h"
#include "Localization.h"
#include "Log.h"

namespace {

const QString yahooFinance = QStringLiteral("YFinance");
const QString bloomberg = QStringLiteral("Bloomberg");
const QString ecb = QStringLiteral("ECB");
const QString cbr = QStringLiteral("CBR");
const QString frankfurter = QStringLiteral("Frankfurter");

}  // namespace

bool CCurrencyChartDataSource::isDataSourceSupported(const QString& dataSource) {
    return dataSource == yahooFinance || dataSource == bloomberg || dataSource == ecb ||
           dataSource == cbr || dataSource == frankfurter;
}

std::optional<QList<int>> CCurrencyChartDataSource::supportedPeriodsForDatasource(
    const QString& dataSource) {
    if (dataSource == yahooFinance) {
        return QList<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    }
    if (dataSource == bloomberg) {
        return QList<int>{0, 1, 2, 3, 4, 5, 7, 8};
    }
    if (dataSource == ecb || dataSource == cbr || dataSource == frankfurter) {
        return QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    }
    return std::nullopt;
}

int CCurrencyChartDataSource::supportedPeriodForDataSource(const QString& dataSource, int period) {
    const std::optional<QList<int>> periods = supportedPeriodsForDatasource(dataSource);
    if (!periods || periods->isEmpty() || periods->contains(period)) {
        return period;
    }
    return periods->first();
}

CCurrencyChartDataSource::CCurrencyChartDataSource(CRootViewModel& model,
                                                   CChartDataStorageManager* cache,
                                                   Endpoints endpoints)
    : dataModel_(model), cache_(cache), endpoints_(std::move(endpoints)) {}

CCurrencyChartDataSource::~CCurrencyChartDataSource() {
    // No answer may reach this object once it is gone.
    for (CWebServiceClient* client : std::initializer_list<CWebServiceClient*>{
             yahooService_.get(), bloombergService_.get(), ecbService_.get(), cbrService_.get(),
             frankfurterService_.get()}) {
        if (client != nullptr) {
            client->cancelAllHttpRequests();
        }
    }
    if (yahooService_) {
        yahooService_->setDelegate(nullptr);
    }
    if (bloombergService_) {
        bloombergService_->setDelegate(nullptr);
    }
    if (ecbService_) {
        ecbService_->setDelegate(nullptr);
    }
    if (cbrService_) {
        cbrService_->setDelegate(nullptr);
    }
    if (frankfurterService_) {
        frankfurterService_->setDelegate(nullptr);
    }
}

QStringList CCurrencyChartDataSource::requestPairForCurrencyPair(const QStringList& pair) const {
    const CRelatedCurrenciesInfo& related = dataModel_.relatedCurrenciesInfo();
    QStringList requestPair;
    for (const QString& code : pair) {
        const QString relatedCode = related.hasRelatedCurrencyForCode(code)
                                        ? related.getRelatedCurrencyForCode(code)
                                        : QString();
        requestPair.append(relatedCode.isEmpty() ? code : relatedCode);
    }
    return requestPair;
}

std::optional<CCurrencyChartInfo> CCurrencyChartDataSource::getCachedChartInfo() const {
    if (cache_ == nullptr) {
        return std::nullopt;
    }
    UserDefaults& defaults = dataModel_.userDefaults();
    const std::optional<QStringList> pair = CCurrencyChartSettings::getCurrencyPair(defaults);
    const std::optional<QString> source = dataModel_.getSelectedDataSource();
    if (!pair || !source) {
        return std::nullopt;
    }
    const int period =
        supportedPeriodForDataSource(*source, CCurrencyChartSettings::getChartPeriod(defaults));
    return cache_->getChartInfoForCurrencyPair(*pair, period, *source);
}

void CCurrencyChartDataSource::queryCharts() {
    UserDefaults& defaults = dataModel_.userDefaults();
    // A malformed stored pair becomes an empty one, which every client answers with no data.
    const QStringList pair =
        CCurrencyChartSettings::getCurrencyPair(defaults).value_or(QStringList());
    const std::optional<QString> source = dataModel_.getSelectedDataSource();
    const int storedPeriod = CCurrencyChartSettings::getChartPeriod(defaults);
    const int period = source ? supportedPeriodForDataSource(*source, storedPeriod) : storedPeriod;
    if (period != storedPeriod) {
        CCurrencyChartSettings::setChartPeriod(period, defaults);
    }
    queryChart(pair, period);
}

void CCurrencyChartDataSource::queryChart(const QStringList& pair, int period) {
    cancelQuery();
    query_.reset();
    const std::optional<QString> source = dataModel_.getSelectedDataSource();
    if (!source || !isDataSourceSupported(*source)) {
        return;
    }
    query_ = Query{*source, pair, requestPairForCurrencyPair(pair), period};

    if (*source == yahooFinance) {
        if (!yahooService_) {
            yahooService_ = std::make_unique<CYahooFinanceChartWebServiceClient>(endpoints_);
        }
        yahooService_->setDelegate(this);
        yahooService_->queryCurrencyChart(query_->requestPair, period);
    } else if (*source == bloomberg) {
        if (!bloombergService_) {
            bloombergService_ = std::make_unique<CBloombergChartWebServiceClient>(endpoints_);
        }
        bloombergService_->setDelegate(this);
        bloombergService_->queryCurrencyChart(query_->requestPair, period);
    } else if (*source == ecb) {
        if (!ecbService_) {
            ecbService_ = std::make_unique<CECBChartWebServiceClient>(endpoints_);
        }
        ecbService_->setDelegate(this);
        ecbService_->queryCurrencyChart(query_->requestPair, period);
    } else if (*source == cbr) {
        if (!cbrService_) {
            cbrService_ = std::make_unique<CCBRChartWebServiceClient>(endpoints_);
            cbrService_->setCurrencyCodesDict(CCBRChartWebServiceClient::loadInternalCodes());
        }
        cbrService_->setDelegate(this);
        cbrService_->queryCurrencyChart(query_->requestPair, period);
    } else if (*source == frankfurter) {
        if (!frankfurterService_) {
            frankfurterService_ = std::make_unique<CFrankfurterChartWebServiceClient>(endpoints_);
        }
        frankfurterService_->setDelegate(this);
        frankfurterService_->queryCurrencyChart(query_->requestPair, period);
    }
}

void CCurrencyChartDataSource::cancelQuery() {
    for (CWebServiceClient* client : std::initializer_list<CWebServiceClient*>{
             yahooService_.get(), bloombergService_.get(), ecbService_.get(), cbrService_.get(),
             frankfurterService_.get()}) {
        if (client != nullptr) {
            client->cancelAllHttpRequests();
        }
    }
}

void CCurrencyChartDataSource::completed(CCurrencyChartInfo record) {
    // Nothing a service sends may draw a plainly wrong chart: a value that is not a positive
    // ratio of two sane prices, or a day that cannot be real, is as absent.
    static const Decimal lowest = Decimal::fromString(u"1e-21");
    static const Decimal highest = Decimal::fromString(u"1e21");
    const qsizetype before = record.plotPoints.size();
    record.plotPoints.removeIf([](const CCurrencyChartPoint& point) {
        const int year = point.date.date().year();
        return !(point.value >= lowest && point.value <= highest) || !point.date.isValid() ||
               year < 1970 || year > 2100;
    });
    if (record.plotPoints.size() != before) {
        nlog(QStringLiteral("%1 chart: left out %2 points without a sane value or date")
                 .arg(query_ ? query_->dataSource : QString())
                 .arg(before - record.plotPoints.size()));
        record.updateExtremes();
    }
    if (query_) {
        // A related currency is quoted as a fixed fraction of the currency asked for (pence of
        // the pound): the rate of the charted pair is the provider's rate times that ratio.
        const CRelatedCurrenciesInfo& related = dataModel_.relatedCurrenciesInfo();
        auto multiplier = [&related](const QString& code) {
            if (related.hasRelatedCurrencyForCode(code) &&
                !related.getRelatedCurrencyForCode(code).isEmpty()) {
                const Decimal m = related.getMultiplierForCode(code);
                if (!m.isNaN() && m > Decimal()) {
                    return m;
                }
            }
            return Decimal::fromInt(1);
        };
        const Decimal factor =
            multiplier(query_->pair.value(1)) / multiplier(query_->pair.value(0));
        if (record.hasData() && !factor.isNaN() && factor != Decimal::fromInt(1)) {
            for (CCurrencyChartPoint& point : record.plotPoints) {
                point.value *= factor;
            }
            record.updateExtremes();
        }
        record.firstCurrencyCode = query_->pair.value(0);
        record.lastCurrencyCode = query_->pair.value(1);
        if (record.hasData() && cache_ != nullptr) {
            cache_->addChartInfo(record, query_->dataSource);
        }
    }
    if (delegate_ != nullptr) {
        delegate_->queryCurrencyChartDataSourceCompletedWithResult(record);
    }
}

void CCurrencyChartDataSource::failed(const QString& description) {
    if (delegate_ != nullptr) {
        const QString source = query_
                                   ? Localization::localizedString(
                                         query_->dataSource + QStringLiteral("-CurrencyDataSource"))
                                   : QString();
        delegate_->queryCurrencyChartDataSourceFailedWithErrorDescription(
            CWebServiceClient::sourceFailureText(source, description, failureMessageKey_));
    }
}

void CCurrencyChartDataSource::yahooFinanceQueryChartCompletedWithResult(
    const CCurrencyChartInfo& result) {
    completed(result);
}

void CCurrencyChartDataSource::yahooFinanceQueryFailedWithErrorDescription(
    const QString& description) {
    failed(description);
}

void CCurrencyChartDataSource::bloombergQueryChartCompletedWithResult(
    const CCurrencyChartInfo& result) {
    completed(result);
}

void CCurrencyChartDataSource::bloombergQueryFailedWithErrorDescription(
    const QString& description) {
    failed(description);
}

void CCurrencyChartDataSource::ecbCurrenciesQueryChartCompletedWithResult(
    const CCurrencyChartInfo& result) {
    completed(result);
}

void CCurrencyChartDataSource::ecbCurrenciesQueryFailedWithErrorDescription(
    const QString& description) {
    failed(description);
}

void CCurrencyChartDataSource::cbrCurrenciesQueryChartCompletedWithResult(
    const CCurrencyChartInfo& result) {
    completed(result);
}

void CCurrencyChartDataSource::cbrCurrenciesQueryFailedWithErrorDescription(
    const QString& description) {
    failed(description);
}

void CCurrencyChartDataSource::frankfurterQueryChartCompletedWithResult(
    const CCurrencyChartInfo& result) {
    completed(result);
}

void CCurrencyChartDataSource::frankfurterQueryChartFailedWithErrorDescription(
    const QString& description) {
    failed(description);
}
