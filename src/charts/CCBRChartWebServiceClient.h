#pragma once

#include "CCentralBankChartWebServiceClient.h"

#include <QByteArray>
#include <QDateTime>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTimeZone>

#include <functional>

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
/// Answers are parsed and combined on the client's own queue. The pair is kept as requested
/// (first currency, last currency); the request's date range and the answer's days are in the
/// client's time zone (the device's by default). A currency the bank has no identifier for is
/// answered with an empty record.
class CCBRChartWebServiceClient : public CCentralBankChartWebServiceClient {
public:
    static inline const QString logName = QStringLiteral("CBR chart");

    explicit CCBRChartWebServiceClient(const Endpoints& endpoints);
    ~CCBRChartWebServiceClient() override;

    CCBRChartWebServiceClientDelegate* delegate() const { return delegate_; }
    void setDelegate(CCBRChartWebServiceClientDelegate* delegate) { delegate_ = delegate; }

    /// The clock that gives the end of the date range (the current time by default).
    void setClock(std::function<QDateTime()> clock) { clock_ = std::move(clock); }

    /// ISO code to the bank's internal identifier ("USD" -> "R01235").
    const QMap<QString, QString>& currencyCodesDict() const { return currencyCodesDict_; }
    void setCurrencyCodesDict(const QMap<QString, QString>& codes) { currencyCodesDict_ = codes; }
    /// The bundled "CBRInternalCodes" table; empty when it cannot be read.
    static QMap<QString, QString> loadInternalCodes();

    /// The ISO code of the series last asked for.
    const QString& requestCurrencyCode() const { return requestCurrencyCode_; }

    /// Parses a windows-1251 answer: the metal series filtered to `code` when `code` is a metal,
    /// else the currency series.
    static ParsedSeries parseSeries(
        const QByteArray& data, const QString& code, const QTimeZone& zone,
        const ChartProviderSupport::CancelCheck& isCancelled = ChartProviderSupport::notCancelled);

private:
    void queryChartForCurrency(const QString& code) override;
    SeriesParser seriesParser(const QByteArray& data) const override;
    void deliver(const CCurrencyChartInfo& record) override;
    void fail(const QString& description) override;

    CCBRChartWebServiceClientDelegate* delegate_ = nullptr;
    QMap<QString, QString> currencyCodesDict_;
    QString requestCurrencyCode_;
    std::function<QDateTime()> clock_;
};
