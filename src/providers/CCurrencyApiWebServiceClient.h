#pragma once

#include "CCBRCurrenciesInfo.h"
#include "CWebServiceClient.h"
#include "Endpoints.h"

#include <QString>
#include <QUrl>

/// Receives the outcome of an exchange-api query, on the main thread.
class CCurrencyApiWebServiceClientDelegate {
public:
    virtual ~CCurrencyApiWebServiceClientDelegate() = default;
    virtual void currencyApiQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) = 0;
    virtual void currencyApiQueryFailedWithErrorDescription(const QString& description) = 0;
};

/// The exchange-api daily currency files ("/v1/currencies/usd.json"), free and without an
/// account. The file comes from a CDN; when the CDN fails (no answer, an error status or an
/// unreadable file) the same file is asked of the fallback host within the same query. Of the
/// ~300 codes in lower case, the ISO 4217 codes ICU knows and the four metals are kept.
class CCurrencyApiWebServiceClient : public CWebServiceClient {
public:
    static inline const QString logName = QStringLiteral("CurrencyApi");

    explicit CCurrencyApiWebServiceClient(const Endpoints& endpoints);

    CCurrencyApiWebServiceClientDelegate* delegate() const { return delegate_; }
    void setDelegate(CCurrencyApiWebServiceClientDelegate* delegate) { delegate_ = delegate; }

    /// Starts a query for every code's price in `base`; cancels the one in flight.
    void queryCurrencies(const QString& base = QStringLiteral("USD"));

    /// The file of `base` at the host named by `hostKey`.
    static QUrl currenciesUrl(const Endpoints& endpoints, const QString& hostKey,
                              const QString& base);
    /// True for a code the table keeps: an ISO 4217 code in ICU's list, or a metal.
    static bool isKeptCode(const QString& code);
    /// The table of an answer: the base at 1, each kept code at the base's price of one unit,
    /// dated with the file's day; values that are not positive numbers are left out. Nothing
    /// for an answer without the base's object.
    static CCBRCurrenciesInfoPtr currenciesInfoFromAnswer(const QByteArray& data,
                                                          const QString& base);

    void requestSucceeded(CHttpRequest& request, const QByteArray& data) override;
    void requestFailed(CHttpRequest& request, const std::optional<HttpError>& error,
                       const std::optional<HttpResponse>& response,
                       const std::optional<QByteArray>& data) override;

    /// True while the fallback host is being asked.
    bool isUsingFallback() const { return usingFallback_; }

private:
    void send(const QString& hostKey);
    /// The primary host failed: ask the fallback, or report when it was the fallback.
    void hostFailed(const QString& description);

    CCurrencyApiWebServiceClientDelegate* delegate_ = nullptr;
    Endpoints endpoints_;
    QString baseCurrencyCode_;
    bool active_ = false;
    bool usingFallback_ = false;
    QString primaryFailure_;
};
