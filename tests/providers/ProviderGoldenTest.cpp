// Every built-in rate provider against its recorded answers: one test body runs the cases of
// tests/data/<folder>/expected.txt for each provider row below.
//
// Adding a provider:
//   1. put its recorded answers under tests/data/<folder>/;
//   2. give RecordingProviderDelegate (ProviderTestSupport.h) a NUMIVA_RECORD_OUTCOMES line for
//      the client's two delegate calls;
//   3. add a row to `providers()` below: the folder, how a request names the answer it wants
//      (`slotByFile` serves by the last path segment) and how the query starts;
//   4. write the cases into tests/data/<folder>/expected.txt (only the part above "--"), run
//      `NUMIVA_UPDATE_GOLDEN=1 build/tests/providers_tests --gtest_filter='ProviderGolden*'`
//      and read the recorded outcome it wrote before committing it.
//
// expected.txt holds cases in the form GoldenCases.h describes; the outcome is "> " request
// lines, one "CODE isoCode nominal value name" line per table row, "date ...", "failed: ...",
// "log: ..." (line breaks as \r and \n).
#include "GoldenCases.h"
#include "Log.h"
#include "ProviderTestSupport.h"

#include <QUrl>

#include <functional>

namespace {

using Start = std::function<std::shared_ptr<void>(const Endpoints&, RecordingProviderDelegate&,
                                                  const QStringList& arguments)>;
using Slot = std::function<QString(const FakeHttpServer::Request&)>;

struct Provider {
    const char* folder;
    Slot slot;
    Start start;
};

QString slotByFile(const FakeHttpServer::Request& request) {
    return request.path.section(u'/', -1);
}

template <class Client>
std::shared_ptr<Client> make(const Endpoints& endpoints, RecordingProviderDelegate& delegate) {
    auto client = std::make_shared<Client>(endpoints);
    client->setDelegate(&delegate);
    return client;
}

/// Clients that fetch everything they offer.
template <class Client>
Start plainQuery() {
    return [](const Endpoints& endpoints, RecordingProviderDelegate& delegate, const QStringList&) {
        auto client = make<Client>(endpoints, delegate);
        client->queryCurrencies();
        return std::shared_ptr<void>(client);
    };
}

/// Clients asked for codes relative to a base: "query EUR,JPY [base]".
template <class Client>
Start codesQuery() {
    return [](const Endpoints& endpoints, RecordingProviderDelegate& delegate,
              const QStringList& arguments) {
        auto client = make<Client>(endpoints, delegate);
        client->queryCurrencies(arguments.value(0).split(u','),
                                arguments.value(1, QStringLiteral("USD")));
        return std::shared_ptr<void>(client);
    };
}

const QList<Provider>& providers() {
    static const QList<Provider> rows = {
        // The bank's two SOAP operations share one address and differ in their action; the
        // query's day is "query 2013-03-12T10:30:00" (that day when not given).
        {"cbr",
         [](const FakeHttpServer::Request& request) {
             return QString::fromUtf8(request.header("SOAPAction").split('/').last());
         },
         [](const Endpoints& endpoints, RecordingProviderDelegate& delegate,
            const QStringList& arguments) {
             auto client = make<CCBRCurrenciesWebServiceClient>(endpoints, delegate);
             client->queryCurrenciesForDate(QDateTime::fromString(
                 arguments.value(0, QStringLiteral("2013-03-12T10:30:00")), Qt::ISODate));
             return std::shared_ptr<void>(client);
         }},
        {"ecb", slotByFile, plainQuery<CECBCurrenciesWebServiceClient>()},
        {"bankua", slotByFile, plainQuery<CBankUaWebServiceClient>()},
        {"bloomberg", slotByFile, plainQuery<CBloombergCurrencyWebServiceClient>()},
        {"ocbc", slotByFile, plainQuery<COCBCWebServiceClient>()},
        {"yahoo", slotByFile, codesQuery<CYahooFinanceWebServiceClient>()},
        {"paypal", slotByFile, codesQuery<CPayPalWebServiceClient>()},
        {"frankfurter", slotByFile, codesQuery<CFrankfurterWebServiceClient>()},
        // The daily files come from a CDN or, when it fails, from the fallback host: "cdn" or
        // "pages".
        {"currencyapi",
         [](const FakeHttpServer::Request& request) {
             return request.path.contains(u'@') ? QStringLiteral("cdn") : QStringLiteral("pages");
         },
         [](const Endpoints& endpoints, RecordingProviderDelegate& delegate, const QStringList&) {
             auto client = make<CCurrencyApiWebServiceClient>(endpoints, delegate);
             client->queryCurrencies();
             return std::shared_ptr<void>(client);
         }},
    };
    return rows;
}

/// Every bundled service address moved to `server`, keeping its path, with made-up accounts.
Endpoints endpointsAt(const FakeHttpServer& server) {
    Endpoints endpoints = Endpoints::defaults();
    for (const auto& [key, value] : endpoints.values().asKeyValueRange()) {
        const QUrl url(value);
        if (key != Endpoints::CbrNamespace && url.scheme().startsWith(QLatin1String("http"))) {
            endpoints.setValue(key, server.baseUrl() + url.path());
        }
    }
    endpoints.setValue(Endpoints::PayPalUserId, QStringLiteral("caller_api1.example.com"));
    endpoints.setValue(Endpoints::PayPalPassword, QStringLiteral("K4TQ2WZ7H9RJ3MX5"));
    endpoints.setValue(Endpoints::PayPalSignature, QStringLiteral("AbtI7HV1xB428Vyg"));
    endpoints.setValue(Endpoints::PayPalApplicationId, QStringLiteral("APP-80W284485P519543T"));
    endpoints.setValue(Endpoints::FrankfurterProviders, QStringLiteral("ECB,BOC"));
    return endpoints;
}

/// Runs one case to its single outcome and describes everything observable about it.
QStringList run(const Provider& provider, const golden::Case& testCase) {
    FakeHttpServer server;
    golden::serve(server, QString::fromLatin1(provider.folder), testCase, provider.slot);
    const QStringList arguments = testCase.arguments();

    LogCapture log;
    RecordingProviderDelegate delegate;
    QStringList outcome;
    {
        const std::shared_ptr<void> client =
            provider.start(endpointsAt(server), delegate, arguments);
        if (!delegate.waitForCall()) {
            return {QStringLiteral("no outcome")};
        }
    }
    outcome += golden::describeRequests(server);

    if (delegate.calls() != 1 || !delegate.allOnMainThread) {
        outcome.append(QStringLiteral("calls: %1 on the main thread: %2")
                           .arg(delegate.calls())
                           .arg(delegate.allOnMainThread));
    }
    for (const CCBRCurrenciesInfoPtr& table : delegate.results) {
        for (const CCBRCurrencyInfoPtr& row : table->currenciesInfo) {
            outcome.append(
                QStringLiteral("%1 %2 %3 %4 %5")
                    .arg(row->isoTextCode)
                    .arg(row->isoCode)
                    .arg(row->nominalValue)
                    .arg(row->saleValue.toString(), row->displayName.trimmed())
                    .trimmed() +
                // A row dated otherwise than its table says so ("now": the fetch).
                (row->actualDate.isValid() && qAbs(row->actualDate.secsTo(table->currencyDate)) > 60
                     ? QStringLiteral(" (%1)").arg(
                           qAbs(row->actualDate.secsTo(QDateTime::currentDateTime())) < 3600
                               ? QStringLiteral("now")
                               : row->actualDate.toString(Qt::ISODate))
                     : QString()));
        }
        // A table without a date of its own is dated when it is made.
        const QDateTime date = table->currencyDate;
        outcome.append(QStringLiteral("date ") +
                       (!date.isValid() ? QStringLiteral("none")
                        : qAbs(date.secsTo(QDateTime::currentDateTime())) < 3600
                            ? QStringLiteral("now")
                            : date.toString(Qt::ISODate)));
    }
    outcome = golden::describeEnd(outcome, delegate.failures, log.lines(), server);
    return outcome;
}

class ProviderGolden : public ::testing::TestWithParam<Provider> {};

TEST_P(ProviderGolden, RecordedAnswersGiveTheExpectedTables) {
    const Provider& provider = GetParam();
    golden::expectGolden(QStringLiteral(NUMIVA_TEST_DATA "/%1/expected.txt").arg(provider.folder),
                         [&](const golden::Case& testCase) { return run(provider, testCase); });
}

INSTANTIATE_TEST_SUITE_P(Providers, ProviderGolden, ::testing::ValuesIn(providers()),
                         [](const ::testing::TestParamInfo<Provider>& info) {
                             return std::string(info.param.folder);
                         });

}  // namespace
