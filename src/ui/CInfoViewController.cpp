#include "CInfoViewController.h"

#include "CDocumentInteraction.h"
#include "CPasteboard.h"
#include "CUISettings.h"
#include "MailComposer.h"
#include "Resources.h"
#include "TextMessageComposer.h"

#include <QFile>
#include <QPointer>

#ifndef NUMIVA_VERSION
#error "NUMIVA_VERSION comes from the build"
#endif

CAboutViewController::CAboutViewController(bool tablet, QObject* parent)
    : CViewController(QStringLiteral("AboutView"), tablet, parent) {
    setTitle(localized(QStringLiteral("AboutProgram")));
}

QString CAboutViewController::bundleVersion() {
    return QStringLiteral(NUMIVA_VERSION);
}

namespace {

using Action = CInfoViewController::Action;

// The rows of each section; the tweet row is left out where tweets cannot be made.
constexpr int kTweetSection = 1;
constexpr int kTweetRow = 1;

}  // namespace

CInfoViewController::CInfoViewController(Dependencies dependencies, QObject* parent)
    : CViewController(QStringLiteral("InfoView"), dependencies.tablet, parent),
      dependencies_(std::move(dependencies)),
      twitterSupported_(dependencies_.twitterSupported.value_or(isTwitterSupported())),
      links_(dependencies_.endpoints.value_or(Endpoints::standard())),
      navigation_(new CRootNavigationController(this, dependencies_.tablet, this)),
      socialNetworkManager_(nullptr) {
    // Posts that go through the browser (the share dialog, the tweet) use this screen's way
    // of opening addresses.
    SocialNetworkSettings settings = SocialNetworkSettings::fromConfiguration(
        dependencies_.endpoints.value_or(Endpoints::standard()));
    settings.openUrl = [this](const QUrl& url) { return opener().openUrl(url); };
    socialNetworkManager_ = new CSocialNetworkSharingManager(std::move(settings), this);
    setFormSheet(true);
    setTitle(localized(QStringLiteral("Info")));
}

CInfoViewController::~CInfoViewController() {
    // The manager must not report to a screen that is going away.
    socialNetworkManager_->delegate = nullptr;
    socialNetworkManager_->cancelRequest();
}

const CInfoViewController::Row* CInfoViewController::rowAt(int section, int row) const {
    static const Row kAbout[] = {
        {"AboutUs", "ic-about", "info-circle", "#007aff", Action::About},
        {"RateThisApp", "ic-rateme", "star", "#ff9500", Action::Rate},
        {"Support", "ic-support", "life-preserver", "#ff3b30", Action::Support},
        {"AllProducts", "ic-allproducts", "grid", "#5856d6", Action::AllProducts},
    };
    static const Row kInvite[] = {
        {"ShareFacebook", "ic-facebook", "facebook", "#1877f2", Action::FacebookShare},
        {"TweetAbout", "ic-tweeter", "twitter-x", "#000000", Action::TwitterShare},
        {"InviteByMail", "ic-mail", "envelope", "#007aff", Action::MailInvite},
        {"InviteBySms", "ic-sms", "chat-text", "#34c759", Action::SmsInvite},
    };
    static const Row kFollow[] = {
        {"FollowFacebook", "ic_facebook_normal", "facebook", "#1877f2", Action::FacebookFollow},
        {"FollowTwitter", "ic_twitter_normal", "twitter-x", "#000000", Action::TwitterFollow},
    };
    if (row < 0 || row >= rowCount(section)) {
        return nullptr;
    }
    switch (section) {
        case 0:
            return &kAbout[row];
        case kTweetSection:
            // Without tweets the rows below the tweet row move up.
            return &kInvite[!twitterSupported_ && row >= kTweetRow ? row + 1 : row];
        case 2:
            return &kFollow[row];
        default:
            return nullptr;
    }
}

int CInfoViewController::rowCount(int section) const {
    switch (section) {
        case 0:
            return 4;
        case kTweetSection:
            return twitterSupported_ ? 4 : 3;
        case 2:
            return 2;
        default:
            return 0;
    }
}

QString CInfoViewController::sectionHeader(int section) const {
    switch (section) {
        case 1:
            return localized(QStringLiteral("InviteFriends"));
        case 2:
            return localized(QStringLiteral("SocialNetworks"));
        default:
            return {};
    }
}

QVariantList CInfoViewController::rows() const {
    QVariantList list;
    for (int section = 0; section < SectionCount; ++section) {
        for (int row = 0; row < rowCount(section); ++row) {
            const Row* info = rowAt(section, row);
            // The bundle's own image of that name first, else the icon package's, coloured.
            const QString path = Resources::imagePath(QString::fromLatin1(info->image));
            const QUrl image = path.isEmpty()
                                   ? CUISettings::tintedUrlForImagePath(
                                         Resources::imagePath(QString::fromLatin1(info->icon)),
                                         QString::fromLatin1(info->tint))
                                   : CUISettings::urlForImagePath(path);
            list.append(QVariantMap{
                {QStringLiteral("section"), section},
                {QStringLiteral("row"), row},
                {QStringLiteral("title"), localized(QString::fromLatin1(info->key))},
                {QStringLiteral("image"), image},
                {QStringLiteral("disclosure"), info->action == Action::About},
            });
        }
    }
    return list;
}

std::optional<CInfoViewController::Action> CInfoViewController::actionForRow(int section,
                                                                             int row) const {
    const Row* info = rowAt(section, row);
    return info != nullptr ? std::optional(info->action) : std::nullopt;
}

void CInfoViewController::didSelectRow(int section, int row) {
    const std::optional<Action> action = actionForRow(section, row);
    if (!action) {
        return;
    }
    switch (*action) {
        case Action::About:
            return onAboutClick();
        case Action::Rate:
            return onRateClick();
        case Action::Support:
            return onSupportClick();
        case Action::AllProducts:
            return onAllProductsClick();
        case Action::FacebookShare:
            return onFacebookShare();
        case Action::TwitterShare:
            return onTwitterShare();
        case Action::MailInvite:
            return onMailInvite();
        case Action::SmsInvite:
            return onSmsInvite();
        case Action::FacebookFollow:
            return onFacebookClick();
        case Action::TwitterFollow:
            return onTwitterClick();
    }
}

QString CInfoViewController::getInviteTextShort(bool shortText) {
    const QString name =
        shortText ? QStringLiteral("InviteText-short") : QStringLiteral("InviteText");
    QFile file(Resources::localizedPathForResource(name, QStringLiteral("txt")));
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QString::fromUtf8(file.readAll()).trimmed();
}

QString CInfoViewController::invitationWithLink() const {
    const QUrl link = links_.softwareUrl();
    const QString text = getInviteTextShort(false);
    return link.isValid() ? text + QLatin1String("\n\n") + link.toString(QUrl::FullyEncoded) : text;
}

DocumentOpener& CInfoViewController::opener() const {
    return dependencies_.opener != nullptr ? *dependencies_.opener
                                           : DocumentOpener::platformDefault();
}

void CInfoViewController::openAddress(const QUrl& url) {
    if (!url.isValid() || !opener().openUrl(url)) {
        emit alertRequested(localized(QStringLiteral("CannotOpenAddress")),
                            url.isValid() ? url.toString() : QString(),
                            localized(QStringLiteral("OK")));
    }
}

void CInfoViewController::onAboutClick() {
    navigation_->pushViewController(new CAboutViewController(isTablet(), this), true);
}

void CInfoViewController::onRateClick() {
    openAddress(links_.reviewUrl());
}

void CInfoViewController::onAllProductsClick() {
    openAddress(links_.allProductsUrl());
}

void CInfoViewController::onFacebookClick() {
    openAddress(links_.facebookPageUrl());
}

void CInfoViewController::onTwitterClick() {
    openAddress(links_.twitterPageUrl());
}

void CInfoViewController::onSupportClick() {
    MailMessage message;
    message.subject = SupportSubject;
    message.recipients = QStringList{localized(QStringLiteral("SupportEmailAddress"))};
    composeMail(dependencies_.mailComposer, message);
}

void CInfoViewController::onMailInvite() {
    MailMessage message;
    message.subject = localized(QStringLiteral("InviteMailSubject"));
    message.body = invitationWithLink();
    composeMail(dependencies_.mailComposer, message);
}

void CInfoViewController::onSmsInvite() {
    TextMessageComposer& composer = dependencies_.textComposer != nullptr
                                        ? *dependencies_.textComposer
                                        : TextMessageComposer::platformDefault();
    const QString text = invitationWithLink();
    if (!composer.canSendText()) {
        // Most desktops have no text messaging; the invitation can still be pasted into any
        // messenger.
        CPasteboard::setString(text);
        emit alertRequested(localized(QStringLiteral("CannotSendSms")),
                            localized(QStringLiteral("InviteTextCopied")),
                            localized(QStringLiteral("OK")));
        return;
    }
    QPointer<CInfoViewController> self(this);
    composer.compose({}, text,
                     [self](TextMessageComposer::Result result, const QString& errorText) {
                         if (self && result == TextMessageComposer::Result::Failed) {
                             self->showMessage(errorText);
                         }
                     });
}

CInfoViewController::ShareRequest CInfoViewController::shareRequest(int type) {
    ShareRequest request;
    request.type = type;
    if (type == 0) {
        request.text = getInviteTextShort(false);
        const QUrl link = links_.softwareUrl();
        if (link.isValid()) {
            request.link = link.toString(QUrl::FullyEncoded);
        }
        const QString picture = socialNetworkManager_->getAppPictureExternalLink();
        if (!picture.isEmpty()) {
            request.picture = picture;
        }
    } else {
        request.text = getInviteTextShort(true);
        const QString link = socialNetworkManager_->getAppShortLink();
        if (!link.isEmpty()) {
            request.link = link;
        }
    }
    return request;
}

void CInfoViewController::share(int type) {
    // A post still in flight is dropped and says nothing more.
    socialNetworkManager_->delegate = nullptr;
    socialNetworkManager_->cancelRequest();
    const ShareRequest request = shareRequest(type);
    // A Facebook post waits for the service (or the hand-over to the browser); a tweet only
    // opens the browser.
    setPosting(type == 0);
    socialNetworkManager_->socialNetworkType = type;
    socialNetworkManager_->delegate = this;
    socialNetworkManager_->postMessageWithText(request.text, request.link, request.picture);
}

void CInfoViewController::onFacebookShare() {
    share(0);
}

void CInfoViewController::onTwitterShare() {
    share(1);
}

void CInfoViewController::setPosting(bool posting) {
    if (posting_ == posting) {
        return;
    }
    posting_ = posting;
    emit postingChanged();
}

void CInfoViewController::socialNetworkManagerPostMessageSucceeed(
    CSocialNetworkSharingManager* manager) {
    manager->delegate = nullptr;
    setPosting(false);
    showMessage(localized(QStringLiteral("MessagePostSuccess")));
}

void CInfoViewController::socialNetworkManager(CSocialNetworkSharingManager* manager,
                                               const QString& errorText) {
    manager->delegate = nullptr;
    setPosting(false);
    showMessage(localized(QStringLiteral("CannotPostMessage")).arg(errorText));
}

void CInfoViewController::socialNetworkManagerHandedToBrowser(CSocialNetworkSharingManager*) {
    // The user finishes the post in the browser; nothing more is heard of it.
    setPosting(false);
}
