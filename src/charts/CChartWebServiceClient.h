#pragma once

#include "CCurrencyChartInfo.h"
#include "CWebServiceClient.h"
#include "ChartProviderSupport.h"
#include "Endpoints.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTimeZone>
#include <QUrl>

#include <optional>

/// The part every chart client shares: the pair and period of the query in flight, the time zone
/// answers are read in, and handing the outcome to the client's delegate on the main thread.
class CChartWebServiceClient : public CWebServiceClient {
public:
    void setTimeZone(const QTimeZone& zone) { timeZone_ = zone; }
    QTimeZone timeZone() const { return timeZone_; }

    /// The pair of the last query, in the order the client keeps it (see the client).
    const QStringList& currencyPair() const { return currencyPair_; }
    qint32 chartPeriod() const { return chartPeriod_; }

    /// Logs the failure under the client's log name and reports it to the delegate.
    void requestFailed(CHttpRequest& request, const std::optional<HttpError>& error,
                       const std::optional<HttpResponse>& response,
                       const std::optional<QByteArray>& data) override;

protected:
    /// How a client keeps the requested pair (first currency, last currency).
    enum class PairOrder { AsRequested, Reversed };

    CChartWebServiceClient(const Endpoints& endpoints, const QString& logName, PairOrder order);

    /// Hands a record to the delegate, if there is one (main thread).
    virtual void deliver(const CCurrencyChartInfo& record) = 0;
    /// Hands a failure text to the delegate, if there is one (main thread).
    virtual void fail(const QString& description) = 0;

    /// Cancels the query in flight and keeps `pair` and `period`; false, with an empty pair,
    /// when `pair` is not two codes.
    bool beginQuery(const QStringList& pair, int period);
    /// Delivers `record` on a later turn of the main loop, through the queue, so that a newer
    /// query cancels this delivery like any other.
    void deliverLater(CCurrencyChartInfo record);
    /// Answers a query that asks nothing of the service (a bad pair, a period it has no data
    /// for) with an empty record of `period`, later.
    void deliverEmptyRecordLater(int period);
    void sendGetRequest(const QUrl& url);

    /// Turns a whole answer into a record labelled with the kept pair; nothing when cancelled.
    using RecordReader = std::optional<CCurrencyChartInfo> (*)(
        const QByteArray& text, const QStringList& pair, int period, const QTimeZone& zone,
        const ChartProviderSupport::CancelCheck& isCancelled);
    /// Reads `data` with `reader` on the queue and delivers the record on the main thread.
    void readRecordAsync(const QByteArray& data, RecordReader reader);

    const Endpoints& endpoints() const { return endpoints_; }

private:
    Endpoints endpoints_;
    QString logName_;
    PairOrder pairOrder_;
    QStringList currencyPair_;
    qint32 chartPeriod_ = 0;
    QTimeZone timeZone_ = QTimeZone::systemTimeZone();
};
