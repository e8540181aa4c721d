#include "CCustomCurrenciesWebServiceClient.h"

#include "XmlParser.h"

namespace {

void askWith(CHttpRequest& request, const CCustomCurrenciesWebServiceClient::Validators& v) {
    if (v.url != request.requestSettings.url.toString()) {
        return;
    }
    if (!v.entityTag.isEmpty()) {
        request.requestSettings.setHeader("If-None-Match", v.entityTag);
    }
    if (!v.lastModified.isEmpty()) {
        request.requestSettings.setHeader("If-Modified-Since", v.lastModified);
    }
}

constexpr int kNotModified = 304;

}  // namespace

void CCustomCurrenciesWebServiceClient::queryCurrenciesWithUrl(const QString& url) {
    cancelAllHttpRequests();  // the feed and the logo step alike run on this client's queue
    serviceUrl_ = url;
    auto request = std::make_shared<CHttpRequest>(QUrl(url));
    request->requestSettings.method = "GET";
    request->requestSettings.cachePolicy = HttpCachePolicy::ReloadIgnoringLocalCacheData;
    request->tag = FeedStep;
    askWith(*request, feedValidators);
    sendAsyncHttpRequest(request);
}

void CCustomCurrenciesWebServiceClient::requestFinished(CHttpRequest& request,
                                                        const std::optional<QByteArray>& data,
                                                        const std::optional<HttpResponse>& response,
                                                        const std::optional<HttpError>& error) {
    if (!error && response && response->statusCode == 200) {
        (request.tag == LogoStep ? logoValidators : feedValidators) =
            Validators{request.requestSettings.url.toString(), response->header("ETag"),
                       response->header("Last-Modified")};
    }
    if (!error && response && response->statusCode == kNotModified) {
        if (request.tag == FeedStep) {
            if (delegate != nullptr) {
                delegate->customCurrenciesQueryNotModified(this);
            }
            return;
        }
        if (delegate != nullptr) {
            delegate->customCurrenciesQueryCurrenciesCompleted(
                this, xmlParserDelegate_->currenciesInfo, xmlParserDelegate_->dataSourceDisplayName,
                std::nullopt);
        }
        return;
    }
    CWebServiceClient::requestFinished(request, data, response, error);
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
            delegate->customCurrenciesQueryFailed(this, notUnderstood(parser.errorString()));
        }
        return;
    }
    if (xmlParserDelegate_->logoUrl) {
        auto logo = std::make_shared<CHttpRequest>(QUrl(*xmlParserDelegate_->logoUrl));
        logo->requestSettings.maximumBodySize = maximumLogoSize;
        logo->tag = LogoStep;
        askWith(*logo, logoValidators);
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
