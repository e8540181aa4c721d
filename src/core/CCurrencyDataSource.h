#pragma once

#include "CBankUaWebServiceClient.h"
#include "CBloombergCurrencyWebServiceClient.h"
#include "CCBRCurrenciesInfo.h"
#include "CCBRCurrenciesWebServiceClient.h"
#include "CCurrencyApiWebServiceClient.h"
#include "CCustomCurrenciesWebServiceClient.h"
#include "CECBCurrenciesWebServiceClient.h"
#include "CFrankfurterWebServiceClient.h"
#include "COCBCWebServiceClient.h"
#include "CPayPalWebServiceClient.h"
#include "CYahooFinanceWebServiceClient.h"
#include "Endpoints.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>
#include <utility>
#include <vector>

class CRelatedCurrenciesInfo;
class CRootViewModel;
class CWebServiceClient;
class QObject;

/// Receives the outcome of one refresh cycle, on the main thread.
class CCurrencyDataSourceDelegate {
public:
    virtual ~CCurrencyDataSourceDelegate() = default;
    /// Every row quoted per one unit in US dollars.
    virtual void queryCurrencyDataSourceCompletedWithResult(CCBRCurrenciesInfoPtr result) = 0;
    virtual void queryCurrencyDataSourceFailedWithErrorDescription(const QString& description) = 0;
};

/// The data source aggregator: asks every selected rate provider in turn, rebases each answer to
/// one US dollar, merges the answers (earlier sources win) and hands the result to its delegate.
/// With one source its failure ends the cycle. With several, a failing source is noted and the
/// cycle goes on: what the others delivered is handed over (the failed sources' rates then come
/// from the rate cache), and only a cycle in which every source failed ends with a failure.
/// Main thread only.
class CCurrencyDataSource : public CCBRCurrenciesWebServiceClientDelegate,
                            public CYahooFinanceWebServiceClientDelegate,
                            public CECBCurrenciesWebServiceClientDelegate,
                            public CBloombergCurrencyWebServiceClientDelegate,
                            public CPayPalWebServiceClientDelegate,
                            public COCBCWebServiceClientDelegate,
                            public CBankUaWebServiceClientDelegate,
                            public CCustomCurrenciesWebServiceClientDelegate,
                            public CFrankfurterWebServiceClientDelegate,
                            public CCurrencyApiWebServiceClientDelegate {
public:
    static inline const QString CBR = QStringLiteral("CBR");
    static inline const QString YFinance = QStringLiteral("YFinance");
    static inline const QString ECB = QStringLiteral("ECB");
    static inline const QString Bloomberg = QStringLiteral("Bloomberg");
    static inline const QString PayPal = QStringLiteral("PayPal");
    static inline const QString OCBC = QStringLiteral("OCBC");
    static inline const QString BankUa = QStringLiteral("BankUa");
    static inline const QString Frankfurter = QStringLiteral("Frankfurter");
    static inline const QString CurrencyApi = QStringLiteral("CurrencyApi");
    /// How long Frankfurter's own list of codes is trusted before it is asked again.
    static constexpr qint64 availableCurrenciesMaximumAgeSeconds = 24 * 60 * 60;

    /// `model` (not owned) must outlive the aggregator; `endpoints` are handed to every client
    /// it makes.
    CCurrencyDataSource(CRootViewModel& model, Endpoints endpoints);
    ~CCurrencyDataSource() override;
    CCurrencyDataSource(const CCurrencyDataSource&) = delete;
    CCurrencyDataSource& operator=(const CCurrencyDataSource&) = delete;

    CCurrencyDataSourceDelegate* delegate() const { return delegate_; }
    void setDelegate(CCurrencyDataSourceDelegate* delegate) { delegate_ = delegate; }

    /// A cycle relative to the model's base currency.
    void queryCurrencyRates();
    /// Starts a cycle; cancels the one in progress. With no selected source the cycle ends
    /// with a failure text.
    void queryCurrencyRateRelativeToBase(const QString& baseCurrency);

    /// The codes to ask a source that is given a list: "USD" first unless selected, then each
    /// selected code the source offers (through its related currency where it has one), each
    /// code once.
    QStringList filterAvailableCurrencies(const QStringList& codes,
                                          const QString& dataSource) const;
    static QStringList filterAvailableCurrencies(const QStringList& codes,
                                                 const QStringList& available,
                                                 const CRelatedCurrenciesInfo& related);
    /// Rewrites every row as the US-dollar price of one unit. A zero row counts as 1; without a
    /// usable "USD" row (missing or zero) every rate becomes not-a-number.
    static void convertCurrenciesInfoToUsdBase(CCBRCurrenciesInfo& info);
    /// Three letters A-Z: the only form a currency code takes here.
    static bool isIsoCode(const QString& code);
    /// What of an answer from `source` may reach the screen and the cache, rebased to the US
    /// dollar: rows with a three-letter code and a positive value, between 1e-9 and 1e12 dollars
    /// a unit (anything else is as absent, logged); names trimmed, without control characters,
    /// at most 100 characters; dates outside 1970 to 2100 as missing. Nothing, with `failure`
    /// set, when no row is usable or the dollar the rebasing needs is missing.
    static CCBRCurrenciesInfoPtr usableRebasedRows(const CCBRCurrenciesInfo& answer,
                                                   const QString& source, QString* failure);

    // Provider callbacks.
    void queryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) override;
    void queryFailedWithErrorDescription(const QString& description) override;
    void yahooFinanceQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) override;
    void yahooFinanceQueryFailedWithErrorDescription(const QString& description) override;
    void ecbCurrenciesQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) override;
    void ecbCurrenciesQueryFailedWithErrorDescription(const QString& description) override;
    void bloombergQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) override;
    void bloombergQueryFailedWithErrorDescription(const QString& description) override;
    void payPalQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) override;
    void payPalQueryFailedWithErrorDescription(const QString& description) override;
    void ocbcQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) override;
    void ocbcQueryFailedWithErrorDescription(const QString& description) override;
    void bankUaQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) override;
    void bankUaQueryFailedWithErrorDescription(const QString& description) override;
    void customCurrenciesQueryCurrenciesCompleted(CCustomCurrenciesWebServiceClient* client,
                                                  CCBRCurrenciesInfoPtr rates,
                                                  const std::optional<QString>& displayName,
                                                  const std::optional<QByteArray>& logo) override;
    void customCurrenciesQueryFailed(CCustomCurrenciesWebServiceClient* client,
                                     const QString& text) override;

    void frankfurterQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) override;
    void frankfurterQueryFailedWithErrorDescription(const QString& description) override;
    void frankfurterAvailableCurrenciesReceived(const QStringList& codes) override;
    void currencyApiQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) override;
    void currencyApiQueryFailedWithErrorDescription(const QString& description) override;

    const QStringList& selectedDataSources() const { return selectedDataSources_; }
    /// What each source that answered delivered in the last cycle, rebased and in the order
    /// asked: what the rate cache keeps under that source. Read it when the cycle has ended.
    const QList<std::pair<QString, CCBRCurrenciesInfoPtr>>& answers() const { return answers_; }
    /// The one line naming the sources that failed in a cycle that still delivered rates;
    /// nothing when every source answered.
    const std::optional<QString>& partialFailure() const { return partialFailure_; }
    /// The identifiers of the sources that failed in the last cycle, in the order asked.
    const QStringList& failedDataSources() const { return failedDataSources_; }
    const QString& currentBaseCurrency() const { return currentBaseCurrency_; }

protected:
    /// Asks a user-added source (its feed address) through the custom feed client.
    virtual void queryCustomDataSource(const QString& url);
    /// A custom source's answer: the registry learns the feed's name, logo and codes, then the
    /// answer is merged like any other.
    void customDataSourceCompleted(const QString& url, CCBRCurrenciesInfoPtr result,
                                   const std::optional<QString>& displayName,
                                   const std::optional<QByteArray>& logoImageData);
    /// Ends the current cycle with a failure, from the main loop (never from within the call).
    void failLater(const QString& description);

    /// Common success and failure handling of every provider.
    void dataSourceCompleted(CCBRCurrenciesInfoPtr result);
    void dataSourceFailed(const QString& description);

private:
    /// The name of the source whose answer is awaited, for logs and failure texts.
    QString currentDataSourceName() const;
    void queryDataSource(const QString& identifier);
    /// The client in `slot`, made on first use, with this aggregator as its delegate.
    template <typename Client>
    Client& serviceFor(std::unique_ptr<Client>& slot);
    void mergeResultCurrenciesInfoWithInfo(const CCBRCurrenciesInfo& info);
    /// One line for the failures of a cycle of several sources; `delivered`: others answered.
    QString failuresText(bool delivered) const;
    void processNextDataSource();
    /// The clients made so far, in the order of the identifiers.
    std::vector<CWebServiceClient*> clients() const;

    CCurrencyDataSourceDelegate* delegate_ = nullptr;
    CRootViewModel& dataModel_;
    Endpoints endpoints_;
    /// Receives deferred calls; deleting it drops those still pending.
    std::unique_ptr<QObject> context_;

    // One client per provider, made on first use.
    std::unique_ptr<CCBRCurrenciesWebServiceClient> cbrCurrenciesService_;
    std::unique_ptr<CYahooFinanceWebServiceClient> yahooFinanceService_;
    std::unique_ptr<CECBCurrenciesWebServiceClient> ecbCurrenciesService_;
    std::unique_ptr<CBloombergCurrencyWebServiceClient> bloombergCurrenciesService_;
    std::unique_ptr<CPayPalWebServiceClient> payPalService_;
    std::unique_ptr<COCBCWebServiceClient> ocbcBankService_;
    std::unique_ptr<CBankUaWebServiceClient> bankUaService_;
    std::unique_ptr<CCustomCurrenciesWebServiceClient> customCurrenciesService_;
    std::unique_ptr<CFrankfurterWebServiceClient> frankfurterService_;
    std::unique_ptr<CCurrencyApiWebServiceClient> currencyApiService_;
    /// Asks Frankfurter for its list of codes, apart from the refresh (which it never delays).
    std::unique_ptr<CFrankfurterWebServiceClient> frankfurterCurrenciesService_;

    QStringList selectedDataSources_;
    qsizetype currentDataSourceIndex_ = 0;
    CCBRCurrenciesInfoPtr resultCurrenciesInfo_;
    QList<std::pair<QString, CCBRCurrenciesInfoPtr>> answers_;
    /// The sources that failed in this cycle: display name and the provider's text.
    QList<std::pair<QString, QString>> failures_;
    QStringList failedDataSources_;
    std::optional<QString> partialFailure_;
    QString currentBaseCurrency_;
    /// Counts cycles, so that a deferred call of an older cycle does nothing.
    quint64 cycle_ = 0;
    bool cycleActive_ = false;
};
