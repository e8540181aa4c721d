#include "CSourceComparison.h"

#include "CRootViewModel.h"
#include "CoreTestSupport.h"
#include "FakeHttpServer.h"
#include "Localization.h"
#include "NotificationCenter.h"
#include "TestSupport.h"
#include "UserDefaults.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

SourceRate rate(const char* id, const char* value) {
    SourceRate r{QString::fromLatin1(id), QString::fromLatin1(id)};
    if (value == nullptr) {
        r.failure = QStringLiteral("503 Service Unavailable");
    } else {
        r.value = d(value);
    }
    return r;
}

}  // namespace

TEST(SourceComparisonSummary, MedianSpreadAndOutliers) {
    struct Row {
        const char* what;
        QList<SourceRate> rates;
        const char* median;  // nullptr: none
        const char* spread;  // rounded to 4 places
        QStringList outliers;
    };
    const QList<Row> rows = {
        {"odd count",
         {rate("A", "1.00"), rate("B", "1.10"), rate("C", "1.02")},
         "1.02",
         "9.8039",
         {"B"}},
        {"even count: mean of the middle two",
         {rate("A", "1.04"), rate("B", "1.00"), rate("C", "1.01"), rate("D", "1.03")},
         "1.02",
         "3.9216",
         {}},
        {"a failure counts for nothing",
         {rate("A", "1"), rate("B", nullptr), rate("C", "1")},
         "1",
         "0",
         {}},
        {"one source", {rate("A", "5")}, "5", "0", {}},
        {"exactly the threshold is no outlier",
         {rate("A", "1"), rate("B", "1"), rate("C", "1.02")},
         "1",
         "2",
         {}},
        {"just beyond it is",
         {rate("A", "1"), rate("B", "1"), rate("C", "1.0201")},
         "1",
         "2.01",
         {"C"}},
        {"every source failed", {rate("A", nullptr)}, nullptr, nullptr, {}},
    };
    for (const Row& r : rows) {
        CurrencyComparison c{QStringLiteral("EUR"), r.rates};
        CSourceComparison::summarize(c, CSourceComparison::defaultThresholdPercent());
        SCOPED_TRACE(r.what);
        EXPECT_EQ(c.hasValues(), r.median != nullptr);
        if (r.median != nullptr) {
            EXPECT_EQ(c.median, d(r.median));
            EXPECT_EQ(c.spread.rounded(4), d(r.spread));
        }
        EXPECT_EQ(c.outlierIds(), r.outliers);
        for (const SourceRate& s : c.rates) {
            EXPECT_EQ(s.deviation.isNaN(), s.value.isNaN()) << s.id.toStdString();
        }
    }
}

/// Every built-in source is the local server: only the ECB and Frankfurter answer.
class SourceComparisonTest : public ::testing::Test {
protected:
    void SetUp() override {
        Localization::install(QStringLiteral("en"));
        model = std::make_unique<CRootViewModel>(defaults, center);
        Endpoints endpoints = Endpoints::defaults();
        for (const QString& key :
             {Endpoints::Cbr, Endpoints::Ecb, Endpoints::BankUa, Endpoints::YahooQuotes,
              Endpoints::PayPal, Endpoints::Bloomberg, Endpoints::Ocbc, Endpoints::Frankfurter,
              Endpoints::CurrencyApi, Endpoints::CurrencyApiFallback}) {
            endpoints.setValue(key, server.baseUrl());
        }
        server.setHandler([this](const FakeHttpServer::Request& request) {
            if (request.path == u"/v2/rates") {
                auto answer = FakeHttpServer::Answer::file(
                    QStringLiteral("frankfurter/rates-providers.json"), "application/json");
                answer.gate = gate;
                return answer;
            }
            if (request.path.endsWith(u"eurofxref-daily.xml")) {
                return FakeHttpServer::Answer::file(QStringLiteral("ecb/eurofxref-daily.xml"));
            }
            return FakeHttpServer::Answer::text("gone", 404);
        });
        comparison = std::make_unique<CSourceComparison>(*model, endpoints);
        comparison->setFinished([this](const QList<CurrencyComparison>& r) {
            result = r;
            ++finished;
        });
    }
    void TearDown() override { gate->release(); }

    ScopedDataDir dataDir;
    UserDefaults& defaults = UserDefaults::standardUserDefaults();
    NotificationCenter center;
    FakeHttpServer server;
    std::shared_ptr<FakeHttpServer::Gate> gate = std::make_shared<FakeHttpServer::Gate>();
    std::unique_ptr<CRootViewModel> model;
    std::unique_ptr<CSourceComparison> comparison;
    QList<CurrencyComparison> result;
    int finished = 0;
};

TEST_F(SourceComparisonTest, AsksEverySourceAtOnceAndListsFailuresAndFrankfurtersInstitutions) {
    // The finished handler may destroy the comparison that calls it.
    comparison->setFinished([this](const QList<CurrencyComparison>& r) {
        result = r;
        ++finished;
        comparison.reset();
    });
    comparison->compare({"EUR", "GBP"}, QStringLiteral("USD"));
    // All nine sources are asked while Frankfurter has not answered yet.
    ASSERT_TRUE(server.waitForRequests(9));
    EXPECT_EQ(finished, 0);
    gate->release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return finished > 0; }, 10000));
    QTest::qWait(20);
    ASSERT_EQ(finished, 1);
    const QList<FakeHttpServer::Request> asked = server.requests();
    const auto frankfurter = std::find_if(asked.begin(), asked.end(), [](const auto& request) {
        return request.path == u"/v2/rates";
    });
    ASSERT_NE(frankfurter, asked.end());
    EXPECT_EQ(frankfurter->queryValues(QStringLiteral("expand")), QStringList{"providers"});
    EXPECT_EQ(frankfurter->queryValues(QStringLiteral("quotes")), QStringList{"EUR,GBP"});

    ASSERT_EQ(result.size(), 2);
    const CurrencyComparison& eur = result[0];
    QStringList ids;
    QStringList failed;
    for (const SourceRate& s : eur.rates) {
        ids.append(s.id);
        if (!s.failure.isEmpty()) {
            failed.append(s.id);
        }
    }
    EXPECT_EQ(ids, (QStringList{"CBR", "YFinance", "ECB", "Bloomberg", "PayPal", "OCBC", "BankUa",
                                "Frankfurter", "Frankfurter/ECB", "Frankfurter/BOC",
                                "Frankfurter/TCMB", "CurrencyApi"}));
    EXPECT_EQ(failed, (QStringList{"CBR", "YFinance", "Bloomberg", "PayPal", "OCBC", "BankUa",
                                   "CurrencyApi"}));
    EXPECT_EQ(eur.rates[2].value, d("1.3035"));
    EXPECT_EQ(eur.rates[9].name, QStringLiteral("Frankfurter · BOC"));
    EXPECT_EQ(eur.median, Decimal::fromInt(1) / d("0.85874"));
    EXPECT_EQ(eur.outlierIds(), (QStringList{"ECB", "Frankfurter/TCMB"}));
    EXPECT_EQ(result[1].rates[2].value.rounded(20), (d("1.3035") / d("0.87280")).rounded(20))
        << "GBP from the same answer";
}

TEST_F(SourceComparisonTest, DestroyedOrRestartedMidWayDeliversNothingStale) {
    comparison->compare({"EUR"}, QStringLiteral("USD"));
    ASSERT_TRUE(server.waitForRequests(9));
    comparison->compare({"GBP"}, QStringLiteral("USD"));
    ASSERT_TRUE(server.waitForRequests(18));
    comparison.reset();
    gate->release();
    QTest::qWait(200);
    EXPECT_EQ(finished, 0);
}
