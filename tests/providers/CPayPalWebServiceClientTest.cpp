#include "Log.h"
#include "ProviderTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

const QString convertPath = QStringLiteral("/AdaptivePayments/ConvertCurrency");

FakeHttpServer::Answer json(const QString& name) {
    return FakeHttpServer::Answer::file(QStringLiteral("paypal/") + name,
                                        "application/json;charset=UTF-8");
}

QStringList split(const char* codes) {
    return QString::fromLatin1(codes).split(u' ');
}

/// 1 / (amount / 1000000), the base-currency value of one unit.
Decimal expectedValue(const char* amount) {
    return Decimal::fromInt(1) /
           (Decimal::fromString(QString::fromLatin1(amount)) / Decimal::fromInt(1000000));
}

class PayPalTest : public CodesQueryTest<CPayPalWebServiceClient> {
protected:
    PayPalTest() {
        Endpoints endpoints = Endpoints::defaults();
        endpoints.setValue(Endpoints::PayPal, server.baseUrl());
        endpoints.setValue(Endpoints::PayPalUserId,
                           QStringLiteral("caller_1312486258_api1.example.com"));
        endpoints.setValue(Endpoints::PayPalPassword, QStringLiteral("K4TQ2WZ7H9RJ3MX5"));
        endpoints.setValue(
            Endpoints::PayPalSignature,
            QStringLiteral("AbtI7HV1xB428VygBUcIhARzxch4AL65.T18CTeylixNNxDZUu0iO87e"));
        endpoints.setValue(Endpoints::PayPalApplicationId, QStringLiteral("APP-80W284485P519543T"));
        makeClient(endpoints);
    }

    /// The codes of each request's chunk, in order.
    QList<QStringList> chunksAsked() const {
        QList<QStringList> chunks;
        for (const FakeHttpServer::Request& request : server.requests()) {
            const QJsonObject body = QJsonDocument::fromJson(request.body).object();
            QStringList codes;
            for (const QJsonValue& code :
                 body[u"convertToCurrencyList"][u"currencyCode"].toArray()) {
                codes.append(code.toString());
            }
            chunks.append(codes);
        }
        return chunks;
    }
};

}  // namespace

TEST_F(PayPalTest, AsksInChunksOfTenAndDeliversOnce) {
    server.answer(convertPath, {json(QStringLiteral("convert-chunk1.json")),
                                json(QStringLiteral("convert-chunk2.json")),
                                json(QStringLiteral("convert-chunk3.json"))});
    const QStringList codes = split(
        "AUD BRL CAD CHF CNY CZK DKK EUR GBP HKD HUF ILS INR JPY MXN MYR NOK NZD PHP PLN RUB SEK "
        "SGD");
    query(codes);
    EXPECT_EQ(chunksAsked(),
              (QList<QStringList>{codes.mid(0, 10), codes.mid(10, 10), codes.mid(20)}));
    ASSERT_EQ(recorder.results.size(), 1);
    const CCBRCurrenciesInfo& table = *recorder.results.first();
    ASSERT_EQ(table.currenciesInfo.size(), 23);
    for (qsizetype i = 0; i < codes.size(); ++i) {
        EXPECT_EQ(table.currenciesInfo[i]->isoTextCode, codes[i]);
        EXPECT_EQ(table.currenciesInfo[i]->nominalValue, 1);
    }
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("EUR")),
              expectedValue("0.77e6"));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("EUR")),
              Decimal::fromInt(1) / Decimal::fromString(u"0.77"));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("JPY")),
              expectedValue("101650000.00"));
}

TEST_F(PayPalTest, SendsTheCredentialsAndTheJsonBody) {
    server.answer(convertPath, json(QStringLiteral("convert-eur-gbp.json")));
    query({QStringLiteral("EUR"), QStringLiteral("GBP")});
    ASSERT_EQ(server.requestCount(), 1);
    const FakeHttpServer::Request request = server.requests().first();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.path, convertPath);
    const QList<QPair<QByteArray, QByteArray>> headers = {
        {"X-PAYPAL-SECURITY-USERID", "caller_1312486258_api1.example.com"},
        {"X-PAYPAL-SECURITY-PASSWORD", "K4TQ2WZ7H9RJ3MX5"},
        {"X-PAYPAL-SECURITY-SIGNATURE", "AbtI7HV1xB428VygBUcIhARzxch4AL65.T18CTeylixNNxDZUu0iO87e"},
        {"X-PAYPAL-APPLICATION-ID", "APP-80W284485P519543T"},
        {"X-PAYPAL-REQUEST-DATA-FORMAT", "JSON"},
        {"X-PAYPAL-RESPONSE-DATA-FORMAT", "JSON"},
    };
    for (const auto& [name, value] : headers) {
        EXPECT_EQ(request.header(name), value) << name.constData();
    }
    const QJsonDocument expected = QJsonDocument::fromJson(R"({
        "baseAmountList": {"currency": {"code": "USD", "amount": 1000000}},
        "convertToCurrencyList": {"currencyCode": ["EUR", "GBP"]},
        "requestEnvelope": {"errorLanguage": "en_us"}
    })");
    ASSERT_FALSE(expected.isNull());
    EXPECT_EQ(QJsonDocument::fromJson(request.body), expected) << request.body.constData();
    // The amount is written as a whole number.
    EXPECT_TRUE(request.body.contains("\"amount\":1000000")) << request.body.constData();
}

TEST_F(PayPalTest, FailureAcknowledgementReportsTheFirstMessage) {
    struct Row {
        QString file;
        QString failure;
    };
    const QList<Row> rows = {
        {QStringLiteral("convert-failure.json"),
         QStringLiteral("Invalid request parameter: currencyCode with value XYZ")},
        // No message, no readable object: the string table's text (its key without a table).
        {QStringLiteral("convert-failure-no-message.json"), QStringLiteral("UnknownPaypalError")},
        {QStringLiteral("convert-unreadable.html"), QStringLiteral("UnknownPaypalError")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file.toStdString());
        recorder = {};
        server.answer(convertPath, json(row.file));
        query({QStringLiteral("EUR"), QStringLiteral("XYZ")});
        EXPECT_EQ(recorder.failures, QStringList{row.failure});
    }
}

TEST_F(PayPalTest, FailureInALaterChunkDropsTheEarlierRows) {
    server.answer(convertPath, {json(QStringLiteral("convert-chunk1.json")),
                                json(QStringLiteral("convert-failure.json"))});
    query(split("AUD BRL CAD CHF CNY CZK DKK EUR GBP HKD XYZ"));
    EXPECT_TRUE(recorder.results.isEmpty());
    EXPECT_EQ(recorder.failures.size(), 1);
    EXPECT_EQ(server.requestCount(), 2);
}

TEST_F(PayPalTest, ChunkWithoutRowsIsAskedAgainBoundedly) {
    server.answer(convertPath, json(QStringLiteral("convert-empty.json")));
    query({QStringLiteral("EUR"), QStringLiteral("GBP")});
    EXPECT_EQ(recorder.failures,
              QStringList{QStringLiteral("PayPal answered no rates for EUR, GBP.")});
    EXPECT_EQ(server.requestCount(), 1 + CPayPalWebServiceClient::maximumEmptyChunkRetries);

    recorder = {};
    server.clearRequests();
    server.answer(convertPath, {json(QStringLiteral("convert-empty.json")),
                                json(QStringLiteral("convert-eur-gbp.json"))});
    query({QStringLiteral("EUR"), QStringLiteral("GBP")});
    ASSERT_EQ(recorder.results.size(), 1);
    EXPECT_EQ(recorder.results.first()->currenciesInfo.size(), 2);
    EXPECT_EQ(server.requestCount(), 2);
}

TEST_F(PayPalTest, AmountOfZeroIsSkipped) {
    server.answer(convertPath, json(QStringLiteral("convert-eur-zero.json")));
    query({QStringLiteral("EUR"), QStringLiteral("XAU")});
    ASSERT_EQ(recorder.results.size(), 1);
    const CCBRCurrenciesInfo& table = *recorder.results.first();
    ASSERT_EQ(table.currenciesInfo.size(), 1);
    EXPECT_EQ(table.currenciesInfo[0]->isoTextCode, QStringLiteral("EUR"));
    EXPECT_EQ(table.currenciesInfo[0]->saleValue, expectedValue("770000.00"));
    EXPECT_EQ(server.requestCount(), 1);
}

TEST_F(PayPalTest, NumericAmountsAreReadFromTheirDigits) {
    server.answer(convertPath, json(QStringLiteral("convert-number-amounts.json")));
    query({QStringLiteral("EUR"), QStringLiteral("JPY")});
    ASSERT_EQ(recorder.results.size(), 1);
    const CCBRCurrenciesInfo& table = *recorder.results.first();
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("EUR")),
              Decimal::fromInt(1) / Decimal::fromString(u"0.770000125"));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("JPY")),
              Decimal::fromInt(1) / Decimal::fromString(u"101.65"));
}

TEST_F(PayPalTest, HttpFailureIsLoggedAndReportedWithTheStatus) {
    server.answer(convertPath, FakeHttpServer::Answer::text("busy", 503));
    LogCapture log;
    query({QStringLiteral("EUR")});
    EXPECT_EQ(recorder.failures, QStringList{QStringLiteral("503 Service Unavailable")});
    EXPECT_EQ(log.lines(), QStringList{failureLogLine("PayPal", "Service Unavailable", "busy")});
}
