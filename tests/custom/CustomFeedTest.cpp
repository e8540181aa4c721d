#include "CCustomCurrenciesWebServiceClient.h"
#include "CCustomDataSourceMetadataUpdater.h"
#include "CCustomDataSourceStorageManager.h"
#include "FakeHttpServer.h"
#include "Log.h"
#include "NotificationCenter.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Answer = FakeHttpServer::Answer;

/// Records the one delegate call a query ends with.
class Recorder : public CCustomCurrenciesWebServiceClientDelegate {
public:
    int calls = 0;
    CCBRCurrenciesInfoPtr rates;
    std::optional<QString> name;
    std::optional<QByteArray> logo;
    std::optional<QString> failure;

    void customCurrenciesQueryCurrenciesCompleted(CCustomCurrenciesWebServiceClient*,
                                                  CCBRCurrenciesInfoPtr r,
                                                  const std::optional<QString>& n,
                                                  const std::optional<QByteArray>& l) override {
        ++calls;
        rates = std::move(r);
        name = n;
        logo = l;
    }
    void customCurrenciesQueryFailed(CCustomCurrenciesWebServiceClient*,
                                     const QString& text) override {
        ++calls;
        failure = text;
    }

    QStringList rows() const {
        QStringList out;
        for (const auto& row : rates->currenciesInfo) {
            out << row->isoTextCode + u'=' + row->saleValueForCurrency().toString();
        }
        return out;
    }
};

class CustomFeedTest : public ::testing::Test {
protected:
    FakeHttpServer server;
    CCustomCurrenciesWebServiceClient client;
    Recorder recorder;

    void SetUp() override { client.delegate = &recorder; }

    /// Serves a feed file with {{BASE}} replaced by the server's address.
    void serveFeed(const QString& file, const QString& path = QStringLiteral("/feed.xml")) {
        QByteArray body = FakeHttpServer::testData(QStringLiteral("custom/") + file);
        body.replace("{{BASE}}", server.baseUrl().toUtf8());
        server.answer(path, Answer::text(body, 200, "application/xml"));
    }

    void query(const QString& path = QStringLiteral("/feed.xml")) {
        client.queryCurrenciesWithUrl(server.url(path));
        ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.calls > 0; }, 10000));
        QCoreApplication::processEvents();  // a second, wrong call would arrive here
        EXPECT_EQ(recorder.calls, 1);
    }
};

TEST_F(CustomFeedTest, TheExampleFeedWithItsLogo) {
    serveFeed(QStringLiteral("feed.xml"));
    server.answer(QStringLiteral("/logo.jpeg"),
                  Answer::file(QStringLiteral("custom/logo.jpeg"), "image/jpeg"));
    query();
    ASSERT_FALSE(recorder.failure) << recorder.failure->toStdString();
    EXPECT_EQ(recorder.rows(), (QStringList{"USD=1", "EUR=1.298701298701298701298701298701299",
                                            "JPY=0.01050420168067226890756302521008403"}));
    EXPECT_EQ(recorder.name, QStringLiteral("Numiva sample bank"));
    EXPECT_EQ(recorder.logo, FakeHttpServer::testData(QStringLiteral("custom/logo.jpeg")));
    ASSERT_EQ(server.requestCount(), 2);
    EXPECT_EQ(server.requests()[1].path, QStringLiteral("/logo.jpeg"));
}

struct FeedCase {
    const char* file;
    QStringList rows;
    std::optional<QString> name;
};

class CustomFeedFiles : public CustomFeedTest, public ::testing::WithParamInterface<FeedCase> {};

TEST_P(CustomFeedFiles, ReadAsTheFeedSays) {
    serveFeed(QString::fromLatin1(GetParam().file));
    query();
    ASSERT_FALSE(recorder.failure) << recorder.failure->toStdString();
    EXPECT_EQ(recorder.rows(), GetParam().rows);
    EXPECT_EQ(recorder.name, GetParam().name);
    EXPECT_FALSE(recorder.logo.has_value());
    EXPECT_EQ(server.requestCount(), 1) << "no logo: one request";
}

INSTANTIATE_TEST_SUITE_P(
    Feeds, CustomFeedFiles,
    ::testing::Values(
        // trimmed but not upper-cased; "True" is not "true"; the name is taken unchanged
        FeedCase{"feed-nologo.xml",
                 {"usd=1", "EUR=0.7692307692307692307692307692307692"},
                 QStringLiteral(" Spaced name ")},
        // a Currency before any DataSource reads direct values; a second DataSource adds its row
        FeedCase{
            "feed-inverse.xml",
            {"GBP=1.538461538461538461538461538461538", "USD=1", "EUR=1.3", "EUR=1", "CHF=0.8"},
            QStringLiteral("Second")},
        // zero, negative, unreadable and missing values and codes are skipped
        FeedCase{"feed-badrows.xml",
                 {"USD=1", "JPY=0.01050420168067226890756302521008403"},
                 QStringLiteral("Holes")},
        FeedCase{"feed-empty.xml", {}, QStringLiteral("Empty")},
        FeedCase{"feed-cp1251.xml",
                 {"UAH=1", "USD=0.1234567901234567901234567901234568"},
                 QStringLiteral("Банк «Пример»")},
        FeedCase{"feed-latin1.xml", {"EUR=1", "USD=0.8"}, QStringLiteral("Banco Económico")}),
    [](const auto& info) {
        return QString::fromLatin1(info.param.file)
            .remove(u'-')
            .remove(QStringLiteral(".xml"))
            .toStdString();
    });

TEST_F(CustomFeedTest, ALogoOver2MiBIsRefused) {
    serveFeed(QStringLiteral("feed.xml"));
    server.answer(
        QStringLiteral("/logo.jpeg"),
        Answer::text(QByteArray(CCustomCurrenciesWebServiceClient::maximumLogoSize + 1, 'x'), 200,
                     "image/jpeg"));
    query();
    ASSERT_TRUE(recorder.failure);
    EXPECT_FALSE(recorder.failure->isEmpty());
    EXPECT_FALSE(recorder.rates);
}

TEST_F(CustomFeedTest, FeedFailuresAreLoggedAndReported) {
    serveFeed(QStringLiteral("feed-truncated.xml"));
    query();
    ASSERT_TRUE(recorder.failure);
    EXPECT_FALSE(recorder.failure->isEmpty()) << "the parser's text";

    recorder = Recorder();
    server.answer(QStringLiteral("/gone.xml"), Answer::text("nope", 500));
    LogCapture log;
    query(QStringLiteral("/gone.xml"));
    EXPECT_EQ(recorder.failure, QStringLiteral("500 Internal Server Error"));
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().first().startsWith(
        QStringLiteral("Custom currencies web service request failed "
                       "with\r\nerror:\r\nresponse:Internal Server Error")));
}

TEST_F(CustomFeedTest, AddressesOtherThanHttpAreRefused) {
    for (const char* url : {"file:///etc/passwd", "ftp://127.0.0.1/feed.xml", "not a url"}) {
        recorder = Recorder();
        client.queryCurrenciesWithUrl(QString::fromLatin1(url));
        ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.calls > 0; }, 10000)) << url;
        ASSERT_TRUE(recorder.failure) << url;
        EXPECT_FALSE(recorder.failure->isEmpty());
    }
    QByteArray feed = FakeHttpServer::testData(QStringLiteral("custom/feed.xml"));
    feed.replace("{{BASE}}/logo.jpeg", "file:///etc/hostname");
    server.answer(QStringLiteral("/feed.xml"), Answer::text(feed));
    recorder = Recorder();
    query();
    EXPECT_TRUE(recorder.failure);
    EXPECT_EQ(server.requestCount(), 1);
}

TEST_F(CustomFeedTest, ANewQueryCancelsBothSteps) {
    auto gate = std::make_shared<FakeHttpServer::Gate>();
    serveFeed(QStringLiteral("feed.xml"));
    Answer slowLogo = Answer::file(QStringLiteral("custom/logo.jpeg"), "image/jpeg");
    slowLogo.gate = gate;
    server.answer(QStringLiteral("/logo.jpeg"), slowLogo);
    serveFeed(QStringLiteral("feed-latin1.xml"), QStringLiteral("/other.xml"));
    client.queryCurrenciesWithUrl(server.url(QStringLiteral("/feed.xml")));
    ASSERT_TRUE(server.waitForRequests(1));
    // Wait until the logo step is under way, then start another query.
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requestCount() == 2; }, 10000));
    query(QStringLiteral("/other.xml"));
    gate->release();
    QTest::qWait(50);
    EXPECT_EQ(recorder.calls, 1);
    EXPECT_EQ(recorder.name, QStringLiteral("Banco Económico"));
}

class UpdaterTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    FakeHttpServer server;
    NotificationCenter center;
    int updates = 0;
    std::unique_ptr<CCustomDataSourceStorageManager> registry =
        std::make_unique<CCustomDataSourceStorageManager>(
            dir.filePath(QStringLiteral("CustomDataSourceStorage.sqlite")),
            dir.filePath(QStringLiteral("DataSourceLogos")));

    void SetUp() override {
        center.addObserver(this, CCustomDataSourceMetadataUpdater::CustomDataSourceMetadataUpdated,
                           nullptr, [this](const QString&, const void*) { ++updates; });
    }
    QByteArray feed(const QString& file) {
        QByteArray body = FakeHttpServer::testData(QStringLiteral("custom/") + file);
        return body.replace("{{BASE}}", server.baseUrl().toUtf8());
    }
};

TEST_F(UpdaterTest, RefreshStoresNameLogoAndCodesOfEverySource) {
    server.answer(QStringLiteral("/a.xml"), Answer::text(feed(QStringLiteral("feed.xml"))));
    server.answer(QStringLiteral("/logo.jpeg"), Answer::file(QStringLiteral("custom/logo.jpeg")));
    server.answer(QStringLiteral("/b.xml"), Answer::text("broken <", 200));
    registry->addDataSourceWithUrl(server.url(QStringLiteral("/a.xml")));
    registry->addDataSourceWithUrl(server.url(QStringLiteral("/b.xml")));
    CCustomDataSourceMetadataUpdater updater(*registry, center);
    updater.queryMetadataUpdate();
    ASSERT_TRUE(QTest::qWaitFor([&] { return updater.pendingQueryCount() == 0; }, 10000));
    EXPECT_EQ(updates, 1);
    const auto a = registry->getDataSourceWithUrl(server.url(QStringLiteral("/a.xml")));
    EXPECT_EQ(a->displayName, QStringLiteral("Numiva sample bank"));
    EXPECT_EQ(a->currenciesList, (QStringList{"USD", "EUR", "JPY"}));
    ASSERT_TRUE(a->logoImagePath);
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("DataSourceLogos"))).entryList(QDir::Files).size(),
              1);
    const auto b = registry->getDataSourceWithUrl(server.url(QStringLiteral("/b.xml")));
    EXPECT_FALSE(b->displayName) << "a failing feed leaves its entry as it was";
    EXPECT_FALSE(b->currenciesList);
}

TEST_F(UpdaterTest, ASlowFeedIsWaitedForAndAnUnchangedOneChangesNothing) {
    auto gate = std::make_shared<FakeHttpServer::Gate>();
    Answer slow = Answer::text(feed(QStringLiteral("feed.xml")));
    slow.headers = {{"ETag", "\"v1\""}};
    slow.gate = gate;
    server.answer(QStringLiteral("/a.xml"), QList<Answer>{slow, Answer::text("", 304)});
    Answer logo = Answer::file(QStringLiteral("custom/logo.jpeg"));
    logo.headers = {{"Last-Modified", "Tue, 12 Mar 2013 10:00:00 GMT"}};
    server.answer(QStringLiteral("/logo.jpeg"), logo);
    registry->addDataSourceWithUrl(server.url(QStringLiteral("/a.xml")));
    CCustomDataSourceMetadataUpdater updater(*registry, center, std::chrono::milliseconds(20));
    updater.scheduleMetadataUpdate();
    ASSERT_TRUE(server.waitForRequests(1));
    QTest::qWait(100);  // many intervals
    EXPECT_EQ(server.requestCount(), 1) << "the next round waits for the slow feed";
    gate->release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return updates == 1; }, 10000));
    const QString logoPath =
        *registry->getDataSourceWithUrl(server.url(QStringLiteral("/a.xml")))->logoImagePath;
    const QDateTime written = QFileInfo(logoPath).lastModified();
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requestCount() >= 4; }, 10000));
    const auto again = server.requests().at(2);
    EXPECT_EQ(again.path, QStringLiteral("/a.xml"));
    EXPECT_EQ(again.header("If-None-Match"), QByteArray("\"v1\""));
    QTest::qWait(50);
    EXPECT_EQ(updates, 1) << "a 304 changes nothing";
    EXPECT_EQ(QFileInfo(logoPath).lastModified(), written);
    EXPECT_EQ(server.requests().at(3).path, QStringLiteral("/a.xml")) << "no logo download";
}

}  // namespace
