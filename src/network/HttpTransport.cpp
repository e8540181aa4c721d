// The Qt Network side of CHttpRequest: one network manager on a thread of its own.
#include "HttpTransport.h"

#include "Localization.h"

#include <QCoreApplication>
#include <QMutex>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWaitCondition>

#include <functional>

namespace {

bool sameName(const QByteArray& a, const QByteArray& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// HTTP-level outcomes that Qt reports as errors although the server did answer; with a status
// code present they are responses, not errors. A redirection that cannot be followed (no usable
// Location) stays the 3xx response it is.
bool isStatusDerivedError(QNetworkReply::NetworkError error, int statusCode) {
    const int code = static_cast<int>(error);
    if (statusCode >= 300 && statusCode < 400 && error == QNetworkReply::ProtocolUnknownError) {
        return true;
    }
    return (code >= 201 && code <= 299) || (code >= 401 && code <= 499) ||
           error == QNetworkReply::ProtocolInvalidOperationError;
}

QNetworkRequest::CacheLoadControl cacheLoadControl(HttpCachePolicy policy) {
    switch (policy) {
        case HttpCachePolicy::ReloadIgnoringLocalCacheData:
            return QNetworkRequest::AlwaysNetwork;
        case HttpCachePolicy::ReturnCacheDataElseLoad:
            return QNetworkRequest::PreferCache;
        case HttpCachePolicy::ReturnCacheDataDontLoad:
            return QNetworkRequest::AlwaysCache;
        case HttpCachePolicy::UseProtocolCachePolicy:
            break;
    }
    return QNetworkRequest::PreferNetwork;
}

/// The process's one network manager, on a thread of its own that runs an event loop: every
/// exchange reuses its connections, and the queue workers that wait for an exchange never spin
/// an event loop of their own. Made on first use; stopped when the application object goes.
class NetworkThread {
public:
    /// Runs `work` on the network thread, with its manager.
    static void post(std::function<void(QNetworkAccessManager&)> work) {
        NetworkThread& network = instance();
        QMetaObject::invokeMethod(
            network.context_, [&network, work = std::move(work)] { work(network.manager()); },
            Qt::QueuedConnection);
    }

private:
    NetworkThread() {
        thread_.setObjectName(QStringLiteral("Network"));
        context_ = new QObject;
        context_->moveToThread(&thread_);
        thread_.start();
    }

    static NetworkThread& instance() {
        QMutexLocker lock(&mutex());
        if (current() == nullptr) {
            current() = new NetworkThread;
            qAddPostRoutine(&NetworkThread::shutDown);
        }
        return *current();
    }

    static void shutDown() {
        NetworkThread* network = nullptr;
        {
            QMutexLocker lock(&mutex());
            std::swap(network, current());
        }
        if (network == nullptr) {
            return;
        }
        QMetaObject::invokeMethod(
            network->context_,
            [network] {
                // An exchange still under way ends now, so its worker stops waiting.
                if (network->manager_ != nullptr) {
                    for (QNetworkReply* reply : network->manager_->findChildren<QNetworkReply*>()) {
                        reply->abort();
                    }
                }
                delete network->manager_;
                network->manager_ = nullptr;
                QThread::currentThread()->quit();
            },
            Qt::QueuedConnection);
        network->thread_.wait();
        delete network->context_;  // its thread has ended
        delete network;
    }

    QNetworkAccessManager& manager() {
        if (manager_ == nullptr) {
            manager_ = new QNetworkAccessManager;
        }
        return *manager_;
    }

    static QMutex& mutex() {
        static QMutex m;
        return m;
    }
    static NetworkThread*& current() {
        static NetworkThread* network = nullptr;
        return network;
    }

    QThread thread_;
    QObject* context_ = nullptr;
    QNetworkAccessManager* manager_ = nullptr;  // on the network thread only
};

/// One exchange as the network thread runs it and the waiting worker reads it at the end.
struct Transfer {
    QMutex mutex;
    QWaitCondition finishedCondition;
    bool finished = false;
    CHttpRequest::Outcome outcome;
    // The network thread's own part.
    QPointer<QNetworkReply> reply;
    QByteArray body;
    std::optional<HttpError> abortReason;
};

QNetworkRequest networkRequest(const HttpRequestSettings& settings) {
    QNetworkRequest request(settings.url);
    // Headers set twice are joined into one list value, as HTTP allows.
    QList<QPair<QByteArray, QByteArray>> merged;
    for (const auto& [name, value] : settings.headers) {
        // A lambda may not capture a structured binding before C++20 compilers caught up
        // (clang 16): the name goes in by a reference of its own.
        const QByteArray& key = name;
        auto existing = std::find_if(merged.begin(), merged.end(), [&](const auto& header) {
            return sameName(header.first, key);
        });
        if (existing != merged.end()) {
            existing->second += ", " + value;
        } else {
            merged.append({name, value});
        }
    }
    for (const auto& [name, value] : merged) {
        request.setRawHeader(name, value);
    }
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute,
                         cacheLoadControl(settings.cachePolicy));
    return request;
}

/// What went wrong with the connection, in words a user can act on; the transport's own text
/// follows in brackets for the log.
QString transportFailure(QNetworkReply::NetworkError error, const QString& host,
                         const QString& detail) {
    const char* key = nullptr;
    switch (error) {
        case QNetworkReply::HostNotFoundError:
            key = "FailureHostNotFound";
            break;
        case QNetworkReply::RemoteHostClosedError:
            key = "FailureConnectionClosed";
            break;
        case QNetworkReply::ConnectionRefusedError:
        case QNetworkReply::TemporaryNetworkFailureError:
        case QNetworkReply::NetworkSessionFailedError:
        case QNetworkReply::UnknownNetworkError:
        case QNetworkReply::ProxyConnectionRefusedError:
        case QNetworkReply::ProxyConnectionClosedError:
        case QNetworkReply::ProxyNotFoundError:
            key = "FailureCannotConnect";
            break;
        case QNetworkReply::SslHandshakeFailedError:
            key = "FailureSecureConnection";
            break;
        case QNetworkReply::TimeoutError:
            key = "FailureTimedOut";
            break;
        default:
            return detail;
    }
    return QStringLiteral("%1 (%2)").arg(
        Localization::localizedString(QString::fromLatin1(key)).arg(host), detail);
}

/// Starts the exchange on the network thread; it signals `exchange` when it has ended.
void startExchange(QNetworkAccessManager& manager, const std::shared_ptr<Transfer>& exchange,
                   const HttpRequestSettings& settings, std::chrono::milliseconds timeout,
                   qint64 maximumBodySize) {
    const QNetworkRequest request = networkRequest(settings);
    QNetworkReply* reply = settings.method == "GET" && settings.body.isEmpty()
                               ? manager.get(request)
                               : manager.sendCustomRequest(request, settings.method, settings.body);
    exchange->reply = reply;

    const auto abortWith = [exchange, reply](HttpError::Kind kind, const QString& text) {
        if (!exchange->abortReason) {
            exchange->abortReason = HttpError{kind, text};
        }
        reply->abort();
    };
    const QString tooLarge =
        QStringLiteral("The response is larger than the limit of %1 bytes.").arg(maximumBodySize);

    auto* timer = new QTimer(reply);
    timer->setSingleShot(true);
    QObject::connect(timer, &QTimer::timeout, reply, [abortWith, timeout, reply] {
        abortWith(HttpError::Kind::TimedOut,
                  QStringLiteral("%1 (%2)").arg(
                      Localization::localizedString(QStringLiteral("FailureTimedOut"))
                          .arg(reply->url().host()),
                      QStringLiteral("the request timed out after %1 seconds")
                          .arg(static_cast<double>(timeout.count()) / 1000.0)));
    });
    QObject::connect(reply, &QNetworkReply::metaDataChanged, reply,
                     [reply, abortWith, tooLarge, maximumBodySize] {
                         const QVariant length =
                             reply->header(QNetworkRequest::ContentLengthHeader);
                         if (length.isValid() && length.toLongLong() > maximumBodySize) {
                             abortWith(HttpError::Kind::BodyTooLarge, tooLarge);
                         }
                     });
    QObject::connect(reply, &QNetworkReply::readyRead, reply,
                     [exchange, reply, abortWith, tooLarge, maximumBodySize] {
                         exchange->body += reply->readAll();
                         if (exchange->body.size() > maximumBodySize) {
                             exchange->body.clear();
                             abortWith(HttpError::Kind::BodyTooLarge, tooLarge);
                         }
                     });
    QObject::connect(reply, &QNetworkReply::finished, reply, [exchange, reply, timer] {
        timer->stop();
        CHttpRequest::Outcome outcome;
        if (!exchange->abortReason && reply->isOpen()) {
            exchange->body += reply->readAll();
        }
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (status.isValid()) {
            HttpResponse response;
            response.statusCode = status.toInt();
            response.url = reply->url();
            for (const auto& pair : reply->rawHeaderPairs()) {
                response.headers.append(pair);
            }
            outcome.response = std::move(response);
            outcome.data = exchange->abortReason ? QByteArray() : exchange->body;
        }
        if (exchange->abortReason) {
            outcome.error = exchange->abortReason;
        } else if (reply->error() != QNetworkReply::NoError &&
                   !(status.isValid() && isStatusDerivedError(reply->error(), status.toInt()))) {
            outcome.error = HttpError{
                HttpError::Kind::Transport,
                transportFailure(reply->error(), reply->url().host(), reply->errorString())};
        }
        reply->deleteLater();
        QMutexLocker lock(&exchange->mutex);
        exchange->outcome = std::move(outcome);
        exchange->finished = true;
        exchange->finishedCondition.wakeAll();
    });
    timer->start(timeout);
}

class QtExchange : public HttpTransport::Exchange {
public:
    explicit QtExchange(std::shared_ptr<Transfer> transfer) : transfer_(std::move(transfer)) {}

    void abort() override {
        // Handed to the network thread, after the start queued before it.
        NetworkThread::post([transfer = transfer_](QNetworkAccessManager&) {
            if (transfer->reply) {
                transfer->reply->abort();
            }
        });
    }

    CHttpRequest::Outcome wait() override {
        QMutexLocker lock(&transfer_->mutex);
        while (!transfer_->finished) {
            transfer_->finishedCondition.wait(&transfer_->mutex);
        }
        return std::move(transfer_->outcome);
    }

private:
    std::shared_ptr<Transfer> transfer_;
};

}  // namespace

namespace HttpTransport {

std::shared_ptr<Exchange> start(const HttpRequestSettings& settings,
                                std::chrono::milliseconds timeout, qint64 maximumBodySize) {
    auto transfer = std::make_shared<Transfer>();
    NetworkThread::post([transfer, settings, timeout, maximumBodySize](QNetworkAccessManager& m) {
        startExchange(m, transfer, settings, timeout, maximumBodySize);
    });
    return std::make_shared<QtExchange>(std::move(transfer));
}

void warmUp() {
    NetworkThread::post([](QNetworkAccessManager&) {});
}

}  // namespace HttpTransport

extern "C" Q_DECL_EXPORT void numivaHttpStart(const HttpRequestSettings* settings,
                                              qint64 timeoutMilliseconds, qint64 maximumBodySize,
                                              std::shared_ptr<HttpTransport::Exchange>* exchange) {
    *exchange = HttpTransport::start(*settings, std::chrono::milliseconds(timeoutMilliseconds),
                                     maximumBodySize);
}

extern "C" Q_DECL_EXPORT void numivaHttpWarmUp() {
    HttpTransport::warmUp();
}
