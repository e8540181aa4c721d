#include "CHttpRequest.h"

#include "Localization.h"
#include "OperationQueue.h"

#include <QCoreApplication>
#include <QHash>
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

QByteArray firstHeader(const QList<QPair<QByteArray, QByteArray>>& headers,
                       const QByteArray& name) {
    for (const auto& [key, value] : headers) {
        if (sameName(key, name)) {
            return value;
        }
    }
    return {};
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

std::optional<HttpError> checkUrl(const QUrl& url) {
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || scheme.isEmpty()) {
        return HttpError{HttpError::Kind::UnsupportedUrl,
                         QStringLiteral("“%1” is not a valid web address.")
                             .arg(url.toString(QUrl::RemoveUserInfo))};
    }
    if (scheme != QLatin1String("http") && scheme != QLatin1String("https")) {
        return HttpError{HttpError::Kind::UnsupportedUrl,
                         QStringLiteral("The address “%1” uses the scheme “%2”; only http and "
                                        "https addresses can be fetched.")
                             .arg(url.toString(QUrl::RemoveUserInfo), scheme)};
    }
    if (url.host().isEmpty()) {
        return HttpError{HttpError::Kind::UnsupportedUrl,
                         QStringLiteral("The address “%1” names no host.")
                             .arg(url.toString(QUrl::RemoveUserInfo))};
    }
    return std::nullopt;
}

}  // namespace

void HttpRequestSettings::setHeader(const QByteArray& name, const QByteArray& value) {
    headers.removeIf([&](const auto& header) { return sameName(header.first, name); });
    headers.append({name, value});
}

QByteArray HttpRequestSettings::header(const QByteArray& name) const {
    return firstHeader(headers, name);
}

QByteArray HttpResponse::header(const QByteArray& name) const {
    return firstHeader(headers, name);
}

QString HttpResponse::localizedStringForStatusCode(int statusCode) {
    static const QHash<int, QString> phrases = {
        {100, QStringLiteral("Continue")},
        {101, QStringLiteral("Switching Protocols")},
        {102, QStringLiteral("Processing")},
        {103, QStringLiteral("Early Hints")},
        {200, QStringLiteral("OK")},
        {201, QStringLiteral("Created")},
        {202, QStringLiteral("Accepted")},
        {203, QStringLiteral("Non-Authoritative Information")},
        {204, QStringLiteral("No Content")},
        {205, QStringLiteral("Reset Content")},
        {206, QStringLiteral("Partial Content")},
        {207, QStringLiteral("Multi-Status")},
        {208, QStringLiteral("Already Reported")},
        {226, QStringLiteral("IM Used")},
        {300, QStringLiteral("Multiple Choices")},
        {301, QStringLiteral("Moved Permanently")},
        {302, QStringLiteral("Found")},
        {303, QStringLiteral("See Other")},
        {304, QStringLiteral("Not Modified")},
        {305, QStringLiteral("Use Proxy")},
        {307, QStringLiteral("Temporary Redirect")},
        {308, QStringLiteral("Permanent Redirect")},
        {400, QStringLiteral("Bad Request")},
        {401, QStringLiteral("Unauthorized")},
        {402, QStringLiteral("Payment Required")},
        {403, QStringLiteral("Forbidden")},
        {404, QStringLiteral("Not Found")},
        {405, QStringLiteral("Method Not Allowed")},
        {406, QStringLiteral("Not Acceptable")},
        {407, QStringLiteral("Proxy Authentication Required")},
        {408, QStringLiteral("Request Timeout")},
        {409, QStringLiteral("Conflict")},
        {410, QStringLiteral("Gone")},
        {411, QStringLiteral("Length Required")},
        {412, QStringLiteral("Precondition Failed")},
        {413, QStringLiteral("Content Too Large")},
        {414, QStringLiteral("URI Too Long")},
        {415, QStringLiteral("Unsupported Media Type")},
        {416, QStringLiteral("Range Not Satisfiable")},
        {417, QStringLiteral("Expectation Failed")},
        {418, QStringLiteral("I'm a teapot")},
        {421, QStringLiteral("Misdirected Request")},
        {422, QStringLiteral("Unprocessable Content")},
        {423, QStringLiteral("Locked")},
        {424, QStringLiteral("Failed Dependency")},
        {425, QStringLiteral("Too Early")},
        {426, QStringLiteral("Upgrade Required")},
        {428, QStringLiteral("Precondition Required")},
        {429, QStringLiteral("Too Many Requests")},
        {431, QStringLiteral("Request Header Fields Too Large")},
        {451, QStringLiteral("Unavailable For Legal Reasons")},
        {500, QStringLiteral("Internal Server Error")},
        {501, QStringLiteral("Not Implemented")},
        {502, QStringLiteral("Bad Gateway")},
        {503, QStringLiteral("Service Unavailable")},
        {504, QStringLiteral("Gateway Timeout")},
        {505, QStringLiteral("HTTP Version Not Supported")},
        {506, QStringLiteral("Variant Also Negotiates")},
        {507, QStringLiteral("Insufficient Storage")},
        {508, QStringLiteral("Loop Detected")},
        {510, QStringLiteral("Not Extended")},
        {511, QStringLiteral("Network Authentication Required")},
    };
    const auto found = phrases.constFind(statusCode);
    if (found != phrases.constEnd()) {
        return *found;
    }
    switch (statusCode / 100) {
        case 1:
            return QStringLiteral("Informational");
        case 2:
            return QStringLiteral("Success");
        case 3:
            return QStringLiteral("Redirection");
        case 4:
            return QStringLiteral("Client Error");
        case 5:
            return QStringLiteral("Server Error");
        default:
            return QStringLiteral("Unknown Status");
    }
}

CHttpRequest::CHttpRequest(const QUrl& url) {
    requestSettings.url = url;
}

CHttpRequest::~CHttpRequest() = default;

namespace {

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
struct Exchange {
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
void startExchange(QNetworkAccessManager& manager, const std::shared_ptr<Exchange>& exchange,
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

}  // namespace

CHttpRequest::Outcome CHttpRequest::perform(const HttpRequestSettings& settings,
                                            const Operation& operation,
                                            std::chrono::milliseconds timeout,
                                            qint64 maximumBodySize) {
    Outcome outcome;
    if (std::optional<HttpError> refused = checkUrl(settings.url)) {
        outcome.error = std::move(refused);
        return outcome;
    }
    if (operation.isCancelled()) {
        return outcome;
    }

    auto exchange = std::make_shared<Exchange>();
    NetworkThread::post([exchange, settings, timeout, maximumBodySize](QNetworkAccessManager& m) {
        startExchange(m, exchange, settings, timeout, maximumBodySize);
    });
    // Cancellation comes from another thread: the abort is handed to the network thread, after
    // the start queued above.
    operation.setCancellationHandler([exchange] {
        NetworkThread::post([exchange](QNetworkAccessManager&) {
            if (exchange->reply) {
                exchange->reply->abort();
            }
        });
    });
    {
        QMutexLocker lock(&exchange->mutex);
        while (!exchange->finished) {
            exchange->finishedCondition.wait(&exchange->mutex);
        }
        outcome = std::move(exchange->outcome);
    }
    operation.setCancellationHandler({});
    return outcome;
}

QString CHttpRequest::contentTypeHeaderFieldName() {
    return QStringLiteral("Content-Type");
}

QString CHttpRequest::soapActionHeaderFieldName() {
    return QStringLiteral("SOAPAction");
}

QByteArray CHttpRequest::wrapSoapEnvelopeWithData(const QByteArray& body) {
    QByteArray envelope =
        "<?xml version='1.0' encoding='utf-8'?>\r\n"
        "<soap:Envelope xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance' "
        "xmlns:xsd='http://www.w3.org/2001/XMLSchema' "
        "xmlns:soap='http://schemas.xmlsoap.org/soap/envelope/'>\r\n"
        "<soap:Body>\r\n";
    envelope += body;
    envelope += "</soap:Body>\r\n</soap:Envelope>\r\n";
    return envelope;
}
