// Every parser that reads bytes from the network, a store or the keyboard, fed through the same
// calls the application makes: a provider client gets the body in `requestSucceeded` (the
// requests it sends are taken by the harness instead of the network), a chart client's reader
// gets it as the queue does. Each target checks what must hold whatever the input, and aborts
// when it does not, so the fuzzer reports it.
#include "FuzzTargets.h"

#include "CBankUaWebServiceClient.h"
#include "CBaseCurrencySelector.h"
#include "CBloombergChartWebServiceClient.h"
#include "CBloombergCurrencyWebServiceClient.h"
#include "CCBRChartWebServiceClient.h"
#include "CCBRCurrenciesWebServiceClient.h"
#include "CCurrencyApiWebServiceClient.h"
#include "CCustomCurrenciesWebServiceClient.h"
#include "CECBChartWebServiceClient.h"
#include "CECBCurrenciesWebServiceClient.h"
#include "CFrankfurterChartWebServiceClient.h"
#include "CFrankfurterWebServiceClient.h"
#include "COCBCWebServiceClient.h"
#include "CPayPalWebServiceClient.h"
#include "CRootViewModel.h"
#include "CSettingsEditor.h"
#include "CYahooFinanceChartWebServiceClient.h"
#include "CYahooFinanceWebServiceClient.h"
#include "Log.h"
#include "NotificationCenter.h"

#include <QCoreApplication>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

namespace {

using namespace ChartProviderSupport;

/// Log lines and Qt's warnings about bad input come by the thousand: they are dropped. A fatal
/// message still ends the run.
void quiet(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtFatalMsg) {
        std::fprintf(stderr, "%s\n", qPrintable(message));
        std::abort();
    }
}

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "fuzz check failed: %s\n", what);
        std::abort();
    }
}

QByteArray bytes(const std::uint8_t* data, std::size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
}

const Endpoints& endpoints() {
    static const Endpoints e = Endpoints::defaults();
    return e;
}

/// A client whose requests stay here: the last one is kept, to be answered by the harness.
template <class Client>
class Offline : public Client {
public:
    template <class... Args>
    explicit Offline(Args&&... args) : Client(std::forward<Args>(args)...) {}
    void sendAsyncHttpRequest(CHttpRequestPtr request) override {
        request->delegate = this;
        sent = std::move(request);
    }
    /// Answers the request sent last with `body`; false when nothing was sent since.
    bool answer(const QByteArray& body) {
        CHttpRequestPtr request = std::exchange(sent, nullptr);
        if (!request) {
            return false;
        }
        this->requestSucceeded(*request, body);
        return true;
    }
    CHttpRequestPtr sent;
};

/// One client of each kind for the whole run: every query starts afresh, and making a client
/// (its queue's thread) would cost more than reading most answers.
template <class Client>
Offline<Client>& offline() {
    static Offline<Client>* client = [] {
        if constexpr (std::is_constructible_v<Client, const Endpoints&>) {
            return new Offline<Client>(endpoints());
        } else {
            return new Offline<Client>();
        }
    }();
    client->sent = nullptr;
    return *client;
}

/// Every rate delegate at once: keeps the last table or failure and checks the table's rows.
class Sink : public CCBRCurrenciesWebServiceClientDelegate,
             public CECBCurrenciesWebServiceClientDelegate,
             public CBankUaWebServiceClientDelegate,
             public CYahooFinanceWebServiceClientDelegate,
             public CPayPalWebServiceClientDelegate,
             public CBloombergCurrencyWebServiceClientDelegate,
             public COCBCWebServiceClientDelegate,
             public CFrankfurterWebServiceClientDelegate,
             public CCurrencyApiWebServiceClientDelegate,
             public CCustomCurrenciesWebServiceClientDelegate {
public:
    int outcomes = 0;

    void table(const CCBRCurrenciesInfoPtr& result) {
        ++outcomes;
        check(result != nullptr, "a delivered table exists");
        for (const CCBRCurrencyInfoPtr& row : result->currenciesInfo) {
            check(row != nullptr, "a delivered row exists");
            (void)row->saleValueForCurrency().toString();
        }
    }
    // One pair of overrides per rate client: the table, or the failure text.
    // clang-format off
#define NUMIVA_SINK(done, failure) \
    void done(CCBRCurrenciesInfoPtr r) override { table(r); } \
    void failure(const QString&) override { ++outcomes; }
    // clang-format on
    NUMIVA_SINK(queryCurrenciesCompletedWithResult, queryFailedWithErrorDescription)
    NUMIVA_SINK(ecbCurrenciesQueryCurrenciesCompletedWithResult,
                ecbCurrenciesQueryFailedWithErrorDescription)
    NUMIVA_SINK(bankUaQueryCurrenciesCompletedWithResult, bankUaQueryFailedWithErrorDescription)
    NUMIVA_SINK(yahooFinanceQueryCurrenciesCompletedWithResult,
                yahooFinanceQueryFailedWithErrorDescription)
    NUMIVA_SINK(payPalQueryCurrenciesCompletedWithResult, payPalQueryFailedWithErrorDescription)
    NUMIVA_SINK(bloombergQueryCurrenciesCompletedWithResult,
                bloombergQueryFailedWithErrorDescription)
    NUMIVA_SINK(ocbcQueryCurrenciesCompletedWithResult, ocbcQueryFailedWithErrorDescription)
    NUMIVA_SINK(frankfurterQueryCurrenciesCompletedWithResult,
                frankfurterQueryFailedWithErrorDescription)
    NUMIVA_SINK(currencyApiQueryCurrenciesCompletedWithResult,
                currencyApiQueryFailedWithErrorDescription)
#undef NUMIVA_SINK
    void frankfurterAvailableCurrenciesReceived(const QStringList&) override {
        ++outcomes;
    }
    void customCurrenciesQueryCurrenciesCompleted(CCustomCurrenciesWebServiceClient*,
                                                  CCBRCurrenciesInfoPtr r,
                                                  const std::optional<QString>&,
                                                  const std::optional<QByteArray>&) override {
        table(r);
    }
    void customCurrenciesQueryFailed(CCustomCurrenciesWebServiceClient*, const QString&) override {
        ++outcomes;
    }
};

/// Runs one query of `Client` to its end: `start` sends the first request, and each request
/// the client sends is answered with the same body (retries, chunks and second files alike),
/// a bounded number of times. Exactly one outcome is delivered when the client stops asking.
template <class Client, class Start>
void runQuery(const QByteArray& body, Start start, int maximumAnswers = 8,
              const QByteArray& firstAnswer = {}) {
    Sink sink;
    Offline<Client>& client = offline<Client>();
    client.setDelegate(&sink);
    start(client);
    if (!firstAnswer.isNull()) {
        client.answer(firstAnswer);
    }
    int answers = 0;
    while (answers < maximumAnswers && client.answer(body)) {
        ++answers;
    }
    check(client.sent != nullptr || sink.outcomes == 1, "one outcome per finished query");
}

const QStringList kCodes = {QStringLiteral("EUR"), QStringLiteral("GBP"), QStringLiteral("XAU"),
                            QStringLiteral("JPY"), QStringLiteral("CHF"), QStringLiteral("RUB"),
                            QStringLiteral("CNY"), QStringLiteral("SEK"), QStringLiteral("NOK"),
                            QStringLiteral("USD"), QStringLiteral("AUD"), QStringLiteral("XAG")};

void cbrCurrencies(const std::uint8_t* d, std::size_t n) {
    runQuery<CCBRCurrenciesWebServiceClient>(
        bytes(d, n),
        [](auto& c) {
            c.queryCurrenciesForDate(QDateTime(QDate(2013, 3, 12), QTime(12, 0), QTimeZone::utc()));
        },
        1);
}

void cbrMetals(const std::uint8_t* d, std::size_t n) {
    runQuery<CCBRCurrenciesWebServiceClient>(
        bytes(d, n),
        [](auto& c) {
            c.queryCurrenciesForDate(QDateTime(QDate(2013, 3, 12), QTime(12, 0), QTimeZone::utc()));
        },
        1, QByteArrayLiteral("<ValuteData/>"));
}

void ecbDaily(const std::uint8_t* d, std::size_t n) {
    runQuery<CECBCurrenciesWebServiceClient>(
        bytes(d, n), [](auto& c) { c.queryCurrencies(); }, 1);
}

void bankUaCurrencies(const std::uint8_t* d, std::size_t n) {
    runQuery<CBankUaWebServiceClient>(
        bytes(d, n), [](auto& c) { c.queryCurrencies(); }, 1);
}

void bankUaMetals(const std::uint8_t* d, std::size_t n) {
    runQuery<CBankUaWebServiceClient>(
        bytes(d, n), [](auto& c) { c.queryCurrencies(); }, 1, QByteArrayLiteral("<chapter/>"));
}

void yahooQuotes(const std::uint8_t* d, std::size_t n) {
    // As many codes as the answer has lines, so that answers of any length are read through.
    const QByteArray body = bytes(d, n);
    const qsizetype lines = std::min<qsizetype>(body.count("\r\n"), kCodes.size());
    runQuery<CYahooFinanceWebServiceClient>(body, [&](auto& c) {
        c.queryCurrencies(kCodes.mid(0, std::max<qsizetype>(lines, 1)), QStringLiteral("USD"));
    });
}

void payPal(const std::uint8_t* d, std::size_t n) {
    runQuery<CPayPalWebServiceClient>(
        bytes(d, n), [](auto& c) { c.queryCurrencies(kCodes + kCodes, QStringLiteral("EUR")); });
}

void bloombergPage(const std::uint8_t* d, std::size_t n) {
    runQuery<CBloombergCurrencyWebServiceClient>(
        bytes(d, n), [](auto& c) { c.queryCurrencies(); }, 1);
}

void ocbcPage(const std::uint8_t* d, std::size_t n) {
    runQuery<COCBCWebServiceClient>(
        bytes(d, n), [](auto& c) { c.queryCurrencies(); }, 1);
}

void frankfurterRates(const std::uint8_t* d, std::size_t n) {
    const QByteArray body = bytes(d, n);
    runQuery<CFrankfurterWebServiceClient>(
        body, [](auto& c) { c.queryCurrencies(kCodes, QStringLiteral("EUR")); }, 1);
    // A refused query carries the service's explanation in the same kind of body.
    Sink sink;
    Offline<CFrankfurterWebServiceClient>& client = offline<CFrankfurterWebServiceClient>();
    client.setDelegate(&sink);
    client.queryCurrencies(kCodes, QStringLiteral("EUR"));
    client.requestFailed(*client.sent, std::nullopt, HttpResponse{422, {}, {}}, body);
}

void frankfurterCurrencies(const std::uint8_t* d, std::size_t n) {
    Sink sink;
    Offline<CFrankfurterWebServiceClient>& client = offline<CFrankfurterWebServiceClient>();
    client.setDelegate(&sink);
    client.queryAvailableCurrencies();
    client.answer(bytes(d, n));
}

void currencyApi(const std::uint8_t* d, std::size_t n) {
    const QByteArray body = bytes(d, n);
    // An unreadable file moves the query to the fallback host, which answers the same.
    runQuery<CCurrencyApiWebServiceClient>(
        body, [](auto& c) { c.queryCurrencies(QStringLiteral("EUR")); }, 2);
    Sink sink;
    Offline<CCurrencyApiWebServiceClient>& client = offline<CCurrencyApiWebServiceClient>();
    client.setDelegate(&sink);
    client.queryCurrencies();
    client.requestFailed(*client.sent, std::nullopt, HttpResponse{404, {}, {}}, body);
}

void customFeed(const std::uint8_t* d, std::size_t n) {
    // The feed, then its logo (when it names one): the bytes of a tiny image.
    Sink sink;
    Offline<CCustomCurrenciesWebServiceClient>& client =
        offline<CCustomCurrenciesWebServiceClient>();
    client.delegate = &sink;
    client.queryCurrenciesWithUrl(QStringLiteral("http://127.0.0.1:9/feed.xml"));
    client.answer(bytes(d, n));
    client.answer(QByteArrayLiteral("\x89PNG\r\n\x1a\n"));
    check(sink.outcomes == 1, "one outcome per feed query");
}

/// What the chart screen asks of a record, and the archive it is stored as.
void useRecord(const std::optional<CCurrencyChartInfo>& record) {
    if (!record) {
        return;
    }
    for (const CCurrencyChartPoint& point : record->plotPoints) {
        check(isUsablePoint(point), "a record holds usable points only");
    }
    (void)record->getValueRange();
    (void)record->getDateRange();
    const std::optional<CCurrencyChartInfo> stored =
        CCurrencyChartInfo::fromArchiveData(record->toArchiveData());
    check(stored.has_value(), "a record reads back from its archive");
}

/// The period of a chart query, taken from the input's length so every period is seen.
int periodFor(std::size_t size) {
    return static_cast<int>(size % 11);
}

const QTimeZone& berlin() {
    static const QTimeZone zone("Europe/Berlin");
    return zone;
}

/// A central bank's series as its client combines it: inverted alone, or divided by itself.
void combineCentralBankSeries(const CCentralBankChartWebServiceClient::ParsedSeries& parsed,
                              int period) {
    if (parsed.cancelled || parsed.error) {
        return;
    }
    SeriesCombinationInput input;
    input.combination = SeriesCombination::Inverted;
    input.series = parsed.points;
    input.cutToPeriod = true;
    input.chartPeriod = period;
    input.firstCurrencyCode = QStringLiteral("USD");
    input.lastCurrencyCode = QStringLiteral("EUR");
    input.timeZone = berlin();
    useRecord(combineSeries(input, notCancelled));
    input.combination = SeriesCombination::CrossRate;
    input.divisor = parsed.points;
    useRecord(combineSeries(input, notCancelled));
}

void yahooChart(const std::uint8_t* d, std::size_t n) {
    useRecord(CYahooFinanceChartWebServiceClient::getChartInfo(
        bytes(d, n), {QStringLiteral("USD"), QStringLiteral("EUR")}, periodFor(n), berlin()));
}

void bloombergChart(const std::uint8_t* d, std::size_t n) {
    useRecord(CBloombergChartWebServiceClient::getChartInfo(
        bytes(d, n), {QStringLiteral("USD"), QStringLiteral("EUR")}, periodFor(n),
        CBloombergChartWebServiceClient::easternTimeZone()));
}

void frankfurterChart(const std::uint8_t* d, std::size_t n) {
    useRecord(CFrankfurterChartWebServiceClient::getChartInfo(
        bytes(d, n), {QStringLiteral("USD"), QStringLiteral("EUR")}, periodFor(n), berlin()));
}

void ecbChart(const std::uint8_t* d, std::size_t n) {
    combineCentralBankSeries(CECBChartWebServiceClient::parseSeries(bytes(d, n), berlin()),
                             periodFor(n));
}

void cbrChart(const std::uint8_t* d, std::size_t n) {
    // The same answer read as a currency series and as a metal series.
    const QByteArray body = bytes(d, n);
    for (const QString& code : {QStringLiteral("USD"), QStringLiteral("XAU")}) {
        combineCentralBankSeries(CCBRChartWebServiceClient::parseSeries(body, code, berlin()),
                                 periodFor(n));
    }
}

void chartArchive(const std::uint8_t* d, std::size_t n) {
    const std::optional<CCurrencyChartInfo> record =
        CCurrencyChartInfo::fromArchiveData(bytes(d, n));
    if (!record) {
        return;
    }
    (void)record->getValueRange();
    (void)record->getDateRange();
    const std::optional<CCurrencyChartInfo> again =
        CCurrencyChartInfo::fromArchiveData(record->toArchiveData());
    check(again && again->plotPoints.size() == record->plotPoints.size(),
          "a stored record reads back whole");
}

/// A location service that is always there and never moves.
class StillLocation : public LocationService {
public:
    AuthorizationStatus authorizationStatus() const override {
        return AuthorizationStatus::Authorized;
    }
    bool locationServicesEnabled() const override { return true; }
    void startUpdatingLocation() override {}
    void stopUpdatingLocation() override {}
    void stopMonitoringSignificantLocationChanges() override {}
};

void geoNames(const std::uint8_t* d, std::size_t n) {
    // One selector for the run; a fixed answer first puts it in the same state before every
    // input.
    static StillLocation location;
    static NotificationCenter center;
    static CBaseCurrencySelector selector(nullptr, &location, center, endpoints());
    selector.geoNamesAnswered(QByteArrayLiteral("<geonames/>"), HttpResponse{200, {}, {}},
                              std::nullopt);
    selector.geoNamesAnswered(bytes(d, n), HttpResponse{200, {}, {}}, std::nullopt);
}

void decimalText(const std::uint8_t* d, std::size_t n) {
    const std::string_view ascii(reinterpret_cast<const char*>(d), n);
    const QString text = QString::fromUtf8(ascii.data(), static_cast<qsizetype>(n));
    for (const char separator : {'.', ','}) {
        const std::optional<Decimal> a = Decimal::parse(ascii, separator);
        const std::optional<Decimal> u = Decimal::parse(QStringView(text), QChar(separator));
        if (a && u && !a->isNaN()) {
            check(*a == *u, "byte and text readers agree");
        }
        if (a && !a->isNaN()) {
            // The text a value is shown and stored as reads back as the same value.
            const std::optional<Decimal> back = Decimal::parse(QStringView(a->toString()));
            check(back && *back == *a, "a decimal reads back from its text");
            (void)(*a / *a + *a * *a - a->rounded(4)).toString();
        }
    }
}

void percentText(const std::uint8_t* d, std::size_t n) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(d), static_cast<qsizetype>(n)).trimmed();
    const std::optional<Decimal> fee = CRootViewModel::getPercentValueFromText(text);
    if (!fee) {
        return;
    }
    check(!fee->isNaN() && *fee >= Decimal() && *fee <= Decimal::fromInt(100),
          "a fee is a percentage");
    // The fee field shows the stored fee; committing it unchanged must succeed.
    const std::optional<Decimal> again = CRootViewModel::getPercentValueFromText(fee->toString());
    check(again && *again == *fee, "a fee reads back from its text");
}

void feedUrl(const std::uint8_t* d, std::size_t n) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(d), static_cast<qsizetype>(n));
    const std::optional<QString> url = CSettingsEditor::normalizedFeedUrl(text);
    if (!url) {
        return;
    }
    const QUrl parsed(*url, QUrl::StrictMode);
    check(parsed.isValid() && (parsed.scheme() == u"http" || parsed.scheme() == u"https") &&
              !parsed.host().isEmpty(),
          "a registered address is http or https with a host");
    check(CSettingsEditor::normalizedFeedUrl(*url) == url, "a registered address is kept as is");
}

const FuzzTarget kTargets[] = {
    {"cbr_currencies", cbrCurrencies},
    {"cbr_metals", cbrMetals},
    {"ecb_daily", ecbDaily},
    {"bankua_currencies", bankUaCurrencies},
    {"bankua_metals", bankUaMetals},
    {"yahoo_quotes", yahooQuotes},
    {"paypal", payPal},
    {"bloomberg_page", bloombergPage},
    {"ocbc_page", ocbcPage},
    {"frankfurter_rates", frankfurterRates},
    {"frankfurter_currencies", frankfurterCurrencies},
    {"currencyapi", currencyApi},
    {"custom_feed", customFeed},
    {"yahoo_chart", yahooChart},
    {"bloomberg_chart", bloombergChart},
    {"frankfurter_chart", frankfurterChart},
    {"ecb_chart", ecbChart},
    {"cbr_chart", cbrChart},
    {"chart_archive", chartArchive},
    {"geonames", geoNames},
    {"decimal", decimalText},
    {"percent", percentText},
    {"feed_url", feedUrl},
};

}  // namespace

std::span<const FuzzTarget> fuzzTargets() {
    return kTargets;
}

void runFuzzTarget(const FuzzTarget& target, const std::uint8_t* data, std::size_t size) {
    target.run(data, size);
    // What a client hands to the main loop (a retired object, a queued call) runs now, as the
    // loop would run it before the next answer arrives.
    QCoreApplication::sendPostedEvents();
}

void initializeFuzzTargets() {
    if (QCoreApplication::instance() == nullptr) {
        // One application object for the whole run: queued calls and translations live there.
        static int argc = 1;
        static char name[] = "numiva-fuzz";
        static char* argv[] = {name, nullptr};
        static QCoreApplication app(argc, argv);
    }
    qInstallMessageHandler(quiet);
    (void)endpoints();
    (void)berlin();
}
