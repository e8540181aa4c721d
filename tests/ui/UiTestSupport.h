#pragma once

#include "CRootViewController.h"
#include "Endpoints.h"
#include "FakeHttpServer.h"
#include "NotificationCenter.h"
#include "TestSupport.h"

#include <QMap>
#include <QMutex>

#include <chrono>
#include <memory>

/// Yahoo Finance's quotes service on 127.0.0.1, answering every asked pair from a table of
/// US-dollar prices; it can be told to fail with 503.
class RateServer {
public:
    RateServer();

    /// Endpoints whose quotes host is this server (every other host is unreachable).
    Endpoints endpoints() const;
    void setUsdPrice(const QString& code, const QString& price);
    void setFailing(bool failing);

    FakeHttpServer http;

private:
    FakeHttpServer::Answer answer(const FakeHttpServer::Request& request);

    mutable QMutex mutex_;
    QMap<QString, QString> usdPrices_;
    bool failing_ = false;
};

/// A rate list screen on a fresh data directory, its own notification centre, and the rate
/// server; `viewDidLoad` is left to the test.
class RootScreen {
public:
    /// `selectedCurrencies`: the stored list the screen starts with (empty: the default).
    explicit RootScreen(
        bool tablet = false,
        std::chrono::milliseconds refreshAfterEditingDelay = std::chrono::milliseconds(500),
        const QStringList& selectedCurrencies = {});

    CRootViewController& controller() { return *controller_; }
    CRootViewModel& model() { return controller_->dataModel(); }
    /// Loads the view and waits for the first refresh to end; false when it did not.
    bool loadAndWaitForFirstRefresh();
    /// Waits for the refresh in flight to end; false when none ended.
    bool waitForRefresh();

    ScopedDataDir dataDir;
    NotificationCenter center;
    RateServer rates;

private:
    std::unique_ptr<CRootViewController> controller_;
};
