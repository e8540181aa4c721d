#pragma once

#include "CBloombergChartWebServiceClient.h"
#include "CCBRChartWebServiceClient.h"
#include "CCurrencyChartInfo.h"
#include "CECBChartWebServiceClient.h"
#include "CFrankfurterChartWebServiceClient.h"
#include "CYahooFinanceChartWebServiceClient.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class CChartDataStorageManager;
class CRootViewModel;

/// Receives the outcome of a chart query, on the main thread.
class CCurrencyChartDataSourceDelegate {
public:
    virtual ~CCurrencyChartDataSourceDelegate() = default;
    virtual void queryCurrencyChartDataSourceCompletedWithResult(
        const CCurrencyChartInfo& result) = 0;
    virtual void queryCurrencyChartDataSourceFailedWithErrorDescription(
        const QString& description) = 0;
};

/// The one place the chart screen asks for rate history: knows which rate data sources can chart
/// and over which periods, maps the charted pair through the related-currency table, asks the
/// chart client of the selected data source, and hands its answer on. Records with points are
/// labelled with the charted pair and written to the chart cache before they are handed on.
///
/// Main thread only. At most one query is in flight: a new one cancels every client's work.
class CCurrencyChartDataSource : public CYahooFinanceChartWebServiceClientDelegate,
                                 public CBloombergChartWebServiceClientDelegate,
                                 public CECBChartWebServiceClientDelegate,
                                 public CCBRChartWebServiceClientDelegate,
                                 public CFrankfurterChartWebServiceClientDelegate {
public:
    /// True exactly for "YFinance", "Bloomberg", "ECB", "CBR" and "Frankfurter" (compared
    /// exactly).
    static bool isDataSourceSupported(const QString& dataSource);
    /// The periods a data source can chart, in order; nothing for any other source.
    static std::optional<QList<int>> supportedPeriodsForDatasource(const QString& dataSource);
    /// `period` when the source offers it (or offers no list), else its first period.
    static int supportedPeriodForDataSource(const QString& dataSource, int period);

    /// `model` gives the selected source, the related currencies and the settings store; `cache`
    /// (optional) receives every record with points. Neither is owned; both must outlive this.
    /// The chart clients ask the hosts in `endpoints`.
    CCurrencyChartDataSource(CRootViewModel& model, CChartDataStorageManager* cache,
                             Endpoints endpoints);
    ~CCurrencyChartDataSource() override;
    CCurrencyChartDataSource(const CCurrencyChartDataSource&) = delete;
    CCurrencyChartDataSource& operator=(const CCurrencyChartDataSource&) = delete;

    CCurrencyChartDataSourceDelegate* delegate() const { return delegate_; }
    void setDelegate(CCurrencyChartDataSourceDelegate* delegate) { delegate_ = delegate; }
    CRootViewModel& dataModel() const { return dataModel_; }
    /// The string-table key a failure is told with: "%1" the source, "%2" the reason.
    void setFailureMessageKey(const QString& key) { failureMessageKey_ = key; }

    /// Starts one query for the charted pair and period of the chart settings from the selected
    /// data source. A stored period the source does not offer becomes the source's first period,
    /// in the settings too. An unsupported source sends nothing and reports nothing.
    void queryCharts();
    /// Starts one query for `pair` over `period` from the selected data source, leaving the
    /// chart settings as they are (the converter asks for rates at past dates this way).
    void queryChart(const QStringList& pair, int period);
    /// Cancels the requests and parses of every client created so far.
    void cancelQuery();

    /// The pair as sent to a provider: each code replaced by its related currency, if any.
    QStringList requestPairForCurrencyPair(const QStringList& pair) const;
    /// The cached record for the charted pair, the period the selected source would be asked
    /// for, and that source; nothing without a cache or an entry.
    std::optional<CCurrencyChartInfo> getCachedChartInfo() const;

    /// The clients, once created (null before their source was first queried).
    CYahooFinanceChartWebServiceClient* yahooService() const { return yahooService_.get(); }
    CBloombergChartWebServiceClient* bloombergService() const { return bloombergService_.get(); }
    CECBChartWebServiceClient* ecbService() const { return ecbService_.get(); }
    CCBRChartWebServiceClient* cbrService() const { return cbrService_.get(); }
    CFrankfurterChartWebServiceClient* frankfurterService() const {
        return frankfurterService_.get();
    }

    void yahooFinanceQueryChartCompletedWithResult(const CCurrencyChartInfo& result) override;
    void yahooFinanceQueryFailedWithErrorDescription(const QString& description) override;
    void bloombergQueryChartCompletedWithResult(const CCurrencyChartInfo& result) override;
    void bloombergQueryFailedWithErrorDescription(const QString& description) override;
    void ecbCurrenciesQueryChartCompletedWithResult(const CCurrencyChartInfo& result) override;
    void ecbCurrenciesQueryFailedWithErrorDescription(const QString& description) override;
    void cbrCurrenciesQueryChartCompletedWithResult(const CCurrencyChartInfo& result) override;
    void cbrCurrenciesQueryFailedWithErrorDescription(const QString& description) override;
    void frankfurterQueryChartCompletedWithResult(const CCurrencyChartInfo& result) override;
    void frankfurterQueryChartFailedWithErrorDescription(const QString& description) override;

private:
    /// What the query in flight was asked for, so that its answer is labelled and cached under
    /// the pair, period and source of the request even if the settings change meanwhile.
    struct Query {
        QString dataSource;
        QStringList pair;
        QStringList requestPair;
        int period = 0;
    };

    void completed(CCurrencyChartInfo record);
    void failed(const QString& description);

    CRootViewModel& dataModel_;
    CChartDataStorageManager* cache_;
    Endpoints endpoints_;
    CCurrencyChartDataSourceDelegate* delegate_ = nullptr;
    std::unique_ptr<CYahooFinanceChartWebServiceClient> yahooService_;
    std::unique_ptr<CBloombergChartWebServiceClient> bloombergService_;
    std::unique_ptr<CECBChartWebServiceClient> ecbService_;
    std::unique_ptr<CCBRChartWebServiceClient> cbrService_;
    std::unique_ptr<CFrankfurterChartWebServiceClient> frankfurterService_;
    std::optional<Query> query_;
    QString failureMessageKey_ = QStringLiteral("ChartSourceFailedMessage");
};
