#include "FakeHttpServer.h"

#include <QFile>
#include <QUrl>

#include <gtest/gtest.h>
#include <httplib.h>

namespace {

QString fromStd(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QByteArray bytes(const std::string& text) {
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

std::string toStd(const QByteArray& data) {
    return std::string(data.constData(), static_cast<size_t>(data.size()));
}

}  // namespace

QStringList FakeHttpServer::Request::queryValues(const QString& key) const {
    QStringList values;
    for (const auto& [name, value] : query) {
        if (name == key) {
            values.append(value);
        }
    }
    return values;
}

QByteArray FakeHttpServer::Request::header(const QByteArray& name) const {
    for (const auto& [key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0) {
            return value;
        }
    }
    return {};
}

void FakeHttpServer::Gate::release() {
    {
        std::lock_guard lock(mutex_);
        isReleased_ = true;
    }
    released_.notify_all();
}

bool FakeHttpServer::Gate::isReleased() const {
    std::lock_guard lock(mutex_);
    return isReleased_;
}

void FakeHttpServer::Gate::wait() {
    std::unique_lock lock(mutex_);
    released_.wait(lock, [this] { return isReleased_; });
}

FakeHttpServer::Answer FakeHttpServer::Answer::file(const QString& relativePath,
                                                    const QByteArray& contentType) {
    return text(testData(relativePath), 200, contentType);
}

FakeHttpServer::Answer FakeHttpServer::Answer::text(const QByteArray& body, int status,
                                                    const QByteArray& contentType) {
    Answer answer;
    answer.status = status;
    answer.body = body;
    answer.contentType = contentType;
    return answer;
}

FakeHttpServer::Answer FakeHttpServer::Answer::closing() {
    Answer answer;
    answer.closeConnection = true;
    return answer;
}

FakeHttpServer::FakeHttpServer() : server_(std::make_unique<httplib::Server>()) {
    const httplib::Server::Handler handle = [this](const httplib::Request& in,
                                                   httplib::Response& out) {
        Request request;
        request.method = bytes(in.method);
        request.path = fromStd(in.path);
        request.target = fromStd(in.target);
        // httplib keeps parameters in a multimap; take them in the order sent instead.
        const auto mark = in.target.find('?');
        if (mark != std::string::npos) {
            for (const QString& pair :
                 fromStd(in.target.substr(mark + 1)).split(u'&', Qt::SkipEmptyParts)) {
                const qsizetype equals = pair.indexOf(u'=');
                const QString key = equals < 0 ? pair : pair.left(equals);
                const QString value = equals < 0 ? QString() : pair.mid(equals + 1);
                request.query.append({QUrl::fromPercentEncoding(key.toUtf8()),
                                      QUrl::fromPercentEncoding(value.toUtf8())});
            }
        }
        for (const auto& [name, value] : in.headers) {
            request.headers.append({bytes(name), bytes(value)});
        }
        request.body = bytes(in.body);

        const Answer answer = answerFor(request);
        {
            std::lock_guard lock(mutex_);
            requests_.append(request);
        }
        requestArrived_.notify_all();

        if (answer.gate) {
            {
                std::lock_guard lock(mutex_);
                if (stopping_) {
                    answer.gate->release();
                } else {
                    gates_.append(answer.gate);
                }
            }
            answer.gate->wait();
        }
        out.status = answer.status;
        for (const auto& [name, value] : answer.headers) {
            out.set_header(toStd(name), toStd(value));
        }
        if (answer.closeConnection) {
            // Announce a body, then fail to provide it: httplib drops the connection.
            out.set_content_provider(1024, toStd(answer.contentType),
                                     [](size_t, size_t, httplib::DataSink&) { return false; });
        } else if (answer.chunked) {
            out.set_chunked_content_provider(
                toStd(answer.contentType),
                [body = toStd(answer.body)](size_t offset, httplib::DataSink& sink) {
                    if (offset < body.size()) {
                        const size_t size = std::min<size_t>(4096, body.size() - offset);
                        return sink.write(body.data() + offset, size);
                    }
                    sink.done();
                    return true;
                });
        } else {
            out.set_content(toStd(answer.body), toStd(answer.contentType));
        }
    };
    // Every service here is asked with GET or POST.
    server_->Get(".*", handle);
    server_->Post(".*", handle);

    // One request per connection: the client keeps idle connections for reuse, and an idle
    // keep-alive connection would hold up stopping this server for seconds.
    server_->set_keep_alive_max_count(1);
    port_ = server_->bind_to_any_port("127.0.0.1");
    EXPECT_GT(port_, 0) << "the fake server could not bind a port";
    thread_ = std::make_unique<std::thread>([this] {
        server_->listen_after_bind();
        listenerDone_.store(true);
    });
}

FakeHttpServer::~FakeHttpServer() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        for (const std::weak_ptr<Gate>& weak : gates_) {
            if (std::shared_ptr<Gate> gate = weak.lock()) {
                gate->release();
            }
        }
    }
    // The listener may not have started yet; stop() is only heard once it runs.
    while (!server_->is_running() && !listenerDone_.load() && port_ > 0) {
        std::this_thread::yield();
    }
    server_->stop();
    thread_->join();
}

QString FakeHttpServer::baseUrl() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(port_);
}

QString FakeHttpServer::url(const QString& pathAndQuery) const {
    return baseUrl() + pathAndQuery;
}

void FakeHttpServer::answer(const QString& path, QList<Answer> answers) {
    std::lock_guard lock(mutex_);
    for (auto& entry : answers_) {
        if (entry.first == path) {
            entry.second = std::move(answers);
            return;
        }
    }
    answers_.append({path, std::move(answers)});
}

void FakeHttpServer::setHandler(Handler handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

FakeHttpServer::Answer FakeHttpServer::answerFor(const Request& request) {
    Handler handler;
    {
        std::lock_guard lock(mutex_);
        handler = handler_;
        if (!handler) {
            for (auto& [path, answers] : answers_) {
                if (path == request.path && !answers.isEmpty()) {
                    return answers.size() > 1 ? answers.takeFirst() : answers.first();
                }
            }
            return Answer::text("Not Found", 404);
        }
    }
    return handler(request);
}

QList<FakeHttpServer::Request> FakeHttpServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

int FakeHttpServer::requestCount() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(requests_.size());
}

void FakeHttpServer::clearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

bool FakeHttpServer::waitForRequests(int count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return requestArrived_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

QByteArray FakeHttpServer::testData(const QString& relativePath) {
    QFile file(QStringLiteral(NUMIVA_TEST_DATA "/") + relativePath);
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read test data " << relativePath.toStdString() << ": "
                      << file.errorString().toStdString();
        return {};
    }
    return file.readAll();
}
