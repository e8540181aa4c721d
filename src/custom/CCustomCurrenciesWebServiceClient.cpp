#include "CCustomCurrenciesWebServiceClient.h"

#include "XmlParser.h"

void CCustomCurrenciesWebServiceClient::queryCurrenciesWithUrl(const QString& url) {
    cancelAllHttpRequests();  // the feed and the logo step alike run on this client's queue
    serviceUrl_ = url;
    auto request = std::make_shared<CHttpRequest>(QUrl(url));
    request->requestSettings.method = "GET";
    request->requestSettings.cachePolicy = HttpCachePolicy::ReloadIgnoringLocalCacheData;
    request->tag = FeedStep;
    sendAsyncHttpRequest(request);
}

void CCustomCurrenciesWebServiceClient::requestSucceeded(CHttpRequest& request,
                                                         const QByteArray& data) {
    if (request.tag == LogoStep) {
        if (delegate != nullptr) {
            delegate->customCurrenciesQueryCurrenciesCompleted(
                this, xmlParserDelegate_->currenciesInfo, xmlParserDelegate_->dataSourceDisplayName,
                data);
        }
        return;
    }
    xmlParserDelegate_ = std::make_unique<CCustomCurrenciesXMLParserDelegate>();
    XmlParser parser(data);
    if (!parser.parse(*xmlParserDelegate_)) {
        if (delegate != nullptr) {
            delegate->customCurrenciesQueryFailed(this, parser.errorString());
        }
        return;
    }
    if (xmlParserDelegate_->logoUrl) {
        auto logo = std::make_shared<CHttpRequest>(QUrl(*xmlParserDelegate_->logoUrl));
        logo->requestSettings.maximumBodySize = maximumLogoSize;
        logo->tag = LogoStep;
        sendAsyncHttpRequest(logo);
        return;
    }
    if (delegate != nullptr) {
        delegate->customCurrenciesQueryCurrenciesCompleted(
            this, xmlParserDelegate_->currenciesInfo, xmlParserDelegate_->dataSourceDisplayName,
            std::nullopt);
    }
}

void CCustomCurrenciesWebServiceClient::requestFailed(CHttpRequest& request,
                                                      const std::optional<HttpError>& error,
                                                      const std::optional<HttpResponse>& response,
                                                      const std::optional<QByteArray>& data) {
    // The logo step reports without the feed's log line.
    const QString text =
        request.tag == LogoStep
            ? failureDescription(error, response)
            : logRequestFailure(QStringLiteral("Custom currencies"), error, response, data);
    if (delegate != nullptr) {
        delegate->customCurrenciesQueryFailed(this, text);
    }
}
