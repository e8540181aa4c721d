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

/// Receives the outcome of a Yahoo Finance chart query, on the main thread.
class CYahooFinanceChartWebServiceClientDelegate {
public:
    virtual ~CYahooFinanceChartWebServiceClientDelegate() = default;
    virtual void yahooFinanceQueryChartCompletedWithResult(const CCurrencyChartInfo& result) = 0;
    virtual void yahooFinanceQueryFailedWithErrorDescription(const QString& description) = 0;
};

/// The rate history of one currency pair from the Yahoo Finance chart service (JSON-P). The
/// answer is parsed on the client's own queue; samples that jump by a factor of two or more
/// against the last accepted one are dropped as bad ticks.
class CYahooFinanceChartWebServiceClient : public CWebServiceClient {
public:
    static inline const QString logName = QStringLiteral("Yahoo finance chart");

    explicit CYahooFinanceChartWebServiceClient(const Endpoints& endpoints = Endpoints::standard());
    ~CYahooFinanceChartWebServiceClient() override;

    CYahooFinanceChartWebServiceClientDelegate* delegate() const { return delegate_; }
    void setDelegate(CYahooFinanceChartWebServiceClientDelegate* delegate) { delegate_ = delegate; }

    /// Calendar days of "Date" series are read in this zone (the device's by default).
    void setTimeZone(const QTimeZone& zone) { timeZone_ = zone; }
    QTimeZone timeZone() const { return timeZone_; }

    /// The requested pair reversed: (last currency, first currency).
    const QStringList& currencyPair() const { return currencyPair_; }
    qint32 chartPeriod() const { return chartPeriod_; }

    /// Starts a query for `pair` (first currency, last currency) over `period`; cancels the one
    /// in flight. A pair that is not two codes, or a period without a range code, is answered
    /// with an empty record and nothing is sent.
    void queryCurrencyChart(const QStringList& pair, int period);

    /// The service's range code of a period ("1d" ... "100y"; "3y" for three years).
    static std::optional<QString> rangeForPeriod(int period);
    /// The address asked for `reversedPair` and `range`.
    static QUrl chartUrl(const Endpoints& endpoints, const QStringList& reversedPair,
                         const QString& range);

    /// Turns an answer into a record labelled with `reversedPair`; nothing when cancelled. An
    /// answer that does not parse, or has no "series", gives a record without points.
    static std::optional<CCurrencyChartInfo> getChartInfo(
        const QByteArray& text, const QStringList& reversedPair, int period, const QTimeZone& zone,
        const ChartProviderSupport::CancelCheck& isCancelled = ChartProviderSupport::notCancelled);

    void requestSucceeded(CHttpRequest& request, const QByteArray& data) override;
    void requestFailed(CHttpRequest& request, const std::optional<HttpError>& error,
                       const std::optional<HttpResponse>& response,
                       const std::optional<QByteArray>& data) override;

private:
    void deliverLater(CCurrencyChartInfo record);

    CYahooFinanceChartWebServiceClientDelegate* delegate_ = nullptr;
    Endpoints endpoints_;
    QStringList currencyPair_;
    qint32 chartPeriod_ = 0;
    QTimeZone timeZone_ = QTimeZone::systemTimeZone();
};
