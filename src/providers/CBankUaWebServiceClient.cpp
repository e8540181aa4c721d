#include "CBankUaWebServiceClient.h"

#include "ProviderParsing.h"
#include "XmlParser.h"

CBankUaWebServiceClient::CBankUaWebServiceClient(const Endpoints& endpoints)
    : endpoints_(endpoints), xmlParserDelegate_(std::make_unique<CBankUaXMLParserDelegate>()) {}

void CBankUaWebServiceClient::queryCurrencies() {
    cancelAllHttpRequests();
    xmlParserDelegate_ = std::make_unique<CBankUaXMLParserDelegate>();
    sendRequest(endpoints_.url(Endpoints::BankUa, currenciesPath));
}

void CBankUaWebServiceClient::sendRequest(const QUrl& url) {
    currentRequestUri_ = url;
    auto request = std::make_shared<CHttpRequest>(url);
    request->requestSettings.method = "GET";
    sendAsyncHttpRequest(std::move(request));
}

void CBankUaWebServiceClient::requestSucceeded(CHttpRequest&, const QByteArray& data) {
    XmlParser parser(ProviderParsing::utf8FromWindows1251Document(data));
    if (!parser.parse(*xmlParserDelegate_)) {
        fail(notUnderstood(parser.errorString()));
        return;
    }
    const QUrl currencies = endpoints_.url(Endpoints::BankUa, currenciesPath);
    if (currentRequestUri_ == currencies) {
        sendRequest(endpoints_.url(Endpoints::BankUa, metalsPath));
        return;
    }
    // The hryvnia rows take the latest day of the exports; the items keep their own.
    xmlParserDelegate_->currenciesInfo()->setPublishedDate(xmlParserDelegate_->latestDay());
    if (delegate_ != nullptr) {
        delegate_->bankUaQueryCurrenciesCompletedWithResult(xmlParserDelegate_->currenciesInfo());
    }
}

void CBankUaWebServiceClient::requestFailed(CHttpRequest&, const std::optional<HttpError>& error,
                                            const std::optional<HttpResponse>& response,
                                            const std::optional<QByteArray>& data) {
    fail(logRequestFailure(logName, error, response, data));
}

void CBankUaWebServiceClient::fail(const QString& description) {
    if (delegate_ != nullptr) {
        delegate_->bankUaQueryFailedWithErrorDescription(description);
    }
}
