#pragma once

#include "CBankUaWebServiceClient.h"
#include "CBloombergCurrencyWebServiceClient.h"
#include "CCBRCurrenciesWebServiceClient.h"
#include "CCurrencyApiWebServiceClient.h"
#include "CECBCurrenciesWebServiceClient.h"
#include "CFrankfurterWebServiceClient.h"
#include "COCBCWebServiceClient.h"
#include "CPayPalWebServiceClient.h"
#include "CYahooFinanceWebServiceClient.h"
#include "Endpoints.h"
#include "FakeHttpServer.h"

#include <QCoreApplication>
#include <QStringList>
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
                                  public CPayPalWebServiceClientDelegate,
                                  public CFrankfurterWebServiceClientDelegate,
                                  public CCurrencyApiWebServiceClientDelegate {
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

    static void settle() { QTest::qWait(50); }

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
    NUMIVA_RECORD_OUTCOMES(frankfurterQueryCurrenciesCompletedWithResult,
                           frankfurterQueryFailedWithErrorDescription)
    NUMIVA_RECORD_OUTCOMES(currencyApiQueryCurrenciesCompletedWithResult,
                           currencyApiQueryFailedWithErrorDescription)

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
