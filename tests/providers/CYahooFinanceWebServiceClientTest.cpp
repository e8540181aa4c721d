#include "Log.h"
#include "ProviderTestSupport.h"

namespace {

const QString quotesPath = QStringLiteral("/d/quotes.csv");

FakeHttpServer::Answer csv(const QString& name) {
    return FakeHttpServer::Answer::file(QStringLiteral("yahoo/") + name,
                                        "application/octet-stream");
}

class YahooTest : public CodesQueryTest<CYahooFinanceWebServiceClient> {
protected:
    YahooTest() {
        Endpoints endpoints = Endpoints::defaults();
        endpoints.setValue(Endpoints::YahooQuotes, server.baseUrl());
        makeClient(endpoints);
    }

    /// The "s" values of each request, in order.
    QList<QStringList> pairsAsked() const {
        QList<QStringList> pairs;
        for (const FakeHttpServer::Request& request : server.requests()) {
            EXPECT_EQ(request.method, "GET");
            EXPECT_EQ(request.path, quotesPath);
            EXPECT_EQ(request.queryValues(QStringLiteral("f")), QStringList{QStringLiteral("l1")});
            pairs.append(request.queryValues(QStringLiteral("s")));
        }
        return pairs;
    }

    Decimal value(const QString& code) const {
        return recorder.results.first()->saleValueForCurrencyWithTextCode(code);
    }
};

}  // namespace

TEST_F(YahooTest, RequestParametersPutInvertedPairsBaseFirst) {
    EXPECT_EQ(client->getRequestParametersForCurrencies(
                  {QStringLiteral("EUR"), QStringLiteral("XAU")}, QStringLiteral("USD")),
              QStringLiteral("&s=EURUSD=X&s=XAUUSD=X"));
    EXPECT_EQ(client->getRequestParametersForCurrencies({}, QStringLiteral("USD")), QString());
}

TEST_F(YahooTest, DeliversOneRowPerLineInRequestOrder) {
    server.answer(quotesPath, csv(QStringLiteral("eur-jpy.csv")));
    query({QStringLiteral("EUR"), QStringLiteral("JPY")});
    ASSERT_EQ(recorder.results.size(), 1);
    const CCBRCurrenciesInfo& table = *recorder.results.first();
    ASSERT_EQ(table.currenciesInfo.size(), 2);
    EXPECT_EQ(table.currenciesInfo[0]->isoTextCode, QStringLiteral("EUR"));
    EXPECT_EQ(table.currenciesInfo[0]->saleValue, Decimal::fromString(u"1.3"));
    EXPECT_EQ(table.currenciesInfo[0]->nominalValue, 1);
    EXPECT_EQ(table.currenciesInfo[1]->isoTextCode, QStringLiteral("JPY"));
    EXPECT_EQ(table.currenciesInfo[1]->saleValue, Decimal::fromString(u"0.0106"));
    EXPECT_EQ(table.currenciesInfo[1]->nominalValue, 1);
    EXPECT_EQ(server.requests().first().target,
              QStringLiteral("/d/quotes.csv?f=l1&s=EURUSD=X&s=JPYUSD=X"));
}

TEST_F(YahooTest, LineCountMustMatchTheRequestedCodes) {
    struct Row {
        QString file;
        QStringList codes;
    };
    const QList<Row> rows = {
        {QStringLiteral("eur-jpy-unterminated.csv"),
         {QStringLiteral("EUR"), QStringLiteral("JPY")}},
        {QStringLiteral("eur-jpy-one-line.csv"), {QStringLiteral("EUR"), QStringLiteral("JPY")}},
        {QStringLiteral("eur-jpy.csv"),
         {QStringLiteral("EUR"), QStringLiteral("JPY"), QStringLiteral("GBP")}},
        {QStringLiteral("eur-jpy.csv"), {QStringLiteral("EUR")}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file.toStdString() + " for " + row.codes.join(u',').toStdString());
        recorder = {};
        server.answer(quotesPath, csv(row.file));
        query(row.codes);
        EXPECT_EQ(recorder.failures, QStringList{QStringLiteral("Invalid Yahoo Finance response")});
    }
}

TEST_F(YahooTest, BaseAmongTheCodesIsOne) {
    server.answer(quotesPath, csv(QStringLiteral("eur-usd.csv")));
    query({QStringLiteral("EUR"), QStringLiteral("USD")});
    ASSERT_EQ(recorder.results.size(), 1);
    EXPECT_EQ(value(QStringLiteral("USD")), Decimal::fromInt(1));
    EXPECT_EQ(value(QStringLiteral("EUR")), Decimal::fromString(u"1.3"));
}

TEST_F(YahooTest, ZeroQuoteIsAskedAgainInverted) {
    server.answer(quotesPath, {csv(QStringLiteral("eur-xau-zero.csv")),
                               csv(QStringLiteral("eur-xau-inverted.csv"))});
    query({QStringLiteral("EUR"), QStringLiteral("XAU")});
    ASSERT_EQ(recorder.results.size(), 1);
    EXPECT_EQ(pairsAsked(), (QList<QStringList>{
                                {QStringLiteral("EURUSD=X"), QStringLiteral("XAUUSD=X")},
                                {QStringLiteral("EURUSD=X"), QStringLiteral("USDXAU=X")},
                            }));
    EXPECT_EQ(value(QStringLiteral("XAU")), Decimal::fromInt(1600));
    EXPECT_EQ(value(QStringLiteral("EUR")), Decimal::fromString(u"1.3"));
    EXPECT_TRUE(client->invertedCurrencies().isEmpty());
}

TEST_F(YahooTest, ZeroInBothDirectionsLeavesTheCodeOut) {
    server.answer(quotesPath, csv(QStringLiteral("eur-xau-zero.csv")));
    LogCapture log;
    query({QStringLiteral("EUR"), QStringLiteral("XAU")});
    ASSERT_EQ(recorder.results.size(), 1);
    EXPECT_EQ(server.requestCount(), 2);
    const CCBRCurrenciesInfo& table = *recorder.results.first();
    ASSERT_EQ(table.currenciesInfo.size(), 1);
    EXPECT_EQ(table.currenciesInfo[0]->isoTextCode, QStringLiteral("EUR"));
    EXPECT_TRUE(value(QStringLiteral("XAU")).isNaN());
    EXPECT_EQ(log.lines(),
              QStringList{QStringLiteral("Invalid Yahoo currency rates: zero value for XAU")});
}

TEST_F(YahooTest, OutOfRangeRetriesAreBounded) {
    server.answer(quotesPath, csv(QStringLiteral("eur-xau-out-of-range.csv")));
    query({QStringLiteral("EUR"), QStringLiteral("XAU")});
    EXPECT_EQ(recorder.failures, QStringList{QStringLiteral("Invalid Yahoo currency rates")});
    EXPECT_EQ(server.requestCount(), 1 + CYahooFinanceWebServiceClient::maximumRetries);

    // A new query starts with a fresh allowance: one out-of-range answer restarts it.
    recorder = {};
    server.clearRequests();
    server.answer(quotesPath, {csv(QStringLiteral("eur-xau-out-of-range.csv")),
                               csv(QStringLiteral("eur-xau.csv"))});
    LogCapture log;
    query({QStringLiteral("EUR"), QStringLiteral("XAU")});
    ASSERT_EQ(recorder.results.size(), 1);
    EXPECT_EQ(server.requestCount(), 2);
    EXPECT_EQ(value(QStringLiteral("XAU")), Decimal::fromString(u"1600.25"));
    EXPECT_EQ(log.lines(), QStringList{QStringLiteral("Invalid Yahoo currency rates")});
}

TEST_F(YahooTest, RestartAfterOutOfRangeKeepsTheInvertedPairs) {
    server.answer(quotesPath, {csv(QStringLiteral("xau-eur-zero.csv")),
                               csv(QStringLiteral("xau-eur-inverted-out-of-range.csv")),
                               csv(QStringLiteral("xau-eur-inverted.csv"))});
    query({QStringLiteral("XAU"), QStringLiteral("EUR")});
    ASSERT_EQ(recorder.results.size(), 1);
    EXPECT_EQ(pairsAsked(), (QList<QStringList>{
                                {QStringLiteral("XAUUSD=X"), QStringLiteral("EURUSD=X")},
                                {QStringLiteral("USDXAU=X"), QStringLiteral("EURUSD=X")},
                                {QStringLiteral("USDXAU=X"), QStringLiteral("EURUSD=X")},
                            }));
    EXPECT_EQ(value(QStringLiteral("XAU")), Decimal::fromInt(1600));
}

TEST_F(YahooTest, UnreadableValueBecomesNoRate) {
    server.answer(quotesPath, csv(QStringLiteral("xau-not-available.csv")));
    query({QStringLiteral("XAU")});
    ASSERT_EQ(recorder.results.size(), 1);
    EXPECT_TRUE(value(QStringLiteral("XAU")).isNaN());
}

TEST_F(YahooTest, TransportFailureReportsAndForgetsInvertedPairs) {
    server.answer(quotesPath, {csv(QStringLiteral("eur-xau-zero.csv")),
                               FakeHttpServer::Answer::text("Service Unavailable", 503)});
    LogCapture log;
    query({QStringLiteral("EUR"), QStringLiteral("XAU")});
    EXPECT_EQ(recorder.failures, QStringList{QStringLiteral("503 Service Unavailable")});
    EXPECT_TRUE(client->invertedCurrencies().isEmpty());
    EXPECT_EQ(log.lines(), QStringList{failureLogLine("Yahoo finance", "Service Unavailable",
                                                      "Service Unavailable")});
}
