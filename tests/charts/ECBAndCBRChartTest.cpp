#include "CChartPeriod.h"
#include "ChartProviderTestSupport.h"
#include "ChartTestSupport.h"
#include "Log.h"

#include <QHash>
#include <QTimeZone>

using namespace charttest;

namespace {

const QString ecbPath = QStringLiteral("/stats/exchange/eurofxref/html/%1.xml");
const QString dynamicPath = QStringLiteral("/scripts/XML_dynamic.asp");
const QString metalsPath = QStringLiteral("/scripts/xml_metall.asp");

FakeHttpServer::Answer xml(const QString& file) {
    return FakeHttpServer::Answer::file(file, "text/xml");
}

/// A parsed history file's values by instant.
QHash<qint64, Decimal> valuesByDate(const QString& file) {
    QHash<qint64, Decimal> values;
    const CECBChartWebServiceClient::ParsedSeries series =
        CECBChartWebServiceClient::parseSeries(FakeHttpServer::testData(file), QTimeZone::utc());
    for (const CCurrencyChartPoint& point : series.points) {
        values.insert(point.date.toMSecsSinceEpoch(), point.value);
    }
    return values;
}

class ECBChartTest : public ChartClientTest<CECBChartWebServiceClient> {
protected:
    ECBChartTest() {
        server.answer(ecbPath.arg("usd"), xml("ecb-chart/usd.xml"));
        server.answer(ecbPath.arg("gbp"), xml("ecb-chart/gbp.xml"));
    }

    QStringList pathsAsked() const {
        QStringList paths;
        for (const FakeHttpServer::Request& request : server.requests()) {
            paths.append(request.path);
        }
        return paths;
    }
};

class CBRChartTest : public ChartClientTest<CCBRChartWebServiceClient> {
protected:
    CBRChartTest() {
        client->setClock([] { return utc(2012, 3, 7, 12); });
        client->setCurrencyCodesDict(CCBRChartWebServiceClient::loadInternalCodes());
        server.setHandler([](const FakeHttpServer::Request& request) {
            if (request.path == metalsPath) {
                return xml("cbr-chart/metals.xml");
            }
            const QString id = request.queryValues("VAL_NM_RQ").value(0);
            if (id == "R01235") {
                return xml("cbr-chart/dynamic-usd.xml");
            }
            if (id == "R01239") {
                return xml("cbr-chart/dynamic-eur.xml");
            }
            if (id == "R01820") {
                return xml("cbr-chart/dynamic-jpy.xml");
            }
            return xml("cbr-chart/dynamic-empty.xml");
        });
    }

    const CCurrencyChartInfo& query(const QStringList& pair, int period = ChartPeriod1Week) {
        return ChartClientTest::query(pair, period);
    }

    /// The internal identifier (or "metals") of every request, in order.
    QStringList seriesAsked() const {
        QStringList asked;
        for (const FakeHttpServer::Request& request : server.requests()) {
            asked.append(request.path == metalsPath ? QStringLiteral("metals")
                                                    : request.queryValues("VAL_NM_RQ").value(0));
        }
        return asked;
    }
};

}  // namespace

TEST_F(ECBChartTest, EuroFirstAsksForTheOtherFileAndInvertsIt) {
    const CCurrencyChartInfo& info = query({"EUR", "USD"}, ChartPeriodOverall);
    EXPECT_EQ(pathsAsked(), QStringList{ecbPath.arg("usd")});
    EXPECT_TRUE(client->shouldInvertChartData());
    EXPECT_FALSE(client->shouldRequestBothCurrencies());
    ASSERT_EQ(info.plotPoints.size(), 54);  // the whole file: the overall period is not cut
    EXPECT_EQ(info.plotPoints.first().value, dec("1") / dec("1.29"));
    EXPECT_EQ(info.plotPoints.last().value, dec("1") / dec("1.3483"));
    EXPECT_EQ(dateTexts(info, QTimeZone::utc()).first(), QStringLiteral("2012-01-02 00:00"));
    EXPECT_EQ(info.minCurrencyValue, dec("1") / dec("1.3483"));
    EXPECT_EQ(info.maxCurrencyValue, dec("1") / dec("1.29"));
    EXPECT_EQ(info.chartPeriod, ChartPeriodOverall);
    // Labelled with the reversed pair.
    EXPECT_EQ(info.firstCurrencyCode, QStringLiteral("USD"));
    EXPECT_EQ(info.lastCurrencyCode, QStringLiteral("EUR"));
}

TEST_F(ECBChartTest, EuroLastTakesTheFileAsDeliveredCutToThePeriod) {
    const CCurrencyChartInfo& info = query({"USD", "EUR"}, ChartPeriod1Month);
    EXPECT_EQ(pathsAsked(), QStringList{ecbPath.arg("usd")});
    EXPECT_FALSE(client->shouldInvertChartData());
    EXPECT_FALSE(client->shouldRequestBothCurrencies());
    // From 15 February (a month before the last point, 15 March) on.
    ASSERT_EQ(info.plotPoints.size(), 22);
    EXPECT_EQ(dateTexts(info, QTimeZone::utc()).first(), QStringLiteral("2012-02-15 00:00"));
    EXPECT_EQ(info.plotPoints.last().value, dec("1.3483"));
    EXPECT_EQ(info.minDate, utc(2012, 2, 15));
    EXPECT_EQ(info.maxDate, utc(2012, 3, 15));
}

TEST_F(ECBChartTest, CrossPairDividesTheFirstFileByTheSecondDayByDay) {
    const CCurrencyChartInfo& info = query({"USD", "GBP"}, ChartPeriodOverall);
    EXPECT_EQ(pathsAsked(), (QStringList{ecbPath.arg("usd"), ecbPath.arg("gbp")}));
    EXPECT_TRUE(client->shouldRequestBothCurrencies());
    const QHash<qint64, Decimal> usd = valuesByDate("ecb-chart/usd.xml");
    const QHash<qint64, Decimal> gbp = valuesByDate("ecb-chart/gbp.xml");
    // The pound has no rate on 7 March: that day has no cross rate, and the days after it are
    // still paired with their own dates.
    ASSERT_EQ(info.plotPoints.size(), 53);
    for (const CCurrencyChartPoint& point : info.plotPoints) {
        const qint64 date = point.date.toMSecsSinceEpoch();
        ASSERT_TRUE(gbp.contains(date));
        EXPECT_EQ(point.value, usd.value(date) / gbp.value(date));
    }
    EXPECT_EQ(info.plotPoints.last().value, dec("1.3483") / dec("0.84090"));
    EXPECT_FALSE(dateTexts(info, QTimeZone::utc()).contains("2012-03-07 00:00"));
}

TEST_F(ECBChartTest, NotFoundGivesAnEmptyRecordWithoutLogging) {
    server.answer(ecbPath.arg("xyz"), FakeHttpServer::Answer::text("Not Found", 404));
    LogCapture log;
    EXPECT_FALSE(query({"XYZ", "EUR"}, ChartPeriod1Year).hasData());
    EXPECT_TRUE(recorder.failures.isEmpty());
    EXPECT_TRUE(log.lines().isEmpty());

    // Also when the second file of a cross pair is missing.
    recorder = {};
    server.clearRequests();
    EXPECT_FALSE(query({"USD", "XYZ"}, ChartPeriod1Year).hasData());
    EXPECT_EQ(pathsAsked(), (QStringList{ecbPath.arg("usd"), ecbPath.arg("xyz")}));
}

TEST_F(ECBChartTest, BadAnswersAndServerErrorsAreReported) {
    const QByteArray full = FakeHttpServer::testData("ecb-chart/usd.xml");
    struct Row {
        const char* name;
        FakeHttpServer::Answer answer;
        QString failure = {};  // empty: the parser's text, whatever it says
        QStringList log = {};
    };
    const QList<Row> rows = {
        {"maintenance page", xml("ecb-chart/maintenance.html")},
        {"truncated", FakeHttpServer::Answer::text(full.left(full.size() / 2), 200, "text/xml")},
        {"empty body", FakeHttpServer::Answer::text("", 200, "text/xml")},
        {"server error",
         FakeHttpServer::Answer::text("oops", 500),
         "500 Internal Server Error",
         {"ECB chart web service request failed with\r\n"
          "error:\r\nresponse:Internal Server Error\r\ndata:oops\r\n"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        recorder = {};
        server.answer(ecbPath.arg("usd"), row.answer);
        LogCapture log;
        EXPECT_FALSE(query({"USD", "EUR"}, ChartPeriod1Year).hasData());
        ASSERT_EQ(recorder.failures.size(), 1);
        EXPECT_FALSE(recorder.failures.first().isEmpty());
        if (!row.failure.isEmpty()) {
            EXPECT_EQ(recorder.failures.first(), row.failure);
            EXPECT_EQ(log.lines(), row.log);
        }
    }
}

TEST_F(ECBChartTest, CancelledOrReplacedBetweenTheTwoFilesNeverDelivers) {
    for (const bool replaced : {false, true}) {
        SCOPED_TRACE(replaced ? "replaced" : "cancelled");
        recorder = {};
        server.clearRequests();
        auto gate = std::make_shared<FakeHttpServer::Gate>();
        server.answer(ecbPath.arg("gbp"), held(xml("ecb-chart/gbp.xml"), gate));
        client->queryCurrencyChart({"USD", "GBP"}, ChartPeriodOverall);
        // The first file arrived and was parsed.
        ASSERT_TRUE(QTest::qWaitFor([&] { return server.requestCount() >= 2; }, 10000));
        if (replaced) {
            EXPECT_EQ(query({"USD", "EUR"}, ChartPeriodOverall).plotPoints.first().value,
                      dec("1.29"));
        } else {
            client->cancelAllHttpRequests();
        }
        gate->release();
        ChartRecorder::settle();
        EXPECT_EQ(recorder.outcomes(), replaced ? 1 : 0);
    }
}

TEST_F(CBRChartTest, RoubleLastAsksForTheCurrencyOverThePeriodAndInverts) {
    const CCurrencyChartInfo& info = query({"USD", "RUB"});
    ASSERT_EQ(server.requestCount(), 1);
    const FakeHttpServer::Request request = server.requests().first();
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.target, QStringLiteral("/scripts/XML_dynamic.asp?date_req1=29/02/2012"
                                             "&date_req2=07/03/2012&VAL_NM_RQ=R01235"));
    EXPECT_TRUE(client->shouldInvertChartData());
    EXPECT_EQ(valueTexts(info).size(), 5);
    EXPECT_EQ(info.plotPoints.first().value, dec("1") / dec("29.3282"));
    EXPECT_EQ(dateTexts(info, QTimeZone::utc(), "dd.MM.yyyy"),
              (QStringList{"01.03.2012", "02.03.2012", "03.03.2012", "06.03.2012", "07.03.2012"}));
    EXPECT_EQ(info.firstCurrencyCode, QStringLiteral("USD"));
    EXPECT_EQ(info.lastCurrencyCode, QStringLiteral("RUB"));
    EXPECT_EQ(info.chartPeriod, ChartPeriod1Week);
}

TEST_F(CBRChartTest, CrossPairAsksForTheLastCurrencyFirstAndDivides) {
    const CCurrencyChartInfo& info = query({"USD", "EUR"});
    EXPECT_EQ(seriesAsked(), (QStringList{"R01239", "R01235"}));
    EXPECT_TRUE(client->shouldRequestBothCurrencies());
    ASSERT_EQ(info.plotPoints.size(), 5);
    EXPECT_EQ(info.plotPoints[0].value, dec("39.1712") / dec("29.3282"));
    EXPECT_EQ(info.plotPoints[4].value, dec("38.8265") / dec("29.546"));
}

TEST_F(CBRChartTest, MetalSeriesKeepsTheRecordsOfTheMetalAsked) {
    const CCurrencyChartInfo& gold = query({"RUB", "XAU"});
    ASSERT_EQ(server.requestCount(), 1);
    EXPECT_EQ(server.requests().first().target,
              QStringLiteral("/scripts/xml_metall.asp?date_req1=29/02/2012&date_req2=07/03/2012"));
    EXPECT_EQ(valueTexts(gold), (QStringList{"1589.14", "1580.37", "1563.61"}));

    recorder = {};
    EXPECT_EQ(valueTexts(query({"RUB", "XPD"})), (QStringList{"664", "659.37", "641.4"}));

    // Gold in dollars: the metal has no price on 3 and 7 March, the dollar has; days are paired
    // by date.
    recorder = {};
    server.clearRequests();
    const CCurrencyChartInfo& goldInDollars = query({"USD", "XAU"});
    EXPECT_EQ(seriesAsked(), (QStringList{"metals", "R01235"}));
    EXPECT_EQ(dateTexts(goldInDollars, QTimeZone::utc(), "dd.MM"),
              (QStringList{"01.03", "02.03", "06.03"}));
    EXPECT_EQ(goldInDollars.plotPoints[2].value, dec("1563.61") / dec("29.36"));
}

TEST_F(CBRChartTest, BadAnswersNeverCrashAndFailuresAreReported) {
    const QByteArray full = FakeHttpServer::testData("cbr-chart/dynamic-usd.xml");
    struct Row {
        const char* name;
        QByteArray body;
        bool fails;
        QStringList values;
        int status = 200;
    };
    const QList<Row> rows = {
        {"server error", "", true, {}, 502},
        {"truncated", full.left(full.size() - 40), true, {}},
        {"empty body", "", true, {}},
        {"not XML", "<html><body>Error", true, {}},
        {"empty series", FakeHttpServer::testData("cbr-chart/dynamic-empty.xml"), false, {}},
        {"zero, missing and unreadable nominals and values",
         "<?xml version=\"1.0\" encoding=\"windows-1251\" ?>\r\n<ValCurs ID=\"R01235\">"
         "<Record Date=\"01.03.2012\" Id=\"R01235\"><Value>29,3282</Value></Record>"
         "<Record Date=\"02.03.2012\" "
         "Id=\"R01235\"><Nominal>0</Nominal><Value>29,3</Value></Record>"
         "<Record Date=\"03.03.2012\" Id=\"R01235\"><Nominal>1</Nominal><Value>abc</Value></Record>"
         "<Record Date=\"06.03.2012\" "
         "Id=\"R01235\"><Nominal>1</Nominal><Value>1e99999</Value></Record>"
         "<Record Date=\"31.02.2012\" "
         "Id=\"R01235\"><Nominal>1</Nominal><Value>29,1</Value></Record>"
         "<Record Date=\"07.03.2012\" "
         "Id=\"R01235\"><Nominal>1</Nominal><Value>29,5460</Value></Record>"
         "</ValCurs>",
         false,
         {"29.546"}},
        {"Cyrillic text in windows-1251",
         QByteArray("<?xml version=\"1.0\" encoding=\"windows-1251\" ?>\r\n<ValCurs ID=\"R01235\" "
                    "name=\"") +
             QByteArray("\xc4\xe8\xed\xe0\xec\xe8\xea\xe0") +  // "Динамика"
             "\"><Record Date=\"01.03.2012\" Id=\"R01235\"><Nominal>1</Nominal>"
             "<Value>29,3282</Value></Record></ValCurs>",
         false,
         {"29.3282"}},
        {"single-quoted declaration",
         QByteArray("<?xml version='1.0' encoding = 'windows-1251'?><ValCurs name=\"") +
             QByteArray("\xc4\xe8\xed\xe0\xec\xe8\xea\xe0") +
             "\"><Record Date=\"01.03.2012\"><Nominal>1</Nominal><Value>29,3</Value></Record>"
             "</ValCurs>",
         false,
         {"29.3"}},
        {"no declaration",
         QByteArray("<ValCurs name=\"") + QByteArray("\xc4\xe8\xed\xe0\xec\xe8\xea\xe0") +
             "\"><Record Date=\"01.03.2012\"><Nominal>1</Nominal><Value>29,3</Value></Record>"
             "</ValCurs>",
         false,
         {"29.3"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        recorder = {};
        server.setHandler([&row](const FakeHttpServer::Request&) {
            return FakeHttpServer::Answer::text(row.body, row.status,
                                                "text/xml; charset=windows-1251");
        });
        LogCapture log;
        query({"RUB", "USD"});
        if (row.status != 200) {
            EXPECT_EQ(recorder.failures, QStringList{"502 Bad Gateway"});
            EXPECT_EQ(log.lines(), QStringList{"CBR chart web service request failed with\r\n"
                                               "error:\r\nresponse:Bad Gateway\r\ndata:\r\n"});
        } else if (row.fails) {
            ASSERT_EQ(recorder.failures.size(), 1);
            EXPECT_FALSE(recorder.failures.first().isEmpty());
        } else {
            ASSERT_EQ(recorder.results.size(), 1);
            EXPECT_EQ(valueTexts(recorder.results.first()), row.values);
        }
    }
}

TEST_F(CBRChartTest, CancellingBetweenTheTwoSeriesDeliversNothing) {
    auto gate = std::make_shared<FakeHttpServer::Gate>();
    server.setHandler([gate](const FakeHttpServer::Request& request) {
        if (request.queryValues("VAL_NM_RQ") == QStringList{"R01235"}) {
            return held(xml("cbr-chart/dynamic-usd.xml"), gate);
        }
        return xml("cbr-chart/dynamic-eur.xml");
    });
    client->queryCurrencyChart({"USD", "EUR"}, ChartPeriod1Week);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.requestCount() >= 2; }, 10000));
    client->cancelAllHttpRequests();
    gate->release();
    ChartRecorder::settle();
    EXPECT_EQ(recorder.outcomes(), 0);
}

TEST_F(CBRChartTest, ParseStopsAtEveryCancellationCheck) {
    for (const char* file : {"cbr-chart/dynamic-usd.xml", "cbr-chart/metals.xml"}) {
        SCOPED_TRACE(file);
        const QByteArray text = FakeHttpServer::testData(file);
        const QString code = QString::fromLatin1(file).contains("metals") ? "XAG" : "USD";
        const int checks = expectCancellationAtEveryCheck([&](const auto& isCancelled) {
            return !CCBRChartWebServiceClient::parseSeries(text, code, QTimeZone::utc(),
                                                           isCancelled)
                        .cancelled;
        });
        EXPECT_GE(checks, 3);
    }
}
