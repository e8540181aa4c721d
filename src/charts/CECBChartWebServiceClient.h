#pragma once

#include "CCentralBankChartWebServiceClient.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTimeZone>

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
/// The pair is kept reversed: (last currency, first currency). Days are read, and periods
/// counted, in the client's time zone (the device's by default).
class CECBChartWebServiceClient : public CCentralBankChartWebServiceClient {
public:
    static inline const QString logName = QStringLiteral("ECB chart");

    explicit CECBChartWebServiceClient(const Endpoints& endpoints);
    ~CECBChartWebServiceClient() override;

    CECBChartWebServiceClientDelegate* delegate() const { return delegate_; }
    void setDelegate(CECBChartWebServiceClientDelegate* delegate) { delegate_ = delegate; }

    /// The history file of `code` ("/stats/exchange/eurofxref/html/usd.xml").
    static QUrl seriesUrl(const Endpoints& endpoints, const QString& code);

    /// Parses one history file: every "Obs" element is a point.
    static ParsedSeries parseSeries(
        const QByteArray& data, const QTimeZone& zone,
        const ChartProviderSupport::CancelCheck& isCancelled = ChartProviderSupport::notCancelled);

    /// A 404 means the bank keeps no history for the code: an empty record, not a failure.
    void requestFailed(CHttpRequest& request, const std::optional<HttpError>& error,
                       const std::optional<HttpResponse>& response,
                       const std::optional<QByteArray>& data) override;

private:
    void queryChartForCurrency(const QString& code) override;
    SeriesParser seriesParser(const QByteArray& data) const override;
    void deliver(const CCurrencyChartInfo& record) override;
    void fail(const QString& description) override;

    CECBChartWebServiceClientDelegate* delegate_ = nullptr;
};
