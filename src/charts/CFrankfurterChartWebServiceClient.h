#pragma once

#include "CChartWebServiceClient.h"

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <QUrl>

#include <optional>

/// Receives the outcome of a Frankfurter chart query, on the main thread.
class CFrankfurterChartWebServiceClientDelegate {
public:
    virtual ~CFrankfurterChartWebServiceClientDelegate() = default;
    virtual void frankfurterQueryChartCompletedWithResult(const CCurrencyChartInfo& result) = 0;
    virtual void frankfurterQueryChartFailedWithErrorDescription(const QString& description) = 0;
};

/// The rate history of one currency pair from the Frankfurter API: every period from a week to
/// the whole history (back to 1999) in one request of daily rates, thinned to weekly or monthly
/// rates for periods longer than two years so that a chart keeps at most about 1,500 points.
/// There is no intraday data, so the one-day period is not offered. The pair is kept reversed
/// (last currency, first currency): the last currency is asked as the base and the first as the
/// quote, which gives units of the first currency per unit of the last.
class CFrankfurterChartWebServiceClient : public CChartWebServiceClient {
public:
    static inline const QString logName = QStringLiteral("Frankfurter chart");
    /// The first day of the service's history.
    static inline const QDate historyStart = QDate(1999, 1, 4);
    /// The most points a chart is given before weeks become months.
    static constexpr qint64 maximumPoints = 1500;

    /// What one period is asked as.
    struct Range {
        QDate from;
        QDate to;
        /// "week" or "month"; empty for daily rates.
        QString group;
        bool operator==(const Range&) const = default;
    };

    explicit CFrankfurterChartWebServiceClient(const Endpoints& endpoints);
    ~CFrankfurterChartWebServiceClient() override;

    CFrankfurterChartWebServiceClientDelegate* delegate() const { return delegate_; }
    void setDelegate(CFrankfurterChartWebServiceClientDelegate* delegate) { delegate_ = delegate; }

    /// Starts a query for `pair` (first currency, last currency) over `period`; cancels the one
    /// in flight. A pair that is not two codes, or a period the service has no range for, is
    /// answered with an empty record and nothing is sent.
    void queryCurrencyChart(const QStringList& pair, int period);

    /// The range asked for `period` when the last day is `today`; nothing for the one-day
    /// period and for values that are no period.
    static std::optional<Range> rangeForPeriod(int period, const QDate& today);
    /// "/v2/rates?base=L&quotes=F&from=...&to=...[&group=...]" for the kept pair (L, F).
    static QUrl chartUrl(const Endpoints& endpoints, const QStringList& reversedPair,
                         const Range& range);

    /// Turns an answer into a record labelled with the pair (F, L); nothing when cancelled.
    /// Rows for other pairs and values that are not positive numbers are left out; an answer
    /// that does not parse gives a record without points.
    static std::optional<CCurrencyChartInfo> getChartInfo(
        const QByteArray& text, const QStringList& reversedPair, int period, const QTimeZone& zone,
        const ChartProviderSupport::CancelCheck& isCancelled = ChartProviderSupport::notCancelled);

    void requestSucceeded(CHttpRequest& request, const QByteArray& data) override;
    void requestFailed(CHttpRequest& request, const std::optional<HttpError>& error,
                       const std::optional<HttpResponse>& response,
                       const std::optional<QByteArray>& data) override;

private:
    void deliver(const CCurrencyChartInfo& record) override;
    void fail(const QString& description) override;

    CFrankfurterChartWebServiceClientDelegate* delegate_ = nullptr;
};
