#include "CBankUaWebServiceClient.h"

#include "XmlParser.h"

#include <QRegularExpression>
#include <QStringDecoder>

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

QByteArray CBankUaWebServiceClient::utf8FromWindows1251Document(const QByteArray& data) {
    QStringDecoder decoder("windows-1251");
    QString text = decoder(data);
    // Whatever the declaration says ("windows-1251" as a rule), the text is UTF-8 from here
    // on; only the declaration at the very start is touched.
    static const QRegularExpression declaredEncoding(
        QStringLiteral(R"(^(\s*<\?xml\b[^?>]*?)\s+encoding\s*=\s*(["'])[^"'?>]*\2)"));
    text.replace(declaredEncoding, QStringLiteral("\\1"));
    return text.toUtf8();
}

void CBankUaWebServiceClient::requestSucceeded(CHttpRequest&, const QByteArray& data) {
    XmlParser parser(utf8FromWindows1251Document(data));
    if (!parser.parse(*xmlParserDelegate_)) {
        fail(parser.errorString());
        return;
    }
    const QUrl currencies = endpoints_.url(Endpoints::BankUa, currenciesPath);
    if (currentRequestUri_ == currencies) {
        sendRequest(endpoints_.url(Endpoints::BankUa, metalsPath));
        return;
    }
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
