#pragma once

#include "CChartWebServiceClient.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTimeZone>

#include <optional>

/// Receives the outcome of a Bloomberg chart query, on the main thread.
class CBloombergChartWebServiceClientDelegate {
public:
    virtual ~CBloombergChartWebServiceClientDelegate() = default;
    virtual void bloombergQueryChartCompletedWithResult(const CCurrencyChartInfo& result) = 0;
    virtual void bloombergQueryFailedWithErrorDescription(const QString& description) = 0;
};

/// The rate history of one currency pair from the Bloomberg chart-data service: a line-oriented
/// answer with daily dates, or (for one day) second offsets from the start of the US Eastern
/// trading day. The answer is parsed on the client's own queue. The pair is kept reversed:
/// (last currency, first currency). Daily dates are midnights of the client's time zone (the
/// device's by default), and the intraday base is read as a calendar day in it.
class CBloombergChartWebServiceClient : public CChartWebServiceClient {
public:
    static inline const QString logName = QStringLiteral("Bloomberg chart");

    explicit CBloombergChartWebServiceClient(const Endpoints& endpoints);
    ~CBloombergChartWebServiceClient() override;

    CBloombergChartWebServiceClientDelegate* delegate() const { return delegate_; }
    void setDelegate(CBloombergChartWebServiceClientDelegate* delegate) { delegate_ = delegate; }

    /// Starts a query for `pair` (first currency, last currency) over `period`; cancels the one
    /// in flight. A pair that is not two codes, or a period the service has no code for, is
    /// answered with an empty record and nothing is sent.
    void queryCurrencyChart(const QStringList& pair, int period);

    /// The service's TimePeriod code ("1D" ... "5Y"); nothing for 2 and 10 years and overall.
    static std::optional<QString> timePeriodForPeriod(int period);
    static QUrl chartUrl(const Endpoints& endpoints, const QStringList& reversedPair, int period);
    /// The US Eastern time zone, in which intraday offsets count.
    static QTimeZone easternTimeZone();

    /// Turns an answer into a record labelled with `reversedPair`; nothing when cancelled. An
    /// answer whose first line does not name its series gives a record without points.
    static std::optional<CCurrencyChartInfo> getChartInfo(
        const QByteArray& text, const QStringList& reversedPair, int period, const QTimeZone& zone,
        const ChartProviderSupport::CancelCheck& isCancelled = ChartProviderSupport::notCancelled);

    void requestSucceeded(CHttpRequest& request, const QByteArray& data) override;

private:
    void deliver(const CCurrencyChartInfo& record) override;
    void fail(const QString& description) override;

    CBloombergChartWebServiceClientDelegate* delegate_ = nullptr;
};
