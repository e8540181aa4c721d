// Qt Quick Test entry point: the views of the Numiva module, offscreen, with screen
// controllers made here on fresh data directories and a local rate server.
#include "CCurrencyConverterViewController.h"
#include "CCurrencyPickerViewController.h"
#include "CTutorialView.h"
#include "CUISettings.h"
#include "Localization.h"
#include "NumivaAppDelegate.h"
#include "UiTestSupport.h"
#include "UserDefaults.h"

#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest/quicktest.h>
#include <QQmlContext>
#include <QQmlEngine>
#include <QStandardPaths>

#include <memory>

Q_IMPORT_QML_PLUGIN(NumivaPlugin)

/// Makes the controllers the QML tests drive; each call starts from a fresh data directory.
class Harness : public QObject {
    Q_OBJECT

public:
    /// A rate list screen whose first refresh is answered by the local rate server.
    Q_INVOKABLE CRootViewController* rootScreen(bool tablet) {
        reset();
        screen_ = std::make_unique<RootScreen>(tablet, std::chrono::milliseconds(10),
                                               QStringList{"EUR", "GBP", "JPY", "CHF"});
        CTutorialView::setShowStartTutorial(UserDefaults::standardUserDefaults(), false);
        return &screen_->controller();
    }
    /// Makes the rate server answer 503 (or answer again).
    Q_INVOKABLE void setRatesFailing(bool failing) {
        if (screen_) {
            screen_->rates.setFailing(failing);
        }
    }
    Q_INVOKABLE CCurrencyPickerViewController* picker(const QStringList& codes, bool multiple,
                                                      int limit, bool tablet) {
        auto* picker = new CCurrencyPickerViewController(codes, tablet, this);
        picker->setAllowsMultipleSelection(multiple);
        if (limit > 0) {
            picker->setMaxSelectedItems(limit);
        }
        return picker;
    }
    Q_INVOKABLE CCurrencyConverterViewController* converter(const QString& code, bool tablet) {
        auto row = std::make_shared<CCBRCurrencyInfo>();
        row->isoTextCode = code;
        return new CCurrencyConverterViewController(row, tablet, this);
    }
    /// Start-up as the program does it; the main window's initial properties.
    Q_INVOKABLE QVariantMap launch(bool tablet, bool showTutorial) {
        reset();
        screen_ = std::make_unique<RootScreen>(tablet);
        CTutorialView::setShowStartTutorial(UserDefaults::standardUserDefaults(), showTutorial);
        NumivaAppDelegate::Options options;
        options.tablet = tablet;
        options.center = &screen_->center;
        options.endpoints = screen_->rates.endpoints();
        app_ = std::make_unique<NumivaAppDelegate>(options);
        app_->didFinishLaunching();
        return app_->windowProperties();
    }
    /// Drops what the last test made.
    Q_INVOKABLE void reset() {
        app_.reset();
        screen_.reset();
    }

private:
    std::unique_ptr<RootScreen> screen_;
    std::unique_ptr<NumivaAppDelegate> app_;
};

class Setup : public QObject {
    Q_OBJECT

public slots:
    void applicationAvailable() {
        QStandardPaths::setTestModeEnabled(true);
        Localization::install(QStringLiteral("en"));
        // Animations end at once: the tests never wait for them.
        CUISettings::sharedSettings().setAnimationScale(0);
    }
    void qmlEngineAvailable(QQmlEngine* engine) {
        engine->addImportPath(QStringLiteral("qrc:/qt/qml"));
        engine->rootContext()->setContextProperty(QStringLiteral("harness"), &harness_);
    }
    void cleanupTestCase() { harness_.reset(); }

private:
    Harness harness_;
};

QUICK_TEST_MAIN_WITH_SETUP(numiva_qml, Setup)

#include "QmlTestMain.moc"
