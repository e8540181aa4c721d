#include "CBankUaWebServiceClient.h"
#include "ProviderParsing.h"
#include "CECBCurrenciesWebServiceClient.h"
#include "Log.h"
#include "ProviderTestSupport.h"
#include "XmlParser.h"

#include <QStringDecoder>

namespace {

const QString ecbPath = QStringLiteral("/stats/eurofxref/eurofxref-daily.xml");
const QString currratePath = QStringLiteral("/export/currrate.xml");
const QString metalratePath = QStringLiteral("/export/metalrate.xml");

FakeHttpServer::Answer ecbFile(const QString& name) {
    return FakeHttpServer::Answer::file(QStringLiteral("ecb/") + name, "text/xml");
}

FakeHttpServer::Answer bankUaFile(const QString& name) {
    return FakeHttpServer::Answer::file(QStringLiteral("bankua/") + name,
                                        "text/xml; charset=windows-1251");
}

QString parserError(const QByteArray& document) {
    XmlParser parser(document);
    XmlParserDelegate ignore;
    EXPECT_FALSE(parser.parse(ignore));
    return parser.errorString();
}

QueryRun ecb(FakeHttpServer& server, const FakeHttpServer::Answer& answer) {
    return queryAnswering<CECBCurrenciesWebServiceClient>(server, ecbPath, answer);
}

/// A BankUa query once the two files are served.
QueryRun bankUa(FakeHttpServer& server, const FakeHttpServer::Answer& currencies,
                const FakeHttpServer::Answer& metals) {
    server.answer(currratePath, currencies);
    server.answer(metalratePath, metals);
    return runQuery<CBankUaWebServiceClient>(server);
}

}  // namespace

TEST(CECBCurrenciesWebServiceClient, GetsTheDailyFileIgnoringCachedCopiesAndReadsItInEuros) {
    FakeHttpServer server;
    const QueryRun run = ecb(server, ecbFile(QStringLiteral("eurofxref-daily.xml")));
    const QList<FakeHttpServer::Request> requests = server.requests();
    ASSERT_EQ(requests.size(), 1);
    EXPECT_EQ(requests.first().method, "GET");
    EXPECT_EQ(requests.first().target, ecbPath);
    EXPECT_TRUE(requests.first().body.isEmpty());
    ASSERT_EQ(run.settings.size(), 1);
    EXPECT_EQ(run.settings.first().cachePolicy, HttpCachePolicy::ReloadIgnoringLocalCacheData);

    ASSERT_EQ(run.delegate.results.size(), 1);
    EXPECT_TRUE(run.delegate.allOnMainThread);
    const CCBRCurrenciesInfo& table = *run.delegate.results.first();
    const QStringList all = codes(table);
    ASSERT_EQ(all.size(), 34);
    EXPECT_EQ(all.mid(0, 4), QStringList({"EUR", "USD", "JPY", "BGN"}));
    EXPECT_EQ(all.last(), QStringLiteral("ZAR"));
    EXPECT_EQ(table.currenciesInfo.first()->saleValue, Decimal::fromInt(1));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("USD")), inverse("1.3035"));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("IDR")), inverse("12632.39"));
    for (const CCBRCurrencyInfoPtr& row : table.currenciesInfo) {
        EXPECT_EQ(row->nominalValue, 1);
        EXPECT_TRUE(row->displayName.isEmpty());
        EXPECT_EQ(row->isoCode, -1);
    }
}

TEST(CECBCurrenciesWebServiceClient, OneEuroAtOnePointThree) {
    FakeHttpServer server;
    const QueryRun run = ecb(server, ecbFile(QStringLiteral("usd-1.3.xml")));
    ASSERT_EQ(run.delegate.results.size(), 1);
    const CCBRCurrenciesInfo& table = *run.delegate.results.first();
    ASSERT_EQ(codes(table), QStringList({"EUR", "USD"}));
    EXPECT_EQ(table.currenciesInfo[1]->saleValue.toString(),
              QStringLiteral("0.7692307692307692307692307692307692"));
    EXPECT_EQ(table.currenciesInfo[1]->nominalValue, 1);
}

TEST(CECBCurrenciesWebServiceClient, BadFilesNeverCrashOrHang) {
    struct Row {
        const char* file;
        QStringList codes;  // empty: the parser's error is reported
    };
    const QList<Row> rows = {
        // Rates of 0, below 0, unreadable, empty, missing or beyond any decimal are left out.
        {"bad-entries.xml", {"EUR", "USD", "HUG", "TNY", "JPY"}},
        {"no-rates.xml", {"EUR"}},
        {"utf-16.xml", {}},
        {"truncated.xml", {}},
        {"maintenance.html", {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.file);
        FakeHttpServer server;
        const QueryRun run = ecb(server, ecbFile(QString::fromLatin1(row.file)));
        ASSERT_TRUE(run.arrived);
        ASSERT_EQ(run.delegate.calls(), 1);
        const QByteArray document =
            FakeHttpServer::testData(QStringLiteral("ecb/") + QString::fromLatin1(row.file));
        if (QString::fromLatin1(row.file) == QLatin1String("utf-16.xml")) {
            // A file in another encoding that declares it reads like the original.
            ASSERT_EQ(run.delegate.results.size(), 1);
            EXPECT_EQ(codes(*run.delegate.results.first()).size(), 34);
        } else if (row.codes.isEmpty()) {
            EXPECT_EQ(run.delegate.failures, QStringList{parserError(document)});
        } else {
            ASSERT_EQ(run.delegate.results.size(), 1);
            EXPECT_EQ(codes(*run.delegate.results.first()), row.codes);
        }
    }
}

TEST(CECBCurrenciesWebServiceClient, EmptyBodyAndHttpFailures) {
    struct Row {
        FakeHttpServer::Answer answer;
        QString failure;
        QStringList log;
    };
    const QList<Row> rows = {
        {FakeHttpServer::Answer::text(""), parserError(""), {}},
        {FakeHttpServer::Answer::text("<html>gone</html>", 404),
         "404 Not Found",
         {failureLogLine("ECB currencies", "Not Found", "<html>gone</html>")}},
        {FakeHttpServer::Answer::closing(), {}, {}},
    };
    for (const Row& row : rows) {
        FakeHttpServer server;
        LogCapture log;
        const QueryRun run = ecb(server, row.answer);
        ASSERT_TRUE(run.arrived);
        EXPECT_TRUE(run.delegate.results.isEmpty());
        ASSERT_EQ(run.delegate.failures.size(), 1);
        EXPECT_FALSE(run.delegate.failures.first().isEmpty());
        if (!row.failure.isEmpty()) {
            EXPECT_EQ(run.delegate.failures.first(), row.failure);
            EXPECT_EQ(log.lines(), row.log);
        } else {
            // A dropped connection: the transport's text, logged after the log name.
            ASSERT_EQ(log.lines().size(), 1);
            EXPECT_TRUE(log.lines().first().startsWith(
                "ECB currencies web service request failed with\r\nerror:" +
                run.delegate.failures.first() + "\r\n"));
        }
    }
}

TEST(CBankUaWebServiceClient, GetsTheCurrencyThenTheMetalFileAndDeliversOneTableInHryvnias) {
    FakeHttpServer server;
    const QueryRun run = bankUa(server, bankUaFile(QStringLiteral("currrate.xml")),
                                bankUaFile(QStringLiteral("metalrate.xml")));
    const QList<FakeHttpServer::Request> requests = server.requests();
    ASSERT_EQ(requests.size(), 2);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, currratePath);
    EXPECT_EQ(requests[1].method, "GET");
    EXPECT_EQ(requests[1].target, metalratePath);
    ASSERT_EQ(run.settings.size(), 2);
    for (const HttpRequestSettings& settings : run.settings) {
        EXPECT_EQ(settings.cachePolicy, HttpCachePolicy::UseProtocolCachePolicy);
    }

    ASSERT_TRUE(run.delegate.failures.isEmpty()) << run.delegate.failures.join('|').toStdString();
    ASSERT_EQ(run.delegate.results.size(), 1);
    EXPECT_TRUE(run.delegate.allOnMainThread);
    const CCBRCurrenciesInfo& table = *run.delegate.results.first();
    EXPECT_EQ(codes(table),
              QStringList({"UAH", "AUD", "AZN", "GBP", "BYR", "DKK", "USD", "EUR", "JPY", "RUB",
                           "TMT", "TRY", "CHF", "UAH", "XAU", "XAG", "XPT", "XPD"}));
    for (const CCBRCurrencyInfoPtr& row : table.currenciesInfo) {
        EXPECT_EQ(row->nominalValue, 1) << row->isoTextCode.toStdString();
    }
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("UAH")), Decimal::fromInt(1));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("USD")), dec("7.993"));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("JPY")), dec("0.083074"));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("AZN")), dec("10.1910"));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("XAU")), dec("12766.056"));
}

TEST(CBankUaWebServiceClient, OutdatedLiraOfHundredUnitsOnEachQuery) {
    FakeHttpServer server;
    const QueryRun run = bankUa(server, bankUaFile(QStringLiteral("currrate-trl.xml")),
                                bankUaFile(QStringLiteral("currrate-no-items.xml")));
    ASSERT_EQ(run.delegate.results.size(), 1);
    const CCBRCurrenciesInfo& table = *run.delegate.results.first();
    EXPECT_EQ(codes(table), QStringList({"UAH", "TRY", "UAH"}));
    EXPECT_EQ(table.currenciesInfo[1]->saleValue, dec("0.125"));
    EXPECT_EQ(table.currenciesInfo[1]->nominalValue, 1);

    server.answer(metalratePath, bankUaFile(QStringLiteral("metalrate.xml")));
    expectAFreshTablePerQuery<CBankUaWebServiceClient>(
        server, {"UAH", "TRY", "UAH", "XAU", "XAG", "XPT", "XPD"});
}

TEST(CBankUaWebServiceClient, OutdatedCodes) {
    const QList<QPair<QString, QString>> rows = {
        {"TMM", "TMT"}, {"AZM", "AZN"}, {"TRL", "TRY"}, {"TRY", "TRY"},
        {"USD", "USD"}, {"trl", "trl"}, {"", ""},
    };
    for (const auto& [code, current] : rows) {
        EXPECT_EQ(CBankUaXMLParserDelegate::replaceOutdatedCode(code), current);
    }
}

TEST(CBankUaWebServiceClient, Windows1251DocumentBecomesUtf8) {
    const QByteArray original = FakeHttpServer::testData(QStringLiteral("bankua/currrate.xml"));
    ASSERT_TRUE(original.startsWith("<?xml version=\"1.0\" encoding=\"windows-1251\"?>\r\n"));
    const QByteArray utf8 = ProviderParsing::utf8FromWindows1251Document(original);
    EXPECT_TRUE(utf8.startsWith("<?xml version=\"1.0\"?>\r\n<chapter>"))
        << utf8.left(60).toStdString();
    EXPECT_TRUE(utf8.contains(QStringLiteral("<name>Австралійський долар</name>").toUtf8()));
    EXPECT_TRUE(utf8.contains(QStringLiteral("<name>Євро</name>").toUtf8()));
    // Only the declaration loses its encoding; the same words elsewhere stay.
    const QByteArray quoted = ProviderParsing::utf8FromWindows1251Document(
        "<?xml version='1.0' encoding='Windows-1251' standalone='yes'?><a>encoding=\"x\"</a>");
    EXPECT_EQ(quoted, "<?xml version='1.0' standalone='yes'?><a>encoding=\"x\"</a>");
}

TEST(CBankUaWebServiceClient, FailureAtEitherStepDeliversNoTable) {
    struct Row {
        const char* name;
        FakeHttpServer::Answer currencies;
        FakeHttpServer::Answer metals;
        QString failure;
        int requests;
        QStringList log = {};  // checked when not empty
    };
    const QList<Row> rows = {
        {"500 at the metal step",
         bankUaFile(QStringLiteral("currrate.xml")),
         FakeHttpServer::Answer::text("Internal error", 500),
         "500 Internal Server Error",
         2,
         {failureLogLine("BankUa currencies", "Internal Server Error", "Internal error")}},
        {"404 at the currency step: no metal request", FakeHttpServer::Answer::text("", 404),
         bankUaFile(QStringLiteral("metalrate.xml")), "404 Not Found", 1},
        {"empty body is a parse error", FakeHttpServer::Answer::text(""),
         bankUaFile(QStringLiteral("metalrate.xml")), parserError(""), 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeHttpServer server;
        LogCapture log;
        const QueryRun run = bankUa(server, row.currencies, row.metals);
        ASSERT_TRUE(run.arrived);
        EXPECT_TRUE(run.delegate.results.isEmpty());
        EXPECT_EQ(run.delegate.failures, QStringList{row.failure});
        EXPECT_EQ(server.requestCount(), row.requests);
        if (!row.log.isEmpty()) {
            EXPECT_EQ(log.lines(), row.log);
        }
    }
}

TEST(CBankUaWebServiceClient, BadFilesNeverCrashOrHang) {
    struct Row {
        const char* currencies;
        const char* metals;
        QStringList codes;              // when the query succeeds
        const char* failing = nullptr;  // the file whose parser error is reported
    };
    const QStringList metals = {"UAH", "XAU", "XAG", "XPT", "XPD"};
    const QList<Row> rows = {
        // Size 0, missing, unreadable or beyond 32 bits; rate 0 or unreadable; no code.
        {"currrate-bad-items.xml", "metalrate.xml", QStringList({"UAH", "USD", "EUR"}) + metals},
        {"currrate-no-items.xml", "metalrate.xml", QStringList({"UAH"}) + metals},
        {"currrate-single-quoted-declaration.xml", "metalrate.xml",
         QStringList({"UAH", "USD"}) + metals},
        {"currrate-no-declaration.xml", "metalrate.xml", QStringList({"UAH", "USD"}) + metals},
        // UTF-8 read as windows-1251 garbles only the names, which are not used.
        {"currrate-utf-8.xml", "metalrate.xml", QStringList({"UAH", "USD"}) + metals},
        {"currrate-utf-16.xml", "metalrate.xml", {}, "currrate-utf-16.xml"},
        {"currrate-truncated.xml", "metalrate.xml", {}, "currrate-truncated.xml"},
        {"currrate.xml", "currrate-truncated.xml", {}, "currrate-truncated.xml"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.currencies) + " / " + row.metals);
        FakeHttpServer server;
        const QueryRun run = bankUa(server, bankUaFile(QString::fromLatin1(row.currencies)),
                                    bankUaFile(QString::fromLatin1(row.metals)));
        ASSERT_TRUE(run.arrived);
        ASSERT_EQ(run.delegate.calls(), 1);
        if (row.failing != nullptr) {
            const QByteArray document =
                ProviderParsing::utf8FromWindows1251Document(FakeHttpServer::testData(
                    QStringLiteral("bankua/") + QString::fromLatin1(row.failing)));
            EXPECT_EQ(run.delegate.failures, QStringList{parserError(document)});
        } else {
            ASSERT_EQ(run.delegate.results.size(), 1);
            const CCBRCurrenciesInfo& table = *run.delegate.results.first();
            EXPECT_EQ(codes(table), row.codes);
            for (const CCBRCurrencyInfoPtr& info : table.currenciesInfo) {
                EXPECT_EQ(info->nominalValue, 1);
                EXPECT_TRUE(info->saleValue > Decimal());
            }
        }
    }
}
