#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace httplib {
class Server;
}

/// A local HTTP server for tests (cpp-httplib on 127.0.0.1, an ephemeral port, its own threads).
/// It answers from canned answers (usually files under tests/data/), records every request for
/// assertions, and can hold an answer until the test releases it, answer any status, or drop
/// the connection in the middle of an answer.
class FakeHttpServer {
public:
    /// What the server received.
    struct Request {
        QByteArray method;
        /// The path without the query ("/d/quotes.csv").
        QString path;
        /// The request target as sent: path and query.
        QString target;
        /// The query parameters in the order sent, decoded.
        QList<QPair<QString, QString>> query;
        QList<QPair<QByteArray, QByteArray>> headers;
        QByteArray body;

        /// Every value of the query parameter `key`, in order.
        QStringList queryValues(const QString& key) const;
        /// The first value of the header `name` (compared without case), or empty.
        QByteArray header(const QByteArray& name) const;
    };

    /// Holds answers back until the test releases it (no sleeping on either side).
    class Gate {
    public:
        void release();
        bool isReleased() const;
        /// Blocks until released.
        void wait();

    private:
        mutable std::mutex mutex_;
        std::condition_variable released_;
        bool isReleased_ = false;
    };

    /// One answer.
    struct Answer {
        int status = 200;
        QByteArray body;
        QByteArray contentType = "text/plain; charset=utf-8";
        QList<QPair<QByteArray, QByteArray>> headers;
        /// Sends the status line and headers announcing the body, then drops the connection.
        bool closeConnection = false;
        /// Sends the body in chunks, without announcing its length.
        bool chunked = false;
        /// When set, the answer waits until the gate is released (the request is recorded at
        /// once, so the test can first wait for it to arrive).
        std::shared_ptr<Gate> gate;

        /// The bytes of tests/data/`relativePath`, unchanged.
        static Answer file(const QString& relativePath,
                           const QByteArray& contentType = "text/plain; charset=utf-8");
        static Answer text(const QByteArray& body, int status = 200,
                           const QByteArray& contentType = "text/plain; charset=utf-8");
        static Answer closing();
    };

    using Handler = std::function<Answer(const Request&)>;

    /// Starts listening at once.
    FakeHttpServer();
    /// Releases every held answer, then stops.
    ~FakeHttpServer();
    FakeHttpServer(const FakeHttpServer&) = delete;
    FakeHttpServer& operator=(const FakeHttpServer&) = delete;

    int port() const { return port_; }
    /// "http://127.0.0.1:<port>".
    QString baseUrl() const;
    /// `baseUrl` followed by `pathAndQuery`.
    QString url(const QString& pathAndQuery) const;

    /// Answers for requests to `path` (GET or POST), used in order; the last one repeats.
    void answer(const QString& path, QList<Answer> answers);
    void answer(const QString& path, Answer answer) { this->answer(path, QList<Answer>{answer}); }
    /// Answers every request, before any path answers; an empty handler removes it. Paths
    /// without any answer get 404 Not Found.
    void setHandler(Handler handler);

    QList<Request> requests() const;
    int requestCount() const;
    void clearRequests();
    /// Blocks (without spinning the caller's event loop) until `count` requests have arrived;
    /// false after `timeout`.
    bool waitForRequests(int count,
                         std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

    /// The bytes of tests/data/`relativePath`; empty (and a test failure) when unreadable.
    static QByteArray testData(const QString& relativePath);

private:
    Answer answerFor(const Request& request);

    std::unique_ptr<httplib::Server> server_;
    std::unique_ptr<std::thread> thread_;
    int port_ = 0;
    std::atomic<bool> listenerDone_{false};

    mutable std::mutex mutex_;
    mutable std::condition_variable requestArrived_;
    QList<Request> requests_;
    QList<QPair<QString, QList<Answer>>> answers_;
    Handler handler_;
    QList<std::weak_ptr<Gate>> gates_;
    bool stopping_ = false;
};
