#pragma once

#include "Appirater.h"
#include "CNavigationController.h"
#include "CRootViewController.h"
#include "CSettingsViewController.h"
#include "Endpoints.h"

#include <QColor>
#include <QObject>
#include <QUrl>
#include <QVariantMap>

#include <chrono>
#include <memory>
#include <optional>

class CCustomDataSourceMetadataUpdater;
class CCustomDataSourceStorageManager;
class LocationService;
class NotificationCenter;
class UserDefaults;

/// The application's delegate: the start-up sequence (rating prompt, settings defaults,
/// metadata refresh of user-added sources, the rate list and settings screens on one model)
/// and the phone or tablet layout; it holds what start-up made for the whole run.
class NumivaAppDelegate : public QObject {
    Q_OBJECT

public:
    struct Options {
        bool tablet = true;
        /// Null: the standard store, the default centre, the shared registry.
        UserDefaults* defaults = nullptr;
        NotificationCenter* center = nullptr;
        CCustomDataSourceStorageManager* registry = nullptr;
        /// Not owned; null: no base currency from the device's position.
        LocationService* location = nullptr;
        /// Nothing: the process-wide endpoints.
        std::optional<Endpoints> endpoints;
        /// Empty: the bundled settings bundle.
        QString settingsBundlePath;
        std::chrono::milliseconds metadataUpdateInterval = std::chrono::seconds(20);
        std::chrono::milliseconds refreshAfterEditingDelay = std::chrono::milliseconds(500);
        /// The rating prompt's schedule; its store is the one above.
        Appirater::Options ratingPrompt;
        /// False: uses are counted but nothing is asked (screenshots).
        bool promptForRating = true;
        /// True: what the first frame does not need (telling the rating prompt of the launch,
        /// which saves the settings, and the first requests of the metadata updater and of the
        /// rate list) waits for `firstFrameShown`.
        bool holdUntilFirstFrame = false;
    };

    explicit NumivaAppDelegate(Options options, QObject* parent = nullptr);
    ~NumivaAppDelegate() override;

    /// The start-up sequence; true.
    bool didFinishLaunching();
    /// The window has shown its first frame: what start-up held back goes ahead.
    void firstFrameShown();
    /// A URL opened into the application; without a social network client, not handled.
    bool openURL(const QUrl& url);
    void applicationWillEnterForeground();
    /// The application is active again: the rate list refreshes.
    void applicationDidBecomeActive();
    void applicationDidReceiveMemoryWarning() {}

    bool isTablet() const { return options_.tablet; }
    /// Switches the window between the phone and the tablet layout (the window was resized
    /// across the threshold): what was open over the screens is closed, the same screens on
    /// the same model are arranged for the other idiom, and `layoutChanged` is emitted.
    Q_SLOT void setTablet(bool tablet);
    /// Phone only: the one navigation stack, holding the rate list screen.
    CRootNavigationController* navigationController() const { return navigationController_.get(); }
    /// Tablet only: [settings navigation, rate list navigation].
    CSplitViewController* splitController() const { return splitController_.get(); }
    CRootViewController* rootController() const { return rootController_.get(); }
    CSettingsViewController* settingsController() const { return settingsController_.get(); }
    Appirater* ratingPrompt() const { return appirater_.get(); }
    CCustomDataSourceMetadataUpdater* customDataSourceInfoUpdater() const {
        return customDataSourceInfoUpdater_.get();
    }
    /// Black behind the tablet's panes; the grouped background on a phone.
    QColor windowBackgroundColor() const;

    /// The stack that shows the rate list, and (tablet) the one that shows the settings.
    CNavigationController* rootNavigation() const;
    CNavigationController* settingsNavigation() const;
    /// The main window's initial properties.
    QVariantMap windowProperties() const;

signals:
    /// The window shows the new `windowProperties()`; the old stacks go once it has let go.
    void layoutChanged();

private:
    /// The navigation stacks of the current idiom around the two screens.
    void buildLayout();
    /// One alert with every problem with the user's files reported since the last one.
    void showStorageProblems();
    Options options_;
    /// Start-up work held back until the first frame.
    bool held_ = false;
    std::unique_ptr<Appirater> appirater_;
    std::unique_ptr<CRootNavigationController> navigationController_;
    std::unique_ptr<CSplitViewController> splitController_;
    std::unique_ptr<CNavigationController> settingsPane_;
    std::unique_ptr<CNavigationController> ratesPane_;
    std::unique_ptr<CRootViewController> rootController_;
    std::unique_ptr<CSettingsViewController> settingsController_;
    std::unique_ptr<CCustomDataSourceMetadataUpdater> customDataSourceInfoUpdater_;
};
