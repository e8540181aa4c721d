// The sharing manager and its Facebook client against a fake authorization server and a fake
// Graph server on 127.0.0.1; the "browser" follows the authorization address itself.
#include "CFacebookSingleton.h"
#include "CSocialNetworkSharingManager.h"
#include "FakeHttpServer.h"
#include "TestSupport.h"

#include <QCryptographicHash>
#include <QNetworkAccessManager>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

using Answer = FakeHttpServer::Answer;

// A code with characters that must be encoded exactly once on the way back.
const QString Code = QStringLiteral("4/0Ab+c=d%e");

QString formValue(const QByteArray& query, const QString& key) {
    QByteArray text = query;
    return QUrlQuery(QString::fromLatin1(text.replace('+', "%20")))
        .queryItemValue(key, QUrl::FullyDecoded);
}

struct Recorder : CSocialNetworkSharingManagerDelegate {
    QStringList events;
    void socialNetworkManagerPostMessageSucceeed(CSocialNetworkSharingManager*) override {
        events << QStringLiteral("ok");
    }
    void socialNetworkManager(CSocialNetworkSharingManager*, const QString& text) override {
        events << QStringLiteral("fail:") + text;
    }
    void socialNetworkManagerHandedToBrowser(CSocialNetworkSharingManager*) override {
        events << QStringLiteral("browser");
    }
};

// What the user's browser does with the authorization page.
enum class Browser { Follows, Refuses, IsClosed, HandsToApp };

struct Services {
    FakeHttpServer auth, graph;
    QNetworkAccessManager browser;
    QList<QUrl> opened;
    QString challenge;
    Browser mode = Browser::Follows;
    int tokens = 0;

    Services() {
        auth.setHandler([this](const FakeHttpServer::Request& r) {
            if (r.path == u"/dialog/oauth") {
                challenge = r.queryValues(QStringLiteral("code_challenge")).value(0);
                const QByteArray answer = mode == Browser::Refuses
                                              ? QByteArray("error=access_denied")
                                              : "code=" + QUrl::toPercentEncoding(Code);
                const QString state = r.queryValues(QStringLiteral("state")).value(0);
                Answer redirect = Answer::text({}, 302);
                redirect.headers.append(
                    {"Location", r.queryValues(QStringLiteral("redirect_uri")).value(0).toUtf8() +
                                     '?' + answer + "&state=" + QUrl::toPercentEncoding(state)});
                return redirect;
            }
            const QByteArray verifier =
                formValue(r.body, QStringLiteral("code_verifier")).toLatin1();
            const QByteArray expected =
                QCryptographicHash::hash(verifier, QCryptographicHash::Sha256)
                    .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
            if (formValue(r.body, QStringLiteral("code")) != Code ||
                expected != challenge.toLatin1())
                return Answer::text(R"({"error":{"message":"Bad code","code":100}})", 400);
            return Answer::text(QStringLiteral(R"({"access_token":"new%1","expires_in":3600})")
                                    .arg(++tokens)
                                    .toUtf8(),
                                200, "application/json");
        });
    }
    SocialNetworkSettings settings(bool shareDialog = false) {
        SocialNetworkSettings s;
        s.resource = {{QStringLiteral("AppShortLink"), QStringLiteral("https://numiva.app")}};
        s.facebook = {QStringLiteral("123"),
                      auth.url(QStringLiteral("/dialog/oauth")),
                      auth.url(QStringLiteral("/oauth/access_token")),
                      graph.url(QStringLiteral("/v19.0")),
                      {QStringLiteral("publish_stream")}};
        s.facebookUsesShareDialog = shareDialog;
        s.facebookShareDialogUrl = QUrl(QStringLiteral("https://fb.test/dialog/share"));
        s.twitterIntentUrl = QUrl(QStringLiteral("https://x.test/intent/tweet"));
        s.openUrl = [this](const QUrl& url) {
            opened << url;
            const QUrlQuery query(url);
            if (mode == Browser::HandsToApp) {
                // The system hands the redirect to the application, which hands it on.
                challenge = query.queryItemValue(QStringLiteral("code_challenge"));
                const QUrl back(QStringLiteral("fb123://authorize?code=%1&state=%2")
                                    .arg(QString::fromLatin1(QUrl::toPercentEncoding(Code)),
                                         query.queryItemValue(QStringLiteral("state"))));
                QTimer::singleShot(0, [back] {
                    EXPECT_TRUE(CFacebookSingleton::sharedInstance().handleOpenURL(back));
                });
            } else if (mode != Browser::IsClosed && url.port() == auth.port()) {
                QNetworkRequest request(url);
                request.setAttribute(QNetworkRequest::RedirectPolicyAttribute,
                                     QNetworkRequest::NoLessSafeRedirectPolicy);
                QObject::connect(browser.get(request), &QNetworkReply::finished, &browser, [] {});
            }
            return true;
        };
        return s;
    }
};

struct FacebookCase {
    const char* name;
    int storedExpiryHours;  // 0: nothing stored
    QList<Answer> graphAnswers;
    Browser browser;
    std::optional<QString> link, picture;
    QString expectedEvent;
    int expectedAuthorizations;
    QStringList sentTokens;  // one per post, in order
    QString expectedStoredToken;
};

Answer graphError(int code, const char* message) {
    return Answer::text(
        QStringLiteral(R"({"error":{"message":"%1","type":"OAuthException","code":%2}})")
            .arg(QLatin1String(message))
            .arg(code)
            .toUtf8(),
        400, "application/json");
}

}  // namespace

TEST(SocialSharing, FacebookGraphFlowAgainstFakeServices) {
    const Answer posted = Answer::text(R"({"id":"1_2"})", 200, "application/json");
    const std::optional<QString> link = QStringLiteral("https://numiva.app/?a=1&b=2");
    const std::optional<QString> picture = QStringLiteral("https://numiva.app/icon.png");
    const QList<FacebookCase> cases = {
        {"stored valid session",
         24,
         {posted},
         Browser::Follows,
         link,
         picture,
         "ok",
         0,
         {"stored"},
         "stored"},
        {"no session: authorize, then post",
         0,
         {posted},
         Browser::Follows,
         {},
         {},
         "ok",
         1,
         {"new1"},
         "new1"},
        {"expired session is never sent",
         -1,
         {posted},
         Browser::Follows,
         link,
         {},
         "ok",
         1,
         {"new1"},
         "new1"},
        {"190: token dropped, re-authorized",
         24,
         {graphError(190, "Expired"), posted},
         Browser::Follows,
         {},
         {},
         "ok",
         1,
         {"stored", "new1"},
         "new1"},
        {"190 right after signing in",
         24,
         {graphError(190, "Expired")},
         Browser::Follows,
         {},
         {},
         "fail:Expired",
         1,
         {"stored", "new1"},
         ""},
        {"refused login", 0, {posted}, Browser::Refuses, {}, {}, "fail:CanceledByUser", 1, {}, ""},
        {"service error",
         24,
         {graphError(100, "(#100) Invalid")},
         Browser::Follows,
         {},
         {},
         "fail:(#100) Invalid",
         0,
         {"stored"},
         "stored"},
        {"network failure",
         24,
         {Answer::closing()},
         Browser::Follows,
         {},
         {},
         "fail:",
         0,
         {"stored"},
         "stored"},
        {"sign-in page closed",
         0,
         {posted},
         Browser::IsClosed,
         {},
         {},
         "fail:CanceledByUser",
         1,
         {},
         ""},
        {"redirect handed to the app",
         0,
         {posted},
         Browser::HandsToApp,
         link,
         {},
         "ok",
         1,
         {"new1"},
         "new1"},
    };
    for (const FacebookCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedDataDir dataDir;
        Services services;
        services.mode = c.browser;
        services.graph.answer(QStringLiteral("/v19.0/me/feed"), c.graphAnswers);
        const QDateTime now = QDateTime::currentDateTimeUtc();
        if (c.storedExpiryHours != 0) {
            UserDefaults::standardUserDefaults().setObject(QStringLiteral("stored"),
                                                           QStringLiteral("FBAccessTokenKey"));
            UserDefaults::standardUserDefaults().setObject(now.addSecs(c.storedExpiryHours * 3600),
                                                           QStringLiteral("FBExpirationDateKey"));
        }
        Recorder recorder;
        CSocialNetworkSharingManager manager(services.settings());
        EXPECT_EQ(CFacebookSingleton::sharedInstance().fbManager, manager.facebookManager());
        manager.delegate = &recorder;
        manager.facebookManager()->setSignInTimeout(c.browser == Browser::IsClosed ? 50 : 10000);
        manager.postMessageWithText(QStringLiteral("Rates & more + 100%"), c.link, c.picture);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !recorder.events.isEmpty(); }, 10000));
        QTest::qWait(50);  // a second, wrong outcome would arrive here

        ASSERT_EQ(recorder.events.size(), 1) << recorder.events.join(u'|').toStdString();
        EXPECT_TRUE(recorder.events[0].startsWith(c.expectedEvent))
            << recorder.events[0].toStdString();
        if (recorder.events[0].startsWith(u"fail:")) {
            EXPECT_GT(recorder.events[0].size(), 5) << "a failure without a text";
        }
        EXPECT_EQ(services.opened.size(), c.expectedAuthorizations);
        if (c.expectedAuthorizations > 0) {
            EXPECT_TRUE(QUrlQuery(services.opened[0])
                            .queryItemValue(QStringLiteral("redirect_uri"), QUrl::FullyDecoded)
                            .startsWith(u"http://127.0.0.1:"));
        }
        const auto posts = services.graph.requests();
        ASSERT_EQ(posts.size(), c.sentTokens.size());
        for (qsizetype i = 0; i < posts.size(); ++i) {
            const QByteArray body = posts[i].body;
            EXPECT_EQ(posts[i].header("Authorization"), "Bearer " + c.sentTokens[i].toLatin1());
            EXPECT_EQ(formValue(body, QStringLiteral("message")), u"Rates & more + 100%");
            EXPECT_EQ(QUrlQuery(QString::fromLatin1(body)).hasQueryItem(QStringLiteral("link")),
                      c.link.has_value());
            EXPECT_EQ(QUrlQuery(QString::fromLatin1(body)).hasQueryItem(QStringLiteral("picture")),
                      c.picture.has_value());
            EXPECT_EQ(formValue(body, QStringLiteral("link")), c.link.value_or(QString()));
            EXPECT_EQ(formValue(body, QStringLiteral("picture")), c.picture.value_or(QString()));
        }
        EXPECT_EQ(
            UserDefaults::standardUserDefaults().stringForKey(QStringLiteral("FBAccessTokenKey")),
            c.expectedStoredToken);

        // Logging out on request forgets the session and does not post the message again.
        manager.logout();
        QTest::qWait(20);
        EXPECT_EQ(services.opened.size(), c.expectedAuthorizations) << "logout signed in again";
        EXPECT_FALSE(UserDefaults::standardUserDefaults().hasValueForKey(
            QStringLiteral("FBExpirationDateKey")));
    }
    EXPECT_EQ(CFacebookSingleton::sharedInstance().fbManager, nullptr);
}

TEST(SocialSharing, NewPostCancelsThePostInFlight) {
    ScopedDataDir dataDir;
    Services services;
    auto gate = std::make_shared<FakeHttpServer::Gate>();
    Answer held = Answer::text(R"({"id":"1"})", 200, "application/json");
    held.gate = gate;
    services.graph.answer(QStringLiteral("/v19.0/me/feed"),
                          {held, Answer::text(R"({"id":"2"})", 200, "application/json")});
    Recorder recorder;
    CSocialNetworkSharingManager manager(services.settings());
    manager.delegate = &recorder;
    manager.facebookManager()->setAccessToken(QStringLiteral("t"));
    manager.facebookManager()->setExpirationDate(QDateTime::currentDateTimeUtc().addDays(1));
    manager.postMessageWithText(QStringLiteral("first"), {}, {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return services.graph.requestCount() == 1; }, 10000));
    manager.postMessageWithText(QStringLiteral("second"), {}, {});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !recorder.events.isEmpty(); }, 10000));
    gate->release();
    QTest::qWait(50);
    EXPECT_EQ(recorder.events, QStringList{QStringLiteral("ok")});
}

TEST(SocialSharing, TweetAndShareDialogOpenTheBrowser) {
    ScopedDataDir dataDir;
    Services services;
    Recorder recorder;
    CSocialNetworkSharingManager manager(services.settings(true));
    manager.delegate = &recorder;
    const QString link = QStringLiteral("https://n.app/?a&b=1");  // counts as 23
    struct Case {
        QString text;
        std::optional<QString> link;
        QString expectedText;  // empty: shortened, checked by length
    };
    const QString cyrillic = QString(300, QChar(0x044F));
    const QString emoji = QString::fromUtf8("\xF0\x9F\x92\xB1").repeated(200);
    const QList<Case> cases = {
        {QStringLiteral("Rates & more + 100% #fx"), link,
         QStringLiteral("Rates & more + 100% #fx")},
        {QStringLiteral("Rates & more"), {}, QStringLiteral("Rates & more")},
        {cyrillic, link, cyrillic.left(280 - 24 - 2) + QStringLiteral("…")},
        {QStringLiteral("words ").repeated(60), link,
         QStringLiteral("words ").repeated(42).trimmed() + QStringLiteral("…")},
        {emoji, link, {}},
    };
    manager.socialNetworkType = 1;
    for (const Case& c : cases) {
        services.opened.clear();
        recorder.events.clear();
        manager.postMessageWithText(c.text, c.link, {});
        ASSERT_EQ(services.opened.size(), 1);
        const QByteArray query = services.opened[0].query(QUrl::FullyEncoded).toLatin1();
        EXPECT_FALSE(query.contains('+') || query.contains('#')) << query.toStdString();
        const QString text = formValue(query, QStringLiteral("text"));
        EXPECT_EQ(formValue(query, QStringLiteral("url")), c.link.value_or(QString()));
        if (!c.expectedText.isEmpty()) {
            EXPECT_EQ(text, c.expectedText);
        }
        EXPECT_LE(CSocialNetworkSharingManager::tweetWeight(text) + (c.link ? 24 : 0), 280);
        if (text.endsWith(u'…')) {
            EXPECT_GT(CSocialNetworkSharingManager::tweetWeight(text), 250) << "cut too much";
        }
        EXPECT_EQ(recorder.events, QStringList{QStringLiteral("browser")});
    }
    // Facebook through the share dialog: the app id, the link and the way back.
    services.opened.clear();
    manager.socialNetworkType = 0;
    manager.postMessageWithText(QStringLiteral("Hi"), link, {});
    ASSERT_EQ(services.opened.size(), 1);
    const QByteArray query = services.opened[0].query(QUrl::FullyEncoded).toLatin1();
    EXPECT_EQ(formValue(query, QStringLiteral("app_id")), u"123");
    EXPECT_EQ(formValue(query, QStringLiteral("href")), link);
    EXPECT_EQ(formValue(query, QStringLiteral("redirect_uri")), link);
    EXPECT_EQ(services.auth.requestCount() + services.graph.requestCount(), 0);
    // The bundled configuration: no application id is shipped, so Facebook says so.
    CSocialNetworkSharingManager bundled;
    bundled.delegate = &recorder;
    recorder.events.clear();
    bundled.postMessageWithText(QStringLiteral("Hi"), link, {});
    EXPECT_EQ(recorder.events, QStringList{QStringLiteral("fail:FacebookNotConfigured")});
    EXPECT_EQ(bundled.getAppShortLink(), u"https://numiva.app");
    EXPECT_EQ(bundled.getAppIdForNetwork(1), std::nullopt);
    EXPECT_FALSE(CFacebookSingleton::sharedInstance().handleOpenURL(
        QUrl(QStringLiteral("fb123://authorize?code=x"))));
}
