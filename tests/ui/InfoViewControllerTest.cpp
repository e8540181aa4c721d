#include "CInfoViewController.h"
#include "CPasteboard.h"
#include "Localization.h"
#include "RecordingComposers.h"
#include "TestSupport.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

/// The store's addresses as a phone's store would have them, to check how they are built.
Endpoints storeEndpoints() {
    Endpoints endpoints = Endpoints::defaults();
    endpoints.setValue(SocialNetworkSettings::FacebookAppIdKey, QStringLiteral("4242"));
    endpoints.setValue(CAppStoreLinks::StoreScheme, QStringLiteral("itms-apps"));
    endpoints.setValue(CAppStoreLinks::StoreWebScheme, QStringLiteral("https"));
    endpoints.setValue(CAppStoreLinks::StoreHost, QStringLiteral("itunes.apple.com"));
    endpoints.setValue(CAppStoreLinks::StorePath, QStringLiteral("/WebObjects/MZStore.woa"));
    endpoints.setValue(CAppStoreLinks::StoreReviewPath,
                       QStringLiteral("/wa/viewContentsUserReviews"));
    endpoints.setValue(CAppStoreLinks::StoreReviewQuery,
                       QStringLiteral("type=Purple+Software&id=%1"));
    endpoints.setValue(CAppStoreLinks::StoreSoftwarePath, QStringLiteral("/wa/viewSoftware"));
    endpoints.setValue(CAppStoreLinks::StoreSoftwareQuery, QStringLiteral("id=%1&mt=8"));
    endpoints.setValue(CAppStoreLinks::AppStoreId, QStringLiteral("123456"));
    endpoints.setValue(CAppStoreLinks::StoreAllProducts, QStringLiteral("https://s.example/m"));
    endpoints.setValue(CAppStoreLinks::FacebookPage, QStringLiteral("https://fb.example/n"));
    endpoints.setValue(CAppStoreLinks::TwitterPage, QStringLiteral("https://x.example/n"));
    return endpoints;
}

class InfoTest : public ::testing::Test {
protected:
    void SetUp() override { Localization::install(QStringLiteral("en")); }

    std::unique_ptr<CInfoViewController> makeScreen(bool twitter) {
        CInfoViewController::Dependencies dependencies;
        dependencies.twitterSupported = twitter;
        dependencies.endpoints = storeEndpoints();
        dependencies.opener = &opener;
        dependencies.mailComposer = &mail;
        dependencies.textComposer = &sms;
        auto screen = std::make_unique<CInfoViewController>(std::move(dependencies));
        alerts = std::make_unique<QSignalSpy>(screen.get(), &CViewController::alertRequested);
        return screen;
    }

    /// Everything a tap led to, in one line.
    QString outcome(CInfoViewController& screen) {
        QStringList seen;
        for (const QUrl& url : std::as_const(opener.openedUrls)) {
            seen << QStringLiteral("open ") + url.toString(QUrl::FullyEncoded);
        }
        for (const MailMessage& m : std::as_const(mail.messages)) {
            seen << QStringLiteral("mail [%1] to [%2] body [%3]")
                        .arg(m.subject, m.recipients.join(u','), m.body.left(14));
        }
        for (const auto& [to, body] : std::as_const(sms.messages)) {
            seen << QStringLiteral("sms to [%1] body [%2]").arg(to.join(u','), body.left(14));
        }
        for (const QList<QVariant>& alert : std::as_const(*alerts)) {
            seen << QStringLiteral("alert [%1] [%2]")
                        .arg(alert.at(0).toString(), alert.at(1).toString().left(30));
        }
        if (screen.navigation()->viewControllers().size() > 1) {
            seen << QStringLiteral("push ") + screen.navigation()->topViewController()->viewName() +
                        u' ' + screen.navigation()->topViewController()->title();
        }
        opener.openedUrls.clear();
        mail.messages.clear();
        sms.messages.clear();
        alerts->clear();
        return seen.join(QStringLiteral("; "));
    }

    ScopedDataDir dataDir;
    RecordingOpener opener;
    RecordingMailComposer mail;
    RecordingTextMessageComposer sms;
    std::unique_ptr<QSignalSpy> alerts;
};

TEST_F(InfoTest, EveryRowDoesWhatItsTitleSaysWithOrWithoutTweets) {
    using A = CInfoViewController::Action;
    struct Row {
        bool twitter;
        int section, row;
        const char* title;
        A action;
        const char* outcome;  // ending in "?": the address's query is the sharing library's
    };
    const char* review =
        "open itms-apps://itunes.apple.com/WebObjects/MZStore.woa/wa/"
        "viewContentsUserReviews?type=Purple+Software&id=123456";
    const Row rows[] = {
        {true, 0, 0, "About", A::About, "push AboutView About"},
        {true, 0, 1, "Rate Numiva", A::Rate, review},
        {true, 0, 2, "Support", A::Support,
         "mail [Numiva support request] to [support@numiva.app] body []"},
        {true, 0, 3, "All our products", A::AllProducts, "open https://s.example/m"},
        {true, 1, 0, "Share on Facebook", A::FacebookShare,
         "open https://www.facebook.com/dialog/share?"},
        {true, 1, 1, "Tweet about Numiva", A::TwitterShare,
         "open https://twitter.com/intent/tweet?"},
        {true, 1, 2, "Invite by mail", A::MailInvite,
         "mail [Have a look at Numiva] to [] body [I use Numiva t]"},
        {true, 1, 3, "Invite by text message", A::SmsInvite, "sms to [] body [I use Numiva t]"},
        {true, 2, 0, "Numiva on Facebook", A::FacebookFollow, "open https://fb.example/n"},
        {true, 2, 1, "Numiva on Twitter", A::TwitterFollow, "open https://x.example/n"},
        // Without tweets the invitations move up.
        {false, 1, 1, "Invite by mail", A::MailInvite,
         "mail [Have a look at Numiva] to [] body [I use Numiva t]"},
        {false, 1, 2, "Invite by text message", A::SmsInvite, "sms to [] body [I use Numiva t]"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(
            QStringLiteral("%1 %2/%3").arg(r.twitter).arg(r.section).arg(r.row).toStdString());
        auto screen = makeScreen(r.twitter);
        EXPECT_EQ(screen->rowCount(1), r.twitter ? 4 : 3);
        EXPECT_EQ(screen->actionForRow(r.section, r.row), r.action);
        const QVariantList all = screen->rows();
        const auto shown = std::find_if(all.begin(), all.end(), [&](const QVariant& v) {
            return v.toMap()[QStringLiteral("section")] == r.section &&
                   v.toMap()[QStringLiteral("row")] == r.row;
        });
        ASSERT_NE(shown, all.end());
        EXPECT_EQ(shown->toMap()[QStringLiteral("title")].toString(), QString::fromUtf8(r.title));
        screen->didSelectRow(r.section, r.row);
        const QString expected = QString::fromUtf8(r.outcome);
        if (expected.endsWith(u'?')) {
            EXPECT_TRUE(outcome(*screen).startsWith(expected));
            EXPECT_FALSE(screen->isPosting()) << "handed to the browser: nothing more to wait for";
        } else {
            EXPECT_EQ(outcome(*screen), expected);
        }
    }
    auto screen = makeScreen(false);
    EXPECT_EQ(screen->rows().size(), 9);
    EXPECT_FALSE(screen->actionForRow(1, 3));
    EXPECT_EQ(screen->sectionHeader(1) + "|" + screen->sectionHeader(2),
              QStringLiteral("Invite friends|Social networks"));
}

TEST_F(InfoTest, WithoutAProgramForItTheUserIsToldAndTheInvitationIsCopied) {
    auto screen = makeScreen(true);
    mail.canSend = false;
    sms.canSend = false;
    opener.answer = false;
    CPasteboard::setString(QString());
    const struct {
        int section, row;
        const char* outcome;
    } cases[] = {
        {0, 2, "alert [Mail cannot be sent: no mail program is set up] []"},
        {1, 2, "alert [Mail cannot be sent: no mail program is set up] []"},
        {1, 3,
         "alert [Text messages cannot be sent: no messaging program is set up] "
         "[The invitation is copied: past]"},
        {2, 0,
         "open https://fb.example/n; alert [This address cannot be opened: no browser is set "
         "up] [https://fb.example/n]"},
    };
    for (const auto& c : cases) {
        screen->didSelectRow(c.section, c.row);
        EXPECT_EQ(outcome(*screen), QString::fromUtf8(c.outcome));
    }
    // The copied invitation carries the store link, so it can be pasted anywhere as it is.
    EXPECT_TRUE(CPasteboard::string().startsWith(CInfoViewController::getInviteTextShort(false)));
    EXPECT_TRUE(CPasteboard::string().endsWith(QStringLiteral(
        "https://itunes.apple.com/WebObjects/MZStore.woa/wa/viewSoftware?id=123456&mt=8")));
    mail.canSend = true;
    mail.result = MailComposer::Result::Failed;
    mail.errorText = QStringLiteral("xdg-email exited with 3");
    screen->didSelectRow(0, 2);
    EXPECT_TRUE(outcome(*screen).endsWith(QStringLiteral("alert [xdg-email exited with 3] []")));
}

TEST_F(InfoTest, PostsCarryTheRightTextAndLinkAndTheirOutcomeIsShown) {
    auto screen = makeScreen(true);
    const CInfoViewController::ShareRequest facebook = screen->shareRequest(0);
    const CInfoViewController::ShareRequest tweet = screen->shareRequest(1);
    EXPECT_EQ(facebook.link, QStringLiteral("https://itunes.apple.com/WebObjects/MZStore.woa/wa/"
                                            "viewSoftware?id=123456&mt=8"));
    EXPECT_EQ(tweet.text, CInfoViewController::getInviteTextShort(true));
    EXPECT_LT(tweet.text.size(), facebook.text.size());

    QSignalSpy posting(screen.get(), &CInfoViewController::postingChanged);
    CSocialNetworkSharingManager* manager = screen->socialNetworkManager();
    manager->delegate = screen.get();
    screen->socialNetworkManagerPostMessageSucceeed(manager);
    EXPECT_EQ(manager->delegate, nullptr) << "the outcome is heard once";
    manager->delegate = screen.get();
    screen->socialNetworkManager(manager, QStringLiteral("(#200) Permissions error"));
    EXPECT_EQ(outcome(*screen), QStringLiteral("alert [The message is posted] []; alert [The "
                                               "message cannot be posted: (#200) Permissions "
                                               "error] []"));
    EXPECT_FALSE(screen->isPosting());

    // Texts in the user's language; the shipped addresses work on a desktop (web pages).
    Localization::install(QStringLiteral("ru"));
    EXPECT_TRUE(CInfoViewController::getInviteTextShort(true).startsWith(u"Numiva: точные"));
    const CAppStoreLinks shipped(Endpoints::defaults());
    for (const QUrl& url : {shipped.reviewUrl(), shipped.softwareUrl(), shipped.allProductsUrl(),
                            shipped.facebookPageUrl(), shipped.twitterPageUrl()}) {
        EXPECT_EQ(url.scheme(), QStringLiteral("https")) << url.toString().toStdString();
    }
}

}  // namespace
