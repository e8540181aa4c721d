#pragma once

#include "CCurrencyChartInfo.h"
#include "CWebServiceClient.h"
#include "ChartProviderSupport.h"
#include "Endpoints.h"

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTimeZone>

#include <functional>
#include <optional>

/// Receives the outcome of a Central Bank of Russia chart query, on the main thread.
class CCBRChartWebServiceClientDelegate {
public:
    virtual ~CCBRChartWebServiceClientDelegate() = default;
    virtual void cbrCurrenciesQueryChartCompletedWithResult(const CCurrencyChartInfo& result) = 0;
    virtual void cbrCurrenciesQueryFailedWithErrorDescription(const QString& description) = 0;
};

/// The rate history of a currency pair from the Central Bank of Russia's daily-rate and
/// precious-metal series (every currency and metal in roubles): one series for a pair with the
/// rouble, two for a cross pair. Currencies are asked for by the bank's internal identifiers.
/// Answers are parsed and combined on the client's own queue.
class CCBRChartWebServiceClient : public CWebServiceClient {
public:
    static inline const QString logName = QStringLiteral("CBR chart");

    explicit CCBRChartWebServiceClient(const Endpoints& endpoints = Endpoints::standard());
    ~CCBRChartWebServiceClient() override;

    CCBRChartWebServiceClientDelegate* delegate() const { return delegate_; }
    void setDelegate(CCBRChartWebServiceClientDelegate* delegate) { delegate_ = delegate; }

    /// The request's date range and the answer's days are in this zone (the device's by default).
    void setTimeZone(const QTimeZone& zone) { timeZone_ = zone; }
    QTimeZone timeZone() const { return timeZone_; }
    /// The clock that gives the end of the date range (the current time by default).
    void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }

    /// ISO code to the bank's internal identifier ("USD" -> "R01235").
    const QMap<QString, QString>& currencyCodesDict() const { return currencyCodesDict_; }
    void setCurrencyCodesDict(const QMap<QString, QString>& codes) { currencyCodesDict_ = codes; }
    /// The bundled "CBRInternalCodes" table; empty when it cannot be read.
    static QMap<QString, QString> loadInternalCodes();

    /// The requested pair, first currency then last currency.
    const QStringList& currencyPair() const { return currencyPair_; }
    qint32 chartPeriod() const { return chartPeriod_; }
    /// Neither code is the rouble: two series, divided.
    bool shouldRequestBothCurrencies() const { return shouldRequestBothCurrencies_; }
    /// The last code is the rouble: one series, inverted.
    bool shouldInvertChartData() const { return shouldInvertChartData_; }
    /// The ISO code of the series last asked for.
    const QString& requestCurrencyCode() const { return requestCurrencyCode_; }

    /// Starts a query for `pair` (first currency, last currency) over `period`; cancels the one
    /// in flight. A pair that is not two codes, or a currency the bank has no identifier for,
    /// is answered with an empty record.
    void queryCurrencyChart(const QStringList& pair, int period);

    /// One parsed series: its points, or the parser's error text, or nothing when cancelled.
    struct ParsedSeries {
        bool cancelled = false;
        std::optional<QString> error;
        CCurrencyChartPointList points;
    };
    /// Parses a windows-1251 answer: the metal series filtered to `code` when `code` is a metal,
    /// else the currency series.
    static ParsedSeries parseSeries(
        const QByteArray& data, const QString& code, const QTimeZone& zone,
        const ChartProviderSupport::CancelCheck& isCancelled = ChartProviderSupport::notCancelled);

    void requestSucceeded(CHttpRequest& request, const QByteArray& data) override;
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

    CCBRChartWebServiceClientDelegate* delegate_ = nullptr;
    Endpoints endpoints_;
    QStringList currencyPair_;
    qint32 chartPeriod_ = 0;
    bool shouldRequestBothCurrencies_ = false;
    bool shouldInvertChartData_ = false;
    std::optional<CCurrencyChartPointList> firstCurrencyData_;
    std::optional<CCurrencyChartPointList> secondCurrencyData_;
    QMap<QString, QString> currencyCodesDict_;
    QString requestCurrencyCode_;
    QTimeZone timeZone_ = QTimeZone::systemTimeZone();
    std::function<QDateTime()> clock_;
};
