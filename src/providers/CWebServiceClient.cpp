#include "CWebServiceClient.h"

#include "Localization.h"
#include "Log.h"

#include <QCoreApplication>
#include <QObject>
#include <QRegularExpression>
#include <QThread>

CWebServiceClient::CWebServiceClient()
    : mainThreadContext_(std::make_unique<QObject>()),
      operationQueue_(std::make_unique<OperationQueue>(QStringLiteral("CWebServiceClient"))) {
    Q_ASSERT(QCoreApplication::instance() == nullptr ||
             QThread::currentThread() == QCoreApplication::instance()->thread());
}

CWebServiceClient::~CWebServiceClient() {
    // Cancelling aborts a running exchange, so joining the worker does not wait for the network;
    // the worker never waits for this thread, so it cannot wait for us either.
    cancelAllHttpRequests();
    operationQueue_.reset();
    mainThreadContext_.reset();
}

void CWebServiceClient::sendAsyncHttpRequest(CHttpRequestPtr request) {
    request->delegate = this;
    const std::chrono::milliseconds timeout = request->requestSettings.timeout.value_or(timeout_);
    const qint64 maximumBodySize =
        request->requestSettings.maximumBodySize.value_or(maximumBodySize_);
    operationQueue_->addOperation([this, request, settings = request->requestSettings, timeout,
                                   maximumBodySize](const Operation& operation) {
        CHttpRequest::Outcome outcome =
            CHttpRequest::perform(settings, operation, timeout, maximumBodySize);
        if (operation.isCancelled()) {
            return;
        }
        performOnMainThread(operation, [request, outcome = std::move(outcome)] {
            if (CWebServiceClient* client = request->delegate) {
                client->requestFinished(*request, outcome.data, outcome.response, outcome.error);
            }
        });
    });
}

void CWebServiceClient::cancelAllHttpRequests() {
    if (operationQueue_) {
        operationQueue_->cancelAllOperations();
    }
}

void CWebServiceClient::performOnMainThread(const Operation& operation,
                                            std::function<void()> work) {
    QMetaObject::invokeMethod(
        mainThreadContext_.get(),
        [keep = operation.shared_from_this(), work = std::move(work)] {
            if (!keep->isCancelled()) {
                work();
            }
        },
        Qt::QueuedConnection);
}

void CWebServiceClient::requestFinished(CHttpRequest& request,
                                        const std::optional<QByteArray>& data,
                                        const std::optional<HttpResponse>& response,
                                        const std::optional<HttpError>& error) {
    if (!error && isRequestSuccessfulWithResponse(response)) {
        requestSucceeded(request, data.value_or(QByteArray()));
    } else {
        requestFailed(request, error, response, data);
    }
}

bool CWebServiceClient::isRequestSuccessfulWithResponse(
    const std::optional<HttpResponse>& response) {
    return response && response->statusCode == 200;
}

void CWebServiceClient::requestSucceeded(CHttpRequest&, const QByteArray&) {}

void CWebServiceClient::requestFailed(CHttpRequest&, const std::optional<HttpError>&,
                                      const std::optional<HttpResponse>&,
                                      const std::optional<QByteArray>&) {}

QString CWebServiceClient::failureDescription(const std::optional<HttpError>& error,
                                              const std::optional<HttpResponse>& response) {
    if (error) {
        return error->localizedDescription;
    }
    if (response) {
        return QStringLiteral("%1 %2")
            .arg(response->statusCode)
            .arg(HttpResponse::localizedStringForStatusCode(response->statusCode));
    }
    return QStringLiteral("The request ended without an answer from the server.");
}

QString CWebServiceClient::sourceFailureText(const QString& source, QString reason,
                                             const QString& messageKey) {
    static const QRegularExpression status(QStringLiteral("^([1-5][0-9][0-9]) (.+)$"));
    if (const QRegularExpressionMatch match = status.match(reason); match.hasMatch()) {
        reason = Localization::localizedString(QStringLiteral("FailureStatus"))
                     .arg(match.captured(1), match.captured(2));
    }
    reason = reason.trimmed();
    if (source.isEmpty()) {
        return reason;  // nothing was asked: the reason says it all
    }
    if (reason.endsWith(u'.')) {
        reason.chop(1);
    }
    return Localization::localizedString(messageKey).arg(source, reason);
}

QString CWebServiceClient::notUnderstood(const QString& detail) {
    QString reason = detail.trimmed();
    if (reason.endsWith(u'.')) {
        reason.chop(1);
    }
    // The parser's own words after the sentence, for whoever reads the log.
    return QStringLiteral("%1 (%2)").arg(
        Localization::localizedString(QStringLiteral("FailureNotUnderstood")), reason);
}

QString CWebServiceClient::logRequestFailure(const QString& logName,
                                             const std::optional<HttpError>& error,
                                             const std::optional<HttpResponse>& response,
                                             const std::optional<QByteArray>& data) {
    const QString errorText = error ? error->localizedDescription : QString();
    const QString responseText =
        response ? HttpResponse::localizedStringForStatusCode(response->statusCode) : QString();
    const QString dataText = data ? QString::fromUtf8(*data) : QString();
    nlog(QStringLiteral(
             "%1 web service request failed with\r\nerror:%2\r\nresponse:%3\r\ndata:%4\r\n")
             .arg(logName, errorText, responseText, dataText));
    return failureDescription(error, response);
}
