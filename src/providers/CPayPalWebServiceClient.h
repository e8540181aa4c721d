#pragma once

#include "CCBRCurrenciesInfo.h"
#include "CWebServiceClient.h"
#include "Endpoints.h"

#include <QString>
#include <QStringList>

/// Receives the outcome of a PayPal query, on the main thread.
class CPayPalWebServiceClientDelegate {
public:
    virtual ~CPayPalWebServiceClientDelegate() = default;
    virtual void payPalQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) = 0;
    virtual void payPalQueryFailedWithErrorDescription(const QString& description) = 0;
};

/// PayPal Adaptive Payments currency conversion: how much of each requested currency a fixed
/// amount of the base currency buys, asked for ten currencies at a time. The table is quoted
/// in the base currency.
class CPayPalWebServiceClient : public CWebServiceClient {
public:
    static constexpr int chunkSize = 10;
    /// The base amount that every conversion is asked for.
    static constexpr int baseAmount = 1000000;
    /// How often a chunk that yields no rows is asked again before the query fails.
    static constexpr int maximumEmptyChunkRetries = 2;

    explicit CPayPalWebServiceClient(const Endpoints& endpoints);

    CPayPalWebServiceClientDelegate* delegate() const { return delegate_; }
    void setDelegate(CPayPalWebServiceClientDelegate* delegate) { delegate_ = delegate; }

    const QStringList& requestedCurrencies() const { return requestedCurrencies_; }
    const QString& baseCurrencyCode() const { return baseCurrencyCode_; }

    /// Starts a query for the price of each code in `base`; cancels the one in flight.
    void queryCurrencies(const QStringList& codes, const QString& base);
    /// The JSON body for the current chunk.
    QByteArray createRequestBody() const;
    /// The configured request for the current chunk.
    CHttpRequestPtr createHttpRequest() const;

    void requestSucceeded(CHttpRequest& request, const QByteArray& data) override;
    void requestFailed(CHttpRequest& request, const std::optional<HttpError>& error,
                       const std::optional<HttpResponse>& response,
                       const std::optional<QByteArray>& data) override;

private:
    QStringList currentChunk() const;
    void fail(const QString& description);

    CPayPalWebServiceClientDelegate* delegate_ = nullptr;
    Endpoints endpoints_;
    QStringList requestedCurrencies_;
    QString baseCurrencyCode_;
    CCBRCurrenciesInfoPtr currenciesInfo_;
    /// Where the next chunk starts: the number of currencies answered so far.
    int lastRequestedIndex_ = 0;
    int emptyChunkRetries_ = 0;
};
