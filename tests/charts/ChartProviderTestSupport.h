#pragma once

#include "CBloombergChartWebServiceClient.h"
#include "CCBRChartWebServiceClient.h"
#include "CCurrencyChartDataSource.h"
#include "CECBChartWebServiceClient.h"
#include "CFrankfurterChartWebServiceClient.h"
#include "CYahooFinanceChartWebServiceClient.h"
#include "ChartProviderSupport.h"
#include "Endpoints.h"
#include "FakeHttpServer.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>
#include <QTimeZone>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace charttest {

/// Everything the chart clients and the chart data source told their delegate.
class ChartRecorder : public CYahooFinanceChartWebServiceClientDelegate,
                      public CBloombergChartWebServiceClientDelegate,
                      public CECBChartWebServiceClientDelegate,
                      public CCBRChartWebServiceClientDelegate,
                      public CFrankfurterChartWebServiceClientDelegate,
                      public CCurrencyChartDataSourceDelegate {
public:
    QList<CCurrencyChartInfo> results;
    QStringList failures;
    bool allOnMainThread = true;

    int outcomes() const { return static_cast<int>(results.size() + failures.size()); }

    /// Spins the event loop until `count` outcomes have arrived, then a moment more so that an
    /// extra one would be seen. False after ten seconds.
    bool waitForOutcomes(int count = 1) {
        const bool arrived = QTest::qWaitFor([&] { return outcomes() >= count; }, 10000);
        settle();
        return arrived;
    }
    /// Lets pending main-thread calls run (for tests that expect none).
    static void settle() { QTest::qWait(60); }

    void yahooFinanceQueryChartCompletedWithResult(const CCurrencyChartInfo& r) override {
        completed(r);
    }
    void yahooFinanceQueryFailedWithErrorDescription(const QString& d) override { failed(d); }
    void bloombergQueryChartCompletedWithResult(const CCurrencyChartInfo& r) override {
        completed(r);
    }
    void bloombergQueryFailedWithErrorDescription(const QString& d) override { failed(d); }
    void ecbCurrenciesQueryChartCompletedWithResult(const CCurrencyChartInfo& r) override {
        completed(r);
    }
    void ecbCurrenciesQueryFailedWithErrorDescription(const QString& d) override { failed(d); }
    void cbrCurrenciesQueryChartCompletedWithResult(const CCurrencyChartInfo& r) override {
        completed(r);
    }
    void cbrCurrenciesQueryFailedWithErrorDescription(const QString& d) override { failed(d); }
    void frankfurterQueryChartCompletedWithResult(const CCurrencyChartInfo& r) override {
        completed(r);
    }
    void frankfurterQueryChartFailedWithErrorDescription(const QString& d) override { failed(d); }
    void queryCurrencyChartDataSourceCompletedWithResult(const CCurrencyChartInfo& r) override {
        completed(r);
    }
    void queryCurrencyChartDataSourceFailedWithErrorDescription(const QString& d) override {
        failed(d);
    }

private:
    void checkThread() {
        allOnMainThread =
            allOnMainThread && QThread::currentThread() == QCoreApplication::instance()->thread();
    }
    void completed(const CCurrencyChartInfo& result) {
        checkThread();
        results.append(result);
    }
    void failed(const QString& description) {
        checkThread();
        failures.append(description);
    }
};

/// Every chart service pointed at `server`.
inline Endpoints chartEndpointsFor(const FakeHttpServer& server) {
    Endpoints endpoints = Endpoints::defaults();
    for (const QString& key : {Endpoints::YahooChart, Endpoints::BloombergChart, Endpoints::Ecb,
                               Endpoints::CbrScripts, Endpoints::Frankfurter}) {
        endpoints.setValue(key, server.baseUrl());
    }
    return endpoints;
}

/// An answer the server holds back until `gate` is released.
inline FakeHttpServer::Answer held(FakeHttpServer::Answer answer,
                                   const std::shared_ptr<FakeHttpServer::Gate>& gate) {
    answer.gate = gate;
    return answer;
}

/// A chart client of type `Client` on UTC days, its server and what it delivered.
template <class Client>
class ChartClientTest : public ::testing::Test {
protected:
    ChartClientTest() : client(std::make_unique<Client>(chartEndpointsFor(server))) {
        client->setDelegate(&recorder);
        client->setTimeZone(QTimeZone::utc());
    }

    /// Runs one query to its single outcome, delivered on the main thread; the record, or an
    /// empty one after a failure.
    const CCurrencyChartInfo& query(const QStringList& pair, int period) {
        client->queryCurrencyChart(pair, period);
        EXPECT_TRUE(recorder.waitForOutcomes());
        EXPECT_EQ(recorder.outcomes(), 1);
        EXPECT_TRUE(recorder.allOnMainThread);
        static const CCurrencyChartInfo none;
        return recorder.results.isEmpty() ? none : recorder.results.first();
    }

    FakeHttpServer server;
    ChartRecorder recorder;
    std::unique_ptr<Client> client;
};

inline Decimal dec(const char* text) {
    return Decimal::fromString(QString::fromLatin1(text));
}

/// The values of a record as plain decimal texts, in order.
inline QStringList valueTexts(const CCurrencyChartInfo& info) {
    QStringList texts;
    for (const CCurrencyChartPoint& point : info.plotPoints) {
        texts.append(point.value.toString());
    }
    return texts;
}

/// Runs `run` once without cancelling, counting its cancellation checks, then once for every
/// check k with a cancellation that starts at the k-th check. `run` returns whether it produced
/// a result: it must without cancelling and must not in any of the other runs. Returns the
/// number of checks.
inline int expectCancellationAtEveryCheck(
    const std::function<bool(const ChartProviderSupport::CancelCheck&)>& run) {
    int checks = 0;
    EXPECT_TRUE(run([&checks] {
        ++checks;
        return false;
    }));
    for (int k = 1; k <= checks; ++k) {
        int seen = 0;
        EXPECT_FALSE(run([&seen, k] { return ++seen >= k; })) << "cancelled from check " << k;
    }
    return checks;
}

}  // namespace charttest
