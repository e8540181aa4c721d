#pragma once

#include "CBankUaWebServiceClient.h"
#include "CBloombergCurrencyWebServiceClient.h"
#include "CCBRCurrenciesWebServiceClient.h"
#include "CECBCurrenciesWebServiceClient.h"
#include "COCBCWebServiceClient.h"
#include "Endpoints.h"
#include "FakeHttpServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

/// What the built-in providers told their delegate: every result and every failure text.
class RecordingProviderDelegate : public CCBRCurrenciesWebServiceClientDelegate,
                                  public CECBCurrenciesWebServiceClientDelegate,
                                  public CBankUaWebServiceClientDelegate,
                                  public CBloombergCurrencyWebServiceClientDelegate,
                                  public COCBCWebServiceClientDelegate {
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

    void queryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) override {
        completed(result);
    }
    void queryFailedWithErrorDescription(const QString& description) override {
        failed(description);
    }
    void ecbCurrenciesQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) override {
        completed(result);
    }
    void ecbCurrenciesQueryFailedWithErrorDescription(const QString& description) override {
        failed(description);
    }
    void bankUaQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) override {
        completed(result);
    }
    void bankUaQueryFailedWithErrorDescription(const QString& description) override {
        failed(description);
    }
    void bloombergQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) override {
        completed(result);
    }
    void bloombergQueryFailedWithErrorDescription(const QString& description) override {
        failed(description);
    }
    void ocbcQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) override {
        completed(result);
    }
    void ocbcQueryFailedWithErrorDescription(const QString& description) override {
        failed(description);
    }

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
