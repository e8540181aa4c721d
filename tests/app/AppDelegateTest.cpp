#include "Appirater.h"
#include "CCustomDataSourceMetadataUpdater.h"
#include "CUISettings.h"
#include "Localization.h"
#include "NotificationCenter.h"
#include "NumivaAppDelegate.h"
#include "RecordingComposers.h"
#include "TestSupport.h"
#include "UserDefaults.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

/// Start-up on a fresh data directory, with every host unreachable (no view loads here, so
/// nothing is asked anyway).
class StartUp : public ::testing::Test {
protected:
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
    EXPECT_EQ(app->ratingPrompt()->useCount(), 1);
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
    EXPECT_EQ(app->ratingPrompt()->useCount(), 2);
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

namespace {

/// The rating question over an injected clock: asked only once enough days and uses have
/// passed, again after "Remind me later" plus its delay, never after Rate or No, thanks until
/// the version changes.
TEST(RatingPrompt, AsksOnScheduleOncePerVersion) {
    ScopedDataDir dataDir;
    Localization::install(QStringLiteral("en"));
    QDateTime now = QDateTime(QDate(2026, 3, 1), QTime(9, 0), Qt::UTC);
    RecordingOpener opener;
    CViewController presenter(QStringLiteral("RootView"), false);
    QSignalSpy asked(&presenter, &CViewController::choiceRequested);
    auto prompt = [&](const QString& version) {
        Appirater::Options options;
        options.version = version;
        options.clock = [&now] { return now; };
        options.opener = &opener;
        options.reviewUrl = QUrl(QStringLiteral("https://store.example/review"));
        auto appirater = std::make_unique<Appirater>(options);
        appirater->setPresenter(&presenter);
        return appirater;
    };
    auto appirater = prompt(QStringLiteral("1.0"));
    struct Step {
        int days;      // the clock moves on this many days first
        int launches;  // then the application is used this many times
        int answer;    // the answer to a question asked (-1: none, or closed)
        bool asked;
    };
    const Step steps[] = {
        {0, 19, -1, false},  // 19 uses on the first day
        {9, 1, -1, false},   // 20 uses, but only 9 days
        {1, 1, 1, true},     // 10 days and 21 uses: asked; Remind me later
        {1, 3, -1, false},   // the reminder waits two days
        {1, 1, -1, true},    // asked again; closed without an answer is a reminder too
        {2, 1, 0, true},     // Rate: the review page opens
        {30, 5, -1, false},  // never again for this version
    };
    int step = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(step++);
        now = now.addDays(s.days);
        asked.clear();
        for (int i = 0; i < s.launches; ++i) {
            i % 2 == 0 ? appirater->appLaunched(true) : appirater->appEnteredForeground(true);
            QCoreApplication::processEvents();
        }
        ASSERT_EQ(asked.size(), s.asked ? 1 : 0);
        if (s.asked) {
            EXPECT_EQ(asked.first().at(2).toStringList(),
                      (QStringList{QStringLiteral("Rate Numiva"), QStringLiteral("Remind me later"),
                                   QStringLiteral("No, thanks")}));
            presenter.answerChoice(s.answer);
        }
    }
    EXPECT_EQ(opener.openedUrls, QList<QUrl>{QUrl(QStringLiteral("https://store.example/review"))});

    // A new version starts counting afresh; No, thanks ends the questions for it.
    appirater = prompt(QStringLiteral("1.1"));
    asked.clear();
    for (int i = 0; i < 20; ++i) {
        appirater->appLaunched(true);
    }
    now = now.addDays(10);
    appirater->appLaunched(true);
    QCoreApplication::processEvents();
    ASSERT_EQ(asked.size(), 1);
    presenter.answerChoice(2);
    now = now.addDays(100);
    appirater->appLaunched(true);
    appirater->appLaunched(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(asked.size(), 1);
    EXPECT_EQ(appirater->useCount(), 23);
}

}  // namespace
