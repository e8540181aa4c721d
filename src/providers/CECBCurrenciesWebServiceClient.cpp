#include "CECBCurrenciesWebServiceClient.h"

#include "CECBCurrenciesXMLParserDelegate.h"
#include "XmlParser.h"

CECBCurrenciesWebServiceClient::CECBCurrenciesWebServiceClient(const Endpoints& endpoints)
    : endpoints_(endpoints) {}

void CECBCurrenciesWebServiceClient::queryCurrencies() {
    cancelAllHttpRequests();
    auto request = std::make_shared<CHttpRequest>(endpoints_.url(Endpoints::Ecb, path));
    request->requestSettings.method = "GET";
    request->requestSettings.cachePolicy = HttpCachePolicy::ReloadIgnoringLocalCacheData;
    sendAsyncHttpRequest(std::move(request));
}

void CECBCurrenciesWebServiceClient::requestSucceeded(CHttpRequest&, const QByteArray& data) {
    XmlParser parser(data);
    CECBCurrenciesXMLParserDelegate handler;
    if (!parser.parse(handler)) {
        fail(notUnderstood(parser.errorString()));
        return;
    }
    if (delegate_ != nullptr) {
        delegate_->ecbCurrenciesQueryCurrenciesCompletedWithResult(handler.currenciesInfo());
    }
}

void CECBCurrenciesWebServiceClient::requestFailed(CHttpRequest&,
                                                   const std::optional<HttpError>& error,
                                                   const std::optional<HttpResponse>& response,
                                                   const std::optional<QByteArray>& data) {
    fail(logRequestFailure(logName, error, response, data));
}

void CECBCurrenciesWebServiceClient::fail(const QString& description) {
    if (delegate_ != nullptr) {
        delegate_->ecbCurrenciesQueryFailedWithErrorDescription(description);
    }
}
