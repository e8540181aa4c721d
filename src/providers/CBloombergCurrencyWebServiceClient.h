#pragma once

#include "CCBRCurrenciesInfo.h"
#include "CWebServiceClient.h"
#include "Endpoints.h"

#include <QString>
#include <QStringView>

/// Receives the outcome of a Bloomberg query, on the main thread.
class CBloombergCurrencyWebServiceClientDelegate {
public:
    virtual ~CBloombergCurrencyWebServiceClientDelegate() = default;
    virtual void bloombergQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) = 0;
    virtual void bloombergQueryFailedWithErrorDescription(const QString& description) = 0;
};

/// Bloomberg's currency-converter page: the prices its script block assigns, one row per
/// currency (the inverse of the page's number), in page order.
class CBloombergCurrencyWebServiceClient : public CWebServiceClient {
public:
    static inline const QString logName = QStringLiteral("Bloomberg currencies");
    static inline const QString path =
        QStringLiteral("/personal-finance/calculators/currency-converter");

    explicit CBloombergCurrencyWebServiceClient(const Endpoints& endpoints);

    CBloombergCurrencyWebServiceClientDelegate* delegate() const { return delegate_; }
    void setDelegate(CBloombergCurrencyWebServiceClientDelegate* delegate) { delegate_ = delegate; }

    /// Starts a query with a new, empty table; cancels the one in flight.
    void queryCurrencies();

    CCBRCurrenciesInfoPtr currenciesInfo() const { return currenciesInfo_; }

    /// Reads one statement "price['EUR:CUR'] = 0.77" into at most one row of `currenciesInfo`.
    void parseCurrencyDataLine(QStringView line);

    void requestSucceeded(CHttpRequest& request, const QByteArray& data) override;
    void requestFailed(CHttpRequest& request, const std::optional<HttpError>& error,
                       const std::optional<HttpResponse>& response,
                       const std::optional<QByteArray>& data) override;

private:
    void fail(const QString& description);

    CBloombergCurrencyWebServiceClientDelegate* delegate_ = nullptr;
    Endpoints endpoints_;
    CCBRCurrenciesInfoPtr currenciesInfo_;
};
