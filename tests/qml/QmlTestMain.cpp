// Qt Quick Test entry point: the views of the Numiva module, offscreen, for the views that
// carry logic of their own (the controllers' behaviour is tested in C++).
#include "CChartDataStorageManager.h"
#include "CCurrencyChartSettings.h"
#include "CCurrencyChartViewController.h"
#include "CFileOperations.h"
#include "CInfoViewController.h"
#include "CNavigationController.h"
#include "CRootViewModel.h"
#include "CUISettings.h"
#include "Localization.h"
#include "NotificationCenter.h"
#include "UserDefaults.h"

#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest/quicktest.h>
#include <QGuiApplication>
#include <QQmlContext>
#include <QQmlEngine>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <memory>

Q_IMPORT_QML_PLUGIN(NumivaPlugin)

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
        engine->rootContext()->setContextProperty(QStringLiteral("testChartController"),
                                                  chartController());
        info_ = std::make_unique<CInfoViewController>(CInfoViewController::Dependencies{});
        engine->rootContext()->setContextProperty(QStringLiteral("testInfoController"),
                                                  info_.get());
        // A stack of two info screens for the navigation view.
        for (auto& screen : stacked_) {
            screen = std::make_unique<CInfoViewController>(CInfoViewController::Dependencies{});
        }
        navigation_ = std::make_unique<CNavigationController>(stacked_[0].get());
        engine->rootContext()->setContextProperty(QStringLiteral("testNavigation"),
                                                  navigation_.get());
        engine->rootContext()->setContextProperty(QStringLiteral("testPushedController"),
                                                  stacked_[1].get());
    }
    void cleanupTestCase() {
        navigation_.reset();
        for (auto& screen : stacked_) {
            screen.reset();
        }
        info_.reset();
        chart_.reset();
        model_.reset();
        CFileOperations::setDataDirectory(QString());
    }

private:
    /// A chart screen showing a small record, on a data directory of its own; no chart host
    /// is reachable.
    CCurrencyChartViewController* chartController() {
        CFileOperations::setDataDirectory(dataDir_.path());
        UserDefaults::resetStandardUserDefaults();
        UserDefaults::standardUserDefaults().setObject(QStringList{QStringLiteral("YFinance")},
                                                       QStringLiteral("SelectedCurrencySources"));
        model_ = std::make_unique<CRootViewModel>(UserDefaults::standardUserDefaults(), center_);
        CCurrencyChartViewController::Dependencies dependencies;
        dependencies.endpoints = Endpoints::defaults();
        for (const QString& key : dependencies.endpoints.values().keys()) {
            dependencies.endpoints.setValue(key, QStringLiteral("http://127.0.0.1:9"));
        }
        CCurrencyChartInfo info;
        const QDateTime start(QDate(2026, 3, 2), QTime(0, 0), QTimeZone::utc());
        for (int i = 0; i < 30; ++i) {
            info.plotPoints.append({Decimal::fromInt(100 + (i * 7) % 13), start.addDays(i)});
        }
        info.chartPeriod = 2;
        info.firstCurrencyCode = QStringLiteral("USD");
        info.lastCurrencyCode = QStringLiteral("EUR");
        info.updateExtremes();
        // Cached by an earlier run: the view shows it as it loads.
        CCurrencyChartSettings::setChartPeriod(2);
        CChartDataStorageManager().addChartInfo(info, QStringLiteral("YFinance"));
        chart_ = std::make_unique<CCurrencyChartViewController>(*model_, true, dependencies);
        return chart_.get();
    }

    QTemporaryDir dataDir_;
    NotificationCenter center_;
    std::unique_ptr<CRootViewModel> model_;
    std::unique_ptr<CCurrencyChartViewController> chart_;
    std::unique_ptr<CInfoViewController> info_;
    std::unique_ptr<CInfoViewController> stacked_[2];
    std::unique_ptr<CNavigationController> navigation_;
};

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    Setup setup;
    return quick_test_main_with_setup(argc, argv, "numiva_qml", nullptr, &setup);
}

#include "QmlTestMain.moc"
