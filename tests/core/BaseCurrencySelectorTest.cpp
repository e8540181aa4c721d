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
        model =
            std::make_unique<CRootViewModel>(UserDefaults::standardUserDefaults(), center, options);
    }
    void TearDown() override { Endpoints::setStandard(std::nullopt); }

    /// Lets the answers of every request made so far arrive.
    void settle(int requests) {
        ASSERT_TRUE(server.waitForRequests(requests));
        QTest::qWait(50);
    }
};

TEST_F(SelectorTest, UnknownCountriesAndFailedAnswersChangeNothingGermanyMakesTheEuroTheBase) {
    const std::pair<Answer, QString> cases[] = {
        {Answer::file(QStringLiteral("geonames/countryCode-AQ.xml")),
         QStringLiteral("No base currency for country with code: AQ")},
        {Answer::text("busy", 503), QStringLiteral("GeoNames error response: Service Unavailable")},
        {Answer::text("<geonames><countryCode>DE", 200),
         QStringLiteral("GeoNames response xml parse fail: ")},
        {Answer::file(QStringLiteral("geonames/error.xml")), QString()},
    };
    int requests = 0;
    for (const auto& [answer, logged] : cases) {
        LogCapture log;
        server.answer(QStringLiteral("/countryCode"), answer);
        location.fix(-75, 0);
        settle(++requests);
        EXPECT_EQ(model->getBaseCurrencyCode(), QStringLiteral("USD"));
        EXPECT_TRUE(log.lines().join(u'|').contains(logged))
            << log.lines().join(u'|').toStdString();
    }
    // Germany makes the euro the base, and the updates stop.
    location.updating = true;
    server.answer(QStringLiteral("/countryCode"),
                  Answer::file(QStringLiteral("geonames/countryCode-DE.xml"), "text/xml"));
    location.fix(52.520008, 13.404954);
    settle(++requests);
    EXPECT_EQ(model->getBaseCurrencyCode(), QStringLiteral("EUR"));
    EXPECT_FALSE(location.updating);
    EXPECT_EQ(
        server.requests().last().target,
        QStringLiteral("/countryCode?lat=52.520008&lng=13.404954&username=numivaqa&type=xml"));
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
    EXPECT_EQ((QStringList{table.value("RU").toString(), table.value("UA").toString(),
                           table.value("SG").toString()}),
              (QStringList{"RUB", "UAH", "SGD"}));
    EXPECT_GT(table.size(), 200);
    // A new install's first base currency where there is no fix or no account.
    EXPECT_EQ((QStringList{CBaseCurrencySelector::currencyForTerritory(QLocale::Germany),
                           CBaseCurrencySelector::currencyForTerritory(QLocale::Japan),
                           CBaseCurrencySelector::currencyForTerritory(QLocale::AnyTerritory)}),
              (QStringList{"EUR", "JPY", ""}));
}

}  // namespace
