#pragma once

#include "CCBRCurrenciesInfo.h"
#include "CWebServiceClient.h"
#include "Endpoints.h"

#include <QString>
#include <QStringList>

/// Receives the outcome of a Yahoo Finance query, on the main thread.
class CYahooFinanceWebServiceClientDelegate {
public:
    virtual ~CYahooFinanceWebServiceClientDelegate() = default;
    virtual void yahooFinanceQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) = 0;
    virtual void yahooFinanceQueryFailedWithErrorDescription(const QString& description) = 0;
};

/// Yahoo Finance quotes: the last price of one currency pair per requested code, as CSV. Pairs
/// answered with zero are asked again the other way round; the table is quoted in the base
/// currency.
class CYahooFinanceWebServiceClient : public CWebServiceClient {
public:
    /// Requests after a value out of range, and rounds of inverted pairs, before a query gives
    /// up and reports a failure.
    static constexpr int maximumRetries = 3;

    explicit CYahooFinanceWebServiceClient(const Endpoints& endpoints);

    CYahooFinanceWebServiceClientDelegate* delegate() const { return delegate_; }
    void setDelegate(CYahooFinanceWebServiceClientDelegate* delegate) { delegate_ = delegate; }

    const QStringList& requestedCurrencies() const { return requestedCurrencies_; }
    const QString& baseCurrencyCode() const { return baseCurrencyCode_; }
    /// Codes whose pair the next request asks for base first.
    const QStringList& invertedCurrencies() const { return invertedCurrencies_; }

    /// Starts a query for the price of each code in `base`; cancels the one in flight.
    void queryCurrencies(const QStringList& codes, const QString& base);
    /// The query text after "f=l1": "&s=<code><base>=X" per code, inverted pairs base first.
    QString getRequestParametersForCurrencies(const QStringList& codes, const QString& base) const;

    void requestSucceeded(CHttpRequest& request, const QByteArray& data) override;
    void requestFailed(CHttpRequest& request, const std::optional<HttpError>& error,
                       const std::optional<HttpResponse>& response,
                       const std::optional<QByteArray>& data) override;

private:
    /// Sends the stored query (again).
    void sendQuery();
    void fail(const QString& description);

    CYahooFinanceWebServiceClientDelegate* delegate_ = nullptr;
    Endpoints endpoints_;
    QStringList requestedCurrencies_;
    QString baseCurrencyCode_;
    QStringList invertedCurrencies_;
    int outOfRangeRetries_ = 0;
    int inversionRounds_ = 0;
};
