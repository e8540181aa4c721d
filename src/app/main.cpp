// numiva: the touch application.
#include "CFileOperations.h"
#include "CTutorialView.h"
#include "CUISettings.h"
#include "Endpoints.h"
#include "Localization.h"
#include "LocationService.h"
#include "NumivaAppDelegate.h"
#include "Resources.h"

#include <QtQml/qqmlextensionplugin.h>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QQmlApplicationEngine>
#include <QQuickStyle>
#include <QQuickWindow>
#include <QTextStream>
#include <QTimer>

Q_IMPORT_QML_PLUGIN(NumivaPlugin)

namespace {

constexpr int kUsageError = 64;
/// A screenshot is taken at the latest this long after start-up.
constexpr int kScreenshotDeadlineMs = 5000;
const char* const kDefaultFlagsDirectory = "/usr/local/share/numiva/flag-icons/flags/4x3";

int usage(const QString& problem) {
    QTextStream(stderr) << "numiva: " << problem << "\n";
    return kUsageError;
}

/// The main window of the module's "Main" component.
bool loadFromModule(QQmlApplicationEngine& engine, const QString& uri, const QString& name) {
    engine.load(QUrl(QStringLiteral("qrc:/qt/qml/%1/%2.qml").arg(uri, name)));
    return !engine.rootObjects().isEmpty();
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();

    // Help and version need no display: on a machine without one they still answer.
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if ((a == "--help" || a == "-h" || a == "--help-all" || a == "--version" || a == "-v") &&
            qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
    }
    QGuiApplication app(argc, argv);
    QGuiApplication::setApplicationName(QStringLiteral("Numiva"));
    QGuiApplication::setApplicationVersion(QStringLiteral(NUMIVA_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Numiva: currency rates and converter."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption idiom(QStringLiteral("idiom"),
                                   QStringLiteral("Device idiom: phone or tablet (default)."),
                                   QStringLiteral("phone|tablet"), QStringLiteral("tablet"));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("Keep settings and stores in DIR."),
                                     QStringLiteral("DIR"));
    const QCommandLineOption endpoints(
        QStringLiteral("endpoints"),
        QStringLiteral("Service hosts from FILE (as $NUMIVA_ENDPOINTS)."), QStringLiteral("FILE"));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Save the first complete frame (after the first refresh, at most 5 s) "
                       "as a PNG file and exit."),
        QStringLiteral("FILE"));
    const QCommandLineOption language(QStringLiteral("language"),
                                      QStringLiteral("Texts in LANG (en, ru); default: the "
                                                     "system's."),
                                      QStringLiteral("LANG"));
    const QCommandLineOption firstFrame(QStringLiteral("quit-after-first-frame"),
                                        QStringLiteral("Exit once the first frame is shown, "
                                                       "printing the milliseconds it took."));
    const QCommandLineOption screen(
        QStringLiteral("screen"),
        QStringLiteral("Open NAME at start: rates (default), settings, request-currency or "
                       "add-source."),
        QStringLiteral("NAME"), QStringLiteral("rates"));
    parser.addOptions({idiom, dataDir, endpoints, screenshot, language, firstFrame, screen});
    parser.process(app);

    const QString idiomName = parser.value(idiom);
    if (idiomName != u"phone" && idiomName != u"tablet") {
        return usage(QStringLiteral("--idiom takes phone or tablet, not %1").arg(idiomName));
    }
    if (parser.isSet(dataDir)) {
        if (parser.value(dataDir).isEmpty()) {
            return usage(QStringLiteral("--data-dir needs a directory"));
        }
        CFileOperations::setDataDirectory(parser.value(dataDir));
    }
    if (parser.isSet(endpoints)) {
        QString error;
        if (!Endpoints::setStandardOverrideFile(parser.value(endpoints), &error)) {
            return usage(error);
        }
    }
    const QString screenName = parser.value(screen);
    const QStringList screenNames{QStringLiteral("rates"), QStringLiteral("settings"),
                                  QStringLiteral("request-currency"), QStringLiteral("add-source")};
    if (!screenNames.contains(screenName)) {
        return usage(QStringLiteral("--screen takes %1, not %2")
                         .arg(screenNames.join(QStringLiteral(", ")), screenName));
    }
    const QString screenshotFile = parser.value(screenshot);
    if (parser.isSet(screenshot) && screenshotFile.isEmpty()) {
        return usage(QStringLiteral("--screenshot needs a file name"));
    }
    if (!Localization::install(parser.value(language)) && parser.isSet(language)) {
        return usage(QStringLiteral("no texts for language %1").arg(parser.value(language)));
    }

    const QString flags = qEnvironmentVariableIsSet("NUMIVA_FLAGS_DIR")
                              ? qEnvironmentVariable("NUMIVA_FLAGS_DIR")
                              : QString::fromLatin1(kDefaultFlagsDirectory);
    if (QDir(flags).exists()) {
        Resources::addImageDirectory(flags);
    }

    // Without a display there is no GPU context to be had: draw in software.
    if (QGuiApplication::platformName() == u"offscreen" &&
        qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    }
    QQuickStyle::setStyle(QStringLiteral("Basic"));
    if (parser.isSet(screenshot)) {
        // The picture shows where things end up, not a frame of a fade.
        CUISettings::sharedSettings().setAnimationScale(0);
    }

    std::unique_ptr<LocationService> location = LocationService::createDefault();
    NumivaAppDelegate::Options options;
    options.tablet = idiomName == u"tablet";
    options.location = location.get();
    NumivaAppDelegate delegate(options);
    delegate.didFinishLaunching();

    // After the launch: a return to the foreground is told to the rating prompt, and every
    // return to the active state refreshes the list.
    Qt::ApplicationState previousState = QGuiApplication::applicationState();
    bool seenActive = false;
    QObject::connect(&app, &QGuiApplication::applicationStateChanged, &delegate,
                     [&](Qt::ApplicationState state) {
                         if (state == Qt::ApplicationActive) {
                             if (seenActive) {
                                 if (previousState == Qt::ApplicationHidden ||
                                     previousState == Qt::ApplicationSuspended) {
                                     delegate.applicationWillEnterForeground();
                                 }
                                 delegate.applicationDidBecomeActive();
                             }
                             seenActive = true;
                         }
                         previousState = state;
                     });

    QQmlApplicationEngine engine;
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    engine.setInitialProperties(delegate.windowProperties());
    if (!loadFromModule(engine, QStringLiteral("Numiva"), QStringLiteral("Main"))) {
        QTextStream(stderr) << "numiva: the main window could not be loaded\n";
        return 1;
    }
    auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().first());
    if (window == nullptr) {
        return 1;
    }

    if (screenName != u"rates") {
        // Once the window's views exist: on a phone the settings screen is pushed first; on a
        // tablet it is the left pane already. The request and add-source screens open over it.
        QTimer::singleShot(0, &delegate, [&delegate, screenName] {
            // The start tutorial belongs to the rate list; it is not stored as seen.
            CTutorialView::tutorialView().dismissAnimated(false);
            CSettingsViewController* settings = delegate.settingsController();
            if (!delegate.isTablet()) {
                delegate.navigationController()->pushViewController(settings, false);
            }
            if (screenName == u"request-currency") {
                settings->onRequestNewCurrencyCellSelect();
            } else if (screenName == u"add-source") {
                settings->onAddDataSourceCellSelect();
            }
        });
    }

    if (parser.isSet(firstFrame)) {
        QObject::connect(
            window, &QQuickWindow::frameSwapped, &app,
            [&] {
                QTextStream(stdout) << "first frame after " << sinceStart.elapsed() << " ms\n";
                QCoreApplication::exit(0);
            },
            Qt::QueuedConnection);
    }

    if (parser.isSet(screenshot)) {
        // After the first refresh has settled (or the deadline), the next complete frame.
        auto capture = [window, screenshotFile] {
            static bool taken = false;
            if (taken) {
                return;
            }
            taken = true;
            QObject::connect(
                window, &QQuickWindow::frameSwapped, window,
                [window, screenshotFile] {
                    static bool saved = false;
                    if (saved) {
                        return;
                    }
                    saved = true;
                    const QImage image = window->grabWindow();
                    const bool ok = !image.isNull() && image.save(screenshotFile, "PNG");
                    if (!ok) {
                        QTextStream(stderr) << "numiva: could not write " << screenshotFile << "\n";
                    }
                    QCoreApplication::exit(ok ? 0 : 1);
                },
                Qt::QueuedConnection);
            window->update();
        };
        QObject::connect(delegate.rootController(), &CRootViewController::refreshFinished, window,
                         [capture](bool) { QTimer::singleShot(50, capture); });
        QTimer::singleShot(kScreenshotDeadlineMs, window, capture);
    }

    return app.exec();
}
