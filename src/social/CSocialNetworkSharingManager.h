#pragma once

#include "Facebook.h"

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QVariantMap>

#include <functional>
#include <optional>

class CSocialNetworkSharingManager;
class Endpoints;

/// Hears the outcome of a post. The success selector keeps its historical spelling.
class CSocialNetworkSharingManagerDelegate {
public:
    virtual ~CSocialNetworkSharingManagerDelegate() = default;
    virtual void socialNetworkManagerPostMessageSucceeed(CSocialNetworkSharingManager* manager) = 0;
    virtual void socialNetworkManager(CSocialNetworkSharingManager* manager,
                                      const QString& errorText) = 0;
    /// The post was handed to the user's browser (a tweet, or the share dialog): the user
    /// finishes it there, and no outcome follows. A screen stops its progress indicator here.
    virtual void socialNetworkManagerHandedToBrowser(CSocialNetworkSharingManager* manager) {
        Q_UNUSED(manager);
    }
};

/// Everything the manager takes from outside: the "SocialNetworks" resource, the service
/// addresses of the endpoints file, the browser and the clock.
struct SocialNetworkSettings {
    /// Endpoints file keys.
    static inline const QString FacebookAuthorizationKey = QStringLiteral("facebookAuthorization");
    static inline const QString FacebookTokenKey = QStringLiteral("facebookToken");
    static inline const QString FacebookGraphKey = QStringLiteral("facebookGraph");
    static inline const QString FacebookShareDialogKey = QStringLiteral("facebookShareDialog");
    static inline const QString FacebookShareRedirectKey = QStringLiteral("facebookShareRedirect");
    static inline const QString FacebookSharingKey = QStringLiteral("facebookSharing");
    static inline const QString FacebookAppIdKey = QStringLiteral("facebookAppId");
    static inline const QString TwitterIntentKey = QStringLiteral("twitterIntent");

    /// The "SocialNetworks" resource.
    QVariantMap resource;
    FacebookConfiguration facebook;
    /// True: Facebook posts open the share dialog in the browser; false: Graph "/me/feed".
    bool facebookUsesShareDialog = true;
    QUrl facebookShareDialogUrl;
    /// Where the share dialog returns to; empty: the shared link.
    QString facebookShareRedirect;
    QUrl twitterIntentUrl;
    /// Opens an address in the user's browser; false when it could not.
    std::function<bool(const QUrl&)> openUrl;
    std::function<QDateTime()> clock;

    /// The bundled resource and `endpoints`; the desktop's browser; the system clock.
    static SocialNetworkSettings fromConfiguration(const Endpoints& endpoints);
};

/// Posts an invitation to the user's Facebook feed (type 0) or as a tweet (type 1).
class CSocialNetworkSharingManager : public QObject,
                                     public FBSessionDelegate,
                                     public FBRequestDelegate {
    Q_OBJECT
public:
    /// Twitter counts every link as this many characters.
    static constexpr int TweetLinkWeight = 23;
    static constexpr int TweetMaxWeight = 280;

    /// Uses the bundled configuration with the process-wide endpoints.
    explicit CSocialNetworkSharingManager(QObject* parent = nullptr);
    explicit CSocialNetworkSharingManager(SocialNetworkSettings settings,
                                          QObject* parent = nullptr);
    ~CSocialNetworkSharingManager() override;

    /// Not owned; the owner clears it before it goes away.
    CSocialNetworkSharingManagerDelegate* delegate = nullptr;
    /// 0: Facebook feed; 1: Twitter.
    int socialNetworkType = 0;

    void postMessageWithText(const QString& text, const std::optional<QString>& link,
                             const std::optional<QString>& picture);
    void cancelRequest();
    void logout();

    /// The "SocialNetworks" resource's values.
    std::optional<QString> getAppIdForNetwork(int network);
    QString getAppPictureExternalLink();
    QString getAppPictureLocalName();
    QString getAppShortLink();

    /// The session in the settings store ("FBAccessTokenKey", "FBExpirationDateKey").
    void loadSessions();
    void saveSessions();

    Facebook* facebookManager() const { return facebookManager_; }
    FBRequest* currentFacebookRequest() const { return currentFacebookRequest_; }
    std::optional<QString> messageText() const { return messageText_; }

    /// The web intent address of a tweet: the text, shortened so that text, a space and the
    /// link fit in a tweet, and the link whole; both percent-encoded.
    static QUrl tweetUrl(const QUrl& intentUrl, const QString& text,
                         const std::optional<QString>& link);
    /// The length Twitter counts for `text` (most scripts 1 a character, CJK and emoji 2).
    static int tweetWeight(const QString& text);

    // FBSessionDelegate
    void fbDidLogin() override;
    void fbDidNotLogin(bool cancelled, const QString& errorText) override;
    void fbDidLogout() override;
    void fbSessionInvalidated() override;
    void fbDidExtendToken(const QString& accessToken, const QDateTime& expiresAt) override;
    // FBRequestDelegate
    void requestDidLoad(FBRequest* request, const QVariant& result) override;
    void requestDidFailWithError(FBRequest* request, const FBError& error) override;

private:
    void postFBMessage();
    void postFacebookShareDialog();
    void postTwitterMessage();
    void fail(const QString& errorText);
    void handToBrowser(const QUrl& url);

    SocialNetworkSettings settings_;
    Facebook* facebookManager_ = nullptr;
    QPointer<FBRequest> currentFacebookRequest_;
    std::optional<QString> messageText_;
    std::optional<QString> linkText_;
    std::optional<QString> pictureLink_;
    /// Set when the service rejected the token: the logout that follows signs in again and
    /// re-posts, once per message.
    bool repostAfterLogout_ = false;
    bool reauthorizedForMessage_ = false;
};
