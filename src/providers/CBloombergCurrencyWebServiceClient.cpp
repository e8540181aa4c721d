#include "CBloombergCurrencyWebServiceClient.h"

#include "Localization.h"
#include "ProviderParsing.h"

namespace {

const QString startMarker = QStringLiteral("var price = new Object();");
const QString endMarker = QStringLiteral("//]]>");

QStringView trimmedOfControlCharacters(QStringView text) {
    const auto isControl = [](QChar c) { return c.category() == QChar::Other_Control; };
    while (!text.isEmpty() && isControl(text.front())) {
        text = text.mid(1);
    }
    while (!text.isEmpty() && isControl(text.back())) {
        text.chop(1);
    }
    return text;
}

}  // namespace

CBloombergCurrencyWebServiceClient::CBloombergCurrencyWebServiceClient(const Endpoints& endpoints)
    : endpoints_(endpoints), currenciesInfo_(std::make_shared<CCBRCurrenciesInfo>()) {}

void CBloombergCurrencyWebServiceClient::queryCurrencies() {
    cancelAllHttpRequests();
    currenciesInfo_ = std::make_shared<CCBRCurrenciesInfo>();
    auto request = std::make_shared<CHttpRequest>(endpoints_.url(Endpoints::Bloomberg, path));
    request->requestSettings.method = "GET";
    sendAsyncHttpRequest(std::move(request));
}

void CBloombergCurrencyWebServiceClient::parseCurrencyDataLine(QStringView line) {
    const QList<QStringView> parts = line.split(u'=');
    if (parts.size() != 2) {
        return;
    }
    QString name = parts[0].toString();
    name.remove(QLatin1String("price['"));
    name.remove(QLatin1String(":CUR']"));
    name = name.trimmed();
    if (name.size() != 3) {
        return;
    }
    const std::optional<Decimal> number = Decimal::parse(parts[1].trimmed());
    if (!number || !ProviderParsing::isUsableValue(*number)) {
        return;
    }
    CCBRCurrencyInfoPtr row = ProviderParsing::makeRow(name, Decimal::fromInt(1) / *number);
    if (ProviderParsing::isUsableRow(*row)) {
        currenciesInfo_->addCurrencyInfo(row);
    }
}

void CBloombergCurrencyWebServiceClient::requestSucceeded(CHttpRequest&, const QByteArray& data) {
    const QString page = QString::fromUtf8(data);
    const qsizetype start = page.indexOf(startMarker);
    if (start < 0) {
        fail(Localization::localizedString(QStringLiteral("InvalidDataFormat")));
        return;
    }
    const QStringView afterStart = QStringView(page).mid(start + startMarker.size());
    const qsizetype end = afterStart.indexOf(endMarker);
    if (end < 0) {
        fail(Localization::localizedString(QStringLiteral("InvalidDataFormat")));
        return;
    }
    const QStringView block = trimmedOfControlCharacters(afterStart.left(end).trimmed());
    for (QStringView statement : block.split(u';')) {
        parseCurrencyDataLine(statement);
    }
    if (delegate_ != nullptr) {
        delegate_->bloombergQueryCurrenciesCompletedWithResult(currenciesInfo_);
    }
}

void CBloombergCurrencyWebServiceClient::requestFailed(CHttpRequest&,
                                                       const std::optional<HttpError>& error,
                                                       const std::optional<HttpResponse>& response,
                                                       const std::optional<QByteArray>& data) {
    fail(logRequestFailure(logName, error, response, data));
}

void CBloombergCurrencyWebServiceClient::fail(const QString& description) {
    if (delegate_ != nullptr) {
        delegate_->bloombergQueryFailedWithErrorDescription(description);
    }
}
