#include "Appirater.h"
#include "CCustomDataSourceMetadataUpdater.h"
#include "CUISettings.h"
#include "DeferredLocationService.h"
#include "FrameIncubationController.h"
#include "Localization.h"
#include "NotificationCenter.h"
#include "NumivaAppDelegate.h"
#include "RecordingComposers.h"
#include "TestSupport.h"
#include "UserDefaults.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>

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

/// The phone's one stack or the tablet's two panes around the same two screens.
void expectLayout(NumivaAppDelegate& app, bool tablet) {
    SCOPED_TRACE(tablet ? "tablet" : "phone");
    EXPECT_EQ(app.isTablet(), tablet);
    EXPECT_EQ(app.rootController()->isTablet(), tablet);
    EXPECT_EQ(app.settingsController()->isTablet(), tablet);
    const QVariantMap properties = app.windowProperties();
    EXPECT_EQ(properties.value(QStringLiteral("tablet")), tablet);
    EXPECT_EQ(properties.value(QStringLiteral("rootNavigation")).value<CNavigationController*>(),
              app.rootNavigation());
    EXPECT_EQ(
        properties.value(QStringLiteral("settingsNavigation")).value<CNavigationController*>(),
        app.settingsNavigation());
    ASSERT_NE(app.rootNavigation(), nullptr);
    EXPECT_EQ(app.rootNavigation()->viewControllers(),
              QList<CViewController*>{app.rootController()});
    if (!tablet) {
        EXPECT_EQ(app.splitController(), nullptr);
        EXPECT_EQ(app.settingsNavigation(), nullptr);
        EXPECT_EQ(app.rootNavigation(), app.navigationController());
        return;
    }
    EXPECT_EQ(app.navigationController(), nullptr);
    ASSERT_NE(app.splitController(), nullptr);
    EXPECT_EQ(app.splitController()->viewControllers(),
              (QList<CNavigationController*>{app.settingsNavigation(), app.rootNavigation()}));
    EXPECT_EQ(app.settingsNavigation()->viewControllers(),
              QList<CViewController*>{app.settingsController()});
    EXPECT_EQ(app.windowBackgroundColor(), QColor(Qt::black));
}

TEST_F(StartUp, EachIdiomHasItsLayoutAndAResizedWindowSwitchesBetweenThem) {
    for (const bool tablet : {false, true}) {
        auto app = launch(tablet);
        expectLayout(*app, tablet);
        CRootViewController* rates = app->rootController();
        CSettingsViewController* settings = app->settingsController();
        // Whatever is open belongs to the old layout: the settings pushed on the phone's stack,
        // the picker over the rate list.
        if (!tablet) {
            rates->onSettingsClick();
        }
        rates->insertCurrencies();
        ASSERT_NE(rates->presentedController(), nullptr);
        QSignalSpy changed(app.get(), &NumivaAppDelegate::layoutChanged);
        QSignalSpy buttons(rates, &CRootViewController::buttonsChanged);
        app->setTablet(!tablet);
        EXPECT_EQ(changed.size(), 1);
        EXPECT_FALSE(buttons.isEmpty()) << "the settings and chart buttons follow the layout";
        EXPECT_EQ(rates->presentedController(), nullptr);
        EXPECT_EQ(app->rootController(), rates) << "the same screens on the same model";
        EXPECT_EQ(app->settingsController(), settings);
        expectLayout(*app, !tablet);
        app->setTablet(!tablet);
        EXPECT_EQ(changed.size(), 1) << "no change, no new layout";
    }
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

// What a list may make later (its rows below the visible ones) waits for the first frame, and
// is made after it without anything else happening.
TEST(FrameIncubation, RowsBeyondTheVisibleOnesAreMadeAfterTheFirstFrame) {
    FrameIncubationController incubation;
    QQmlEngine engine;
    engine.setIncubationController(&incubation);
    QQmlComponent component(&engine);
    component.setData(R"(
        import QtQuick
        Window {
            id: window
            width: 100
            height: 100
            visible: true
            property int made: 0
            ListView {
                anchors.fill: parent
                cacheBuffer: 1000
                model: 40
                delegate: Item {
                    width: 100
                    height: 20
                    Component.onCompleted: window.made++
                }
            }
        })",
                      QUrl());
    std::unique_ptr<QQuickWindow> window(qobject_cast<QQuickWindow*>(component.create()));
    ASSERT_NE(window, nullptr) << component.errorString().toStdString();
    incubation.startAfterFirstFrame(window.get());
    const auto made = [&] { return window->property("made").toInt(); };
    int atFirstFrame = -1;
    QObject::connect(window.get(), &QQuickWindow::frameSwapped, window.get(),
                     [&] { atFirstFrame = atFirstFrame < 0 ? made() : atFirstFrame; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return atFirstFrame >= 0; }, 5000));
    EXPECT_LE(atFirstFrame, 6) << "the five visible rows and the one at the edge only";
    EXPECT_TRUE(QTest::qWaitFor([&] { return made() == 40; }, 5000)) << made();
    EXPECT_EQ(incubation.incubatingObjectCount(), 0);
}

}  // namespace

namespace {

class FakeLocation : public LocationService {
public:
    AuthorizationStatus authorizationStatus() const override {
        return AuthorizationStatus::Authorized;
    }
    bool locationServicesEnabled() const override { return true; }
    void startUpdatingLocation() override { ++starts; }
    void stopUpdatingLocation() override {}
    void stopMonitoringSignificantLocationChanges() override {}
    int starts = 0;
};

}  // namespace

// The platform is asked whether it has a position source only when that is first needed, and
// once; updates asked for before the window is up start when the real service is made.
TEST(DeferredLocation, AsksForTheSourceWhenFirstNeededAndStartsWhatWasWantedMeanwhile) {
    for (const bool available : {true, false}) {
        int asked = 0;
        FakeLocation* made = nullptr;
        DeferredLocationService location(
            [&] {
                ++asked;
                return available;
            },
            [&]() -> std::unique_ptr<LocationService> {
                auto service = std::make_unique<FakeLocation>();
                made = service.get();
                return service;
            });
        EXPECT_EQ(asked, 0) << "not asked when made";
        EXPECT_EQ(location.authorizationStatus(),
                  LocationService::AuthorizationStatus::NotDetermined);
        EXPECT_EQ(location.locationServicesEnabled(), available);
        location.startUpdatingLocation();
        location.activate();
        EXPECT_EQ(asked, 1) << "asked once";
        EXPECT_EQ(made != nullptr, available) << "made only where there is a source";
        if (made != nullptr) {
            EXPECT_EQ(made->starts, 1) << "the updates wanted before are started";
            EXPECT_NE(made->delegate, nullptr) << "its fixes come back through the deferred one";
        }
    }
}
