#include "CYahooFinanceWebServiceClient.h"

#include "Decimal.h"
#include "Log.h"

namespace {
const QString logName = QStringLiteral("Yahoo finance");
const QString invalidResponse = QStringLiteral("Invalid Yahoo Finance response");
const QString invalidRates = QStringLiteral("Invalid Yahoo currency rates");
}  // namespace

CYahooFinanceWebServiceClient::CYahooFinanceWebServiceClient(const Endpoints& endpoints)
    : endpoints_(endpoints) {}

void CYahooFinanceWebServiceClient::queryCurrencies(const QStringList& codes, const QString& base) {
    requestedCurrencies_ = codes;
    baseCurrencyCode_ = base;
    outOfRangeRetries_ = 0;
    inversionRounds_ = 0;
    sendQuery();
}

QString CYahooFinanceWebServiceClient::getRequestParametersForCurrencies(
    const QStringList& codes, const QString& base) const {
    QString parameters;
    for (const QString& code : codes) {
        parameters += invertedCurrencies_.contains(code)
                          ? QStringLiteral("&s=%1%2=X").arg(base, code)
                          : QStringLiteral("&s=%1%2=X").arg(code, base);
    }
    return parameters;
}

void CYahooFinanceWebServiceClient::sendQuery() {
    cancelAllHttpRequests();
    const QString query = QStringLiteral("f=l1") + getRequestParametersForCurrencies(
                                                       requestedCurrencies_, baseCurrencyCode_);
    auto request = std::make_shared<CHttpRequest>(
        endpoints_.url(Endpoints::YahooQuotes, QStringLiteral("/d/quotes.csv"), query));
    request->requestSettings.method = "GET";
    sendAsyncHttpRequest(request);
}

void CYahooFinanceWebServiceClient::fail(const QString& description) {
    if (delegate_ != nullptr) {
        delegate_->yahooFinanceQueryFailedWithErrorDescription(description);
    }
}

void CYahooFinanceWebServiceClient::requestSucceeded(CHttpRequest&, const QByteArray& data) {
    // One line per requested pair, each ended by CR LF: the last piece is empty.
    const QStringList pieces = QString::fromUtf8(data).split(QStringLiteral("\r\n"));
    if (pieces.size() != requestedCurrencies_.size() + 1 || !pieces.last().isEmpty()) {
        fail(invalidResponse);
        return;
    }

    auto table = std::make_shared<CCBRCurrenciesInfo>();
    const Decimal limit = Decimal::fromInt(10000000);
    const Decimal one = Decimal::fromInt(1);
    // A restart after a value out of range asks the same pairs as this request did.
    const QStringList invertedBefore = invertedCurrencies_;
    for (qsizetype i = 0; i < requestedCurrencies_.size(); ++i) {
        const QString& code = requestedCurrencies_[i];
        auto row = std::make_shared<CCBRCurrencyInfo>();
        row->isoTextCode = code;
        row->nominalValue = 1;
        Decimal value = Decimal::fromString(pieces[i]);

        if (invertedCurrencies_.removeAll(code) > 0) {
            if (value.isZero()) {
                nlog(QStringLiteral("Invalid Yahoo currency rates: zero value for %1").arg(code));
                continue;
            }
            value = one / value;
        }
        if (value >= limit) {
            nlog(invalidRates);
            invertedCurrencies_ = invertedBefore;
            if (++outOfRangeRetries_ > maximumRetries) {
                invertedCurrencies_.clear();
                fail(invalidRates);
            } else {
                sendQuery();
            }
            return;
        }
        if (code == baseCurrencyCode_) {
            value = one;
        } else if (value.isZero()) {
            invertedCurrencies_.append(code);
        }
        row->saleValue = value;
        table->addCurrencyInfo(row);
    }

    if (!invertedCurrencies_.isEmpty()) {
        if (++inversionRounds_ > maximumRetries) {
            invertedCurrencies_.clear();
            fail(invalidRates);
        } else {
            sendQuery();
        }
        return;
    }
    if (delegate_ != nullptr) {
        delegate_->yahooFinanceQueryCurrenciesCompletedWithResult(table);
    }
}

void CYahooFinanceWebServiceClient::requestFailed(CHttpRequest&,
                                                  const std::optional<HttpError>& error,
                                                  const std::optional<HttpResponse>& response,
                                                  const std::optional<QByteArray>& data) {
    invertedCurrencies_.clear();
    fail(logRequestFailure(logName, error, response, data));
}
