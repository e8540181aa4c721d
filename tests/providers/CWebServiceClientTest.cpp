// The web client frame and the operation queue under it, as one table of exchanges: each row
// sets up the fake server, drives a client (or a bare queue) and is judged by the transcript of
// what was delivered, in order.
#include "CWebServiceClient.h"

#include "FakeHttpServer.h"
#include "Log.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QMutex>
#include <QSemaphore>
#include <QTcpServer>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>

using namespace std::chrono_literals;

namespace {

/// Records every outcome as one transcript line: "<tag> ok <body>" or "<tag> failed <text>",
/// with "(worker)" appended when it arrived off the main thread.
class RecordingClient : public CWebServiceClient {
public:
    explicit RecordingClient(QStringList& transcript) : transcript_(transcript) {}

    void send(const QString& url, qint32 tag,
              const std::function<void(HttpRequestSettings&)>& configure = {}) {
        auto request = std::make_shared<CHttpRequest>(QUrl(url));
        request->tag = tag;
        if (configure) {
            configure(request->requestSettings);
        }
        sendAsyncHttpRequest(request);
    }
    int pendingOperations() { return operationQueue().operationCount(); }

    void requestSucceeded(CHttpRequest& request, const QByteArray& data) override {
        record(QStringLiteral("%1 ok %2").arg(request.tag).arg(QString::fromUtf8(data.left(40))));
    }
    void requestFailed(CHttpRequest& request, const std::optional<HttpError>& error,
                       const std::optional<HttpResponse>& response,
                       const std::optional<QByteArray>& data) override {
        const QString text = logRequestFailure(QStringLiteral("Test"), error, response, data);
        record(QStringLiteral("%1 failed %2").arg(request.tag).arg(text));
    }

private:
    void record(const QString& line) {
        transcript_.append(line + (QThread::currentThread() == qApp->thread()
                                       ? QString()
                                       : QStringLiteral(" (worker)")));
    }
    QStringList& transcript_;
};

/// Lets queued main-thread calls run for a moment, to show that nothing else arrives.
void settle() {
    QTest::qWait(100);
}

struct World {
    FakeHttpServer server;
    QStringList transcript;
    std::shared_ptr<FakeHttpServer::Gate> gate = std::make_shared<FakeHttpServer::Gate>();
    LogCapture log;

    QString url(const char* path) const { return server.url(QString::fromLatin1(path)); }
    void serve(const char* path, const QByteArray& body, int status = 200) {
        server.answer(QString::fromLatin1(path), FakeHttpServer::Answer::text(body, status));
    }
    void serveHeld(const char* path, const QByteArray& body) {
        FakeHttpServer::Answer answer = FakeHttpServer::Answer::text(body);
        answer.gate = gate;
        server.answer(QString::fromLatin1(path), answer);
    }
    void waitFor(int count) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return transcript.size() >= count; }, 10000));
        settle();
    }
};

struct Row {
    const char* name;
    std::function<void(World&)> run;
    QStringList transcript;
    int requests = -1;  // checked when not negative
};

QString refusingAddress() {
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost));
    return QStringLiteral("http://127.0.0.1:%1/x").arg(probe.serverPort());
}

const QList<Row>& rows() {
    static const QList<Row> table = {
        // Only 200 is success; every other status fails with "%d %@" and is logged whole.
        {"status decides success",
         [](World& w) {
             int tag = 0;
             for (const int status : {200, 201, 204, 304, 404, 503}) {
                 const QByteArray path = "/s" + QByteArray::number(status);
                 w.serve(path.constData(), status == 204 ? "" : "body", status);
                 RecordingClient client(w.transcript);
                 client.send(w.url(path.constData()), ++tag);
                 w.waitFor(tag);
             }
             EXPECT_EQ(w.log.lines().value(1),
                       "Test web service request failed with\r\nerror:\r\nresponse:No Content"
                       "\r\ndata:\r\n");
         },
         {"1 ok body", "2 failed 201 Created", "3 failed 204 No Content",
          "4 failed 304 Not Modified", "5 failed 404 Not Found",
          "6 failed 503 Service Unavailable"}},
        {"redirects are followed; one without a target is a response",
         [](World& w) {
             FakeHttpServer::Answer moved = FakeHttpServer::Answer::text("see /new", 302);
             moved.headers.append({"Location", w.url("/new").toUtf8()});
             w.server.answer(QStringLiteral("/old"), moved);
             w.serve("/new", "new");
             w.serve("/nowhere", "moved", 301);
             // A hostile server cannot send the client to a local file.
             FakeHttpServer::Answer toFile = FakeHttpServer::Answer::text("see file", 302);
             toFile.headers.append({"Location", QByteArray("file:///etc/passwd")});
             w.server.answer(QStringLiteral("/file"), toFile);
             RecordingClient client(w.transcript);
             client.send(w.url("/old"), 1);
             client.send(w.url("/nowhere"), 2);
             client.send(w.url("/file"), 3);
             w.waitFor(3);
         },
         {"1 ok new", "2 failed 301 Moved Permanently", "3 failed 302 Found"}},
        {"a refused connection reports the transport's text",
         [](World& w) {
             RecordingClient client(w.transcript);
             client.send(refusingAddress(), 1);
             w.waitFor(1);
             ASSERT_EQ(w.log.lines().size(), 1);
             EXPECT_TRUE(w.log.lines().first().startsWith(
                 "Test web service request failed with\r\nerror:" + w.transcript.first().mid(9)));
         },
         {"1 failed FailureCannotConnect (Connection refused)"}},
        {"only http and https addresses are sent, and never answered from within the call",
         [](World& w) {
             RecordingClient client(w.transcript);
             int tag = 0;
             for (const char* address :
                  {"ftp://example.com/r.xml", "file:///etc/passwd", "rates.xml", "http://"}) {
                 client.send(QString::fromLatin1(address), ++tag);
             }
             EXPECT_TRUE(w.transcript.isEmpty());
             w.waitFor(4);
             for (QString& line : w.transcript) {
                 line = line.section(u' ', 0, 1);
             }
         },
         {"1 failed", "2 failed", "3 failed", "4 failed"},
         0},
        {"a later query aborts the exchange in flight and drops requests not yet started",
         [](World& w) {
             w.serveHeld("/held", "held");
             w.serve("/other", "other");
             RecordingClient client(w.transcript);
             client.send(w.url("/held"), 1);
             client.send(w.url("/other"), 2);
             ASSERT_TRUE(w.server.waitForRequests(1));
             client.cancelAllHttpRequests();
             client.send(w.url("/other"), 3);
             w.waitFor(1);
             EXPECT_FALSE(w.gate->isReleased());  // the new exchange did not wait for the old
         },
         {"3 ok other"},
         2},
        {"a client destroyed mid-exchange aborts it and delivers nothing",
         [](World& w) {
             w.serveHeld("/slow", "late");
             auto client = std::make_unique<RecordingClient>(w.transcript);
             client->send(w.url("/slow"), 1);
             client->send(w.url("/slow"), 2);
             ASSERT_TRUE(w.server.waitForRequests(1));
             client.reset();
             EXPECT_FALSE(w.gate->isReleased());
             w.gate->release();
             settle();
         },
         {},
         1},
        {"a client destroyed while its outcome is queued delivers nothing",
         [](World& w) {
             w.serve("/fast", "fast");
             auto client = std::make_unique<RecordingClient>(w.transcript);
             client->send(w.url("/fast"), 1);
             // Without running the main thread's events, wait until the worker has handed the
             // outcome over to a client that goes away before it runs.
             QElapsedTimer timer;
             timer.start();
             while (client->pendingOperations() > 0 && timer.elapsed() < 10000) {
                 QThread::yieldCurrentThread();
             }
             client.reset();
             settle();
         },
         {}},
        {"the timeout ends a slow exchange",
         [](World& w) {
             w.serveHeld("/slow", "too late");
             RecordingClient client(w.transcript);
             client.setRequestTimeout(200ms);
             client.send(w.url("/slow"), 1);
             w.waitFor(1);
             w.gate->release();
         },
         {"1 failed FailureTimedOut (the request timed out after 0.2 seconds)"}},
        {"a body above the cap fails, announced or chunked; one at the cap passes",
         [](World& w) {
             FakeHttpServer::Answer big = FakeHttpServer::Answer::text(QByteArray(20000, 'x'));
             w.server.answer(QStringLiteral("/big"), big);
             big.chunked = true;
             w.server.answer(QStringLiteral("/chunked"), big);
             w.serve("/fits", QByteArray(1000, 'y'));
             RecordingClient client(w.transcript);
             client.setMaximumBodySize(1000);
             client.send(w.url("/big"), 1);
             client.send(w.url("/chunked"), 2);
             client.send(w.url("/fits"), 3);
             w.waitFor(3);
         },
         {"1 failed The response is larger than the limit of 1000 bytes.",
          "2 failed The response is larger than the limit of 1000 bytes.",
          "3 ok " + QString(40, u'y')}},
        {"method, headers (the last of a name wins) and body are sent",
         [](World& w) {
             w.serve("/post", "ok");
             RecordingClient client(w.transcript);
             client.send(w.url("/post?a=1&b=two"), 1, [](HttpRequestSettings& settings) {
                 settings.method = "POST";
                 settings.setHeader("Content-Type", "text/xml");
                 settings.setHeader("X-One", "first");
                 settings.setHeader("x-one", "replaced");
                 settings.body = "<body/>";
             });
             w.waitFor(1);
             const FakeHttpServer::Request request = w.server.requests().value(0);
             w.transcript.append(QStringLiteral("%1 %2 %3 %4 %5")
                                     .arg(QString::fromLatin1(request.method), request.target,
                                          QString::fromLatin1(request.header("Content-Type")),
                                          QString::fromLatin1(request.header("X-One")),
                                          QString::fromLatin1(request.body)));
         },
         {"1 ok ok", "POST /post?a=1&b=two text/xml replaced <body/>"}},
        // The queue itself: in order on its own thread; a cancel skips queued work and flags the
        // running operation, and work added afterwards runs; destruction finishes queued work.
        {"the queue runs in order on its thread, cancels and finishes on destruction",
         [](World& w) {
             QStringList& out = w.transcript;
             QMutex mutex;
             const auto note = [&](const QString& line) {
                 QMutexLocker lock(&mutex);
                 out.append(line);
             };
             {
                 OperationQueue queue(QStringLiteral("test"));
                 for (int i = 0; i < 3; ++i) {
                     queue.addOperation([&, i](const Operation&) {
                         note(QStringLiteral("run %1%2")
                                  .arg(i)
                                  .arg(QThread::currentThread() == queue.thread() ? ""
                                                                                  : " elsewhere"));
                     });
                 }
                 queue.waitUntilAllOperationsAreFinished();
                 QSemaphore started;
                 QSemaphore release;
                 queue.addOperation([&](const Operation& operation) {
                     started.release();
                     release.acquire();
                     note(operation.isCancelled() ? "running one sees the cancel" : "no cancel");
                 });
                 queue.addOperation([&](const Operation&) { note("queued one ran"); });
                 started.acquire();
                 queue.cancelAllOperations();
                 release.release();
                 queue.waitUntilAllOperationsAreFinished();
                 for (int i = 0; i < 2; ++i) {
                     queue.addOperation([&](const Operation&) { note("added later"); });
                 }
             }
         },
         {"run 0", "run 1", "run 2", "running one sees the cancel", "added later", "added later"}},
    };
    return table;
}

TEST(WebClient, Exchanges) {
    for (const Row& row : rows()) {
        SCOPED_TRACE(row.name);
        World world;
        row.run(world);
        EXPECT_EQ(world.transcript, row.transcript);
        EXPECT_TRUE(row.requests < 0 || world.server.requestCount() == row.requests);
    }
}

TEST(CHttpRequest, ReasonPhrases) {
    const QList<QPair<int, QString>> phrases = {
        {418, QStringLiteral("I'm a teapot")}, {299, QStringLiteral("Success")},
        {499, QStringLiteral("Client Error")}, {599, QStringLiteral("Server Error")},
        {0, QStringLiteral("Unknown Status")},
    };
    for (const auto& [code, phrase] : phrases) {
        EXPECT_EQ(HttpResponse::localizedStringForStatusCode(code), phrase) << code;
    }
    EXPECT_FALSE(CWebServiceClient::failureDescription(std::nullopt, std::nullopt).isEmpty());
}

}  // namespace
