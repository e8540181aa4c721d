#pragma once

#include "CAppStoreLinks.h"
#include "CNavigationController.h"
#include "CSocialNetworkSharingManager.h"
#include "CViewController.h"

#include <QUrl>
#include <QVariantList>

#include <optional>

class DocumentOpener;
class MailComposer;
class TextMessageComposer;

/// The about screen: the application's name and version.
class CAboutViewController : public CViewController {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Screen controllers are made in C++")

    /// The version of this build, as `numiva --version` prints it.
    Q_PROPERTY(QString versionLabel READ versionLabel CONSTANT)
    Q_PROPERTY(QString applicationName READ applicationName CONSTANT)

public:
    explicit CAboutViewController(bool tablet, QObject* parent = nullptr);

    QString versionLabel() const { return bundleVersion(); }
    QString applicationName() const { return QStringLiteral("Numiva"); }
    /// The project's version from the build.
    static QString bundleVersion();
};

/// The info screen: the about screen, rating, a support mail, the maker's other products,
/// sharing on Facebook and Twitter, invitations by mail and text message, and the product's
/// Facebook and Twitter pages. Addresses come from the endpoints file; on this desktop they
/// open in the user's browser.
class CInfoViewController : public CViewController, public CSocialNetworkSharingManagerDelegate {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Screen controllers are made in C++")

    /// One entry per row: {section, row, title, image (url), disclosure}.
    Q_PROPERTY(QVariantList rows READ rows CONSTANT)
    /// A post is in flight (the activity indicator turns).
    Q_PROPERTY(bool isPosting READ isPosting NOTIFY postingChanged)
    /// The screen's own stack, onto which the about screen is pushed.
    Q_PROPERTY(CNavigationController* navigation READ navigation CONSTANT)

public:
    enum class Action {
        About,
        Rate,
        Support,
        AllProducts,
        FacebookShare,
        TwitterShare,
        MailInvite,
        SmsInvite,
        FacebookFollow,
        TwitterFollow,
    };

    struct Dependencies {
        bool tablet = false;
        /// Nothing: whether this system can tweet (a desktop can, through the browser).
        std::optional<bool> twitterSupported;
        /// Nothing: the process-wide endpoints.
        std::optional<Endpoints> endpoints;
        /// Not owned; null: the platform's.
        DocumentOpener* opener = nullptr;
        MailComposer* mailComposer = nullptr;
        TextMessageComposer* textComposer = nullptr;
    };

    /// What a post to a social network carries.
    struct ShareRequest {
        int type = 0;
        QString text;
        std::optional<QString> link;
        std::optional<QString> picture;
    };

    static inline const QString SupportSubject = QStringLiteral("Numiva support request");
    static constexpr int SectionCount = 3;

    explicit CInfoViewController(Dependencies dependencies, QObject* parent = nullptr);
    ~CInfoViewController() override;

    QVariantList rows() const;
    bool isPosting() const { return posting_; }
    CNavigationController* navigation() const { return navigation_; }
    CSocialNetworkSharingManager* socialNetworkManager() const { return socialNetworkManager_; }

    /// Tweets are offered where the system can make them: every desktop, through the browser.
    static bool isTwitterSupported() { return true; }
    bool twitterRowShown() const { return twitterSupported_; }
    /// The long invitation text, or the short one, in the installed language.
    static QString getInviteTextShort(bool shortText);

    Q_INVOKABLE int rowCount(int section) const;
    /// "InviteFriends" over the second section, "SocialNetworks" over the third.
    Q_INVOKABLE QString sectionHeader(int section) const;
    /// The action of a row; nothing for a row that does not exist.
    std::optional<Action> actionForRow(int section, int row) const;
    Q_INVOKABLE void didSelectRow(int section, int row);
    Q_INVOKABLE void onDone() { dismissSelf(true); }

    void onAboutClick();
    void onRateClick();
    void onSupportClick();
    void onAllProductsClick();
    void onFacebookShare();
    void onTwitterShare();
    void onMailInvite();
    void onSmsInvite();
    void onFacebookClick();
    void onTwitterClick();

    /// The post that a share row makes: type 0 the long text with the store link and the
    /// picture, type 1 the short text with the short link.
    ShareRequest shareRequest(int type);

    void socialNetworkManagerPostMessageSucceeed(CSocialNetworkSharingManager* manager) override;
    void socialNetworkManager(CSocialNetworkSharingManager* manager,
                              const QString& errorText) override;
    void socialNetworkManagerHandedToBrowser(CSocialNetworkSharingManager* manager) override;

signals:
    void postingChanged();

private:
    struct Row {
        const char* key;
        /// The image's name, and the file of the icon package that draws it.
        const char* image;
        const char* icon;
        /// The icon's colour (the package draws in the text colour).
        const char* tint;
        Action action;
    };
    const Row* rowAt(int section, int row) const;
    DocumentOpener& opener() const;
    /// Opens `url` in the user's browser or store program; a message when it cannot.
    void openAddress(const QUrl& url);
    void share(int type);
    void setPosting(bool posting);
    /// The invitation that mail and text messages carry: the long text and the store link.
    QString invitationWithLink() const;

    Dependencies dependencies_;
    bool twitterSupported_;
    CAppStoreLinks links_;
    CRootNavigationController* navigation_;
    CSocialNetworkSharingManager* socialNetworkManager_;
    bool posting_ = false;
};
