#pragma once

#include "CChartWebServiceClient.h"

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
/// against the last accepted one are dropped as bad ticks. The pair is kept reversed: (last
/// currency, first currency). Calendar days of "Date" series are read in the client's time zone
/// (the device's by default).
class CYahooFinanceChartWebServiceClient : public CChartWebServiceClient {
public:
    static inline const QString logName = QStringLiteral("Yahoo finance chart");

    explicit CYahooFinanceChartWebServiceClient(const Endpoints& endpoints);
    ~CYahooFinanceChartWebServiceClient() override;

    CYahooFinanceChartWebServiceClientDelegate* delegate() const { return delegate_; }
    void setDelegate(CYahooFinanceChartWebServiceClientDelegate* delegate) { delegate_ = delegate; }

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

private:
    void deliver(const CCurrencyChartInfo& record) override;
    void fail(const QString& description) override;

    CYahooFinanceChartWebServiceClientDelegate* delegate_ = nullptr;
};
