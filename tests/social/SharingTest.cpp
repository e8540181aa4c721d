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

using namespace Qt::StringLiterals;

namespace {

using Answer = FakeHttpServer::Answer;
using Manager = CSocialNetworkSharingManager;

// A code with characters that must be encoded exactly once on the way back.
const QString Code = u"4/0Ab+c=d%e"_s;

/// A value of a form or query, decoded as a web server decodes it.
QString formValue(QByteArray query, const QString& key) {
    return QUrlQuery(QString::fromLatin1(query.replace('+', "%20")))
        .queryItemValue(key, QUrl::FullyDecoded);
}

Answer json(const QByteArray& body, int status = 200) {
    return Answer::text(body, status, "application/json");
}

struct Recorder : CSocialNetworkSharingManagerDelegate {
    QStringList events;
    void socialNetworkManagerPostMessageSucceeed(Manager*) override { events << u"ok"_s; }
    void socialNetworkManager(Manager*, const QString& t) override { events << u"fail:"_s + t; }
    void socialNetworkManagerHandedToBrowser(Manager*) override { events << u"browser"_s; }
};

// What the user's browser does with the authorization page.
// ReturnsThroughApp: the service sends the user back to the app's own "fb<id>://" address.
enum class Browser { Follows, Refuses, IsClosed, BringsWrongCode, ReturnsThroughApp };

struct Services {
    FakeHttpServer auth, graph;
    QNetworkAccessManager browser;
    QList<QUrl> opened;
    QString challenge;
    Browser mode = Browser::Follows;

    Services() {
        auth.setHandler([this](const FakeHttpServer::Request& r) {
            if (r.path == u"/dialog/oauth") {
                challenge = r.queryValues(u"code_challenge"_s).value(0);
                EXPECT_TRUE(r.queryValues(u"redirect_uri"_s)[0].startsWith(u"http://127.0.0.1:"));
                Answer redirect = Answer::text({}, 302);
                redirect.headers.append(
                    {"Location",
                     r.queryValues(u"redirect_uri"_s).value(0).toUtf8() + '?' +
                         (mode == Browser::Refuses
                              ? QByteArray("error=access_denied")
                              : "code=" + QUrl::toPercentEncoding(
                                              mode == Browser::Follows ? Code : u"x"_s)) +
                         "&state=" + QUrl::toPercentEncoding(r.queryValues(u"state"_s).value(0))});
                return redirect;
            }
            // The token endpoint: the code as issued, and the verifier of the challenge.
            const QByteArray verifier = formValue(r.body, u"code_verifier"_s).toLatin1();
            if (formValue(r.body, u"code"_s) != Code ||
                QCryptographicHash::hash(verifier, QCryptographicHash::Sha256)
                        .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals) !=
                    challenge.toLatin1())
                return json(R"({"error":{"message":"Bad code","code":100}})", 400);
            return json(R"({"access_token":"new1","expires_in":3600})");
        });
    }
    SocialNetworkSettings settings(bool shareDialog = false) {
        SocialNetworkSettings s;
        s.resource = {{u"AppShortLink"_s, u"https://numiva.app"_s}};
        s.facebook = {u"123"_s,
                      auth.url(u"/dialog/oauth"_s),
                      auth.url(u"/oauth/access_token"_s),
                      graph.url(u"/v19.0"_s),
                      {u"publish_stream"_s}};
        s.facebookUsesShareDialog = shareDialog;
        s.facebookShareDialogUrl = QUrl(u"https://fb.test/dialog/share"_s);
        s.twitterIntentUrl = QUrl(u"https://x.test/intent/tweet"_s);
        s.openUrl = [this](const QUrl& url) {
            opened << url;
            if (mode == Browser::ReturnsThroughApp) {
                const QUrlQuery asked(url);
                challenge = asked.queryItemValue(u"code_challenge"_s, QUrl::FullyDecoded);
                const QString state = asked.queryItemValue(u"state"_s, QUrl::FullyDecoded);
                const QUrl address(
                    QString::fromLatin1("fb123://authorize?code=" + QUrl::toPercentEncoding(Code) +
                                        "&state=" + QUrl::toPercentEncoding(state)));
                QTimer::singleShot(0, [address] {
                    EXPECT_TRUE(CFacebookSingleton::sharedInstance().handleOpenURL(address));
                });
                return true;
            }
            if (mode != Browser::IsClosed && url.port() == auth.port()) {
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
    bool linkAndPicture;
    QString expectedEvent;
    int authorizations;
    QStringList sentTokens;  // one per post, in order
    QString storedToken;
    bool postAgainWhileSending = false;  // the second post replaces the first
};

}  // namespace

TEST(SocialSharing, FacebookGraphFlowAgainstFakeServices) {
    const Answer posted = json(R"({"id":"1_2"})");
    const Answer expired = json(R"({"error":{"message":"Expired","code":190}})", 400);
    const Answer invalid = json(R"({"error":{"message":"(#100) Invalid","code":100}})", 400);
    Answer held = json(R"({"id":"1"})");
    held.gate = std::make_shared<FakeHttpServer::Gate>();
    const QString link = u"https://numiva.app/?a=1&b=2"_s;
    // clang-format off
    const QList<FacebookCase> cases = {
        {"stored valid session", 24, {posted}, Browser::Follows, true, "ok", 0, {"stored"}, "stored"},
        {"no session: authorize, then post", 0, {posted}, Browser::Follows, false, "ok", 1, {"new1"}, "new1"},
        {"expired session is never sent", -1, {posted}, Browser::Follows, true, "ok", 1, {"new1"}, "new1"},
        {"190: token dropped, re-authorized", 24, {expired, posted}, Browser::Follows, false, "ok", 1, {"stored", "new1"}, "new1"},
        {"190 right after signing in", 24, {expired}, Browser::Follows, false, "fail:Expired", 1, {"stored", "new1"}, ""},
        {"sign-in back through the app's address", 0, {posted}, Browser::ReturnsThroughApp, false, "ok", 1, {"new1"}, "new1"},
        {"refused login", 0, {posted}, Browser::Refuses, false, "fail:CanceledByUser", 1, {}, ""},
        {"token exchange refused", 0, {posted}, Browser::BringsWrongCode, false, "fail:Bad code", 1, {}, ""},
        {"sign-in page closed", 0, {posted}, Browser::IsClosed, false, "fail:CanceledByUser", 1, {}, ""},
        {"service error", 24, {invalid}, Browser::Follows, false, "fail:(#100) Invalid", 0, {"stored"}, "stored"},
        {"network failure", 24, {Answer::closing()}, Browser::Follows, false, "fail:", 0, {"stored"}, "stored"},
        {"a new post cancels the one in flight", 24, {held, posted}, Browser::Follows, false, "ok", 0, {"stored", "stored"}, "stored", true},
    };
    // clang-format on
    for (const FacebookCase& c : cases) {
        SCOPED_TRACE(c.name);
        ScopedDataDir dataDir;
        Services services;
        services.mode = c.browser;
        services.graph.answer(u"/v19.0/me/feed"_s, c.graphAnswers);
        UserDefaults& store = UserDefaults::standardUserDefaults();
        if (c.storedExpiryHours != 0) {
            store.setObject(u"stored"_s, u"FBAccessTokenKey"_s);
            store.setObject(QDateTime::currentDateTimeUtc().addSecs(c.storedExpiryHours * 3600),
                            u"FBExpirationDateKey"_s);
        }
        Recorder recorder;
        Manager manager(services.settings());
        EXPECT_EQ(CFacebookSingleton::sharedInstance().fbManager, manager.facebookManager());
        manager.delegate = &recorder;
        manager.facebookManager()->setSignInTimeout(c.browser == Browser::IsClosed ? 50 : 10000);
        const std::optional<QString> extra = c.linkAndPicture ? std::optional(link) : std::nullopt;
        manager.postMessageWithText(u"Rates & more + 100%"_s, extra, extra);
        if (c.postAgainWhileSending) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return services.graph.requestCount() == 1; }, 9000));
            manager.postMessageWithText(u"Rates & more + 100%"_s, extra, extra);
            ASSERT_TRUE(QTest::qWaitFor([&] { return !recorder.events.isEmpty(); }, 10000));
            held.gate->release();  // the cancelled post's answer must not be heard
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return !recorder.events.isEmpty(); }, 10000));
        QTest::qWait(50);  // a second, wrong outcome would arrive here

        ASSERT_EQ(recorder.events.size(), 1) << recorder.events.join(u'|').toStdString();
        EXPECT_TRUE(recorder.events[0].startsWith(c.expectedEvent))
            << recorder.events[0].toStdString();
        EXPECT_NE(recorder.events[0], u"fail:") << "a failure without a text";
        ASSERT_EQ(services.opened.size(), c.authorizations);
        const auto posts = services.graph.requests();
        ASSERT_EQ(posts.size(), c.sentTokens.size());
        for (qsizetype i = 0; i < posts.size(); ++i) {
            EXPECT_EQ(posts[i].header("Authorization"), "Bearer " + c.sentTokens[i].toLatin1());
            EXPECT_EQ(formValue(posts[i].body, u"message"_s), u"Rates & more + 100%");
            for (const QString& key : {u"link"_s, u"picture"_s}) {
                EXPECT_EQ(QUrlQuery(QString::fromLatin1(posts[i].body)).hasQueryItem(key),
                          c.linkAndPicture);
                EXPECT_EQ(formValue(posts[i].body, key), c.linkAndPicture ? link : QString());
            }
        }
        EXPECT_EQ(store.stringForKey(u"FBAccessTokenKey"_s), c.storedToken);

        // Logging out on request forgets the session and does not post the message again.
        manager.logout();
        QTest::qWait(20);
        EXPECT_EQ(services.opened.size(), c.authorizations) << "logout signed in again";
        EXPECT_FALSE(store.hasValueForKey(u"FBExpirationDateKey"_s));
    }
    EXPECT_EQ(CFacebookSingleton::sharedInstance().fbManager, nullptr);
}

TEST(SocialSharing, TweetAndShareDialogOpenTheBrowser) {
    ScopedDataDir dataDir;
    Services services;
    Recorder recorder;
    Manager manager(services.settings(true));
    manager.delegate = &recorder;
    const QString link = u"https://n.app/?a&b=1"_s;  // counts as 23
    const QString cyrillic(300, QChar(0x044F)), words = u"words "_s.repeated(60);
    const QString special = u"Rates & more + 100% #fx"_s;
    // Text, link, the text expected (empty: cut, checked by its length).
    const QList<std::tuple<QString, std::optional<QString>, QString>> cases = {
        {special, link, special},
        {special, {}, special},
        {cyrillic, link, cyrillic.left(280 - 24 - 2) + u'…'},
        {words, link, words.left(6 * 42 - 1) + u'…'},                     // ends at a word
        {QString::fromUtf8("\xF0\x9F\x92\xB1").repeated(200), link, {}},  // 2 each
    };
    manager.socialNetworkType = 1;
    for (const auto& [original, tweetLink, expected] : cases) {
        services.opened.clear();
        recorder.events.clear();
        manager.postMessageWithText(original, tweetLink, {});
        ASSERT_EQ(services.opened.size(), 1);
        const QByteArray query = services.opened[0].query(QUrl::FullyEncoded).toLatin1();
        EXPECT_FALSE(query.contains('+') || query.contains('#')) << query.toStdString();
        const QString text = formValue(query, u"text"_s);
        EXPECT_EQ(formValue(query, u"url"_s), tweetLink.value_or(QString()));
        EXPECT_TRUE(expected.isEmpty() || text == expected) << text.toStdString();
        EXPECT_LE(Manager::tweetWeight(text) + (tweetLink ? 24 : 0), 280);
        EXPECT_EQ(recorder.events, QStringList{u"browser"_s});
    }
    // Facebook through the share dialog: the app id, the link and the way back.
    services.opened.clear();
    manager.socialNetworkType = 0;
    manager.postMessageWithText(u"Hi"_s, link, {});
    ASSERT_EQ(services.opened.size(), 1);
    const QByteArray query = services.opened[0].query(QUrl::FullyEncoded).toLatin1();
    EXPECT_EQ(formValue(query, u"app_id"_s), u"123");
    EXPECT_EQ(formValue(query, u"href"_s), link);
    EXPECT_EQ(formValue(query, u"redirect_uri"_s), link);
    EXPECT_EQ(services.auth.requestCount() + services.graph.requestCount(), 0);
    // The bundled configuration ships no application id, so Facebook says so.
    Manager bundled;
    bundled.delegate = &recorder;
    bundled.postMessageWithText(u"Hi"_s, link, {});
    EXPECT_EQ(recorder.events.last(), u"fail:FacebookNotConfigured");
    EXPECT_EQ(bundled.getAppShortLink(), u"https://numiva.app");
}
