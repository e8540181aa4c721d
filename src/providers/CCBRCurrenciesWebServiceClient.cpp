#include "CCBRCurrenciesWebServiceClient.h"

#include "CCBRCurrenciesXmlParserDelegate.h"
#include "CCBRMetalsXmlParserDelegate.h"
#include "ProviderParsing.h"
#include "XmlParser.h"

namespace {

const QString dayPattern = QStringLiteral("yyyy-MM-dd");

/// The namespace as the value of an attribute in either kind of quotes.
QByteArray attributeValue(const QString& value) {
    QString escaped = value.toHtmlEscaped();
    escaped.replace(u'\'', QLatin1String("&apos;"));
    return escaped.toUtf8();
}

}  // namespace

CCBRCurrenciesWebServiceClient::CCBRCurrenciesWebServiceClient(const Endpoints& endpoints)
    : endpoints_(endpoints), currencyRates_(std::make_shared<CCBRCurrenciesInfo>()) {}

void CCBRCurrenciesWebServiceClient::queryCurrenciesForDate(const QDateTime& date) {
    cancelAllHttpRequests();
    currencyRates_ = std::make_shared<CCBRCurrenciesInfo>();
    date_ = date;
    requestingMetalRates_ = false;
    doSendRequest();
}

QByteArray CCBRCurrenciesWebServiceClient::currencyRequestBody(const QString& serviceNamespace,
                                                               const QDate& day) {
    return "<GetCursOnDateXML xmlns='" + attributeValue(serviceNamespace) + "'>\r\n<On_date>" +
           day.toString(dayPattern).toUtf8() + "</On_date>\r\n</GetCursOnDateXML>\r\n";
}

QByteArray CCBRCurrenciesWebServiceClient::metalRequestBody(const QString& serviceNamespace,
                                                            const QDate& fromDay,
                                                            const QDate& toDay) {
    return "<DragMetDynamicXML xmlns=\"" + attributeValue(serviceNamespace) + "\"><fromDate>" +
           fromDay.toString(dayPattern).toUtf8() + "</fromDate><ToDate>" +
           toDay.toString(dayPattern).toUtf8() + "</ToDate></DragMetDynamicXML>";
}

void CCBRCurrenciesWebServiceClient::doSendRequest() {
    const QString serviceNamespace = endpoints_.value(Endpoints::CbrNamespace);
    const QDate day = date_.toLocalTime().date();
    QByteArray body;
    QString action;
    if (requestingMetalRates_) {
        body = metalRequestBody(serviceNamespace, day.addDays(-3), day);
        action = QStringLiteral("DragMetDynamicXML");
    } else {
        body = currencyRequestBody(serviceNamespace, day);
        action = QStringLiteral("GetCursOnDateXML");
    }
    auto request = std::make_shared<CHttpRequest>(endpoints_.url(Endpoints::Cbr));
    request->requestSettings.method = "POST";
    request->requestSettings.body = CHttpRequest::wrapSoapEnvelopeWithData(body);
    request->requestSettings.setHeader(CHttpRequest::contentTypeHeaderFieldName().toUtf8(),
                                       "text/xml; charset=utf-8");
    request->requestSettings.setHeader(CHttpRequest::soapActionHeaderFieldName().toUtf8(),
                                       (serviceNamespace + action).toUtf8());
    sendAsyncHttpRequest(std::move(request));
}

void CCBRCurrenciesWebServiceClient::requestSucceeded(CHttpRequest&, const QByteArray& data) {
    XmlParser parser(data);
    if (requestingMetalRates_) {
        CCBRMetalsXmlParserDelegate handler;
        if (!parser.parse(handler)) {
            fail(notUnderstood(parser.errorString()));
            return;
        }
        CCBRCurrenciesInfoPtr result = currencyRates_;
        const CCBRCurrenciesInfoPtr metals = handler.currenciesInfo();
        for (const CCBRCurrencyInfoPtr& row : metals->currenciesInfo) {
            result->addCurrencyInfo(row);
        }
        if (delegate_ != nullptr) {
            delegate_->queryCurrenciesCompletedWithResult(result);
        }
        return;
    }

    CCBRCurrenciesXmlParserDelegate handler;
    if (!parser.parse(handler)) {
        fail(notUnderstood(parser.errorString()));
        return;
    }
    CCBRCurrenciesInfoPtr table = handler.currenciesInfo();
    table->addCurrencyInfo(ProviderParsing::makeRow(QStringLiteral("RUB"), Decimal::fromInt(1)));
    // The rates are the ones of the answer's "OnDate"; the metals carry their own days.
    table->setPublishedDate(table->currencyDate);
    currencyRates_ = table;
    requestingMetalRates_ = true;
    doSendRequest();
}

void CCBRCurrenciesWebServiceClient::requestFailed(CHttpRequest&,
                                                   const std::optional<HttpError>& error,
                                                   const std::optional<HttpResponse>& response,
                                                   const std::optional<QByteArray>& data) {
    fail(logRequestFailure(logName, error, response, data));
}

void CCBRCurrenciesWebServiceClient::fail(const QString& description) {
    if (delegate_ != nullptr) {
        delegate_->queryFailedWithErrorDescription(description);
    }
}
