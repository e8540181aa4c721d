#include "CCustomCurrenciesWebServiceClient.h"
#include "CCustomCurrenciesXMLParserDelegate.h"
#include "CCustomDataSourceMetadataUpdater.h"
#include "CCustomDataSourceStorageManager.h"
#include "FakeHttpServer.h"
#include "GoldenCases.h"
#include "Log.h"
#include "NotificationCenter.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeZone>

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

/// A feed file of tests/data/custom with {{BASE}} replaced by the server's address.
QByteArray feedFor(const FakeHttpServer& server, const QString& file) {
    return FakeHttpServer::testData(QStringLiteral("custom/") + file)
        .replace("{{BASE}}", server.baseUrl().toUtf8());
}

class CustomFeedTest : public ::testing::Test {
protected:
    FakeHttpServer server;
    CCustomCurrenciesWebServiceClient client;
    Recorder recorder;

    void SetUp() override { client.delegate = &recorder; }

    /// Serves a feed file with {{BASE}} replaced by the server's address.
    void serveFeed(const QString& file, const QString& path = QStringLiteral("/feed.xml")) {
        server.answer(path, Answer::text(feedFor(server, file), 200, "application/xml"));
    }

    void query(const QString& path = QStringLiteral("/feed.xml")) {
        client.queryCurrenciesWithUrl(server.url(path));
        ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.calls > 0; }, 10000));
        QCoreApplication::processEvents();  // a second, wrong call would arrive here
        EXPECT_EQ(recorder.calls, 1);
    }
};

/// The recorded feeds of tests/data/custom/expected.txt (the format is in GoldenCases.h): a
/// case's query is the feed's path on the server, or a whole address; its outcome the requests,
/// "CODE=dollars per unit" rows, the name, the logo's size, or the failure and the log.
TEST(CustomFeedGolden, RecordedFeedsGiveTheExpectedTables) {
    golden::expectGolden(
        QStringLiteral(NUMIVA_TEST_DATA "/custom/expected.txt"), [](const golden::Case& testCase) {
            FakeHttpServer server;
            golden::serve(
                server, QStringLiteral("custom"), testCase,
                [](const FakeHttpServer::Request& request) { return request.path.mid(1); });
            const QString target = testCase.arguments().value(0);
            LogCapture log;
            Recorder recorder;
            {
                CCustomCurrenciesWebServiceClient client;
                client.delegate = &recorder;
                client.queryCurrenciesWithUrl(
                    target.contains(QLatin1String(":")) ? target : server.url(target));
                if (!QTest::qWaitFor([&] { return recorder.calls > 0; }, 10000)) {
                    return QStringList{QStringLiteral("no outcome")};
                }
                QTest::qWait(20);  // a second, wrong call would arrive here
            }
            QStringList outcome = golden::describeRequests(server);
            if (recorder.calls != 1) {
                outcome.append(QStringLiteral("calls: %1").arg(recorder.calls));
            }
            if (recorder.rates) {
                outcome += recorder.rows();
                outcome.append(QStringLiteral("name: ") +
                               recorder.name.value_or(QStringLiteral("none")));
                outcome.append(recorder.logo
                                   ? QStringLiteral("logo: %1 bytes").arg(recorder.logo->size())
                                   : QStringLiteral("logo: none"));
            }
            return golden::describeEnd(
                outcome, recorder.failure ? QStringList{*recorder.failure} : QStringList(),
                log.lines(), server);
        });
}

TEST(CustomFeedDate, ADayOrAMomentWithItsOffsetDatesEveryRow) {
    CCustomCurrenciesXMLParserDelegate handler;
    XmlParser parser(
        QByteArray("<DataSource date=' 2026-12-04 ' baseCurrency='USD'>"
                   "<Currency code='EUR' value='0.8'/></DataSource>"));
    ASSERT_TRUE(parser.parse(handler));
    const QDateTime day(QDate(2026, 12, 4), QTime(0, 0), QTimeZone::utc());
    for (const CCBRCurrencyInfoPtr& row : handler.currenciesInfo->currenciesInfo) {
        EXPECT_EQ(row->actualDate, day);
    }
    using H = CCustomCurrenciesXMLParserDelegate;
    EXPECT_EQ(H::dateFromText(QStringLiteral("2026-12-04T16:00:00+01:00")), day.addSecs(15 * 3600));
    // A local time of an unknown place, or another form, dates nothing: the fetch does.
    EXPECT_FALSE(H::dateFromText(QStringLiteral("2026-12-04T16:00:00")).isValid() ||
                 H::dateFromText(QStringLiteral("04.12.2026")).isValid());
}

TEST_F(CustomFeedTest, ALogoOver2MiBIsRefused) {
    serveFeed(QStringLiteral("feed.xml"));
    server.answer(
        QStringLiteral("/logo.jpeg"),
        Answer::text(QByteArray(CCustomCurrenciesWebServiceClient::maximumLogoSize + 1, 'x'), 200,
                     "image/jpeg"));
    query();
    ASSERT_TRUE(recorder.failure);
    EXPECT_FALSE(recorder.failure->isEmpty() || recorder.rates);
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
    QByteArray feed(const QString& file) { return feedFor(server, file); }
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
    EXPECT_TRUE(a->logoImagePath);
    EXPECT_EQ(QDir(dir.filePath(QStringLiteral("DataSourceLogos"))).entryList(QDir::Files).size(),
              1);
    const auto b = registry->getDataSourceWithUrl(server.url(QStringLiteral("/b.xml")));
    EXPECT_FALSE(b->displayName || b->currenciesList)
        << "a failing feed leaves its entry as it was";
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
