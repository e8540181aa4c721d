#pragma once

#include "CBankUaXMLParserDelegate.h"
#include "CCBRCurrenciesInfo.h"
#include "CWebServiceClient.h"
#include "Endpoints.h"

#include <QString>
#include <QUrl>

#include <memory>

/// Receives the outcome of a BankUa query, on the main thread.
class CBankUaWebServiceClientDelegate {
public:
    virtual ~CBankUaWebServiceClientDelegate() = default;
    virtual void bankUaQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) = 0;
    virtual void bankUaQueryFailedWithErrorDescription(const QString& description) = 0;
};

/// BankUa's currency and metal exports (windows-1251 XML), read one after the other into one
/// table in hryvnias.
class CBankUaWebServiceClient : public CWebServiceClient {
public:
    static inline const QString logName = QStringLiteral("BankUa currencies");
    static inline const QString currenciesPath = QStringLiteral("/export/currrate.xml");
    static inline const QString metalsPath = QStringLiteral("/export/metalrate.xml");

    explicit CBankUaWebServiceClient(const Endpoints& endpoints);

    CBankUaWebServiceClientDelegate* delegate() const { return delegate_; }
    void setDelegate(CBankUaWebServiceClientDelegate* delegate) { delegate_ = delegate; }

    /// Starts a query (currency file, then metal file); cancels the one in flight.
    void queryCurrencies();

    /// The address of the file requested last.
    QUrl currentRequestUri() const { return currentRequestUri_; }

    void requestSucceeded(CHttpRequest& request, const QByteArray& data) override;
    void requestFailed(CHttpRequest& request, const std::optional<HttpError>& error,
                       const std::optional<HttpResponse>& response,
                       const std::optional<QByteArray>& data) override;

private:
    void sendRequest(const QUrl& url);
    void fail(const QString& description);

    CBankUaWebServiceClientDelegate* delegate_ = nullptr;
    Endpoints endpoints_;
    QUrl currentRequestUri_;
    std::unique_ptr<CBankUaXMLParserDelegate> xmlParserDelegate_;
};
