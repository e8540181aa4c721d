#pragma once

#include "CCBRCurrenciesInfo.h"
#include "CWebServiceClient.h"
#include "Endpoints.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

/// Receives the outcome of a Frankfurter query, on the main thread.
class CFrankfurterWebServiceClientDelegate {
public:
    virtual ~CFrankfurterWebServiceClientDelegate() = default;
    virtual void frankfurterQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) = 0;
    virtual void frankfurterQueryFailedWithErrorDescription(const QString& description) = 0;
    /// The codes the service offers (answer to `queryAvailableCurrencies`). Optional.
    virtual void frankfurterAvailableCurrenciesReceived(const QStringList& codes) { (void)codes; }
};

/// The Frankfurter API (v2): central banks' reference rates blended into one rate per currency,
/// free and without an account, at the public instance or a self-hosted one. One request per
/// refresh asks for the listed codes against one base; each row is dated with the day its rate
/// was published.
class CFrankfurterWebServiceClient : public CWebServiceClient {
public:
    static inline const QString logName = QStringLiteral("Frankfurter");

    /// One institution's own rate within a row of an `expand=providers` answer: units of
    /// `quote` for one unit of the row's base.
    struct ProviderRate {
        QString key;
        QString quote;
        Decimal rate = Decimal::nan();
        QDate date;
        /// Left out of the blended rate (an outlier, or a pegged currency).
        bool excluded = false;
    };

    explicit CFrankfurterWebServiceClient(const Endpoints& endpoints);

    CFrankfurterWebServiceClientDelegate* delegate() const { return delegate_; }
    void setDelegate(CFrankfurterWebServiceClientDelegate* delegate) { delegate_ = delegate; }

    /// Starts a query for the price of each of `codes` in `base`; cancels the one in flight.
    /// With a valid `date`, the rates published that day or, failing that, on the nearest
    /// earlier day (each row carries the day it was published).
    void queryCurrencies(const QStringList& codes, const QString& base = QStringLiteral("USD"),
                         const QDate& date = {});
    /// Whether rate queries ask for each institution's own rate too (`providerRates`).
    void setExpandProviders(bool expand) { expandProviders_ = expand; }
    /// The institutions' rates of the last rates answer (with `setExpandProviders`), valid
    /// during and after the completion callback.
    const QList<ProviderRate>& providerRates() const { return providerRates_; }
    /// Asks for the list of codes the service offers; cancels the query in flight. Only a
    /// success is reported (`frankfurterAvailableCurrenciesReceived`); a failure is logged.
    void queryAvailableCurrencies();

    /// "/v2/rates?base=B&quotes=A,C[&date=D][&providers=...][&expand=providers]"; `codes` other
    /// than the base, in order.
    static QUrl ratesUrl(const Endpoints& endpoints, const QStringList& codes, const QString& base,
                         const QDate& date = {}, bool expandProviders = false);
    /// The table of a rates answer: the base at 1, each listed code at the base's price of one
    /// unit, dated with its publication day. Rows for other bases or unlisted codes and values
    /// that are not positive numbers are left out. Nothing, with a reason in `error`, for an
    /// answer that is not a rates array.
    static CCBRCurrenciesInfoPtr currenciesInfoFromAnswer(const QByteArray& data,
                                                          const QString& base,
                                                          const QStringList& codes,
                                                          QString* error = nullptr);
    /// The institutions' rates in the rows of an `expand=providers` answer whose base is `base`,
    /// in answer order; rows without them, odd codes and values that are not positive numbers
    /// are skipped.
    static QList<ProviderRate> providerRatesFromAnswer(const QByteArray& data, const QString& base);
    /// The ISO codes of a "/v2/currencies" answer, in answer order; empty when unreadable.
    static QStringList currencyCodesFromAnswer(const QByteArray& data);

    void requestSucceeded(CHttpRequest& request, const QByteArray& data) override;
    void requestFailed(CHttpRequest& request, const std::optional<HttpError>& error,
                       const std::optional<HttpResponse>& response,
                       const std::optional<QByteArray>& data) override;

private:
    enum class Query { None, Rates, Currencies };

    CFrankfurterWebServiceClientDelegate* delegate_ = nullptr;
    Endpoints endpoints_;
    Query query_ = Query::None;
    QStringList requestedCurrencies_;
    QString baseCurrencyCode_;
    bool expandProviders_ = false;
    QList<ProviderRate> providerRates_;
};
