#include "CWebServiceClient.h"

#include "FakeHttpServer.h"
#include "Log.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

using namespace std::chrono_literals;

namespace {

/// What reached a client, kept outside it so that it survives the client.
struct Delivery {
    bool succeeded = false;
    qint32 tag = 0;
    QByteArray data;
    std::optional<HttpResponse> response;
    std::optional<HttpError> error;
    QString failureText;
    bool onMainThread = false;
};

class RecordingClient : public CWebServiceClient {
public:
    explicit RecordingClient(QList<Delivery>& deliveries) : deliveries_(deliveries) {}

    CHttpRequestPtr send(const QString& url, qint32 tag = 0,
                         const std::function<void(HttpRequestSettings&)>& configure = {}) {
        auto request = std::make_shared<CHttpRequest>(QUrl(url));
        request->tag = tag;
        if (configure) {
            configure(request->requestSettings);
        }
        sendAsyncHttpRequest(request);
        return request;
    }

    int pendingOperations() { return operationQueue().operationCount(); }

    void requestSucceeded(CHttpRequest& request, const QByteArray& data) override {
        Delivery delivery;
        delivery.succeeded = true;
        delivery.tag = request.tag;
        delivery.data = data;
        delivery.onMainThread = QThread::currentThread() == qApp->thread();
        deliveries_.append(delivery);
    }

    void requestFailed(CHttpRequest& request, const std::optional<HttpError>& error,
                       const std::optional<HttpResponse>& response,
                       const std::optional<QByteArray>& data) override {
        Delivery delivery;
        delivery.tag = request.tag;
        delivery.data = data.value_or(QByteArray());
        delivery.response = response;
        delivery.error = error;
        delivery.failureText = logRequestFailure(QStringLiteral("Test"), error, response, data);
        delivery.onMainThread = QThread::currentThread() == qApp->thread();
        deliveries_.append(delivery);
    }

private:
    QList<Delivery>& deliveries_;
};

bool waitForDeliveries(const QList<Delivery>& deliveries, int count) {
    return QTest::qWaitFor([&] { return deliveries.size() >= count; }, 10000);
}

/// Lets queued main-thread calls run for a moment, to show that nothing else arrives.
void settle() {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 100) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
}

/// An answer the server holds back until `gate` is released.
FakeHttpServer::Answer held(const QByteArray& body,
                            const std::shared_ptr<FakeHttpServer::Gate>& gate) {
    FakeHttpServer::Answer answer = FakeHttpServer::Answer::text(body);
    answer.gate = gate;
    return answer;
}

}  // namespace

TEST(CWebServiceClient, StatusDecidesSuccessAndFailureText) {
    struct Row {
        int status;
        QByteArray body;
        bool succeeds;
        QString failureText;
    };
    const QList<Row> rows = {
        {200, "", true, {}},
        {200, "payload", true, {}},
        {201, "made", false, QStringLiteral("201 Created")},
        {204, "", false, QStringLiteral("204 No Content")},
        {304, "", false, QStringLiteral("304 Not Modified")},
        {404, "gone", false, QStringLiteral("404 Not Found")},
        {500, "", false, QStringLiteral("500 Internal Server Error")},
        {503, "", false, QStringLiteral("503 Service Unavailable")},
    };
    FakeHttpServer server;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.status);
        server.answer(QStringLiteral("/r"), FakeHttpServer::Answer::text(row.body, row.status));
        LogCapture log;
        QList<Delivery> deliveries;
        RecordingClient client(deliveries);
        client.send(server.url(QStringLiteral("/r")), row.status);
        ASSERT_TRUE(waitForDeliveries(deliveries, 1));
        settle();
        ASSERT_EQ(deliveries.size(), 1);
        const Delivery& delivery = deliveries.first();
        EXPECT_TRUE(delivery.onMainThread);
        EXPECT_EQ(delivery.tag, row.status);
        EXPECT_EQ(delivery.succeeded, row.succeeds);
        if (row.succeeds) {
            EXPECT_EQ(delivery.data, row.body);
        } else {
            EXPECT_FALSE(delivery.error.has_value());
            ASSERT_TRUE(delivery.response.has_value());
            EXPECT_EQ(delivery.response->statusCode, row.status);
            EXPECT_EQ(delivery.failureText, row.failureText);
            // Logged with the standard reason phrase.
            EXPECT_EQ(log.lines(), QStringList{"Test web service request failed with\r\nerror:\r\n"
                                               "response:" +
                                               row.failureText.mid(4) +
                                               "\r\ndata:" + QString::fromUtf8(row.body) + "\r\n"});
        }
    }
}

TEST(CWebServiceClient, RedirectsAreFollowedAndUnfollowableOnesAreResponses) {
    FakeHttpServer server;
    FakeHttpServer::Answer moved = FakeHttpServer::Answer::text("see /new", 302);
    moved.headers.append({"Location", server.url(QStringLiteral("/new")).toUtf8()});
    server.answer(QStringLiteral("/old"), moved);
    server.answer(QStringLiteral("/new"), FakeHttpServer::Answer::text("new"));
    server.answer(QStringLiteral("/nowhere"), FakeHttpServer::Answer::text("moved", 301));

    QList<Delivery> deliveries;
    RecordingClient client(deliveries);
    client.send(server.url(QStringLiteral("/old")), 1);
    client.send(server.url(QStringLiteral("/nowhere")), 2);
    ASSERT_TRUE(waitForDeliveries(deliveries, 2));
    EXPECT_TRUE(deliveries[0].succeeded);
    EXPECT_EQ(deliveries[0].data, "new");
    EXPECT_FALSE(deliveries[1].succeeded);
    EXPECT_FALSE(deliveries[1].error.has_value());
    EXPECT_EQ(deliveries[1].failureText, QStringLiteral("301 Moved Permanently"));
    EXPECT_EQ(deliveries[1].data, "moved");
}

TEST(CWebServiceClient, RefusedOrDroppedConnectionReportsTheTransportErrorText) {
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    FakeHttpServer server;
    server.answer(QStringLiteral("/drop"), FakeHttpServer::Answer::closing());
    const QString refused = QStringLiteral("http://127.0.0.1:%1/x").arg(port);
    for (const QString& address : {refused, server.url(QStringLiteral("/drop"))}) {
        SCOPED_TRACE(address.toStdString());
        LogCapture log;
        QList<Delivery> deliveries;
        RecordingClient client(deliveries);
        client.send(address);
        ASSERT_TRUE(waitForDeliveries(deliveries, 1));
        const Delivery& delivery = deliveries.first();
        EXPECT_FALSE(delivery.succeeded);
        ASSERT_TRUE(delivery.error.has_value());
        EXPECT_EQ(delivery.error->kind, HttpError::Kind::Transport);
        EXPECT_FALSE(delivery.failureText.isEmpty());
        if (address == refused) {
            EXPECT_FALSE(delivery.response.has_value());
            EXPECT_TRUE(
                delivery.failureText.contains(QStringLiteral("refused"), Qt::CaseInsensitive))
                << delivery.failureText.toStdString();
        }
        ASSERT_EQ(log.lines().size(), 1);
        EXPECT_TRUE(log.lines().first().startsWith(
            QStringLiteral("Test web service request failed with\r\nerror:") +
            delivery.failureText + "\r\n"));
    }
}

TEST(CWebServiceClient, LaterQueryWinsAbortsTheEarlierExchangeAndDropsUnstartedRequests) {
    FakeHttpServer server;
    auto gate = std::make_shared<FakeHttpServer::Gate>();
    server.answer(QStringLiteral("/held"), held("held", gate));
    server.answer(QStringLiteral("/other"), FakeHttpServer::Answer::text("other"));

    QList<Delivery> deliveries;
    RecordingClient client(deliveries);
    client.send(server.url(QStringLiteral("/held")), 1);
    client.send(server.url(QStringLiteral("/other")), 2);
    ASSERT_TRUE(server.waitForRequests(1));
    client.cancelAllHttpRequests();
    client.send(server.url(QStringLiteral("/other")), 3);
    // The held exchange is aborted, so the new one runs while the old answer is still held.
    ASSERT_TRUE(waitForDeliveries(deliveries, 1));
    EXPECT_FALSE(gate->isReleased());
    gate->release();
    settle();

    ASSERT_EQ(deliveries.size(), 1);
    EXPECT_EQ(deliveries.first().tag, 3);
    EXPECT_EQ(deliveries.first().data, "other");
    EXPECT_EQ(server.requestCount(), 2);  // /held and the third request; the second never ran
}

TEST(CWebServiceClient, ClientDestroyedMidExchangeDeliversNothing) {
    FakeHttpServer server;
    auto gate = std::make_shared<FakeHttpServer::Gate>();
    server.answer(QStringLiteral("/slow"), held("late", gate));

    QList<Delivery> deliveries;
    auto client = std::make_unique<RecordingClient>(deliveries);
    client->send(server.url(QStringLiteral("/slow")), 1);
    client->send(server.url(QStringLiteral("/slow")), 2);
    ASSERT_TRUE(server.waitForRequests(1));

    QElapsedTimer timer;
    timer.start();
    client.reset();
    // Destruction aborts the exchange instead of waiting for the held answer.
    EXPECT_LT(timer.elapsed(), 5000);
    EXPECT_FALSE(gate->isReleased());
    gate->release();
    settle();
    EXPECT_TRUE(deliveries.isEmpty());
}

TEST(CWebServiceClient, ClientDestroyedWhileItsOutcomeIsQueuedDeliversNothing) {
    FakeHttpServer server;
    server.answer(QStringLiteral("/fast"), FakeHttpServer::Answer::text("fast"));
    QList<Delivery> deliveries;
    auto client = std::make_unique<RecordingClient>(deliveries);
    client->send(server.url(QStringLiteral("/fast")));
    // Without running the main thread's events, wait until the worker has handed the outcome
    // over; it is then queued for a client that goes away before it runs.
    QElapsedTimer timer;
    timer.start();
    while (client->pendingOperations() > 0 && timer.elapsed() < 10000) {
        QThread::yieldCurrentThread();
    }
    ASSERT_EQ(client->pendingOperations(), 0);
    client.reset();
    settle();
    EXPECT_TRUE(deliveries.isEmpty());
}

TEST(CWebServiceClient, TimeoutEndsAsFailure) {
    FakeHttpServer server;
    auto gate = std::make_shared<FakeHttpServer::Gate>();
    server.answer(QStringLiteral("/slow"), held("too late", gate));

    QList<Delivery> deliveries;
    RecordingClient client(deliveries);
    client.setRequestTimeout(200ms);
    client.send(server.url(QStringLiteral("/slow")));
    ASSERT_TRUE(waitForDeliveries(deliveries, 1));
    gate->release();
    const Delivery& delivery = deliveries.first();
    EXPECT_FALSE(delivery.succeeded);
    ASSERT_TRUE(delivery.error.has_value());
    EXPECT_EQ(delivery.error->kind, HttpError::Kind::TimedOut);
    EXPECT_EQ(delivery.failureText, QStringLiteral("The request timed out after 0.2 seconds."));
}

TEST(CWebServiceClient, BodyAboveTheCapEndsAsFailure) {
    struct Row {
        const char* name;
        bool chunked;
    };
    for (const Row& row : {Row{"announced length", false}, Row{"chunked", true}}) {
        SCOPED_TRACE(row.name);
        FakeHttpServer server;
        FakeHttpServer::Answer big = FakeHttpServer::Answer::text(QByteArray(20000, 'x'));
        big.chunked = row.chunked;
        server.answer(QStringLiteral("/big"), big);
        server.answer(QStringLiteral("/fits"), FakeHttpServer::Answer::text(QByteArray(1000, 'y')));

        QList<Delivery> deliveries;
        RecordingClient client(deliveries);
        client.setMaximumBodySize(1000);
        client.send(server.url(QStringLiteral("/big")), 1);
        client.send(server.url(QStringLiteral("/fits")), 2);
        ASSERT_TRUE(waitForDeliveries(deliveries, 2));
        EXPECT_FALSE(deliveries[0].succeeded);
        ASSERT_TRUE(deliveries[0].error.has_value());
        EXPECT_EQ(deliveries[0].error->kind, HttpError::Kind::BodyTooLarge);
        EXPECT_EQ(deliveries[0].failureText,
                  QStringLiteral("The response is larger than the limit of 1000 bytes."));
        EXPECT_TRUE(deliveries[1].succeeded);
        EXPECT_EQ(deliveries[1].data.size(), 1000);
    }
}

TEST(CWebServiceClient, OnlyHttpAndHttpsAddressesAreSent) {
    const QStringList addresses = {
        QStringLiteral("ftp://example.com/rates.xml"),
        QStringLiteral("file:///etc/passwd"),
        QStringLiteral("rates.xml"),
        QStringLiteral("http://"),
    };
    for (const QString& address : addresses) {
        SCOPED_TRACE(address.toStdString());
        QList<Delivery> deliveries;
        RecordingClient client(deliveries);
        client.send(address);
        EXPECT_TRUE(deliveries.isEmpty());  // never from within the call
        ASSERT_TRUE(waitForDeliveries(deliveries, 1));
        const Delivery& delivery = deliveries.first();
        EXPECT_TRUE(delivery.onMainThread);
        EXPECT_FALSE(delivery.succeeded);
        ASSERT_TRUE(delivery.error.has_value());
        EXPECT_EQ(delivery.error->kind, HttpError::Kind::UnsupportedUrl);
        EXPECT_FALSE(delivery.failureText.isEmpty());
    }
}

TEST(CWebServiceClient, SendsMethodHeadersAndBody) {
    FakeHttpServer server;
    server.answer(QStringLiteral("/post"), FakeHttpServer::Answer::text("ok"));
    QList<Delivery> deliveries;
    RecordingClient client(deliveries);
    client.send(
        server.url(QStringLiteral("/post?a=1&b=two")), 0, [](HttpRequestSettings& settings) {
            settings.method = "POST";
            settings.setHeader(CHttpRequest::contentTypeHeaderFieldName().toUtf8(), "text/xml");
            settings.setHeader("X-One", "first");
            settings.setHeader("x-one", "replaced");
            settings.body = "<body/>";
            settings.cachePolicy = HttpCachePolicy::ReloadIgnoringLocalCacheData;
        });
    ASSERT_TRUE(waitForDeliveries(deliveries, 1));
    EXPECT_TRUE(deliveries.first().succeeded);
    ASSERT_EQ(server.requestCount(), 1);
    const FakeHttpServer::Request request = server.requests().first();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, QStringLiteral("/post"));
    EXPECT_EQ(request.queryValues(QStringLiteral("b")), QStringList{QStringLiteral("two")});
    EXPECT_EQ(request.header("Content-Type"), "text/xml");
    EXPECT_EQ(request.header("X-One"), "replaced");
    EXPECT_EQ(request.body, "<body/>");
}

TEST(CWebServiceClient, FollowUpRequestFromTheSuccessHandlerIsDelivered) {
    class ChainingClient : public RecordingClient {
    public:
        using RecordingClient::RecordingClient;
        QString next;
        void requestSucceeded(CHttpRequest& request, const QByteArray& data) override {
            RecordingClient::requestSucceeded(request, data);
            if (!next.isEmpty()) {
                send(std::exchange(next, QString()), request.tag + 1);
            }
        }
    };
    FakeHttpServer server;
    server.answer(QStringLiteral("/first"), FakeHttpServer::Answer::text("1"));
    server.answer(QStringLiteral("/second"), FakeHttpServer::Answer::text("2"));
    QList<Delivery> deliveries;
    ChainingClient client(deliveries);
    client.next = server.url(QStringLiteral("/second"));
    client.send(server.url(QStringLiteral("/first")), 1);
    ASSERT_TRUE(waitForDeliveries(deliveries, 2));
    EXPECT_EQ(deliveries[0].data, "1");
    EXPECT_EQ(deliveries[1].data, "2");
    EXPECT_EQ(deliveries[1].tag, 2);
}

TEST(CHttpRequest, ReasonPhrases) {
    const QList<QPair<int, QString>> rows = {
        {200, QStringLiteral("OK")},           {301, QStringLiteral("Moved Permanently")},
        {404, QStringLiteral("Not Found")},    {418, QStringLiteral("I'm a teapot")},
        {299, QStringLiteral("Success")},      {499, QStringLiteral("Client Error")},
        {599, QStringLiteral("Server Error")}, {0, QStringLiteral("Unknown Status")},
    };
    for (const auto& [code, phrase] : rows) {
        EXPECT_EQ(HttpResponse::localizedStringForStatusCode(code), phrase) << code;
    }
    EXPECT_EQ(CWebServiceClient::failureDescription(std::nullopt, std::nullopt).isEmpty(), false);
}

TEST(CHttpRequest, SoapEnvelope) {
    const QByteArray head =
        "<?xml version='1.0' encoding='utf-8'?>\r\n"
        "<soap:Envelope xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance' "
        "xmlns:xsd='http://www.w3.org/2001/XMLSchema' "
        "xmlns:soap='http://schemas.xmlsoap.org/soap/envelope/'>\r\n<soap:Body>\r\n";
    const QByteArray tail = "</soap:Body>\r\n</soap:Envelope>\r\n";
    EXPECT_EQ(CHttpRequest::wrapSoapEnvelopeWithData({}), head + tail);
    EXPECT_EQ(CHttpRequest::wrapSoapEnvelopeWithData("<a>\xd0\xb9</a>"),
              head + "<a>\xd0\xb9</a>" + tail);
}
