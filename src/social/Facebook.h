#pragma once

#include <QDateTime>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <QVariantMap>

#include <functional>
#include <memory>

class FBRequest;
class QNetworkAccessManager;

class QOAuth2AuthorizationCodeFlow;
class QOAuthHttpServerReplyHandler;
class QTimer;

/// A failed Graph request. Errors the service reports carry the domain "facebookErrDomain" and,
/// under "error" in `userInfo`, the service's own dictionary ("code", "message", "type").
struct FBError {
    static inline const QString FacebookDomain = QStringLiteral("facebookErrDomain");
    QString domain;
    int code = 0;
    QVariantMap userInfo;
    QString localizedDescription;
};

/// Hears how signing in and out went. Main thread.
class FBSessionDelegate {
public:
    virtual ~FBSessionDelegate() = default;
    virtual void fbDidLogin() = 0;
    /// `cancelled`: the user refused or cancelled; otherwise `errorText` says what failed.
    virtual void fbDidNotLogin(bool cancelled, const QString& errorText) = 0;
    virtual void fbDidLogout() = 0;
    virtual void fbSessionInvalidated() = 0;
    virtual void fbDidExtendToken(const QString& accessToken, const QDateTime& expiresAt) = 0;
};

/// Hears the outcome of one Graph request: exactly one call, on the main thread.
class FBRequestDelegate {
public:
    virtual ~FBRequestDelegate() = default;
    virtual void requestDidLoad(FBRequest* request, const QVariant& result) = 0;
    virtual void requestDidFailWithError(FBRequest* request, const FBError& error) = 0;
};

/// Where the client signs in and posts, and what it asks for.
struct FacebookConfiguration {
    QString appId;
    /// The authorization dialog, the code-for-token exchange, and the Graph base address.
    QUrl authorizationUrl;
    QUrl tokenUrl;
    QUrl graphUrl;
    QStringList permissions;
};

/// One Graph request in flight; it deletes itself after telling its delegate.
class FBRequest : public QObject {
    Q_OBJECT
public:
    /// Cancelling stops the exchange; the delegate then hears nothing.
    void cancel();
    QNetworkReply* connection() const { return connection_; }

private:
    friend class Facebook;
    FBRequest(FBRequestDelegate* delegate, QObject* parent);
    void start(QNetworkReply* reply);
    void failLater(const FBError& error);
    void finish();

    FBRequestDelegate* delegate_;
    QPointer<QNetworkReply> connection_;
};

/// A small Facebook client: OAuth 2 sign-in (authorization code with PKCE) in the user's browser,
/// answered on a loopback address, and Graph requests with the session's token.
class Facebook : public QObject {
    Q_OBJECT
public:
    using Clock = std::function<QDateTime()>;
    using UrlOpener = std::function<bool(const QUrl&)>;

    Facebook(FacebookConfiguration configuration, FBSessionDelegate* delegate,
             QObject* parent = nullptr);
    ~Facebook() override;

    /// Not owned; cleared by its owner before it goes away.
    FBSessionDelegate* sessionDelegate;

    /// The browser that shows the authorization dialog (tests follow the address themselves).
    void setUrlOpener(UrlOpener opener) { openUrl_ = std::move(opener); }
    void setClock(Clock clock) { clock_ = std::move(clock); }
    /// How long a sign-in waits for the browser's answer before it counts as cancelled (the
    /// user may simply close the page); ten minutes unless changed.
    void setSignInTimeout(int milliseconds) { signInTimeoutMs_ = milliseconds; }

    QString accessToken() const { return accessToken_; }
    void setAccessToken(const QString& token) { accessToken_ = token; }
    QDateTime expirationDate() const { return expirationDate_; }
    void setExpirationDate(const QDateTime& date) { expirationDate_ = date; }

    /// A token, and an expiry still ahead.
    bool isSessionValid() const;
    /// Opens the authorization dialog in the browser; the outcome comes as `fbDidLogin` or
    /// `fbDidNotLogin`. A sign-in already under way is replaced.
    void authorize(const QStringList& permissions);
    /// Forgets the session and abandons a sign-in under way; then `fbDidLogout`.
    void logout();

    /// Sends `params` form-encoded to the Graph path with the session's token. Without a valid
    /// session nothing is sent: the request fails with code 190, as the service would answer.
    FBRequest* requestWithGraphPath(const QString& path, const QVariantMap& params,
                                    const QString& httpMethod, FBRequestDelegate* delegate);

    /// Takes the redirect of a sign-in under way when the system hands it to the application
    /// ("fb<app id>://authorize?code=…&state=…"). False for any other address.
    bool handleOpenURL(const QUrl& url);

private:
    void finishSignIn(bool cancelled, const QString& errorText);
    void abandonSignIn();

    FacebookConfiguration configuration_;
    UrlOpener openUrl_;
    Clock clock_;
    QNetworkAccessManager* network_;
    QString accessToken_;
    QDateTime expirationDate_;
    // The sign-in under way.
    QPointer<QOAuth2AuthorizationCodeFlow> flow_;
    QPointer<QOAuthHttpServerReplyHandler> replyHandler_;
    QTimer* signInTimer_;
    int signInTimeoutMs_ = 10 * 60 * 1000;
    QByteArray codeVerifier_;
    QString receivedCode_;
    qint64 expiresIn_ = -1;
};
