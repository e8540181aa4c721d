#pragma once

#include "Decimal.h"

#include <QHash>
#include <QSet>
#include <QString>

#include <memory>
#include <mutex>
#include <thread>

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

/// A local server that answers every provider protocol of Numiva with sample data (SampleData),
/// in the services' own shapes and encodings, on 127.0.0.1. For trying the app without the
/// real services, for end-to-end tests and for benchmarks.
///
/// A provider can be told to fail (it then answers 503): with `setFailing`, or over HTTP with
/// POST /_control/fail?provider=NAME&on=1|0. It can be told to answer late (`setDelay`, POST
/// /_control/delay?provider=NAME&ms=N) and to quote a currency off by some percent (`setSkew`,
/// POST /_control/skew?provider=NAME&code=EUR&percent=3), so that sources disagree.
class SampleServer {
public:
    /// Provider names for `setFailing`.
    static inline const QString YFinance = QStringLiteral("YFinance");
    static inline const QString PayPal = QStringLiteral("PayPal");
    static inline const QString Custom = QStringLiteral("custom");
    static inline const QString GeoNames = QStringLiteral("geoNames");
    static inline const QString CBR = QStringLiteral("CBR");
    static inline const QString ECB = QStringLiteral("ECB");
    static inline const QString BankUa = QStringLiteral("BankUa");
    static inline const QString Bloomberg = QStringLiteral("Bloomberg");
    static inline const QString OCBC = QStringLiteral("OCBC");
    static inline const QString YFinanceChart = QStringLiteral("YFinanceChart");
    static inline const QString BloombergChart = QStringLiteral("BloombergChart");
    static inline const QString ECBChart = QStringLiteral("ECBChart");
    static inline const QString CBRChart = QStringLiteral("CBRChart");
    /// Frankfurter's latest rates and its currency list; its series (chart) requests.
    static inline const QString Frankfurter = QStringLiteral("Frankfurter");
    static inline const QString FrankfurterChart = QStringLiteral("FrankfurterChart");
    /// The exchange-api files at the CDN, and at the fallback host.
    static inline const QString CurrencyApi = QStringLiteral("CurrencyApi");
    static inline const QString CurrencyApiFallback = QStringLiteral("CurrencyApiFallback");

    SampleServer();
    ~SampleServer();
    SampleServer(const SampleServer&) = delete;
    SampleServer& operator=(const SampleServer&) = delete;

    /// Listens on 127.0.0.1:`port` (0: any free port). False when the port cannot be bound.
    bool start(int port = 0);
    void stop();
    int port() const { return port_; }
    QString baseUrl() const;

    /// An endpoints file (see resources/endpoints.ini) that points every service here.
    QString endpointsFileText() const;
    bool writeEndpoints(const QString& path) const;
    /// The address of the sample custom feed.
    QString feedUrl() const;

    void setFailing(const QString& provider, bool failing);
    bool isFailing(const QString& provider) const;
    /// Every answer of `provider` waits this long first (0: none).
    void setDelay(const QString& provider, int milliseconds);
    /// `provider` prices `code` `percent` higher (negative: lower) than the sample data.
    void setSkew(const QString& provider, const QString& code, const Decimal& percent);
    /// "PROVIDER=MS" and "PROVIDER:CODE=PERCENT", as the program's options take them.
    bool setDelayFromText(const QString& text);
    bool setSkewFromText(const QString& text);

private:
    /// Answers 503 and returns true when `provider` is told to fail; otherwise waits for the
    /// provider's delay and prices the answer with its skews.
    bool failIfAsked(const QString& provider, httplib::Response& response) const;
    void registerRateHandlers();
    void registerFeedHandlers();
    void registerBankHandlers();
    void registerChartHandlers();
    void registerFrankfurterHandlers();
    void registerCurrencyApiHandlers();

    std::unique_ptr<httplib::Server> server_;
    std::unique_ptr<std::thread> thread_;
    int port_ = 0;
    mutable std::mutex mutex_;
    QSet<QString> failing_;
    QHash<QString, int> delays_;
    QHash<QString, QHash<QString, Decimal>> skews_;
};
