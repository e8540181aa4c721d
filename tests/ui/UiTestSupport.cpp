#include "UiTestSupport.h"

#include "Decimal.h"
#include "UserDefaults.h"

#include <QMutexLocker>
#include <QSignalSpy>

RateServer::RateServer() {
    usdPrices_ = {{"USD", "1"},       {"EUR", "1.0842"},   {"GBP", "1.2671"}, {"JPY", "0.0067123"},
                  {"CHF", "1.1305"},  {"RUB", "0.010871"}, {"CAD", "0.7368"}, {"AUD", "0.6551"},
                  {"CNY", "0.13835"}, {"SEK", "0.09612"},  {"XAU", "2034.5"}, {"XAG", "22.87"},
                  {"UAH", "0.02619"}, {"TRY", "0.03102"},  {"BYN", "0.3056"}};
    http.setHandler([this](const FakeHttpServer::Request& request) { return answer(request); });
}

Endpoints RateServer::endpoints() const {
    Endpoints endpoints = Endpoints::defaults();
    for (const QString& key : endpoints.values().keys()) {
        endpoints.setValue(key, QStringLiteral("http://127.0.0.1:9"));
    }
    endpoints.setValue(Endpoints::YahooQuotes, http.baseUrl());
    return endpoints;
}

void RateServer::setUsdPrice(const QString& code, const QString& price) {
    QMutexLocker lock(&mutex_);
    usdPrices_.insert(code, price);
}

void RateServer::setFailing(bool failing) {
    QMutexLocker lock(&mutex_);
    failing_ = failing;
}

FakeHttpServer::Answer RateServer::answer(const FakeHttpServer::Request& request) {
    QMutexLocker lock(&mutex_);
    if (failing_) {
        return FakeHttpServer::Answer::text("busy", 503);
    }
    QByteArray body;
    // Each pair is "AAABBB=X": the price of one AAA in BBB.
    for (const QString& pair : request.queryValues(QStringLiteral("s"))) {
        const QString code = pair.left(3);
        const QString base = pair.mid(3, 3);
        const Decimal value = Decimal::fromString(usdPrices_.value(code, QStringLiteral("NaN"))) /
                              Decimal::fromString(usdPrices_.value(base, QStringLiteral("NaN")));
        body +=
            (value.isNaN() ? QStringLiteral("0") : value.rounded(8).toString()).toLatin1() + "\r\n";
    }
    return FakeHttpServer::Answer::text(body);
}

RootScreen::RootScreen(bool tablet, std::chrono::milliseconds refreshAfterEditingDelay,
                       const QStringList& selectedCurrencies) {
    // The screen is exercised against the Yahoo-shaped rate server above.
    UserDefaults::standardUserDefaults().setObject(QStringList{QStringLiteral("YFinance")},
                                                   QStringLiteral("SelectedCurrencySources"));
    if (!selectedCurrencies.isEmpty()) {
        UserDefaults::standardUserDefaults().setObject(selectedCurrencies,
                                                       QStringLiteral("SelectedCurrencies"));
    }
    CRootViewController::Dependencies dependencies;
    dependencies.defaults = &UserDefaults::standardUserDefaults();
    dependencies.center = &center;
    dependencies.endpoints = rates.endpoints();
    dependencies.tablet = tablet;
    dependencies.refreshAfterEditingDelay = refreshAfterEditingDelay;
    controller_ = std::make_unique<CRootViewController>(std::move(dependencies));
}

bool RootScreen::loadAndWaitForFirstRefresh() {
    QSignalSpy finished(controller_.get(), &CRootViewController::refreshFinished);
    controller_->viewDidLoad();
    return finished.wait(10000);
}

bool RootScreen::waitForRefresh() {
    QSignalSpy finished(controller_.get(), &CRootViewController::refreshFinished);
    return finished.wait(10000);
}
