#pragma once

#include "CCBRCurrenciesInfo.h"
#include "CWebServiceClient.h"
#include "Endpoints.h"

#include <QString>

/// Receives the outcome of an ECB query, on the main thread.
class CECBCurrenciesWebServiceClientDelegate {
public:
    virtual ~CECBCurrenciesWebServiceClientDelegate() = default;
    virtual void ecbCurrenciesQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) = 0;
    virtual void ecbCurrenciesQueryFailedWithErrorDescription(const QString& description) = 0;
};

/// The European Central Bank's daily euro reference rates, as a table in euros.
class CECBCurrenciesWebServiceClient : public CWebServiceClient {
public:
    static inline const QString logName = QStringLiteral("ECB currencies");
    static inline const QString path = QStringLiteral("/stats/eurofxref/eurofxref-daily.xml");

    explicit CECBCurrenciesWebServiceClient(const Endpoints& endpoints);

    CECBCurrenciesWebServiceClientDelegate* delegate() const { return delegate_; }
    void setDelegate(CECBCurrenciesWebServiceClientDelegate* delegate) { delegate_ = delegate; }

    /// Starts a query; cancels the one in flight.
    void queryCurrencies();

    void requestSucceeded(CHttpRequest& request, const QByteArray& data) override;
    void requestFailed(CHttpRequest& request, const std::optional<HttpError>& error,
                       const std::optional<HttpResponse>& response,
                       const std::optional<QByteArray>& data) override;

private:
    void fail(const QString& description);

    CECBCurrenciesWebServiceClientDelegate* delegate_ = nullptr;
    Endpoints endpoints_;
};
