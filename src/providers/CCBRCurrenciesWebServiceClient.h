#pragma once

#include "CCBRCurrenciesInfo.h"
#include "CWebServiceClient.h"
#include "Endpoints.h"

#include <QDate>
#include <QDateTime>
#include <QString>

/// Receives the outcome of a Central Bank of Russia query, on the main thread.
class CCBRCurrenciesWebServiceClientDelegate {
public:
    virtual ~CCBRCurrenciesWebServiceClientDelegate() = default;
    virtual void queryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) = 0;
    virtual void queryFailedWithErrorDescription(const QString& description) = 0;
};

/// The Central Bank of Russia's daily-information SOAP service: the rouble rates of one day,
/// then the bank's metal prices of the three days up to it, delivered as one table in roubles
/// (currencies in answer order, "RUB", then the metals).
class CCBRCurrenciesWebServiceClient : public CWebServiceClient {
public:
    static inline const QString logName = QStringLiteral("CBR");

    explicit CCBRCurrenciesWebServiceClient(const Endpoints& endpoints);

    CCBRCurrenciesWebServiceClientDelegate* delegate() const { return delegate_; }
    void setDelegate(CCBRCurrenciesWebServiceClientDelegate* delegate) { delegate_ = delegate; }

    /// Starts a query for the day of `date` in the local time zone; cancels the one in flight.
    void queryCurrenciesForDate(const QDateTime& date);
    /// Builds and sends the request of the current step.
    void doSendRequest();

    CCBRCurrenciesInfoPtr currencyRates() const { return currencyRates_; }
    QDateTime date() const { return date_; }
    /// True while the metal request of a query is in flight.
    bool isRequestingMetalRates() const { return requestingMetalRates_; }

    /// The GetCursOnDateXML element for `day` (three CR LF ended lines).
    static QByteArray currencyRequestBody(const QString& serviceNamespace, const QDate& day);
    /// The DragMetDynamicXML element from `fromDay` to `toDay` (one line).
    static QByteArray metalRequestBody(const QString& serviceNamespace, const QDate& fromDay,
                                       const QDate& toDay);

    void requestSucceeded(CHttpRequest& request, const QByteArray& data) override;
    void requestFailed(CHttpRequest& request, const std::optional<HttpError>& error,
                       const std::optional<HttpResponse>& response,
                       const std::optional<QByteArray>& data) override;

private:
    void fail(const QString& description);

    CCBRCurrenciesWebServiceClientDelegate* delegate_ = nullptr;
    Endpoints endpoints_;
    CCBRCurrenciesInfoPtr currencyRates_;
    QDateTime date_;
    bool requestingMetalRates_ = false;
};
