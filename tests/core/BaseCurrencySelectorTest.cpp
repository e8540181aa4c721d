#include "CBaseCurrencySelector.h"
#include "CRootViewModel.h"
#include "Endpoints.h"
#include "FakeHttpServer.h"
#include "Log.h"
#include "NotificationCenter.h"
#include "Resources.h"
#include "TestSupport.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

using Answer = FakeHttpServer::Answer;

/// A location service the test drives by hand.
class TestLocation : public LocationService {
public:
    AuthorizationStatus status = AuthorizationStatus::NotDetermined;
    bool enabled = true;
    bool updating = false;
    int stopMonitoringCalls = 0;

    AuthorizationStatus authorizationStatus() const override { return status; }
    bool locationServicesEnabled() const override { return enabled; }
    void startUpdatingLocation() override { updating = true; }
    void stopUpdatingLocation() override { updating = false; }
    void stopMonitoringSignificantLocationChanges() override { ++stopMonitoringCalls; }

    void fix(double lat, double lng) {
        delegate->locationManagerDidUpdateToLocation(GeoCoordinate{lat, lng});
    }
};

class SelectorTest : public ::testing::Test {
protected:
    ScopedDataDir dataDir;
    FakeHttpServer server;
    TestLocation location;
    NotificationCenter center;
    int disabledPosts = 0;
    std::unique_ptr<CRootViewModel> model;

    void SetUp() override {
        Endpoints endpoints = Endpoints::defaults();
        endpoints.setValue(Endpoints::GeoNames, server.baseUrl());
        endpoints.setValue(Endpoints::GeoNamesUserName, QStringLiteral("numivaqa"));
        Endpoints::setStandard(endpoints);
        center.addObserver(this, CBaseCurrencySelector::BaseCurrencyAutoselectDisabled, nullptr,
                           [this](const QString&, const void*) { ++disabledPosts; });
        UserDefaults::standardUserDefaults().setObject(true,
                                                       QStringLiteral("BaseCurrencyAutoSelect"));
        CRootViewModel::Options options;
        options.location = &location;
        options.endpoints = endpoints;
        model = std::make_unique<CRootViewModel>(UserDefaults::standardUserDefaults(), center,
                                                 options);
    }
    void TearDown() override { Endpoints::setStandard(std::nullopt); }

    void answerCountry(const char* country) {
        server.answer(
            QStringLiteral("/countryCode"),
            Answer::file(QStringLiteral("geonames/countryCode-%1.xml").arg(QLatin1String(country)),
                         "text/xml;charset=UTF-8"));
    }
    /// Lets the answers of every request made so far arrive.
    void settle(int requests) {
        ASSERT_TRUE(server.waitForRequests(requests));
        QTest::qWait(50);
    }
};

TEST_F(SelectorTest, GermanyMakesTheEuroTheBaseAndStopsUpdates) {
    answerCountry("DE");
    location.fix(52.520008, 13.404954);
    settle(1);
    EXPECT_EQ(model->getBaseCurrencyCode(), QStringLiteral("EUR"));
    EXPECT_FALSE(location.updating);
    const auto request = server.requests().first();
    EXPECT_EQ(
        request.target,
        QStringLiteral("/countryCode?lat=52.520008&lng=13.404954&username=numivaqa&type=xml"));
}

TEST_F(SelectorTest, UnknownCountriesAndFailedAnswersChangeNothing) {
    LogCapture log;
    answerCountry("AQ");
    location.fix(-75, 0);
    settle(1);
    EXPECT_EQ(model->getBaseCurrencyCode(), QStringLiteral("USD"));
    EXPECT_TRUE(log.lines().contains(QStringLiteral("No base currency for country with code: AQ")));

    server.answer(QStringLiteral("/countryCode"), Answer::text("busy", 503));
    location.fix(52.5, 13.4);
    settle(2);
    EXPECT_EQ(model->getBaseCurrencyCode(), QStringLiteral("USD"));
    EXPECT_TRUE(
        log.lines().contains(QStringLiteral("GeoNames error response: Service Unavailable")));

    server.answer(QStringLiteral("/countryCode"), Answer::text("<geonames><countryCode>DE", 200));
    location.fix(52.5, 13.4);
    settle(3);
    EXPECT_EQ(model->getBaseCurrencyCode(), QStringLiteral("USD"));
    const QStringList lines = log.lines();
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const QString& l) {
        return l.startsWith(QStringLiteral("GeoNames response xml parse fail: "));
    }));

    server.answer(QStringLiteral("/countryCode"),
                  Answer::file(QStringLiteral("geonames/error.xml")));
    location.fix(52.5, 13.4);
    settle(4);
    EXPECT_EQ(model->getBaseCurrencyCode(), QStringLiteral("USD"));
}

TEST_F(SelectorTest, OnlyTheAnswerToTheLatestFixCounts) {
    auto gate = std::make_shared<FakeHttpServer::Gate>();
    Answer first = Answer::file(QStringLiteral("geonames/countryCode-DE.xml"));
    first.gate = gate;
    server.answer(
        QStringLiteral("/countryCode"),
        QList<Answer>{first, Answer::file(QStringLiteral("geonames/countryCode-GB.xml"))});
    location.fix(52.5, 13.4);
    ASSERT_TRUE(server.waitForRequests(1));
    location.fix(51.5, -0.12);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->getBaseCurrencyCode() == u"GBP"; }, 10000));
    gate->release();
    QTest::qWait(50);
    EXPECT_EQ(model->getBaseCurrencyCode(), QStringLiteral("GBP"));
}

TEST_F(SelectorTest, RefusalSwitchesTheSettingOffAndPostsOnce) {
    LogCapture log;
    location.delegate->locationManagerDidFailWithError(0, QStringLiteral("no fix yet"));
    EXPECT_EQ(disabledPosts, 0);
    EXPECT_TRUE(location.updating);
    location.delegate->locationManagerDidFailWithError(LocationService::ErrorDenied,
                                                       QStringLiteral("denied"));
    EXPECT_EQ(disabledPosts, 1);
    EXPECT_FALSE(location.updating);
    EXPECT_EQ(location.stopMonitoringCalls, 1);
    EXPECT_FALSE(
        UserDefaults::standardUserDefaults().boolForKey(QStringLiteral("BaseCurrencyAutoSelect")));
    EXPECT_EQ(log.lines(),
              (QStringList{QStringLiteral("Cannot determine user location: no fix yet"),
                           QStringLiteral("Cannot determine user location: denied")}));
}

TEST(CountriesTable, CoversTheCountriesWithTheirCurrencies) {
    const QVariantMap table =
        Resources::propertyList(QStringLiteral("CountriesAndCurrenciesData")).toMap();
    EXPECT_EQ(table.value(QStringLiteral("DE")), QStringLiteral("EUR"));
    EXPECT_EQ(table.value(QStringLiteral("RU")), QStringLiteral("RUB"));
    EXPECT_EQ(table.value(QStringLiteral("UA")), QStringLiteral("UAH"));
    EXPECT_EQ(table.value(QStringLiteral("SG")), QStringLiteral("SGD"));
    EXPECT_GT(table.size(), 200);
    // A new install's first base currency where there is no fix or no account.
    EXPECT_EQ(CBaseCurrencySelector::currencyForTerritory(QLocale::Germany), QStringLiteral("EUR"));
    EXPECT_EQ(CBaseCurrencySelector::currencyForTerritory(QLocale::Japan), QStringLiteral("JPY"));
    EXPECT_EQ(CBaseCurrencySelector::currencyForTerritory(QLocale::AnyTerritory), QString());
}

}  // namespace
