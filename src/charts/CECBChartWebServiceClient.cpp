#include "CECBChartWebServiceClient.h"

#include "CECBChartXMLParserDelegate.h"
#include "XmlParser.h"

using namespace ChartProviderSupport;

namespace {

const QString euro = QStringLiteral("EUR");
const QString seriesPathTemplate = QStringLiteral("/stats/exchange/eurofxref/html/%1.xml");

}  // namespace

CECBChartWebServiceClient::CECBChartWebServiceClient(const Endpoints& endpoints)
    : endpoints_(endpoints) {}

CECBChartWebServiceClient::~CECBChartWebServiceClient() {
    cancelAllHttpRequests();
    delegate_ = nullptr;
}

QUrl CECBChartWebServiceClient::seriesUrl(const Endpoints& endpoints, const QString& code) {
    return endpoints.url(Endpoints::Ecb, seriesPathTemplate.arg(urlSafeCode(code.toLower())));
}

void CECBChartWebServiceClient::queryCurrencyChart(const QStringList& pair, int period) {
    cancelAllHttpRequests();
    firstCurrencyData_.reset();
    secondCurrencyData_.reset();
    shouldRequestBothCurrencies_ = false;
    shouldInvertChartData_ = false;
    currencyPair_ = pair.size() == 2 ? QStringList{pair[1], pair[0]} : QStringList{};
    chartPeriod_ = period;
    if (currencyPair_.isEmpty()) {
        deliverLater(emptyRecord());
        return;
    }
    const QString& first = pair[0];
    const QString& last = pair[1];
    if (first == euro) {
        shouldInvertChartData_ = true;
        queryChartForCurrency(last);
        return;
    }
    if (last != euro) {
        shouldRequestBothCurrencies_ = true;
    }
    queryChartForCurrency(first);
}

void CECBChartWebServiceClient::queryChartForCurrency(const QString& code) {
    auto request = std::make_shared<CHttpRequest>(seriesUrl(endpoints_, code));
    request->requestSettings.method = "GET";
    sendAsyncHttpRequest(std::move(request));
}

CECBChartWebServiceClient::ParsedSeries CECBChartWebServiceClient::parseSeries(
    const QByteArray& data, const QTimeZone& zone, const CancelCheck& isCancelled) {
    ParsedSeries result;
    XmlParser parser(data);
    CECBChartXMLParserDelegate handler(zone, &parser, isCancelled);
    const bool parsed = parser.parse(handler);
    if (isCancelled()) {
        result.cancelled = true;
        return result;
    }
    if (!parsed) {
        result.error = parser.errorString();
        return result;
    }
    result.points = handler.chartPoints();
    return result;
}

void CECBChartWebServiceClient::requestSucceeded(CHttpRequest&, const QByteArray& data) {
    operationQueue().addOperation([this, data, zone = timeZone_](const Operation& operation) {
        if (operation.isCancelled()) {
            return;
        }
        ParsedSeries series =
            parseSeries(data, zone, [&operation] { return operation.isCancelled(); });
        if (series.cancelled || operation.isCancelled()) {
            return;
        }
        if (series.error) {
            performOnMainThread(operation, [this, error = *series.error] { fail(error); });
            return;
        }
        performOnMainThread(
            operation, [this, points = std::move(series.points)] { processParsedData(points); });
    });
}

void CECBChartWebServiceClient::processParsedData(const CCurrencyChartPointList& points) {
    if (shouldInvertChartData_) {
        firstCurrencyData_ = points;
    } else if (shouldRequestBothCurrencies_) {
        if (!secondCurrencyData_) {
            secondCurrencyData_ = points;
            queryChartForCurrency(currencyPair_[0]);
            return;
        }
        firstCurrencyData_ = points;
    } else {
        secondCurrencyData_ = points;
    }
    makeCurrencyChartInfoAsync();
}

void CECBChartWebServiceClient::makeCurrencyChartInfoAsync() {
    SeriesCombinationInput input;
    if (shouldInvertChartData_) {
        input.combination = SeriesCombination::Inverted;
        input.series = firstCurrencyData_.value_or(CCurrencyChartPointList());
    } else if (shouldRequestBothCurrencies_) {
        input.combination = SeriesCombination::CrossRate;
        input.series = secondCurrencyData_.value_or(CCurrencyChartPointList());
        input.divisor = firstCurrencyData_.value_or(CCurrencyChartPointList());
    } else {
        input.combination = SeriesCombination::AsDelivered;
        input.series = secondCurrencyData_.value_or(CCurrencyChartPointList());
    }
    // The bank always sends the whole history.
    input.cutToPeriod = true;
    input.chartPeriod = chartPeriod_;
    input.firstCurrencyCode = currencyPair_.value(0);
    input.lastCurrencyCode = currencyPair_.value(1);
    input.timeZone = timeZone_;
    operationQueue().addOperation([this, input = std::move(input)](const Operation& operation) {
        if (operation.isCancelled()) {
            return;
        }
        std::optional<CCurrencyChartInfo> record =
            combineSeries(input, [&operation] { return operation.isCancelled(); });
        if (!record || operation.isCancelled()) {
            return;
        }
        performOnMainThread(operation, [this, record = std::move(*record)] { deliver(record); });
    });
}

void CECBChartWebServiceClient::requestFailed(CHttpRequest&, const std::optional<HttpError>& error,
                                              const std::optional<HttpResponse>& response,
                                              const std::optional<QByteArray>& data) {
    if (!error && response && response->statusCode == 404) {
        deliver(emptyRecord());
        return;
    }
    fail(logRequestFailure(logName, error, response, data));
}

CCurrencyChartInfo CECBChartWebServiceClient::emptyRecord() const {
    CCurrencyChartInfo record;
    record.chartPeriod = chartPeriod_;
    record.firstCurrencyCode = currencyPair_.value(0);
    record.lastCurrencyCode = currencyPair_.value(1);
    return record;
}

void CECBChartWebServiceClient::deliver(const CCurrencyChartInfo& record) {
    if (delegate_ != nullptr) {
        delegate_->ecbCurrenciesQueryChartCompletedWithResult(record);
    }
}

void CECBChartWebServiceClient::deliverLater(CCurrencyChartInfo record) {
    // Through the queue, so that a newer query cancels this delivery like any other.
    operationQueue().addOperation([this, record = std::move(record)](const Operation& operation) {
        performOnMainThread(operation, [this, record] { deliver(record); });
    });
}

void CECBChartWebServiceClient::fail(const QString& description) {
    if (delegate_ != nullptr) {
        delegate_->ecbCurrenciesQueryFailedWithErrorDescription(description);
    }
}
