#include "CECBChartWebServiceClient.h"

#include "CECBChartXMLParserDelegate.h"
#include "XmlParser.h"

using namespace ChartProviderSupport;

namespace {

const QString euro = QStringLiteral("EUR");
const QString seriesPathTemplate = QStringLiteral("/stats/exchange/eurofxref/html/%1.xml");

}  // namespace

CECBChartWebServiceClient::CECBChartWebServiceClient(const Endpoints& endpoints)
    : CCentralBankChartWebServiceClient(endpoints, logName, PairOrder::Reversed, euro,
                                        PeriodCut::CutToPeriod) {}

CECBChartWebServiceClient::~CECBChartWebServiceClient() {
    cancelAllHttpRequests();
    delegate_ = nullptr;
}

QUrl CECBChartWebServiceClient::seriesUrl(const Endpoints& endpoints, const QString& code) {
    return endpoints.url(Endpoints::Ecb, seriesPathTemplate.arg(urlSafeCode(code.toLower())));
}

void CECBChartWebServiceClient::queryChartForCurrency(const QString& code) {
    sendGetRequest(seriesUrl(endpoints(), code));
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

CECBChartWebServiceClient::SeriesParser CECBChartWebServiceClient::seriesParser(
    const QByteArray& data) const {
    return [data, zone = timeZone()](const CancelCheck& isCancelled) {
        return parseSeries(data, zone, isCancelled);
    };
}

void CECBChartWebServiceClient::requestFailed(CHttpRequest& request,
                                              const std::optional<HttpError>& error,
                                              const std::optional<HttpResponse>& response,
                                              const std::optional<QByteArray>& data) {
    if (!error && response && response->statusCode == 404) {
        deliver(emptyRecord());
        return;
    }
    CCentralBankChartWebServiceClient::requestFailed(request, error, response, data);
}

void CECBChartWebServiceClient::deliver(const CCurrencyChartInfo& record) {
    if (delegate_ != nullptr) {
        delegate_->ecbCurrenciesQueryChartCompletedWithResult(record);
    }
}

void CECBChartWebServiceClient::fail(const QString& description) {
    if (delegate_ != nullptr) {
        delegate_->ecbCurrenciesQueryFailedWithErrorDescription(description);
    }
}
