#include "Appirater.h"
#include "CCustomDataSourceMetadataUpdater.h"
#include "CUISettings.h"
#include "NotificationCenter.h"
#include "NumivaAppDelegate.h"
#include "TestSupport.h"
#include "UserDefaults.h"

#include <gtest/gtest.h>

namespace {

/// Start-up on a fresh data directory, with every host unreachable (no view loads here, so
/// nothing is asked anyway).
class StartUp : public ::testing::Test {
protected:
    void SetUp() override { Appirater::reset(); }

    std::unique_ptr<NumivaAppDelegate> launch(bool tablet) {
        NumivaAppDelegate::Options options;
        options.tablet = tablet;
        options.center = &center;
        Endpoints endpoints;
        options.endpoints = endpoints;
        auto delegate = std::make_unique<NumivaAppDelegate>(options);
        EXPECT_TRUE(delegate->didFinishLaunching());
        return delegate;
    }

    ScopedDataDir dataDir;
    NotificationCenter center;
};

TEST_F(StartUp, AFirstLaunchRegistersTheBundleAndModelDefaultsAndTellsThePrompt) {
    auto app = launch(false);
    EXPECT_EQ(Appirater::launchCount(), 1);
    // Which keys are registered is the model's test; here, that start-up registers the bundle.
    EXPECT_TRUE(UserDefaults::standardUserDefaults().registeredDefaults().contains(
        QStringLiteral("ChartDataCsvSeparatorUserDefaultsKey")));
    EXPECT_EQ(app->rootController()->dataModel().getBaseCurrencyCode(), QStringLiteral("USD"));
    ASSERT_NE(app->customDataSourceInfoUpdater(), nullptr);
    ASSERT_NE(app->settingsController(), nullptr);
    EXPECT_EQ(&app->settingsController()->dataModel(), &app->rootController()->dataModel())
        << "both screens share one model";
    EXPECT_EQ(app->rootController()->settingsViewController(), app->settingsController());
    app->applicationWillEnterForeground();
    app->applicationDidBecomeActive();  // both screens refresh what they show
    EXPECT_EQ(Appirater::foregroundCount(), 1);
}

TEST_F(StartUp, APhoneShowsOneNavigationStackWithTheRateList) {
    auto app = launch(false);
    ASSERT_NE(app->navigationController(), nullptr);
    EXPECT_EQ(app->splitController(), nullptr);
    EXPECT_EQ(app->navigationController()->viewControllers(),
              QList<CViewController*>{app->rootController()});
    EXPECT_EQ(app->rootNavigation(), app->navigationController());
    EXPECT_EQ(app->settingsNavigation(), nullptr);
    EXPECT_FALSE(app->rootController()->isTablet());
    EXPECT_EQ(app->windowProperties().value(QStringLiteral("tablet")), false);
}

TEST_F(StartUp, ATabletShowsSettingsOnTheLeftAndTheRateListOnTheRight) {
    auto app = launch(true);
    EXPECT_EQ(app->navigationController(), nullptr);
    ASSERT_NE(app->splitController(), nullptr);
    const QList<CNavigationController*> panes = app->splitController()->viewControllers();
    ASSERT_EQ(panes.size(), 2);
    EXPECT_EQ(panes[0]->viewControllers(), QList<CViewController*>{app->settingsController()});
    EXPECT_EQ(panes[1]->viewControllers(), QList<CViewController*>{app->rootController()});
    EXPECT_EQ(app->windowBackgroundColor(), QColor(Qt::black));
    EXPECT_EQ(app->settingsController()->title(), QStringLiteral("Settings"));
    EXPECT_TRUE(app->rootController()->isTablet());
    const QVariantMap properties = app->windowProperties();
    EXPECT_EQ(properties.value(QStringLiteral("rootNavigation")).value<CNavigationController*>(),
              panes[1]);
    EXPECT_EQ(
        properties.value(QStringLiteral("settingsNavigation")).value<CNavigationController*>(),
        panes[0]);
}

}  // namespace
