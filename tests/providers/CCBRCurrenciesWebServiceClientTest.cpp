#include "CCBRCurrenciesWebServiceClient.h"
#include "CCBRHelpers.h"
#include "Log.h"
#include "ProviderTestSupport.h"
#include "XmlParser.h"

namespace {

const QString endpointPath = QStringLiteral("/DailyInfoWebServ/DailyInfo.asmx");

const QByteArray envelopeHead =
    "<?xml version='1.0' encoding='utf-8'?>\r\n"
    "<soap:Envelope xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance' "
    "xmlns:xsd='http://www.w3.org/2001/XMLSchema' "
    "xmlns:soap='http://schemas.xmlsoap.org/soap/envelope/'>\r\n"
    "<soap:Body>\r\n";
const QByteArray envelopeTail = "</soap:Body>\r\n</soap:Envelope>\r\n";

QDateTime march12() {
    return QDateTime(QDate(2013, 3, 12), QTime(10, 30));
}

/// Answers the currency and the metal operation of the service, told apart by SOAPAction.
void serveCbr(FakeHttpServer& server, const FakeHttpServer::Answer& currencies,
              const FakeHttpServer::Answer& metals) {
    server.setHandler([=](const FakeHttpServer::Request& request) {
        if (request.path != endpointPath) {
            return FakeHttpServer::Answer::text("Not Found", 404);
        }
        const QByteArray action = request.header("SOAPAction");
        if (action.endsWith("GetCursOnDateXML")) {
            return currencies;
        }
        if (action.endsWith("DragMetDynamicXML")) {
            return metals;
        }
        return FakeHttpServer::Answer::text("unknown action", 500);
    });
}

FakeHttpServer::Answer xmlFile(const QString& name) {
    return FakeHttpServer::Answer::file(QStringLiteral("cbr/") + name, "text/xml; charset=utf-8");
}

FakeHttpServer::Answer dailyCurrencies() {
    return xmlFile(QStringLiteral("GetCursOnDateXML-20130312.xml"));
}

FakeHttpServer::Answer dailyMetals() {
    return xmlFile(QStringLiteral("DragMetDynamicXML-20130309-20130312.xml"));
}

/// The parser's own text for a document it rejects.
QString parserError(const QByteArray& document) {
    XmlParser parser(document);
    XmlParserDelegate ignore;
    EXPECT_FALSE(parser.parse(ignore));
    return parser.errorString();
}

/// A query for `date` once the two operations give `currencies` and `metals`.
QueryRun cbr(FakeHttpServer& server, const FakeHttpServer::Answer& currencies,
             const FakeHttpServer::Answer& metals, const QDateTime& date = march12()) {
    serveCbr(server, currencies, metals);
    return runQuery<CCBRCurrenciesWebServiceClient>(
        server,
        [&](CCBRCurrenciesWebServiceClient& client) { client.queryCurrenciesForDate(date); });
}

Decimal ounce(const char* perGram) {
    return dec(perGram) * dec("31.1034768");
}

}  // namespace

TEST(CCBRHelpers, MetalCodesAndTroyOunce) {
    const QList<QPair<int, QString>> codes = {{1, "XAU"}, {2, "XAG"}, {3, "XPT"}, {4, "XPD"},
                                              {0, {}},    {5, {}},    {-1, {}}};
    for (const auto& [internal, iso] : codes) {
        EXPECT_EQ(CCBRHelpers::isoMetalCodeFromInternal(internal), iso) << internal;
        EXPECT_TRUE(iso.isEmpty() || CCBRHelpers::isMetalCurrencyCode(iso));
    }
    for (const char* code : {"USD", "xau", "XAUX", "", "RUB"}) {
        EXPECT_FALSE(CCBRHelpers::isMetalCurrencyCode(QString::fromLatin1(code))) << code;
    }
    EXPECT_EQ(CCBRHelpers::convertGrammToOunce(dec("1000")), dec("31103.4768"));
    EXPECT_EQ(CCBRHelpers::convertGrammToOunce(dec("1")).toString(), QStringLiteral("31.1034768"));
    EXPECT_TRUE(CCBRHelpers::convertGrammToOunce(Decimal::nan()).isNaN());
}

TEST(CCBRCurrenciesWebServiceClient, RequestsAreTheSoapCallsForTheDay) {
    FakeHttpServer server;
    const QueryRun run = cbr(server, dailyCurrencies(), dailyMetals());
    ASSERT_TRUE(run.arrived);

    const QList<FakeHttpServer::Request> requests = server.requests();
    ASSERT_EQ(requests.size(), 2);
    const FakeHttpServer::Request& currencies = requests[0];
    EXPECT_EQ(currencies.method, "POST");
    EXPECT_EQ(currencies.target, endpointPath);
    EXPECT_EQ(currencies.header("Content-Type"), "text/xml; charset=utf-8");
    EXPECT_EQ(currencies.header("SOAPAction"), "http://web.cbr.ru/GetCursOnDateXML");
    EXPECT_EQ(currencies.body, envelopeHead +
                                   "<GetCursOnDateXML xmlns='http://web.cbr.ru/'>\r\n"
                                   "<On_date>2013-03-12</On_date>\r\n"
                                   "</GetCursOnDateXML>\r\n" +
                                   envelopeTail);

    const FakeHttpServer::Request& metals = requests[1];
    EXPECT_EQ(metals.method, "POST");
    EXPECT_EQ(metals.target, endpointPath);
    EXPECT_EQ(metals.header("Content-Type"), "text/xml; charset=utf-8");
    EXPECT_EQ(metals.header("SOAPAction"), "http://web.cbr.ru/DragMetDynamicXML");
    EXPECT_EQ(metals.body, envelopeHead +
                               "<DragMetDynamicXML xmlns=\"http://web.cbr.ru/\">"
                               "<fromDate>2013-03-09</fromDate><ToDate>2013-03-12</ToDate>"
                               "</DragMetDynamicXML>" +
                               envelopeTail);

    ASSERT_EQ(run.settings.size(), 2);
    for (const HttpRequestSettings& settings : run.settings) {
        EXPECT_EQ(settings.cachePolicy, HttpCachePolicy::UseProtocolCachePolicy);
    }
}

TEST(CCBRCurrenciesWebServiceClient, MetalRangeCrossesMonthAndYear) {
    const QList<QPair<QDate, QByteArray>> rows = {
        {QDate(2013, 3, 2), "<fromDate>2013-02-27</fromDate><ToDate>2013-03-02</ToDate>"},
        {QDate(2012, 3, 1), "<fromDate>2012-02-27</fromDate><ToDate>2012-03-01</ToDate>"},
        {QDate(2014, 1, 1), "<fromDate>2013-12-29</fromDate><ToDate>2014-01-01</ToDate>"},
    };
    for (const auto& [day, range] : rows) {
        FakeHttpServer server;
        const QueryRun run =
            cbr(server, dailyCurrencies(), dailyMetals(), QDateTime(day, QTime(23, 59)));
        ASSERT_TRUE(run.arrived);
        const QList<FakeHttpServer::Request> requests = server.requests();
        ASSERT_EQ(requests.size(), 2);
        EXPECT_TRUE(requests[0].body.contains("<On_date>" + day.toString(Qt::ISODate).toUtf8() +
                                              "</On_date>"));
        EXPECT_TRUE(requests[1].body.contains(range)) << requests[1].body.toStdString();
    }
}

TEST(CCBRCurrenciesWebServiceClient, NamespaceIsQuotedSafely) {
    const QString odd = QStringLiteral("http://example.org/a'b\"c&d/");
    const QByteArray currency =
        CCBRCurrenciesWebServiceClient::currencyRequestBody(odd, QDate(2013, 3, 12));
    const QByteArray metal = CCBRCurrenciesWebServiceClient::metalRequestBody(
        odd, QDate(2013, 3, 9), QDate(2013, 3, 12));
    for (const QByteArray& body : {currency, metal}) {
        struct Namespace : XmlParserDelegate {
            QString value;
            void parserDidStartElement(const QString&, const Attributes& attributes) override {
                if (value.isEmpty()) {
                    value = attributes.value(QStringLiteral("xmlns"));
                }
            }
        } handler;
        XmlParser parser(body);
        EXPECT_TRUE(parser.parse(handler)) << parser.errorString().toStdString();
        EXPECT_EQ(handler.value, odd);
    }
}

TEST(CCBRCurrenciesWebServiceClient, DeliversCurrenciesThenRoubleThenMetals) {
    FakeHttpServer server;
    const QueryRun run = cbr(server, dailyCurrencies(), dailyMetals());
    ASSERT_TRUE(run.arrived);
    ASSERT_TRUE(run.delegate.failures.isEmpty()) << run.delegate.failures.join('|').toStdString();
    ASSERT_EQ(run.delegate.results.size(), 1);
    EXPECT_TRUE(run.delegate.allOnMainThread);
    const CCBRCurrenciesInfo& table = *run.delegate.results.first();

    EXPECT_EQ(codes(table), QStringList({"AUD", "AZN", "GBP", "AMD", "BYR", "USD", "EUR", "KZT",
                                         "UAH", "JPY", "RUB", "XAU", "XAG", "XPT", "XPD"}));
    EXPECT_EQ(table.currencyDate, QDateTime(QDate(2013, 3, 12), QTime(0, 0)));

    const CCBRCurrencyInfoPtr aud = table.currenciesInfo[0];
    // Names keep the service's padding.
    EXPECT_EQ(aud->displayName.size(), 250);
    EXPECT_EQ(aud->displayName.trimmed(), QStringLiteral("Австралийский доллар"));
    EXPECT_EQ(aud->isoCode, 36);
    EXPECT_EQ(aud->nominalValue, 1);
    EXPECT_EQ(aud->saleValue, dec("31.4310"));

    const CCBRCurrencyInfoPtr amd = table.findCurrencyInfoWithTextCode(QStringLiteral("AMD"));
    ASSERT_TRUE(amd);
    EXPECT_EQ(amd->nominalValue, 1000);
    EXPECT_EQ(amd->saleValue, dec("75.3617"));
    EXPECT_EQ(amd->isoCode, 51);
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("JPY")), dec("0.320528"));

    const CCBRCurrencyInfoPtr rub = table.findCurrencyInfoWithTextCode(QStringLiteral("RUB"));
    EXPECT_EQ(rub->nominalValue, 1);
    EXPECT_EQ(rub->saleValue, Decimal::fromInt(1));
    EXPECT_EQ(rub->isoCode, -1);

    // The prices of the last day of the range, per troy ounce.
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("XAU")), ounce("1614.7600"));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("XAG")), ounce("29.6900"));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("XPT")), ounce("1556.4800"));
    EXPECT_EQ(table.saleValueForCurrencyWithTextCode(QStringLiteral("XPD")), ounce("741.0500"));
    for (const CCBRCurrencyInfoPtr& row : table.currenciesInfo) {
        if (CCBRHelpers::isMetalCurrencyCode(row->isoTextCode)) {
            EXPECT_EQ(row->nominalValue, 1);
            EXPECT_EQ(row->isoCode, -1);
        }
    }
}

TEST(CCBRCurrenciesWebServiceClient, HundredUnitsAreQuotedPerUnit) {
    FakeHttpServer server;
    const QueryRun run =
        cbr(server, xmlFile(QStringLiteral("currencies-100-units.xml")), dailyMetals());
    ASSERT_EQ(run.delegate.results.size(), 1);
    const CCBRCurrencyInfoPtr row = run.delegate.results.first()->currenciesInfo.first();
    EXPECT_EQ(row->isoTextCode, QStringLiteral("XXX"));
    EXPECT_EQ(row->nominalValue, 100);
    EXPECT_EQ(row->saleValue, dec("35.5"));
    EXPECT_EQ(row->saleValueForCurrency(), dec("0.355"));
}

TEST(CCBRCurrenciesWebServiceClient, LastPriceOfEachKnownMetalRemains) {
    struct Row {
        const char* currencies;
        const char* metals;
        QStringList fromRouble;
        Decimal gold;
    };
    const QList<Row> rows = {
        {"GetCursOnDateXML-20130312.xml",
         "metals-three-gold-prices.xml",
         {"RUB", "XAU", "XAG"},
         dec("31103.4768")},
        // Unknown metal codes and metals without a price are left out.
        {"currencies-100-units.xml",
         "metals-unknown-and-unpriced.xml",
         {"RUB", "XPT", "XAU"},
         ounce("1614.7600")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.metals);
        FakeHttpServer server;
        const QueryRun run = cbr(server, xmlFile(QString::fromLatin1(row.currencies)),
                                 xmlFile(QString::fromLatin1(row.metals)));
        ASSERT_EQ(run.delegate.results.size(), 1);
        const CCBRCurrenciesInfo& table = *run.delegate.results.first();
        const QStringList all = codes(table);
        EXPECT_EQ(all.mid(all.indexOf(QStringLiteral("RUB"))), row.fromRouble);
        EXPECT_EQ(table.findCurrencyInfoWithTextCode(QStringLiteral("XAU"))->saleValue, row.gold);
        if (row.fromRouble.contains(QStringLiteral("XAG"))) {
            EXPECT_EQ(table.findCurrencyInfoWithTextCode(QStringLiteral("XAG"))->saleValue,
                      ounce("29.61"));
        }
    }
}

TEST(CCBRCurrenciesWebServiceClient, IndentedAnswerGivesCleanNames) {
    FakeHttpServer server;
    const QueryRun run =
        cbr(server, xmlFile(QStringLiteral("currencies-indented.xml")), dailyMetals());
    ASSERT_EQ(run.delegate.results.size(), 1);
    const CCBRCurrenciesInfo& table = *run.delegate.results.first();
    ASSERT_GE(table.currenciesInfo.size(), 2);
    EXPECT_EQ(table.currenciesInfo[0]->displayName, QStringLiteral("Доллар США"));
    EXPECT_EQ(table.currenciesInfo[0]->isoTextCode, QStringLiteral("USD"));
    EXPECT_EQ(table.currenciesInfo[0]->saleValue, dec("30.7298"));
    EXPECT_EQ(table.currenciesInfo[1]->displayName, QStringLiteral("Евро"));
    EXPECT_EQ(table.currenciesInfo[1]->isoCode, 978);
}

TEST(CCBRCurrenciesWebServiceClient, HttpFailuresAtEitherStep) {
    struct Row {
        const char* name;
        FakeHttpServer::Answer currencies;
        FakeHttpServer::Answer metals;
        int requests;
        QString failure;
        QString logLine;
    };
    const QByteArray fault = FakeHttpServer::testData(QStringLiteral("cbr/soap-fault.xml"));
    const QList<Row> rows = {
        {"fault at the currency step",
         FakeHttpServer::Answer::text(fault, 500, "text/xml; charset=utf-8"), dailyMetals(), 1,
         "500 Internal Server Error",
         failureLogLine("CBR", "Internal Server Error", QString::fromUtf8(fault))},
        {"unavailable at the metal step", dailyCurrencies(), FakeHttpServer::Answer::text("", 503),
         2, "503 Service Unavailable", failureLogLine("CBR", "Service Unavailable", "")},
        {"not modified is no success", FakeHttpServer::Answer::text("", 304), dailyMetals(), 1,
         "304 Not Modified", failureLogLine("CBR", "Not Modified", "")},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        FakeHttpServer server;
        LogCapture log;
        const QueryRun run = cbr(server, row.currencies, row.metals);
        ASSERT_TRUE(run.arrived);
        EXPECT_TRUE(run.delegate.results.isEmpty());
        EXPECT_EQ(run.delegate.failures, QStringList{row.failure});
        EXPECT_EQ(server.requestCount(), row.requests);
        EXPECT_EQ(log.lines(), QStringList{row.logLine});
    }
}

TEST(CCBRCurrenciesWebServiceClient, RefusedConnectionReportsTheTransportError) {
    Endpoints endpoints;
    endpoints.setValue(
        Endpoints::Cbr,
        QStringLiteral("http://127.0.0.1:%1%2").arg(refusingPort()).arg(endpointPath));
    endpoints.setValue(Endpoints::CbrNamespace, QStringLiteral("http://web.cbr.ru/"));
    LogCapture log;
    RecordingProviderDelegate delegate;
    CCBRCurrenciesWebServiceClient client(endpoints);
    client.setDelegate(&delegate);
    client.queryCurrenciesForDate(march12());
    ASSERT_TRUE(delegate.waitForCall());
    ASSERT_EQ(delegate.failures.size(), 1);
    EXPECT_TRUE(delegate.failures.first().contains(QStringLiteral("refused"), Qt::CaseInsensitive))
        << delegate.failures.first().toStdString();
    ASSERT_EQ(log.lines().size(), 1);
    EXPECT_TRUE(log.lines().first().startsWith(
        QStringLiteral("CBR web service request failed with\r\nerror:") +
        delegate.failures.first()));
}

TEST(CCBRCurrenciesWebServiceClient, NewQueryReplacesTheOneInFlight) {
    FakeHttpServer server;
    auto gate = std::make_shared<FakeHttpServer::Gate>();
    std::atomic<int> currencyRequests{0};
    server.setHandler([&](const FakeHttpServer::Request& request) {
        if (request.header("SOAPAction").endsWith("DragMetDynamicXML")) {
            return dailyMetals();
        }
        return currencyRequests.fetch_add(1) == 0
                   ? held(dailyCurrencies(), gate)
                   : xmlFile(QStringLiteral("currencies-100-units.xml"));
    });
    RecordingProviderDelegate delegate;
    CCBRCurrenciesWebServiceClient client(endpointsFor(server));
    client.setDelegate(&delegate);
    client.queryCurrenciesForDate(march12());
    ASSERT_TRUE(server.waitForRequests(1));
    client.queryCurrenciesForDate(QDateTime(QDate(2013, 3, 13), QTime(9, 0)));
    ASSERT_TRUE(delegate.waitForCall());
    gate->release();
    RecordingProviderDelegate::settle();

    ASSERT_EQ(delegate.calls(), 1);
    ASSERT_EQ(delegate.results.size(), 1);
    EXPECT_EQ(codes(*delegate.results.first()),
              QStringList({"XXX", "RUB", "XAU", "XAG", "XPT", "XPD"}));
    const QList<FakeHttpServer::Request> requests = server.requests();
    ASSERT_EQ(requests.size(), 3);
    EXPECT_TRUE(requests[1].body.contains("<On_date>2013-03-13</On_date>"));
    EXPECT_TRUE(
        requests[2].body.contains("<fromDate>2013-03-10</fromDate><ToDate>2013-03-13</ToDate>"));
}

TEST(CCBRCurrenciesWebServiceClient, DateOfTheTable) {
    const QList<QPair<const char*, QDateTime>> rows = {
        {"currencies-100-units.xml", QDateTime(QDate(2013, 3, 12), QTime(0, 0))},
        {"currencies-no-ondate.xml", QDateTime()},
        {"currencies-unreadable-ondate.xml", QDateTime()},
    };
    for (const auto& [file, date] : rows) {
        SCOPED_TRACE(file);
        FakeHttpServer server;
        const QueryRun run = cbr(server, xmlFile(QString::fromLatin1(file)), dailyMetals());
        ASSERT_EQ(run.delegate.results.size(), 1);
        EXPECT_EQ(run.delegate.results.first()->currencyDate, date);
        EXPECT_FALSE(run.delegate.results.first()->currenciesInfo.isEmpty());
    }
}

TEST(CCBRCurrenciesWebServiceClient, BadAnswersNeverCrashOrHang) {
    struct Row {
        const char* currencies;
        const char* metals;
        /// Empty: the query fails with the parser's text for the file named `failing`.
        QStringList codes;
        const char* failing = nullptr;
    };
    const QStringList metals = {"XAU", "XAG", "XPT", "XPD"};
    const QList<Row> rows = {
        {"currencies-bad-entries.xml", "DragMetDynamicXML-20130309-20130312.xml",
         QStringList({"USD", "HUG", "EUR", "RUB"}) + metals},
        {"currencies-empty.xml", "DragMetDynamicXML-20130309-20130312.xml",
         QStringList({"RUB"}) + metals},
        {"currencies-100-units.xml", "currencies-empty.xml", {"XXX", "RUB"}},
        {"soap-fault.xml", "soap-fault.xml", {"RUB"}},
        {"currencies-truncated.xml",
         "DragMetDynamicXML-20130309-20130312.xml",
         {},
         "currencies-truncated.xml"},
        {"currencies-windows-1251-declared-utf-8.xml",
         "DragMetDynamicXML-20130309-20130312.xml",
         {},
         "currencies-windows-1251-declared-utf-8.xml"},
        {"not-xml.html", "DragMetDynamicXML-20130309-20130312.xml", {}, "not-xml.html"},
        {"empty.xml", "DragMetDynamicXML-20130309-20130312.xml", {}, "empty.xml"},
        {"currencies-100-units.xml", "empty.xml", {}, "empty.xml"},
        {"currencies-100-units.xml", "not-xml.html", {}, "not-xml.html"},
        // A parse error at the metal step delivers nothing.
        {"GetCursOnDateXML-20130312.xml", "metals-truncated.xml", {}, "metals-truncated.xml"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.currencies) + " / " + row.metals);
        FakeHttpServer server;
        const QueryRun run = cbr(server, xmlFile(QString::fromLatin1(row.currencies)),
                                 xmlFile(QString::fromLatin1(row.metals)));
        ASSERT_TRUE(run.arrived);
        ASSERT_EQ(run.delegate.calls(), 1);
        if (row.failing != nullptr) {
            ASSERT_EQ(run.delegate.failures.size(), 1);
            EXPECT_EQ(run.delegate.failures.first(),
                      parserError(FakeHttpServer::testData(QStringLiteral("cbr/") +
                                                           QString::fromLatin1(row.failing))));
            EXPECT_FALSE(run.delegate.failures.first().isEmpty());
        } else {
            ASSERT_EQ(run.delegate.results.size(), 1);
            const CCBRCurrenciesInfo& table = *run.delegate.results.first();
            EXPECT_EQ(codes(table), row.codes);
            for (const CCBRCurrencyInfoPtr& info : table.currenciesInfo) {
                EXPECT_GE(info->nominalValue, 1);
                EXPECT_TRUE(info->saleValueForCurrency() > Decimal())
                    << describe(table).join('|').toStdString();
            }
        }
    }
}
