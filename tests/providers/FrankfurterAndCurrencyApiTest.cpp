// The two account-free JSON providers: Frankfurter's rates array and the exchange-api daily
// files, with the fallback host of the latter.
#include "CCurrencyApiWebServiceClient.h"
#include "CFrankfurterWebServiceClient.h"
#include "Localization.h"
#include "ProviderTestSupport.h"

#include <QTimeZone>

namespace {

/// What either client told its delegate.
class JsonRecorder : public CFrankfurterWebServiceClientDelegate,
                     public CCurrencyApiWebServiceClientDelegate {
public:
    QList<CCBRCurrenciesInfoPtr> results;
    QStringList failures;
    int calls() const { return static_cast<int>(results.size() + failures.size()); }

    void frankfurterQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr r) override {
        results.append(r);
    }
    void frankfurterQueryFailedWithErrorDescription(const QString& d) override {
        failures.append(d);
    }
    void currencyApiQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr r) override {
        results.append(r);
    }
    void currencyApiQueryFailedWithErrorDescription(const QString& d) override {
        failures.append(d);
    }
};

/// "CODE value-per-unit" lines, the value being what one unit costs in US dollars.
QStringList rows(const CCBRCurrenciesInfo& table) {
    QStringList lines;
    for (const CCBRCurrencyInfoPtr& row : table.currenciesInfo) {
        lines.append(row->isoTextCode + u' ' + row->saleValueForCurrency().toString());
    }
    return lines;
}

QString per(const char* code, const char* rate) {
    const Decimal inverse = Decimal::fromInt(1) / Decimal::fromString(QString::fromLatin1(rate));
    return QString::fromLatin1(code) + u' ' + inverse.toString();
}

template <class Client, class Start>
JsonRecorder run(FakeHttpServer& server, const Endpoints& endpoints, const Start& start) {
    JsonRecorder recorder;
    Client client(endpoints);
    client.setDelegate(&recorder);
    start(client);
    EXPECT_TRUE(QTest::qWaitFor([&] { return recorder.calls() > 0; }, 10000));
    QTest::qWait(20);  // nothing else may follow
    EXPECT_EQ(recorder.calls(), 1);
    (void)server;
    return recorder;
}

struct AnswerCase {
    const char* name;
    FakeHttpServer::Answer answer;
    QStringList expected;  // rows, or the failure text when `fails`
    bool fails = false;
};

const QStringList asked = QStringLiteral("USD EUR GBP JPY CHF SEK IDR NOK CAD AUD KWD").split(u' ');

class FrankfurterAnswers : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(FrankfurterAnswers, BecomeOneDollarTablesOrTheServicesMessage) {
    FakeHttpServer server;
    server.answer(QStringLiteral("/v2/rates"), GetParam().answer);
    Endpoints endpoints;
    endpoints.setValue(Endpoints::Frankfurter, server.baseUrl());
    endpoints.setValue(Endpoints::FrankfurterProviders, QStringLiteral("ECB,BOC"));
    const JsonRecorder r = run<CFrankfurterWebServiceClient>(server, endpoints, [](auto& client) {
        client.queryCurrencies(asked, QStringLiteral("USD"));
    });

    const FakeHttpServer::Request request = server.requests().value(0);
    EXPECT_EQ(request.queryValues(QStringLiteral("base")), QStringList{QStringLiteral("USD")});
    EXPECT_EQ(request.queryValues(QStringLiteral("quotes")), QStringList{asked.mid(1).join(u',')});
    EXPECT_EQ(request.queryValues(QStringLiteral("providers")),
              QStringList{QStringLiteral("ECB,BOC")});
    if (GetParam().fails) {
        ASSERT_EQ(r.failures.size(), 1);
        EXPECT_TRUE(r.failures[0].startsWith(GetParam().expected.first()))
            << r.failures[0].toStdString();
        return;
    }
    ASSERT_EQ(r.results.size(), 1);
    EXPECT_EQ(rows(*r.results[0]), GetParam().expected);
}

FakeHttpServer::Answer frankfurter(const char* file, int status = 200) {
    FakeHttpServer::Answer answer = FakeHttpServer::Answer::file(
        QStringLiteral("frankfurter/") + QLatin1String(file), "application/json");
    answer.status = status;
    return answer;
}

INSTANTIATE_TEST_SUITE_P(
    Table, FrankfurterAnswers,
    ::testing::Values(
        AnswerCase{"Rates",
                   frankfurter("rates-usd.json"),
                   {"USD 1", per("EUR", "0.85874"), per("GBP", "0.75108"), per("JPY", "155.31")}},
        // Exponent forms read exactly; zero, negative, text and null rates, codes that are no
        // codes, other bases and undated rows are left out; the first row of a code wins.
        AnswerCase{"BadValuesAndUnknownCodes",
                   frankfurter("rates-odd.json"),
                   {"USD 1", per("EUR", "0.85874"), per("IDR", "16655"), per("CAD", "1.3981"),
                    per("KWD", "0.30871186")}},
        AnswerCase{"EmptyArray", frankfurter("rates-empty.json"), {"USD 1"}},
        AnswerCase{"Refused422",
                   frankfurter("error-422.json", 422),
                   {"invalid quote currency: XYZ (422 Unprocessable"},
                   true},
        AnswerCase{"NotJson",
                   FakeHttpServer::Answer::text("<html>Gateway</html>"),
                   {Localization::localizedString(QStringLiteral("FrankfurterInvalidAnswer"))},
                   true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Frankfurter, RowsCarryThePublicationDayAndTheCodeListIsRead) {
    const CCBRCurrenciesInfoPtr table = CFrankfurterWebServiceClient::currenciesInfoFromAnswer(
        FakeHttpServer::testData(QStringLiteral("frankfurter/rates-usd.json")),
        QStringLiteral("USD"), {});
    ASSERT_TRUE(table);
    EXPECT_EQ(table->currencyDate, QDateTime(QDate(2026, 12, 4), QTime(0, 0), QTimeZone::utc()));
    EXPECT_EQ(table->findCurrencyInfoWithTextCode(QStringLiteral("JPY"))->actualDate.date(),
              QDate(2026, 12, 3));
    EXPECT_EQ(CFrankfurterWebServiceClient::currencyCodesFromAnswer(
                  FakeHttpServer::testData(QStringLiteral("frankfurter/currencies.json"))),
              QStringLiteral("EUR USD GEL").split(u' '));
    EXPECT_TRUE(CFrankfurterWebServiceClient::currencyCodesFromAnswer("{}").isEmpty());
}

TEST(CurrencyApi, KeepsIsoCodesAndMetalsReadExactly) {
    const auto table = [](const char* file) {
        return CCurrencyApiWebServiceClient::currenciesInfoFromAnswer(
            FakeHttpServer::testData(QStringLiteral("currencyapi/") + QLatin1String(file)),
            QStringLiteral("USD"));
    };
    // Crypto-currencies, the offshore yuan and the schilling go; the date dates every row.
    const CCBRCurrenciesInfoPtr real = table("usd.json");
    ASSERT_TRUE(real);
    EXPECT_EQ(rows(*real), (QStringList{per("EUR", "0.88022588"), per("GBP", "0.75538854"),
                                        per("IDR", "18016.34310713"), per("JPY", "157.47729333"),
                                        per("KWD", "0.30871186"), "USD 1",
                                        per("XAG", "0.016496894"), per("XAU", "0.0002421835")}));
    EXPECT_EQ(real->currenciesInfo.first()->actualDate.date(), QDate(2026, 9, 29));
    const CCBRCurrenciesInfoPtr odd = table("usd-odd.json");
    ASSERT_TRUE(odd);
    EXPECT_EQ(rows(*odd),
              (QStringList{"USD 1", per("EUR", "0.88022588"), per("XAU", "0.0002421835")}));
    EXPECT_FALSE(table("captive.html"));
}

struct HostCase {
    const char* name;
    FakeHttpServer::Answer primary;
    FakeHttpServer::Answer fallback;
    int requests;
    const char* failure;  // null: the fallback's table arrives
};

class CurrencyApiHosts : public ::testing::TestWithParam<HostCase> {};

TEST_P(CurrencyApiHosts, AFailingCdnIsAnsweredByTheFallbackInTheSameQuery) {
    const HostCase& c = GetParam();
    FakeHttpServer server;
    server.answer(QStringLiteral("/cdn/v1/currencies/usd.json"), c.primary);
    server.answer(QStringLiteral("/pages/v1/currencies/usd.json"), c.fallback);
    Endpoints endpoints;
    endpoints.setValue(Endpoints::CurrencyApi, server.url(QStringLiteral("/cdn")));
    endpoints.setValue(Endpoints::CurrencyApiFallback, server.url(QStringLiteral("/pages/")));
    const JsonRecorder r = run<CCurrencyApiWebServiceClient>(
        server, endpoints, [](auto& client) { client.queryCurrencies(); });
    EXPECT_EQ(server.requestCount(), c.requests);
    if (c.failure != nullptr) {
        ASSERT_EQ(r.failures.size(), 1);
        EXPECT_EQ(r.failures[0], QString::fromUtf8(c.failure));
    } else {
        ASSERT_EQ(r.results.size(), 1);
        EXPECT_EQ(r.results[0]->currenciesInfo.size(), 8);
    }
}

FakeHttpServer::Answer usdFile() {
    return FakeHttpServer::Answer::file(QStringLiteral("currencyapi/usd.json"), "application/json");
}

INSTANTIATE_TEST_SUITE_P(
    Table, CurrencyApiHosts,
    ::testing::Values(
        HostCase{"PrimaryAnswers", usdFile(), FakeHttpServer::Answer::text("", 500), 1, nullptr},
        HostCase{"PrimaryDown", FakeHttpServer::Answer::text("", 503), usdFile(), 2, nullptr},
        HostCase{"PrimaryUnreadable",
                 FakeHttpServer::Answer::file(QStringLiteral("currencyapi/captive.html")),
                 usdFile(), 2, nullptr},
        HostCase{"BothFail", FakeHttpServer::Answer::text("", 503),
                 FakeHttpServer::Answer::text("Couldn't find the requested file.", 404), 2,
                 "503 Service Unavailable\nCouldn't find the requested file. (404 Not Found)"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
