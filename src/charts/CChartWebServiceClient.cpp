#include "CChartWebServiceClient.h"

using namespace ChartProviderSupport;

CChartWebServiceClient::CChartWebServiceClient(const Endpoints& endpoints, const QString& logName,
                                               PairOrder order)
    : endpoints_(endpoints), logName_(logName), pairOrder_(order) {}

bool CChartWebServiceClient::beginQuery(const QStringList& pair, int period) {
    cancelAllHttpRequests();
    if (pair.size() != 2) {
        currencyPair_.clear();
    } else if (pairOrder_ == PairOrder::Reversed) {
        currencyPair_ = QStringList{pair[1], pair[0]};
    } else {
        currencyPair_ = pair;
    }
    chartPeriod_ = period;
    return !currencyPair_.isEmpty();
}

void CChartWebServiceClient::deliverEmptyRecordLater(int period) {
    CCurrencyChartInfo empty;
    empty.chartPeriod = period;
    deliverLater(empty);
}

void CChartWebServiceClient::deliverLater(CCurrencyChartInfo record) {
    operationQueue().addOperation([this, record = std::move(record)](const Operation& operation) {
        performOnMainThread(operation, [this, record] { deliver(record); });
    });
}

void CChartWebServiceClient::sendGetRequest(const QUrl& url) {
    auto request = std::make_shared<CHttpRequest>(url);
    request->requestSettings.method = "GET";
    sendAsyncHttpRequest(std::move(request));
}

void CChartWebServiceClient::readRecordAsync(const QByteArray& data, RecordReader reader) {
    operationQueue().addOperation([this, reader, data, pair = currencyPair_, period = chartPeriod_,
                                   zone = timeZone_](const Operation& operation) {
        if (operation.isCancelled()) {
            return;
        }
        std::optional<CCurrencyChartInfo> record =
            reader(data, pair, period, zone, [&operation] { return operation.isCancelled(); });
        if (!record || operation.isCancelled()) {
            return;
        }
        performOnMainThread(operation, [this, record = std::move(*record)] { deliver(record); });
    });
}

void CChartWebServiceClient::requestFailed(CHttpRequest&, const std::optional<HttpError>& error,
                                           const std::optional<HttpResponse>& response,
                                           const std::optional<QByteArray>& data) {
    fail(logRequestFailure(logName_, error, response, data));
}
