#include "CBloombergCurrencyWebServiceClient.h"
#include "COCBCWebServiceClient.h"
#include "Localization.h"
#include "Log.h"
#include "ProviderTestSupport.h"

namespace {

const QString bloombergPath = QStringLiteral("/personal-finance/calculators/currency-converter");
const QString ocbcPath = QStringLiteral("/rates/daily_price_fx.html");
/// The text for a page of the wrong shape, whatever string table is loaded.
QString invalidDataFormat() {
    return Localization::localizedString(QStringLiteral("InvalidDataFormat"));
}

FakeHttpServer::Answer page(const QString& relativePath) {
    return FakeHttpServer::Answer::file(relativePath, "text/html; charset=utf-8");
}

QueryRun bloomberg(FakeHttpServer& server, const FakeHttpServer::Answer& answer) {
    return queryAnswering<CBloombergCurrencyWebServiceClient>(server, bloombergPath, answer);
}

QueryRun ocbc(FakeHttpServer& server, const FakeHttpServer::Answer& answer) {
    return queryAnswering<COCBCWebServiceClient>(server, ocbcPath, answer);
}

}  // namespace

TEST(CBloombergCurrencyWebServiceClient, GetsTheConverterPageAndReadsItsScriptBlock) {
    FakeHttpServer server;
    const QueryRun run =
        bloomberg(server, page(QStringLiteral("bloomberg/currency-converter.html")));
    const QList<FakeHttpServer::Request> requests = server.requests();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests.first().method, "GET");
    EXPECT_EQ(requests.first().target, bloombergPath);
    ASSERT_EQ(run.settings.size(), 1);
    EXPECT_EQ(run.settings.first().cachePolicy, HttpCachePolicy::UseProtocolCachePolicy);

    ASSERT_EQ(run.delegate.results.size(), 1);
    EXPECT_TRUE(run.delegate.allOnMainThread);
    const CCBRCurrenciesInfo& table = *run.delegate.results.first();
    EXPECT_EQ(codes(table), QStringList({"USD", "EUR", "GBP", "JPY", "CHF", "CAD", "AUD", "RUB",
                                         "CNY", "HKD", "SGD", "INR", "UAH", "TRY", "BRL", "MXN"}));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("USD")), Decimal::fromInt(1));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("EUR")), inverse("0.7672"));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("JPY")), inverse("96.05"));
    for (const CCBRCurrencyInfoPtr& row : table.currenciesInfo) {
        EXPECT_EQ(row->nominalValue, 1);
    }
}

TEST(CBloombergCurrencyWebServiceClient, SkipsZeroAndFourLetterEntriesOnEachQuery) {
    FakeHttpServer server;
    const QueryRun run = bloomberg(server, page(QStringLiteral("bloomberg/eur-gbp-abcd.html")));
    ASSERT_EQ(run.delegate.results.size(), 1);
    const CCBRCurrenciesInfo& table = *run.delegate.results.first();
    ASSERT_EQ(codes(table), QStringList{"EUR"});
    EXPECT_EQ(table.currenciesInfo.first()->saleValue, inverse("0.77"));
    EXPECT_EQ(table.currenciesInfo.first()->nominalValue, 1);
    expectAFreshTablePerQuery<CBloombergCurrencyWebServiceClient>(server, {"EUR"});
}

TEST(CBloombergCurrencyWebServiceClient, StatementShapes) {
    struct Row {
        const char* statement;
        const char* code;  // nullptr: no row
        const char* number = nullptr;
    };
    const QList<Row> rows = {
        {"price['EUR:CUR'] = 0.77", "EUR", "0.77"},
        {"\n price['GBP:CUR']=0.6703 \r\n", "GBP", "0.6703"},
        {"price['EUR:CUR'] = 0", nullptr},
        {"price['EUR:CUR'] = -0.77", nullptr},
        {"price['EUR:CUR'] = ", nullptr},
        {"price['EUR:CUR'] = 0.77x", nullptr},
        {"price['EUR:CUR'] == 0.77", nullptr},
        {"price['ABCD:CUR'] = 1.5", nullptr},
        {"price['EU:CUR'] = 1.5", nullptr},
        {"price = new Object()", nullptr},
        {"", nullptr},
        {"price['XAU:CUR'] = 1e-7000", nullptr},
        {"price['EUR:CUR'] = 99999999999999999999999999999999999999999999", "EUR",
         "99999999999999999999999999999999999999999999"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.statement);
        CBloombergCurrencyWebServiceClient client(Endpoints{});
        client.parseCurrencyDataLine(QString::fromUtf8(row.statement));
        const CCBRCurrenciesInfo& table = *client.currenciesInfo();
        if (row.code == nullptr) {
            EXPECT_TRUE(table.currenciesInfo.isEmpty()) << describe(table).join('|').toStdString();
        } else {
            ASSERT_EQ(table.currenciesInfo.size(), 1);
            EXPECT_EQ(table.currenciesInfo.first()->isoTextCode, QString::fromLatin1(row.code));
            EXPECT_EQ(table.currenciesInfo.first()->saleValue, inverse(row.number));
        }
    }
}

TEST(CBloombergCurrencyWebServiceClient, PagesOfTheWrongShapeAndHttpFailures) {
    struct Row {
        FakeHttpServer::Answer answer;
        QStringList codes;  // when the query succeeds
        QString failure = {};
        QStringList log = {};  // checked when not empty
    };
    const QList<Row> rows = {
        {page(QStringLiteral("bloomberg/no-end-marker.html")), {}, invalidDataFormat()},
        {page(QStringLiteral("bloomberg/no-start-marker.html")), {}, invalidDataFormat()},
        {page(QStringLiteral("bloomberg/utf-16.html")), {}, invalidDataFormat()},
        {FakeHttpServer::Answer::text(""), {}, invalidDataFormat()},
        {FakeHttpServer::Answer::text("var price = new Object();"), {}, invalidDataFormat()},
        {FakeHttpServer::Answer::text("//]]> var price = new Object();"), {}, invalidDataFormat()},
        {page(QStringLiteral("bloomberg/empty-block.html")), {}},
        {page(QStringLiteral("bloomberg/odd-statements.html")), {"USD", "GBP", "RUB", "SGD"}},
        {FakeHttpServer::Answer::text("busy", 503),
         {},
         "503 Service Unavailable",
         {failureLogLine("Bloomberg currencies", "Service Unavailable", "busy")}},
    };
    for (qsizetype i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const Row& row = rows[i];
        FakeHttpServer server;
        LogCapture log;
        const QueryRun run = bloomberg(server, row.answer);
        ASSERT_TRUE(run.arrived);
        ASSERT_EQ(run.delegate.calls(), 1);
        if (!row.failure.isEmpty()) {
            EXPECT_EQ(run.delegate.failures, QStringList{row.failure});
        } else {
            ASSERT_EQ(run.delegate.results.size(), 1);
            EXPECT_EQ(codes(*run.delegate.results.first()), row.codes);
        }
        if (!row.log.isEmpty()) {
            EXPECT_EQ(log.lines(), row.log);
        }
    }
}

TEST(COCBCWebServiceClient, GetsThePricePageIgnoringCachedCopiesAndReadsItInSingaporeDollars) {
    FakeHttpServer server;
    const QueryRun run = ocbc(server, page(QStringLiteral("ocbc/daily_price_fx.html")));
    const QList<FakeHttpServer::Request> requests = server.requests();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests.first().method, "GET");
    EXPECT_EQ(requests.first().target, ocbcPath);
    ASSERT_EQ(run.settings.size(), 1);
    EXPECT_EQ(run.settings.first().cachePolicy, HttpCachePolicy::ReloadIgnoringLocalCacheData);

    ASSERT_EQ(run.delegate.results.size(), 1);
    EXPECT_TRUE(run.delegate.allOnMainThread);
    const CCBRCurrenciesInfo& table = *run.delegate.results.first();
    EXPECT_EQ(codes(table), QStringList({"USD", "EUR", "GBP", "AUD", "JPY", "HKD", "CHF", "CNY",
                                         "MYR", "THB", "SGD"}));
    // The fourth cell of a row is the value; the third is skipped.
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("USD")), dec("1.2478"));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("JPY")), dec("0.01307"));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("MYR")), dec("0.403"));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("SGD")), Decimal::fromInt(1));
    for (const CCBRCurrencyInfoPtr& row : table.currenciesInfo) {
        EXPECT_EQ(row->nominalValue, 1);
    }
}

TEST(COCBCWebServiceClient, PagesOfEveryShapeAndHttpFailures) {
    struct Row {
        FakeHttpServer::Answer answer;
        QStringList codes;  // empty: `failure`
        QString failure = invalidDataFormat();
        QStringList log = {};  // checked when not empty
    };
    const auto file = [](const char* name) {
        return page(QStringLiteral("ocbc/") + QString::fromLatin1(name));
    };
    const QList<Row> rows = {
        {file("jpy-100.html"), {"JPY", "SGD"}},
        // A unit cell without exactly one blank ends the table; what was read stays.
        {file("malformed-unit-cell.html"), {"USD", "EUR", "SGD"}},
        // Units of 0 or unreadable, values of 0, below 0 or unreadable are skipped.
        {file("bad-values.html"), {"USD", "HUG", "EUR", "SGD"}},
        {file("no-rows.html"), {"SGD"}},
        {file("truncated-row.html"), {"USD", "SGD"}},
        {file("no-anchor.html"), {}},
        {file("no-table-end.html"), {}},
        {FakeHttpServer::Answer::text(""), {}},
        {FakeHttpServer::Answer::text("gone", 410),
         {},
         "410 Gone",
         {failureLogLine("OCBC Bank finance", "Gone", "gone")}},
    };
    for (qsizetype i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(i);
        const Row& row = rows[i];
        FakeHttpServer server;
        LogCapture log;
        const QueryRun run = ocbc(server, row.answer);
        ASSERT_TRUE(run.arrived);
        ASSERT_EQ(run.delegate.calls(), 1);
        if (row.codes.isEmpty()) {
            EXPECT_EQ(run.delegate.failures, QStringList{row.failure});
        } else {
            ASSERT_EQ(run.delegate.results.size(), 1);
            const CCBRCurrenciesInfo& table = *run.delegate.results.first();
            EXPECT_EQ(codes(table), row.codes);
            if (row.codes.first() == QLatin1String("JPY")) {
                EXPECT_EQ(table.currenciesInfo.first()->saleValue, dec("0.0125"));
                EXPECT_EQ(table.currenciesInfo.first()->nominalValue, 1);
            }
        }
        if (!row.log.isEmpty()) {
            EXPECT_EQ(log.lines(), row.log);
        }
    }
}

TEST(COCBCWebServiceClient, LongTableIsReadInOnePass) {
    // Grey rows with a single white one at the end: the row marker is "somewhere ahead" for
    // every row, which must not mean searching the rest of the page for each one.
    const QString rowText = QStringLiteral(
        "<tr bgcolor='#EEEEEE'><td><font size='2'><strong>C%1</strong></font></td>"
        "<td><font size='2'>1 C%1</font></td><td><font size='2'>1.0</font></td>"
        "<td><font size='2'>%2</font></td></tr>\n");
    QString section;
    const int count = 20000;
    for (int i = 0; i < count; ++i) {
        section += rowText.arg(i % 100, 2, 10, QChar(u'0')).arg(i + 1);
    }
    section += QStringLiteral("<tr bgcolor='#FFFFFF'><td>end</td></tr>\n");
    const QByteArray body =
        ("<html><body><a name='SGD'></a><table>\n" + section + "</table></body></html>").toUtf8();
    FakeHttpServer server;
    // Served as plain bytes: the fake server would spend seconds compressing text of this size.
    const QueryRun run =
        ocbc(server, FakeHttpServer::Answer::text(body, 200, "application/octet-stream"));
    ASSERT_TRUE(run.arrived);
    ASSERT_EQ(run.delegate.results.size(), 1);
    const CCBRCurrenciesInfo& table = *run.delegate.results.first();
    ASSERT_EQ(table.currenciesInfo.size(), count + 1);
    EXPECT_EQ(table.currenciesInfo[count - 1]->saleValue, Decimal::fromInt(count));
    EXPECT_EQ(table.currenciesInfo.last()->isoTextCode, QStringLiteral("SGD"));
}

TEST(COCBCWebServiceClient, RowReadingStopsAtMissingMarkers) {
    struct Row {
        const char* text;
        bool reads;
    };
    const QList<Row> rows = {
        {"<tr bgcolor='#FFFFFF'><td><font size='2'><strong>USD</strong></font></td>"
         "<td><font size='2'>1 USD</font></td><td>x</td><td><font size='2'>1.5</font></td>",
         true},
        {"<tr bgcolor='#EEEEEE'><td><font size='2'><strong>USD</strong></font></td>"
         "<td><font size='2'>1 USD</font></td><td>x</td><td><font size='2'>1.5</font></td>",
         false},
        {"<tr bgcolor='#FFFFFF'><strong>USD", false},
        {"<tr bgcolor='#FFFFFF'><strong>USD</strong><font size='2'>1 USD", false},
        {"<tr bgcolor='#FFFFFF'><strong>USD</strong><font size='2'>1 USD</font></td>", false},
        {"<tr bgcolor='#FFFFFF'><strong>USD</strong><font size='2'>1 USD</font></td></td>"
         "<font size='2'>1.5",
         false},
        {"", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        COCBCWebServiceClient client(Endpoints{});
        const QString text = QString::fromUtf8(row.text);
        const std::optional<QStringView> rest = client.parseNextCurrencyRow(text);
        EXPECT_EQ(rest.has_value(), row.reads);
        EXPECT_EQ(client.currenciesInfo()->currenciesInfo.size(), row.reads ? 1 : 0);
        if (rest) {
            EXPECT_EQ(rest->toString(), QStringLiteral("1.5</font></td>"));
        }
    }
}
