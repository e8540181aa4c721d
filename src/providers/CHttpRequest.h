#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>

#include <chrono>
#include <memory>
#include <optional>

class CWebServiceClient;
class Operation;

/// Where a request may be answered from.
enum class HttpCachePolicy {
    /// The transport's own rules.
    UseProtocolCachePolicy,
    /// Always ask the server, never a locally cached copy.
    ReloadIgnoringLocalCacheData,
    ReturnCacheDataElseLoad,
    ReturnCacheDataDontLoad,
};

/// The description of one HTTP request, set up by the sender before sending.
struct HttpRequestSettings {
    QUrl url;
    QByteArray method = "GET";
    /// In the order set; a name set twice is sent twice.
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    HttpCachePolicy cachePolicy = HttpCachePolicy::UseProtocolCachePolicy;
    /// The longest the whole exchange may take; nothing: the client's setting.
    std::optional<std::chrono::milliseconds> timeout;
    /// The largest body accepted; nothing: the client's setting.
    std::optional<qint64> maximumBodySize;

    /// Replaces every value of the header `name` (compared without case) by `value`.
    void setHeader(const QByteArray& name, const QByteArray& value);
    /// The first value of the header `name`, or empty.
    QByteArray header(const QByteArray& name) const;
};

/// The HTTP answer's status line and headers.
struct HttpResponse {
    int statusCode = 0;
    /// The final address (after redirects).
    QUrl url;
    QList<QPair<QByteArray, QByteArray>> headers;

    /// The first value of the header `name` (compared without case), or empty.
    QByteArray header(const QByteArray& name) const;

    /// The standard reason phrase of an HTTP status ("Not Found" for 404); for a code without
    /// one, the phrase of its class ("Client Error").
    static QString localizedStringForStatusCode(int statusCode);
};

/// Why an exchange produced no usable answer. HTTP statuses are not errors: a 404 is a response.
struct HttpError {
    enum class Kind {
        /// The connection could not be made or broke (the text is the transport's).
        Transport,
        TimedOut,
        BodyTooLarge,
        UnsupportedUrl,
    };
    Kind kind = Kind::Transport;
    QString localizedDescription;
};

/// One HTTP exchange: performed synchronously on a worker of the sending client's queue, its
/// outcome handed to the client on the main thread. Sent once, never reused.
class CHttpRequest {
public:
    static constexpr std::chrono::milliseconds defaultTimeout{30000};
    static constexpr qint64 defaultMaximumBodySize = 16 * 1024 * 1024;

    explicit CHttpRequest(const QUrl& url);
    virtual ~CHttpRequest();
    CHttpRequest(const CHttpRequest&) = delete;
    CHttpRequest& operator=(const CHttpRequest&) = delete;

    HttpRequestSettings requestSettings;
    /// The client that receives the outcome (not owned); set by `sendAsyncHttpRequest`.
    CWebServiceClient* delegate = nullptr;
    /// A free label for the owner.
    qint32 tag = 0;

    /// The outcome of one exchange. Data is present exactly when a response is.
    struct Outcome {
        std::optional<QByteArray> data;
        std::optional<HttpResponse> response;
        std::optional<HttpError> error;
    };

    /// Performs the exchange on the calling thread (a queue worker). A cancellation of
    /// `operation` aborts it at once; the outcome then does not matter.
    static Outcome perform(const HttpRequestSettings& settings, const Operation& operation,
                           std::chrono::milliseconds timeout, qint64 maximumBodySize);

    static QString contentTypeHeaderFieldName();
    static QString soapActionHeaderFieldName();
    /// The body wrapped in a SOAP 1.1 envelope.
    static QByteArray wrapSoapEnvelopeWithData(const QByteArray& body);
};

using CHttpRequestPtr = std::shared_ptr<CHttpRequest>;
