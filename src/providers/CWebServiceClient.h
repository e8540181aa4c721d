#pragma once

#include "CHttpRequest.h"
#include "OperationQueue.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>

class QObject;

/// The base of every web client: owns an operation queue on which its HTTP exchanges run, and
/// routes each outcome, on the main thread, to `requestSucceeded` or `requestFailed`.
///
/// Main thread only (create, query, destroy). A cancelled request delivers nothing: a new query
/// cancels what the client still has in flight, and so does the client's destruction, which
/// aborts a running exchange instead of waiting for it.
class CWebServiceClient {
public:
    CWebServiceClient();
    virtual ~CWebServiceClient();
    CWebServiceClient(const CWebServiceClient&) = delete;
    CWebServiceClient& operator=(const CWebServiceClient&) = delete;

    /// Sets the request's delegate to this client and queues the exchange; returns at once.
    /// Virtual so that a harness can take the request instead and answer it with bytes of its
    /// own through `requestSucceeded` (the fuzz targets do).
    virtual void sendAsyncHttpRequest(CHttpRequestPtr request);
    /// Cancels every queued and running operation of this client's queue.
    void cancelAllHttpRequests();

    /// Called on the main thread with the outcome of an exchange that was not cancelled.
    virtual void requestFinished(CHttpRequest& request, const std::optional<QByteArray>& data,
                                 const std::optional<HttpResponse>& response,
                                 const std::optional<HttpError>& error);
    /// True exactly when there is a response with status 200.
    static bool isRequestSuccessfulWithResponse(const std::optional<HttpResponse>& response);
    /// Success: status 200 and no error. Does nothing here.
    virtual void requestSucceeded(CHttpRequest& request, const QByteArray& data);
    /// Every other outcome. Does nothing here.
    virtual void requestFailed(CHttpRequest& request, const std::optional<HttpError>& error,
                               const std::optional<HttpResponse>& response,
                               const std::optional<QByteArray>& data);

    /// The text a provider reports for a failed exchange: the error's description, else "%d %@"
    /// (status code and its standard reason phrase), else a general text.
    static QString failureDescription(const std::optional<HttpError>& error,
                                      const std::optional<HttpResponse>& response);
    /// One line for the user: which source failed (`source`, a display name), why in plain words
    /// (`reason`, a failure description; a status "503 Service Unavailable" is spelt out) and
    /// what is shown instead, by the format `messageKey` ("%1 ... %2 ..."). Without a source,
    /// the reason alone.
    static QString sourceFailureText(const QString& source, QString reason,
                                     const QString& messageKey);
    /// An answer that arrived but could not be read, as the user reads it; `detail` is the
    /// parser's own complaint.
    static QString notUnderstood(const QString& detail);
    /// Writes the failure line "<logName> web service request failed with ..." to the system
    /// log and returns `failureDescription`.
    static QString logRequestFailure(const QString& logName, const std::optional<HttpError>& error,
                                     const std::optional<HttpResponse>& response,
                                     const std::optional<QByteArray>& data);

    /// Limits for requests that do not set their own (30 s and 16 MiB unless changed).
    void setRequestTimeout(std::chrono::milliseconds timeout) { timeout_ = timeout; }
    std::chrono::milliseconds requestTimeout() const { return timeout_; }
    void setMaximumBodySize(qint64 bytes) { maximumBodySize_ = bytes; }
    qint64 maximumBodySize() const { return maximumBodySize_; }

protected:
    OperationQueue& operationQueue() { return *operationQueue_; }
    /// Runs `work` on the main thread later, unless `operation` is cancelled by then (tested on
    /// the main thread, right before). Callable from any thread while the client exists.
    void performOnMainThread(const Operation& operation, std::function<void()> work);

private:
    /// Receives the main-thread calls; deleting it drops any still pending.
    std::unique_ptr<QObject> mainThreadContext_;
    std::unique_ptr<OperationQueue> operationQueue_;
    std::chrono::milliseconds timeout_ = CHttpRequest::defaultTimeout;
    qint64 maximumBodySize_ = CHttpRequest::defaultMaximumBodySize;
};
