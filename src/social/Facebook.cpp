#include "Facebook.h"

#include "Localization.h"

#include <QCryptographicHash>
#include <QHostAddress>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QOAuth2AuthorizationCodeFlow>
#include <QOAuthHttpServerReplyHandler>
#include <QRandomGenerator>
#include <QTimer>
#include <QUrlQuery>

namespace {

constexpr int TransferTimeoutMs = 30000;
// Graph answers are small; anything larger is not an answer of the service.
constexpr qint64 MaxAnswerBytes = 1024 * 1024;

const auto Base64Url = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;

/// A session without an expiry from the service does not expire by itself.
QDateTime distantFuture() {
    return QDateTime(QDate(4001, 1, 1), QTime(0, 0), Qt::UTC);
}

QByteArray formEncoded(const QVariantMap& params) {
    QByteArray body;
    for (auto it = params.constBegin(); it != params.constEnd(); ++it) {
        if (!body.isEmpty()) {
            body += '&';
        }
        body += QUrl::toPercentEncoding(it.key()) + '=' +
                QUrl::toPercentEncoding(it.value().toString());
    }
    return body;
}

/// The service's error dictionary in an answer, if it has one.
QVariantMap serviceError(const QByteArray& body) {
    const QJsonObject object = QJsonDocument::fromJson(body).object();
    return object.value(QStringLiteral("error")).toObject().toVariantMap();
}

}  // namespace

// FBRequest

FBRequest::FBRequest(FBRequestDelegate* delegate, QObject* parent)
    : QObject(parent), delegate_(delegate) {}

void FBRequest::start(QNetworkReply* reply) {
    connection_ = reply;
    reply->setParent(this);
    connect(reply, &QNetworkReply::finished, this, &FBRequest::finish);
    connect(reply, &QNetworkReply::downloadProgress, this, [reply](qint64 received, qint64) {
        if (received > MaxAnswerBytes) {
            reply->abort();
        }
    });
}

void FBRequest::failLater(const FBError& error) {
    QTimer::singleShot(0, this, [this, error] {
        if (delegate_ != nullptr) {
            delegate_->requestDidFailWithError(this, error);
        }
        deleteLater();
    });
}

void FBRequest::cancel() {
    delegate_ = nullptr;
    if (connection_ != nullptr) {
        connection_->disconnect(this);
        connection_->abort();
    }
    deleteLater();
}

void FBRequest::finish() {
    QNetworkReply* reply = connection_;
    const QByteArray body = reply->read(MaxAnswerBytes);
    const QVariantMap error = serviceError(body);
    FBRequestDelegate* delegate = delegate_;
    delegate_ = nullptr;
    deleteLater();
    if (delegate == nullptr) {
        return;
    }
    if (!error.isEmpty()) {
        FBError failure{FBError::FacebookDomain,
                        error.value(QStringLiteral("code")).toInt(),
                        {{QStringLiteral("error"), error}},
                        error.value(QStringLiteral("message")).toString()};
        if (failure.localizedDescription.isEmpty()) {
            failure.localizedDescription = reply->errorString();
        }
        delegate->requestDidFailWithError(this, failure);
    } else if (reply->error() != QNetworkReply::NoError) {
        delegate->requestDidFailWithError(
            this,
            FBError{QStringLiteral("QNetworkReply"), reply->error(), {}, reply->errorString()});
    } else {
        QJsonParseError parseError{};
        const QJsonDocument document = QJsonDocument::fromJson(body, &parseError);
        delegate->requestDidLoad(
            this, parseError.error == QJsonParseError::NoError ? document.toVariant() : body);
    }
}

// Facebook

Facebook::Facebook(FacebookConfiguration configuration, FBSessionDelegate* delegate,
                   QObject* parent)
    : QObject(parent),
      sessionDelegate(delegate),
      configuration_(std::move(configuration)),
      clock_([] { return QDateTime::currentDateTimeUtc(); }),
      network_(new QNetworkAccessManager(this)),
      signInTimer_(new QTimer(this)) {
    network_->setTransferTimeout(TransferTimeoutMs);
    signInTimer_->setSingleShot(true);
    connect(signInTimer_, &QTimer::timeout, this, [this] { finishSignIn(true, {}); });
    // Qt 6.4's flow drops a failed token exchange without a word; catch it here.
    connect(network_, &QNetworkAccessManager::finished, this, [this](QNetworkReply* reply) {
        if (flow_ == nullptr || reply->url() != configuration_.tokenUrl ||
            reply->error() == QNetworkReply::NoError) {
            return;
        }
        const QString message =
            serviceError(reply->peek(MaxAnswerBytes)).value(QStringLiteral("message")).toString();
        finishSignIn(false, message.isEmpty() ? reply->errorString() : message);
    });
}

Facebook::~Facebook() {
    abandonSignIn();
}

bool Facebook::isSessionValid() const {
    return !accessToken_.isEmpty() && expirationDate_.isValid() && expirationDate_ > clock_();
}

void Facebook::authorize(const QStringList& permissions) {
    abandonSignIn();
    auto* flow = new QOAuth2AuthorizationCodeFlow(network_, this);
    flow_ = flow;
    flow->setAuthorizationUrl(configuration_.authorizationUrl);
    flow->setAccessTokenUrl(configuration_.tokenUrl);
    flow->setClientIdentifier(configuration_.appId);
    flow->setScope(permissions.join(u','));

    // The handler listens on every interface by default in Qt 6.4; the redirect needs only the
    // loopback one, and nothing else on the network should be able to hand us a code.
    auto* handler = new QOAuthHttpServerReplyHandler(flow);
    handler->close();
    if (!handler->listen(QHostAddress::LocalHost, 0)) {
        finishSignIn(false, Localization::localizedString(QStringLiteral("FacebookSignInFailed")));
        return;
    }
    replyHandler_ = handler;
    // Connected before the flow's own slots, so these run first.
    connect(handler, &QAbstractOAuthReplyHandler::callbackReceived, this,
            [this](const QVariantMap& values) {
                // The handler keeps percent-escapes in the values it passes on ("%2F" stays),
                // and the flow encodes the code again; keep the code exactly as sent.
                receivedCode_ = QUrl::fromPercentEncoding(
                    values.value(QStringLiteral("code")).toString().toUtf8());
            });
    connect(handler, &QAbstractOAuthReplyHandler::tokensReceived, this,
            [this](const QVariantMap& tokens) {
                expiresIn_ = tokens.value(QStringLiteral("expires_in"), -1).toLongLong();
                if (tokens.value(QStringLiteral("access_token")).toString().isEmpty()) {
                    const QString message = tokens.value(QStringLiteral("error"))
                                                .toMap()
                                                .value(QStringLiteral("message"))
                                                .toString();
                    finishSignIn(false, message);
                }
            });
    flow->setReplyHandler(handler);

    // PKCE (S256): Qt 6.4 has none of its own.
    QByteArray secret(32, Qt::Uninitialized);
    QRandomGenerator::system()->generate(secret.begin(), secret.end());
    codeVerifier_ = secret.toBase64(Base64Url);
    const QByteArray challenge =
        QCryptographicHash::hash(codeVerifier_, QCryptographicHash::Sha256).toBase64(Base64Url);
    flow->setModifyParametersFunction(
        [this, challenge](QAbstractOAuth::Stage stage, QMultiMap<QString, QVariant>* params) {
            if (stage == QAbstractOAuth::Stage::RequestingAuthorization) {
                params->replace(QStringLiteral("code_challenge"), challenge);
                params->replace(QStringLiteral("code_challenge_method"), QStringLiteral("S256"));
            } else if (stage == QAbstractOAuth::Stage::RequestingAccessToken) {
                params->replace(QStringLiteral("code"), QUrl::toPercentEncoding(receivedCode_));
                params->replace(QStringLiteral("code_verifier"), codeVerifier_);
            }
        });

    connect(flow, &QAbstractOAuth::authorizeWithBrowser, this, [this](const QUrl& url) {
        if (!openUrl_ || !openUrl_(url)) {
            finishSignIn(false, Localization::localizedString(QStringLiteral("CannotOpenBrowser")));
        }
    });
    connect(flow, &QAbstractOAuth2::error, this,
            [this](const QString& error, const QString& description, const QUrl&) {
                // "access_denied": the user refused or cancelled the dialog.
                const bool cancelled = error == QLatin1String("access_denied");
                finishSignIn(cancelled, description.isEmpty() ? error : description);
            });
    connect(flow, &QAbstractOAuth::granted, this, [this, flow] {
        accessToken_ = flow->token();
        expirationDate_ = expiresIn_ > 0 ? clock_().addSecs(expiresIn_) : distantFuture();
        finishSignIn(false, {});
    });
    signInTimer_->start(signInTimeoutMs_);
    flow->grant();
}

void Facebook::finishSignIn(bool cancelled, const QString& errorText) {
    if (flow_ == nullptr) {
        return;
    }
    // The flow is inside one of its own signals here: let it unwind before it goes.
    abandonSignIn();
    if (sessionDelegate == nullptr) {
        return;
    }
    if (isSessionValid()) {
        sessionDelegate->fbDidLogin();
    } else {
        sessionDelegate->fbDidNotLogin(
            cancelled, errorText.isEmpty()
                           ? Localization::localizedString(QStringLiteral("FacebookSignInFailed"))
                           : errorText);
    }
}

void Facebook::abandonSignIn() {
    signInTimer_->stop();
    if (replyHandler_ != nullptr) {
        replyHandler_->disconnect(this);
        replyHandler_->close();
    }
    if (flow_ != nullptr) {
        flow_->disconnect(this);
        flow_->deleteLater();
    }
    flow_ = nullptr;
    replyHandler_ = nullptr;
    codeVerifier_.clear();
    receivedCode_.clear();
    expiresIn_ = -1;
}

void Facebook::logout() {
    abandonSignIn();
    accessToken_.clear();
    expirationDate_ = QDateTime();
    if (sessionDelegate != nullptr) {
        sessionDelegate->fbDidLogout();
    }
}

bool Facebook::handleOpenURL(const QUrl& url) {
    if (replyHandler_ == nullptr || configuration_.appId.isEmpty() ||
        url.scheme() != QLatin1String("fb") + configuration_.appId ||
        url.host() != QLatin1String("authorize")) {
        return false;
    }
    // The same values the loopback handler would pass on; the flow checks the state.
    QVariantMap values;
    for (const auto& [key, value] : QUrlQuery(url).queryItems(QUrl::PrettyDecoded)) {
        values.insert(key, value);
    }
    emit replyHandler_->callbackReceived(values);
    return true;
}

FBRequest* Facebook::requestWithGraphPath(const QString& path, const QVariantMap& params,
                                          const QString& httpMethod, FBRequestDelegate* delegate) {
    auto* request = new FBRequest(delegate, this);
    if (!isSessionValid()) {
        const QVariantMap error{{QStringLiteral("code"), 190},
                                {QStringLiteral("message"), QStringLiteral("No valid session.")}};
        request->failLater(FBError{FBError::FacebookDomain,
                                   190,
                                   {{QStringLiteral("error"), error}},
                                   error.value(QStringLiteral("message")).toString()});
        return request;
    }
    QString address = configuration_.graphUrl.toString();
    while (address.endsWith(u'/')) {
        address.chop(1);
    }
    QUrl url(address + (path.startsWith(u'/') ? path : u'/' + path));
    QNetworkRequest networkRequest;
    networkRequest.setRawHeader("Authorization", "Bearer " + accessToken_.toUtf8());
    const QByteArray body = formEncoded(params);
    QNetworkReply* reply = nullptr;
    if (httpMethod.compare(QLatin1String("POST"), Qt::CaseInsensitive) == 0) {
        networkRequest.setUrl(url);
        networkRequest.setHeader(QNetworkRequest::ContentTypeHeader,
                                 QByteArrayLiteral("application/x-www-form-urlencoded"));
        reply = network_->post(networkRequest, body);
    } else {
        if (!body.isEmpty()) {
            url.setQuery(QString::fromLatin1(body), QUrl::StrictMode);
        }
        networkRequest.setUrl(url);
        reply = network_->sendCustomRequest(networkRequest, httpMethod.toUpper().toLatin1());
    }
    request->start(reply);
    return request;
}
