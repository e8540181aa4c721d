#pragma once

#include "CCurrencyChartInfo.h"
#include "CWebServiceClient.h"
#include "ChartProviderSupport.h"
#include "Endpoints.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTimeZone>

#include <optional>

/// Receives the outcome of an ECB chart query, on the main thread.
class CECBChartWebServiceClientDelegate {
public:
    virtual ~CECBChartWebServiceClientDelegate() = default;
    virtual void ecbCurrenciesQueryChartCompletedWithResult(const CCurrencyChartInfo& result) = 0;
    virtual void ecbCurrenciesQueryFailedWithErrorDescription(const QString& description) = 0;
};

/// The rate history of a currency pair from the European Central Bank's per-currency reference
/// rate files (every currency against the euro): one file for a pair with the euro, two for a
/// cross pair. Files are parsed, cut to the period and combined on the client's own queue.
class CECBChartWebServiceClient : public CWebServiceClient {
public:
    static inline const QString logName = QStringLiteral("ECB chart");

    explicit CECBChartWebServiceClient(const Endpoints& endpoints = Endpoints::standard());
    ~CECBChartWebServiceClient() override;

    CECBChartWebServiceClientDelegate* delegate() const { return delegate_; }
    void setDelegate(CECBChartWebServiceClientDelegate* delegate) { delegate_ = delegate; }

    /// Days are read, and periods counted, in this zone (the device's by default).
    void setTimeZone(const QTimeZone& zone) { timeZone_ = zone; }
    QTimeZone timeZone() const { return timeZone_; }

    /// The requested pair reversed: (last currency, first currency).
    const QStringList& currencyPair() const { return currencyPair_; }
    qint32 chartPeriod() const { return chartPeriod_; }
    /// Neither code is the euro: two files, divided.
    bool shouldRequestBothCurrencies() const { return shouldRequestBothCurrencies_; }
    /// The first code is the euro: one file, inverted.
    bool shouldInvertChartData() const { return shouldInvertChartData_; }

    /// Starts a query for `pair` (first currency, last currency) over `period`; cancels the one
    /// in flight. A pair that is not two codes is answered with an empty record.
    void queryCurrencyChart(const QStringList& pair, int period);

    /// The history file of `code` ("/stats/exchange/eurofxref/html/usd.xml").
    static QUrl seriesUrl(const Endpoints& endpoints, const QString& code);

    /// One parsed file: its points, or the parser's error text, or nothing at all when cancelled.
    struct ParsedSeries {
        bool cancelled = false;
        std::optional<QString> error;
        CCurrencyChartPointList points;
    };
    static ParsedSeries parseSeries(
        const QByteArray& data, const QTimeZone& zone,
        const ChartProviderSupport::CancelCheck& isCancelled = ChartProviderSupport::notCancelled);

    void requestSucceeded(CHttpRequest& request, const QByteArray& data) override;
    /// A 404 means the bank keeps no history for the code: an empty record, not a failure.
    void requestFailed(CHttpRequest& request, const std::optional<HttpError>& error,
                       const std::optional<HttpResponse>& response,
                       const std::optional<QByteArray>& data) override;

private:
    void queryChartForCurrency(const QString& code);
    /// A series has arrived (main thread): fetch the other one, or combine.
    void processParsedData(const CCurrencyChartPointList& points);
    void makeCurrencyChartInfoAsync();
    CCurrencyChartInfo emptyRecord() const;
    void deliver(const CCurrencyChartInfo& record);
    void deliverLater(CCurrencyChartInfo record);
    void fail(const QString& description);

    CECBChartWebServiceClientDelegate* delegate_ = nullptr;
    Endpoints endpoints_;
    QStringList currencyPair_;
    qint32 chartPeriod_ = 0;
    bool shouldRequestBothCurrencies_ = false;
    bool shouldInvertChartData_ = false;
    std::optional<CCurrencyChartPointList> firstCurrencyData_;
    std::optional<CCurrencyChartPointList> secondCurrencyData_;
    QTimeZone timeZone_ = QTimeZone::systemTimeZone();
};
