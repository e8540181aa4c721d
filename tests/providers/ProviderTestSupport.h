#pragma once

#include "CBankUaWebServiceClient.h"
#include "CBloombergCurrencyWebServiceClient.h"
#include "CCBRCurrenciesWebServiceClient.h"
#include "CECBCurrenciesWebServiceClient.h"
#include "COCBCWebServiceClient.h"
#include "CPayPalWebServiceClient.h"
#include "CYahooFinanceWebServiceClient.h"
#include "Endpoints.h"
#include "FakeHttpServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTcpServer>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

/// Overrides of one provider's two delegate calls that record the outcome.
#define NUMIVA_RECORD_OUTCOMES(completedCall, failedCall)       \
    void completedCall(CCBRCurrenciesInfoPtr result) override { \
        completed(result);                                      \
    }                                                           \
    void failedCall(const QString& description) override {      \
        failed(description);                                    \
    }

/// What the built-in providers told their delegate: every result and every failure text.
class RecordingProviderDelegate : public CCBRCurrenciesWebServiceClientDelegate,
                                  public CECBCurrenciesWebServiceClientDelegate,
                                  public CBankUaWebServiceClientDelegate,
                                  public CBloombergCurrencyWebServiceClientDelegate,
                                  public COCBCWebServiceClientDelegate,
                                  public CYahooFinanceWebServiceClientDelegate,
                                  public CPayPalWebServiceClientDelegate {
public:
    QList<CCBRCurrenciesInfoPtr> results;
    QStringList failures;
    bool allOnMainThread = true;

    int calls() const { return static_cast<int>(results.size() + failures.size()); }

    /// Waits (spinning the event loop) for the first call, then a moment more to catch any
    /// further one. False when nothing arrived within ten seconds.
    bool waitForCall() {
        if (!QTest::qWaitFor([this] { return calls() > 0; }, 10000)) {
            return false;
        }
        settle();
        return true;
    }

    static void settle() {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 50) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
    }

    NUMIVA_RECORD_OUTCOMES(queryCurrenciesCompletedWithResult, queryFailedWithErrorDescription)
    NUMIVA_RECORD_OUTCOMES(ecbCurrenciesQueryCurrenciesCompletedWithResult,
                           ecbCurrenciesQueryFailedWithErrorDescription)
    NUMIVA_RECORD_OUTCOMES(bankUaQueryCurrenciesCompletedWithResult,
                           bankUaQueryFailedWithErrorDescription)
    NUMIVA_RECORD_OUTCOMES(bloombergQueryCurrenciesCompletedWithResult,
                           bloombergQueryFailedWithErrorDescription)
    NUMIVA_RECORD_OUTCOMES(ocbcQueryCurrenciesCompletedWithResult,
                           ocbcQueryFailedWithErrorDescription)
    NUMIVA_RECORD_OUTCOMES(yahooFinanceQueryCurrenciesCompletedWithResult,
                           yahooFinanceQueryFailedWithErrorDescription)
    NUMIVA_RECORD_OUTCOMES(payPalQueryCurrenciesCompletedWithResult,
                           payPalQueryFailedWithErrorDescription)

private:
    void checkThread() {
        allOnMainThread = allOnMainThread && QThread::currentThread() == qApp->thread();
    }
    void completed(const CCBRCurrenciesInfoPtr& result) {
        checkThread();
        results.append(result);
    }
    void failed(const QString& description) {
        checkThread();
        failures.append(description);
    }
};

#undef NUMIVA_RECORD_OUTCOMES

/// Every service pointed at `server`; the central bank's endpoint at its usual path there.
inline Endpoints endpointsFor(const FakeHttpServer& server) {
    Endpoints endpoints;
    endpoints.setValue(Endpoints::Cbr,
                       server.url(QStringLiteral("/DailyInfoWebServ/DailyInfo.asmx")));
    endpoints.setValue(Endpoints::CbrNamespace, QStringLiteral("http://web.cbr.ru/"));
    endpoints.setValue(Endpoints::Ecb, server.baseUrl());
    endpoints.setValue(Endpoints::BankUa, server.baseUrl());
    endpoints.setValue(Endpoints::Bloomberg, server.baseUrl());
    endpoints.setValue(Endpoints::Ocbc, server.baseUrl());
    return endpoints;
}

/// One query's outcome and the settings of the requests whose outcome reached the client.
struct QueryRun {
    RecordingProviderDelegate delegate;
    QList<HttpRequestSettings> settings;
    bool arrived = false;
};

/// A provider that also keeps the settings of every request whose outcome reached it.
template <class Client>
class ObservedClient : public Client {
public:
    using Client::Client;
    QList<HttpRequestSettings> finishedRequests;

    void requestSucceeded(CHttpRequest& request, const QByteArray& data) override {
        finishedRequests.append(request.requestSettings);
        Client::requestSucceeded(request, data);
    }
    void requestFailed(CHttpRequest& request, const std::optional<HttpError>& error,
                       const std::optional<HttpResponse>& response,
                       const std::optional<QByteArray>& data) override {
        finishedRequests.append(request.requestSettings);
        Client::requestFailed(request, error, response, data);
    }
};

/// One query of a fresh `Client` against `server`, run to its first outcome; `start(client)`
/// sends the query.
template <class Client, class Start>
QueryRun runQuery(FakeHttpServer& server, const Start& start) {
    QueryRun run;
    ObservedClient<Client> client(endpointsFor(server));
    client.setDelegate(&run.delegate);
    start(client);
    run.arrived = run.delegate.waitForCall();
    run.settings = client.finishedRequests;
    return run;
}

/// One `queryCurrencies()` of a fresh `Client` against `server`, run to its first outcome.
template <class Client>
QueryRun runQuery(FakeHttpServer& server) {
    return runQuery<Client>(server, [](Client& client) { client.queryCurrencies(); });
}

/// One query of a fresh `Client` once `path` on `server` gives `answer`.
template <class Client>
QueryRun queryAnswering(FakeHttpServer& server, const QString& path,
                        const FakeHttpServer::Answer& answer) {
    server.answer(path, answer);
    return runQuery<Client>(server);
}

/// The line a provider logs for a failed exchange that had an answer.
inline QString failureLogLine(const QString& service, const QString& reason, const QString& data) {
    return service + QStringLiteral(" web service request failed with\r\nerror:\r\nresponse:") +
           reason + QStringLiteral("\r\ndata:") + data + QStringLiteral("\r\n");
}

/// A port on 127.0.0.1 that nothing listens on.
inline quint16 refusingPort() {
    QTcpServer probe;
    EXPECT_TRUE(probe.listen(QHostAddress::LocalHost));
    return probe.serverPort();
}

/// An answer the server holds back until `gate` is released.
inline FakeHttpServer::Answer held(FakeHttpServer::Answer answer,
                                   const std::shared_ptr<FakeHttpServer::Gate>& gate) {
    answer.gate = gate;
    return answer;
}

/// A fixture for a client that takes a list of codes and a base: a server, a recorder and the
/// client made by `makeClient` from endpoints that point at the server.
template <class Client>
class CodesQueryTest : public ::testing::Test {
protected:
    void makeClient(const Endpoints& endpoints) {
        client = std::make_unique<Client>(endpoints);
        client->setDelegate(&recorder);
    }

    /// Runs one query to its single outcome.
    void query(const QStringList& codes, const QString& base = QStringLiteral("USD")) {
        client->queryCurrencies(codes, base);
        ASSERT_TRUE(QTest::qWaitFor([&] { return recorder.calls() > 0; }, 10000));
        QTest::qWait(20);  // nothing else may follow
        ASSERT_EQ(recorder.calls(), 1);
    }

    FakeHttpServer server;
    RecordingProviderDelegate recorder;
    std::unique_ptr<Client> client;
};

/// A table as "CODE nominal value" lines (value per the row's nominal), in table order.
inline QStringList describe(const CCBRCurrenciesInfo& table) {
    QStringList lines;
    for (const CCBRCurrencyInfoPtr& row : table.currenciesInfo) {
        lines.append(QStringLiteral("%1 %2 %3")
                         .arg(row->isoTextCode)
                         .arg(row->nominalValue)
                         .arg(row->saleValue.toString()));
    }
    return lines;
}

inline QStringList codes(const CCBRCurrenciesInfo& table) {
    QStringList list;
    for (const CCBRCurrencyInfoPtr& row : table.currenciesInfo) {
        list.append(row->isoTextCode);
    }
    return list;
}

inline Decimal dec(const char* text) {
    return Decimal::fromString(QString::fromLatin1(text));
}

/// Two queries on one client each deliver a table of their own with `expected` codes.
template <class Client>
void expectAFreshTablePerQuery(FakeHttpServer& server, const QStringList& expected) {
    RecordingProviderDelegate delegate;
    Client client(endpointsFor(server));
    client.setDelegate(&delegate);
    for (int query = 1; query <= 2; ++query) {
        client.queryCurrencies();
        ASSERT_TRUE(QTest::qWaitFor([&] { return delegate.calls() == query; }, 10000));
    }
    ASSERT_EQ(delegate.results.size(), 2);
    EXPECT_NE(delegate.results[0], delegate.results[1]);
    EXPECT_EQ(codes(*delegate.results[0]), expected);
    EXPECT_EQ(codes(*delegate.results[1]), expected);
}

inline Decimal inverse(const char* number) {
    return Decimal::fromInt(1) / dec(number);
}
