#include "CSocialNetworkSharingManager.h"

#include "CFacebookSingleton.h"
#include "Endpoints.h"
#include "Localization.h"
#include "Resources.h"
#include "UserDefaults.h"

#include <QDesktopServices>
#include <QTextBoundaryFinder>

namespace {

const QString AccessTokenKey = QStringLiteral("FBAccessTokenKey");
const QString ExpirationDateKey = QStringLiteral("FBExpirationDateKey");
const QString Ellipsis = QStringLiteral("…");

QString localized(const char* key) {
    return Localization::localizedString(QString::fromLatin1(key));
}

QByteArray queryItem(const char* key, const QString& value) {
    return QByteArray(key) + '=' + QUrl::toPercentEncoding(value);
}

}  // namespace

SocialNetworkSettings SocialNetworkSettings::fromConfiguration(const Endpoints& endpoints) {
    SocialNetworkSettings settings;
    settings.resource = Resources::propertyList(QStringLiteral("SocialNetworks")).toMap();
    const QString appId = endpoints.value(FacebookAppIdKey);
    settings.facebook.appId =
        appId.isEmpty() ? settings.resource.value(QStringLiteral("Facebook")).toString() : appId;
    settings.facebook.authorizationUrl = endpoints.url(FacebookAuthorizationKey);
    settings.facebook.tokenUrl = endpoints.url(FacebookTokenKey);
    settings.facebook.graphUrl = endpoints.url(FacebookGraphKey);
    settings.facebook.permissions =
        settings.resource.value(QStringLiteral("FacebookPermissions")).toStringList();
    settings.facebookUsesShareDialog =
        endpoints.value(FacebookSharingKey).compare(QLatin1String("graph"), Qt::CaseInsensitive) !=
        0;
    settings.facebookShareDialogUrl = endpoints.url(FacebookShareDialogKey);
    settings.facebookShareRedirect = endpoints.value(FacebookShareRedirectKey);
    settings.twitterIntentUrl = endpoints.url(TwitterIntentKey);
    settings.openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    settings.clock = [] { return QDateTime::currentDateTimeUtc(); };
    return settings;
}

CSocialNetworkSharingManager::CSocialNetworkSharingManager(QObject* parent)
    : CSocialNetworkSharingManager(SocialNetworkSettings::fromConfiguration(Endpoints::standard()),
                                   parent) {}

CSocialNetworkSharingManager::CSocialNetworkSharingManager(SocialNetworkSettings settings,
                                                           QObject* parent)
    : QObject(parent), settings_(std::move(settings)) {
    facebookManager_ = new Facebook(settings_.facebook, this, this);
    facebookManager_->setUrlOpener(settings_.openUrl);
    if (settings_.clock) {
        facebookManager_->setClock(settings_.clock);
    }
    CFacebookSingleton::sharedInstance().fbManager = facebookManager_;
    loadSessions();
}

CSocialNetworkSharingManager::~CSocialNetworkSharingManager() {
    cancelRequest();
    facebookManager_->sessionDelegate = nullptr;
    CFacebookSingleton& holder = CFacebookSingleton::sharedInstance();
    if (holder.fbManager == facebookManager_) {
        holder.fbManager = nullptr;
    }
}

std::optional<QString> CSocialNetworkSharingManager::getAppIdForNetwork(int network) {
    if (network != 0) {
        return std::nullopt;
    }
    return settings_.facebook.appId;
}

QString CSocialNetworkSharingManager::getAppPictureExternalLink() {
    return settings_.resource.value(QStringLiteral("AppPictureExternalLink")).toString();
}

QString CSocialNetworkSharingManager::getAppPictureLocalName() {
    return settings_.resource.value(QStringLiteral("AppPictureLocalName")).toString();
}

QString CSocialNetworkSharingManager::getAppShortLink() {
    return settings_.resource.value(QStringLiteral("AppShortLink")).toString();
}

void CSocialNetworkSharingManager::postMessageWithText(const QString& text,
                                                       const std::optional<QString>& link,
                                                       const std::optional<QString>& picture) {
    cancelRequest();
    messageText_ = text;
    linkText_ = link;
    pictureLink_ = picture;
    repostAfterLogout_ = false;
    reauthorizedForMessage_ = false;
    if (socialNetworkType == 0) {
        if (settings_.facebook.appId.isEmpty()) {
            fail(localized("FacebookNotConfigured"));
        } else if (settings_.facebookUsesShareDialog) {
            postFacebookShareDialog();
        } else {
            postFBMessage();
        }
    } else if (socialNetworkType == 1) {
        postTwitterMessage();
    }
}

void CSocialNetworkSharingManager::cancelRequest() {
    if (currentFacebookRequest_ != nullptr) {
        currentFacebookRequest_->cancel();
    }
    currentFacebookRequest_ = nullptr;
}

void CSocialNetworkSharingManager::logout() {
    cancelRequest();
    if (socialNetworkType == 0) {
        // Asked for by the user: the pending message is not posted again on this logout.
        repostAfterLogout_ = false;
        facebookManager_->logout();
    }
}

void CSocialNetworkSharingManager::loadSessions() {
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    facebookManager_->setAccessToken(defaults.stringForKey(AccessTokenKey));
    facebookManager_->setExpirationDate(defaults.dateForKey(ExpirationDateKey));
}

void CSocialNetworkSharingManager::saveSessions() {
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    if (facebookManager_->isSessionValid()) {
        defaults.setObject(facebookManager_->accessToken(), AccessTokenKey);
        defaults.setObject(facebookManager_->expirationDate(), ExpirationDateKey);
    } else {
        defaults.removeObjectForKey(AccessTokenKey);
        defaults.removeObjectForKey(ExpirationDateKey);
    }
    defaults.synchronize();
}

void CSocialNetworkSharingManager::postFBMessage() {
    if (!facebookManager_->isSessionValid()) {
        // Continues from fbDidLogin.
        facebookManager_->authorize(settings_.facebook.permissions);
        return;
    }
    QVariantMap params{{QStringLiteral("message"), messageText_.value_or(QString())}};
    if (linkText_) {
        params.insert(QStringLiteral("link"), *linkText_);
    }
    if (pictureLink_) {
        params.insert(QStringLiteral("picture"), *pictureLink_);
    }
    currentFacebookRequest_ = facebookManager_->requestWithGraphPath(
        QStringLiteral("/me/feed"), params, QStringLiteral("POST"), this);
}

void CSocialNetworkSharingManager::postFacebookShareDialog() {
    // The dialog shares a link; the user writes the words there (the service allows no
    // prefilled text).
    const QString link = linkText_.value_or(getAppShortLink());
    QByteArray query = queryItem("app_id", settings_.facebook.appId) + '&' +
                       queryItem("href", link) + '&' +
                       queryItem("redirect_uri", settings_.facebookShareRedirect.isEmpty()
                                                     ? link
                                                     : settings_.facebookShareRedirect) +
                       "&display=page";
    QUrl url = settings_.facebookShareDialogUrl;
    url.setQuery(QString::fromLatin1(query), QUrl::StrictMode);
    handToBrowser(url);
}

void CSocialNetworkSharingManager::postTwitterMessage() {
    handToBrowser(
        tweetUrl(settings_.twitterIntentUrl, messageText_.value_or(QString()), linkText_));
}

void CSocialNetworkSharingManager::handToBrowser(const QUrl& url) {
    if (!settings_.openUrl || !settings_.openUrl(url)) {
        fail(localized("CannotOpenBrowser"));
    } else if (delegate != nullptr) {
        delegate->socialNetworkManagerHandedToBrowser(this);
    }
}

void CSocialNetworkSharingManager::fail(const QString& errorText) {
    if (delegate != nullptr) {
        delegate->socialNetworkManager(this, errorText);
    }
}

int CSocialNetworkSharingManager::tweetWeight(const QString& text) {
    int weight = 0;
    for (const char32_t point : text.toUcs4()) {
        const bool light = point <= 4351 || (point >= 8192 && point <= 8205) ||
                           (point >= 8208 && point <= 8223) || (point >= 8242 && point <= 8247);
        weight += light ? 1 : 2;
    }
    return weight;
}

QUrl CSocialNetworkSharingManager::tweetUrl(const QUrl& intentUrl, const QString& text,
                                            const std::optional<QString>& link) {
    const QString linkText = link.value_or(QString()).trimmed();
    // The intent puts a space between text and link; a link counts at least as a wrapped one.
    const int budget =
        TweetMaxWeight -
        (linkText.isEmpty() ? 0 : std::max(TweetLinkWeight, tweetWeight(linkText)) + 1);
    QString body = text.trimmed();
    if (tweetWeight(body) > budget) {
        // Cut between characters as the reader sees them, never inside one.
        const int room = budget - tweetWeight(Ellipsis);
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, body);
        qsizetype cut = 0;
        for (qsizetype next = graphemes.toNextBoundary(); next > 0;
             next = graphemes.toNextBoundary()) {
            if (tweetWeight(body.left(next)) > room) {
                break;
            }
            cut = next;
        }
        // Prefer ending at a word when that keeps most of the text.
        const qsizetype space = body.left(cut + 1).lastIndexOf(u' ');
        if (space > cut / 2) {
            cut = space;
        }
        body = body.left(cut).trimmed() + Ellipsis;
    }
    QByteArray query = queryItem("text", body);
    if (!linkText.isEmpty()) {
        query += '&' + queryItem("url", linkText);
    }
    QUrl url = intentUrl;
    url.setQuery(QString::fromLatin1(query), QUrl::StrictMode);
    return url;
}

void CSocialNetworkSharingManager::fbDidLogin() {
    saveSessions();
    if (socialNetworkType == 0 && !settings_.facebookUsesShareDialog && messageText_) {
        postFBMessage();
    }
}

void CSocialNetworkSharingManager::fbDidNotLogin(bool cancelled, const QString& errorText) {
    fail(cancelled ? localized("CanceledByUser") : errorText);
}

void CSocialNetworkSharingManager::fbDidLogout() {
    saveSessions();
    if (repostAfterLogout_ && socialNetworkType == 0 && messageText_) {
        repostAfterLogout_ = false;
        // Without a session this asks for a new authorization first.
        postFBMessage();
    }
}

void CSocialNetworkSharingManager::fbSessionInvalidated() {
    repostAfterLogout_ = !reauthorizedForMessage_;
    reauthorizedForMessage_ = true;
    facebookManager_->logout();
}

void CSocialNetworkSharingManager::fbDidExtendToken(const QString& accessToken,
                                                    const QDateTime& expiresAt) {
    facebookManager_->setAccessToken(accessToken);
    facebookManager_->setExpirationDate(expiresAt);
    saveSessions();
}

void CSocialNetworkSharingManager::requestDidLoad(FBRequest* request, const QVariant&) {
    if (request == currentFacebookRequest_) {
        currentFacebookRequest_ = nullptr;
    }
    if (delegate != nullptr) {
        delegate->socialNetworkManagerPostMessageSucceeed(this);
    }
}

void CSocialNetworkSharingManager::requestDidFailWithError(FBRequest* request,
                                                           const FBError& error) {
    if (request == currentFacebookRequest_) {
        currentFacebookRequest_ = nullptr;
    }
    const QVariantMap serviceError = error.userInfo.value(QStringLiteral("error")).toMap();
    if (error.domain == FBError::FacebookDomain &&
        serviceError.value(QStringLiteral("code")).toInt() == 190) {
        // An invalid or expired token: forget it and sign in again, once for this message; a
        // token refused right after signing in is not worth a loop of sign-ins.
        const bool again = !reauthorizedForMessage_;
        reauthorizedForMessage_ = true;
        repostAfterLogout_ = again;
        facebookManager_->logout();
        if (again) {
            return;
        }
    }
    const QString message = serviceError.value(QStringLiteral("message")).toString();
    fail(message.isEmpty() ? error.localizedDescription : message);
}
