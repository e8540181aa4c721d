#include "CHttpRequest.h"

#include "HttpTransport.h"
#include "OperationQueue.h"

#include <QHash>

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

    const std::shared_ptr<HttpTransport::Exchange> exchange =
        HttpTransport::start(settings, timeout, maximumBodySize);
    // Cancellation comes from another thread.
    operation.setCancellationHandler([exchange] { exchange->abort(); });
    outcome = exchange->wait();
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
