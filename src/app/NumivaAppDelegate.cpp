#include "NumivaAppDelegate.h"

#include "Appirater.h"
#include "CCustomDataSourceMetadataUpdater.h"
#include "CCustomDataSourceStorageManager.h"
#include "CFacebookSingleton.h"
#include "CFileOperations.h"
#include "CUISettings.h"
#include "Localization.h"
#include "NotificationCenter.h"
#include "Startup.h"
#include "StartupTrace.h"
#include "StorageErrors.h"
#include "UserDefaults.h"

NumivaAppDelegate::NumivaAppDelegate(Options options, QObject* parent)
    : QObject(parent), options_(std::move(options)) {}

NumivaAppDelegate::~NumivaAppDelegate() {
    StorageErrors::setListener({});
    if (held_ && appirater_) {
        // Quit before the first frame: the launch still counts.
        appirater_->appLaunched(false);
    }
    appirater_.reset();
    navigationController_.reset();
    splitController_.reset();
    settingsPane_.reset();
    ratesPane_.reset();
    // The settings screen works on the rate list screen's model: it goes first.
    settingsController_.reset();
    rootController_.reset();
    customDataSourceInfoUpdater_.reset();
}

bool NumivaAppDelegate::didFinishLaunching() {
    UserDefaults& defaults =
        options_.defaults != nullptr ? *options_.defaults : UserDefaults::standardUserDefaults();
    held_ = options_.holdUntilFirstFrame;
    NotificationCenter& center =
        options_.center != nullptr ? *options_.center : NotificationCenter::defaultCenter();
    CCustomDataSourceStorageManager& registry =
        options_.registry != nullptr ? *options_.registry
                                     : CCustomDataSourceStorageManager::sharedInstance();
    const Endpoints endpoints = options_.endpoints.value_or(Endpoints::standard());

    Appirater::Options ratingOptions = options_.ratingPrompt;
    if (ratingOptions.defaults == nullptr) {
        ratingOptions.defaults = &defaults;
    }
    appirater_ = std::make_unique<Appirater>(std::move(ratingOptions));
    // Counting the launch writes the settings file: held, it waits for the first frame.
    if (!held_) {
        appirater_->appLaunched(options_.promptForRating);
    }
    StartupTrace::step("rating prompt told of the launch");
    Startup::registerDefaultsFromSettingsBundle(defaults, options_.settingsBundlePath);
    StartupTrace::step("settings bundle defaults");

    customDataSourceInfoUpdater_ = std::make_unique<CCustomDataSourceMetadataUpdater>(
        registry, center, options_.metadataUpdateInterval);
    if (!held_) {
        customDataSourceInfoUpdater_->scheduleMetadataUpdate();
    }
    StartupTrace::step("metadata updater");

    CRootViewController::Dependencies dependencies;
    dependencies.defaults = &defaults;
    dependencies.center = &center;
    dependencies.modelOptions.customSources = &registry;
    dependencies.modelOptions.location = options_.location;
    dependencies.endpoints = endpoints;
    dependencies.tablet = options_.tablet;
    dependencies.refreshAfterEditingDelay = options_.refreshAfterEditingDelay;
    rootController_ = std::make_unique<CRootViewController>(std::move(dependencies));
    rootController_->holdRefreshes(held_);
    // The rate list, shown for the whole run, asks the rating question.
    appirater_->setPresenter(rootController_.get());
    StartupTrace::step("rate list screen and model");

    settingsController_ =
        std::make_unique<CSettingsViewController>(rootController_->dataModel(), options_.tablet);
    rootController_->setSettingsViewController(settingsController_.get());
    StartupTrace::step("settings screen");

    buildLayout();
    // Trouble with the user's files reaches the user as one alert, however much there is; what
    // happened while launching is shown once the window is up.
    if (const QString problem = CFileOperations::dataDirectoryProblem(); !problem.isEmpty()) {
        StorageErrors::report(StorageErrors::Kind::Failure, problem);
    }
    StorageErrors::setListener([this] { showStorageProblems(); });
    QMetaObject::invokeMethod(this, &NumivaAppDelegate::showStorageProblems, Qt::QueuedConnection);
    return true;
}

void NumivaAppDelegate::firstFrameShown() {
    if (!held_) {
        return;
    }
    held_ = false;
    appirater_->appLaunched(options_.promptForRating);
    customDataSourceInfoUpdater_->scheduleMetadataUpdate();
    rootController_->holdRefreshes(false);
}

void NumivaAppDelegate::buildLayout() {
    if (options_.tablet) {
        settingsPane_ = std::make_unique<CNavigationController>(settingsController_.get());
        ratesPane_ = std::make_unique<CNavigationController>(rootController_.get());
        splitController_ = std::make_unique<CSplitViewController>();
        splitController_->setViewControllers({settingsPane_.get(), ratesPane_.get()});
        rootController_->setNavigationController(ratesPane_.get());
    } else {
        navigationController_ =
            std::make_unique<CRootNavigationController>(rootController_.get(), false);
        navigationController_->setViewControllers({rootController_.get()});
        rootController_->setNavigationController(navigationController_.get());
    }
}

void NumivaAppDelegate::setTablet(bool tablet) {
    if (tablet == options_.tablet || !rootController_) {
        return;
    }
    // Popovers, the converter and the phone's landscape chart belong to the layout being left.
    rootController_->dismissViewController(false);
    settingsController_->dismissViewController(false);
    // The window still shows the old stacks until it takes the new ones: they go afterwards.
    QObject* old[] = {navigationController_.release(), splitController_.release(),
                      settingsPane_.release(), ratesPane_.release()};
    options_.tablet = tablet;
    rootController_->setTablet(tablet);
    settingsController_->setTablet(tablet);
    buildLayout();
    emit layoutChanged();
    for (QObject* stack : old) {
        if (stack != nullptr) {
            stack->deleteLater();
        }
    }
}

bool NumivaAppDelegate::openURL(const QUrl& url) {
    // The only addresses handed to the app are the Facebook sign-in's returns.
    return CFacebookSingleton::sharedInstance().handleOpenURL(url);
}

void NumivaAppDelegate::applicationWillEnterForeground() {
    if (appirater_) {
        appirater_->appEnteredForeground(options_.promptForRating);
    }
}

void NumivaAppDelegate::applicationDidBecomeActive() {
    if (rootController_) {
        rootController_->applicationDidBecomeActive();
    }
    if (settingsController_) {
        settingsController_->applicationDidBecomeActive();
    }
}

QColor NumivaAppDelegate::windowBackgroundColor() const {
    return options_.tablet ? QColor(Qt::black)
                           : CUISettings::sharedSettings().defaultBackgroundColor();
}

CNavigationController* NumivaAppDelegate::rootNavigation() const {
    return options_.tablet ? static_cast<CNavigationController*>(ratesPane_.get())
                           : navigationController_.get();
}

CNavigationController* NumivaAppDelegate::settingsNavigation() const {
    return settingsPane_.get();
}

QVariantMap NumivaAppDelegate::windowProperties() const {
    return {
        {QStringLiteral("rootController"), QVariant::fromValue(rootController_.get())},
        {QStringLiteral("rootNavigation"), QVariant::fromValue(rootNavigation())},
        {QStringLiteral("settingsNavigation"), QVariant::fromValue(settingsNavigation())},
        {QStringLiteral("tablet"), options_.tablet},
    };
}

void NumivaAppDelegate::showStorageProblems() {
    QStringList texts;
    for (const StorageErrors::Problem& problem : StorageErrors::takeAll()) {
        texts.append(problem.text);
    }
    if (!texts.isEmpty() && rootController_) {
        emit rootController_->alertRequested(texts.join(QStringLiteral("\n\n")), QString(),
                                             Localization::localizedString(QStringLiteral("OK")));
    }
}
