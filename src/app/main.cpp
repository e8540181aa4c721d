// numiva: the touch application.
#include "CCompareSourcesViewController.h"
#include "CCurrencyChartViewController.h"
#include "CCurrencyConverterViewController.h"
#include "CFileOperations.h"
#include "CInfoViewController.h"
#include "CTutorialView.h"
#include "CUISettings.h"
#include "DeferredLocationService.h"
#include "Endpoints.h"
#include "FontConfiguration.h"
#include "FrameIncubationController.h"
#include "Localization.h"
#include "LocationService.h"
#include "Log.h"
#include "NumivaAppDelegate.h"
#include "QtLocationService.h"
#include "Resources.h"
#include "StartupHeap.h"
#include "StartupTrace.h"

#include <QtQml/qqmlextensionplugin.h>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGeoPositionInfoSource>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QLocale>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTextStream>
#include <QTimer>

#include <ctime>
#include <memory>
#include <thread>

Q_IMPORT_QML_PLUGIN(NumivaPlugin)

namespace {

constexpr int kUsageError = 64;
/// A screenshot is taken at the latest this long after start-up.
constexpr int kScreenshotDeadlineMs = 5000;

int usage(const QString& problem) {
    QTextStream(stderr) << "numiva: " << problem << "\n";
    return kUsageError;
}

/// The processor time all the process's threads have used so far, in milliseconds.
double processorMilliseconds() {
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return static_cast<double>(used.tv_sec) * 1e3 + static_cast<double>(used.tv_nsec) / 1e6;
}

/// The process's peak resident set so far (Linux), 0 where it cannot be read.
qint64 peakResidentMegabytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) {
        return 0;
    }
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() / 1024;
        }
    }
    return 0;
}

QUrl mainWindowUrl() {
    return QUrl(QStringLiteral("qrc:/qt/qml/Numiva/Main.qml"));
}

/// The window of the module's "Main" component, owned by the caller; nullptr when it could not
/// be made (the errors are printed). A plain engine rather than QQmlApplicationEngine: the app
/// needs neither its file selectors (a look-up of four directories for every image) nor its
/// translation search.
std::unique_ptr<QQuickWindow> loadWindow(QQmlEngine& engine, const QVariantMap& properties) {
    // Finishes a load already begun on the loader thread, if any.
    QQmlComponent component(&engine, mainWindowUrl());
    StartupTrace::step("window types");
    // The first picture shown asks for every image format, which loads every image plug-in
    // (with the SVG library): the second core, idle once the types are read, loads them while
    // this thread makes the window.
    const std::jthread imageFormats([] { QImageReader::supportedImageFormats(); });
    std::unique_ptr<QObject> root(component.createWithInitialProperties(properties));
    if (root == nullptr) {
        QTextStream(stderr) << component.errorString();
        return nullptr;
    }
    auto* window = qobject_cast<QQuickWindow*>(root.get());
    if (window == nullptr) {
        return nullptr;
    }
    root.release();
    return std::unique_ptr<QQuickWindow>(window);
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer sinceStart;
    sinceStart.start();
    StartupHeap::reserve();

    // Help and version need no display: on a machine without one they still answer.
    for (int i = 1; i < argc; ++i) {
        const QByteArray a(argv[i]);
        if ((a == "--help" || a == "-h" || a == "--help-all" || a == "--version" || a == "-v") &&
            qEnvironmentVariableIsEmpty("DISPLAY") &&
            qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
    }
    // No QApplication: the print dialog, the one widget, runs in numiva-print.
    StartupTrace::step("main");
    QGuiApplication app(argc, argv);
    StartupTrace::step("application object");
    QGuiApplication::setApplicationName(QStringLiteral("Numiva"));
    QGuiApplication::setApplicationVersion(QStringLiteral(NUMIVA_VERSION));
    // Ties the windows to the installed .desktop file and icon (taskbars, Wayland).
    QGuiApplication::setDesktopFileName(QStringLiteral("io.numiva.Numiva"));
    QGuiApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("io.numiva.Numiva")));
    StartupTrace::step("window icon");
    QGuiApplication::setFont(CUISettings::sharedSettings().applicationFont());

    QCommandLineParser parser;
    const QString logPath = LogFile::defaultPath();
    parser.setApplicationDescription(
        QStringLiteral("Numiva: currency rates and converter.\n\n"
                       "The log is written to %1\n"
                       "($XDG_STATE_HOME/numiva/numiva.log when that is set; the previous 1 MiB "
                       "is kept in\nnumiva.log.1) and to standard error when that is a terminal, "
                       "a pipe or a file.\nQT_LOGGING_RULES turns logging categories on or off, "
                       "e.g.\nQT_LOGGING_RULES=\"numiva.system.info=false\".")
            .arg(LogFile::displayPath(logPath)));
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
                                                       "printing the milliseconds it took, the "
                                                       "peak resident memory and the processor "
                                                       "time used."));
    const QCommandLineOption screen(
        QStringLiteral("screen"),
        QStringLiteral("Open NAME at start: rates (default), settings, request-currency, "
                       "add-source, info, about, chart, chart-settings (a phone turns to "
                       "landscape for the chart), converter (for the first rate row), "
                       "converter-date (its calendar), compare (the sources' rates of the first "
                       "rate row that has them) or picker "
                       "(adding currencies)."),
        QStringLiteral("NAME"), QStringLiteral("rates"));
    const QCommandLineOption orientation(
        QStringLiteral("orientation"),
        QStringLiteral("Window orientation: portrait (default) or landscape."),
        QStringLiteral("portrait|landscape"), QStringLiteral("portrait"));
    parser.addOptions(
        {idiom, dataDir, endpoints, screenshot, language, firstFrame, screen, orientation});
    parser.process(app);
    if (!LogFile::install(logPath, 1024 * 1024, LogFile::stderrIsWatched())) {
        QTextStream(stderr) << "numiva: the log cannot be written to " << logPath
                            << "; it goes to standard error only\n";
    }

    StartupTrace::step("command line and log");
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
    const QString orientationName = parser.value(orientation);
    if (orientationName != u"portrait" && orientationName != u"landscape") {
        return usage(QStringLiteral("--orientation takes portrait or landscape, not %1")
                         .arg(orientationName));
    }
    const QString screenName = parser.value(screen);
    const QStringList screenNames{QStringLiteral("rates"),
                                  QStringLiteral("settings"),
                                  QStringLiteral("request-currency"),
                                  QStringLiteral("add-source"),
                                  QStringLiteral("info"),
                                  QStringLiteral("about"),
                                  QStringLiteral("chart"),
                                  QStringLiteral("chart-settings"),
                                  QStringLiteral("converter"),
                                  QStringLiteral("converter-date"),
                                  QStringLiteral("compare"),
                                  QStringLiteral("picker")};
    const bool chartScreen = screenName.startsWith(u"chart");
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
    if (parser.isSet(language)) {
        // Names of currencies and days, times and numbers follow the chosen language too.
        QLocale::setDefault(QLocale(parser.value(language)));
    }

    StartupTrace::step("translations");
    Resources::addInstalledImageDirectories(QCoreApplication::applicationDirPath());

    // Without a display there is no GPU context to be had: draw in software.
    if (QGuiApplication::platformName() == u"offscreen" &&
        qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    }
    // The controls' style, named rather than set through QQuickStyle: linking Qt Quick Controls
    // would load it at every start, while only the screens shown later use it.
    qputenv("QT_QUICK_CONTROLS_STYLE", "Basic");
    if (parser.isSet(screenshot)) {
        // The picture shows where things end up, not a frame of a fade.
        CUISettings::sharedSettings().setAnimationScale(0);
    }

    StartupTrace::step("style");
    // The positioning plug-in (and its D-Bus connection) loads once the window is up; whether
    // there is one is read from the plug-ins' descriptions when first asked, by which time the
    // loader thread is reading the window's types.
    DeferredLocationService location(
        [] { return !QGeoPositionInfoSource::availableSources().isEmpty(); },
        &createQtLocationService);
    StartupTrace::step("location service");
    NumivaAppDelegate::Options options;
    options.tablet = idiomName == u"tablet";
    options.location = &location;
    // A picture of a screen is never covered by the rating question.
    options.promptForRating = !parser.isSet(screenshot) && !parser.isSet(firstFrame);
    options.holdUntilFirstFrame = true;
    NumivaAppDelegate delegate(options);

    // Declared before the engine, which holds it until its end.
    FrameIncubationController incubation;
    // The font configuration is read on a second thread while the engine is made.
    FontConfiguration::startReading();
    QQmlEngine engine;
    StartupTrace::step("QML engine");
    engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
    engine.setIncubationController(&incubation);
    // Qt.quit() and Qt.exit() from the views end the event loop.
    QObject::connect(&engine, &QQmlEngine::quit, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    QObject::connect(&engine, &QQmlEngine::exit, &app, &QCoreApplication::exit,
                     Qt::QueuedConnection);
    // The engine's loader thread reads the window's QML types (Qt Quick's among them) while this
    // thread launches the application and sets up the fonts; the window is then made from what
    // it read.
    QQmlComponent windowTypes(&engine);
    windowTypes.loadUrl(mainWindowUrl(), QQmlComponent::Asynchronous);
    delegate.didFinishLaunching();
    StartupTrace::step("launched");
    FontConfiguration::load(CUISettings::sharedSettings().firstScreenFonts(delegate.isTablet()));
    StartupTrace::step("fonts");
    // The rate list's screen reads its stored rates while the loader thread is still at work;
    // its view, loaded next, finds them read.
    delegate.rootController()->viewDidLoad();
    StartupTrace::step("rate list read");

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

    QVariantMap properties = delegate.windowProperties();
    // The phone shows its chart only in landscape.
    properties.insert(QStringLiteral("landscape"),
                      orientationName == u"landscape" || (chartScreen && !delegate.isTablet()));
    // Declared after the engine, so destroyed before it.
    const std::unique_ptr<QQuickWindow> mainWindow = loadWindow(engine, properties);
    if (mainWindow == nullptr) {
        QTextStream(stderr) << "numiva: the main window could not be loaded\n";
        return 1;
    }
    StartupTrace::step("main window loaded");
    QQuickWindow* window = mainWindow.get();
    incubation.startAfterFirstFrame(window);

    // What the first frame does not need starts once it is on screen.
    QObject::connect(
        window, &QQuickWindow::frameSwapped, &delegate,
        [&delegate, &location] {
            QTimer::singleShot(0, &delegate, [&delegate, &location] {
                StartupHeap::release();
                location.activate();
                delegate.firstFrameShown();
            });
        },
        static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));

    // Resized across the threshold: the same screens in the other layout.
    QObject::connect(window, SIGNAL(layoutRequested(bool)), &delegate, SLOT(setTablet(bool)));
    QObject::connect(&delegate, &NumivaAppDelegate::layoutChanged, window, [&delegate, window] {
        const QVariantMap properties = delegate.windowProperties();
        QMetaObject::invokeMethod(
            window, "showLayout", Q_ARG(QVariant, properties.value(QStringLiteral("tablet"))),
            Q_ARG(QVariant, properties.value(QStringLiteral("rootNavigation"))),
            Q_ARG(QVariant, properties.value(QStringLiteral("settingsNavigation"))));
    });

    // A chart screen opened at start: the chart-settings screen is opened from it.
    QObject::connect(delegate.rootController(), &CRootViewController::chartControllerPresented,
                     &delegate, [screenName](CViewController* chart) {
                         if (screenName == u"chart-settings") {
                             QTimer::singleShot(0, chart, [chart] {
                                 qobject_cast<CCurrencyChartViewController*>(chart)->onSettings();
                             });
                         }
                     });
    if (chartScreen) {
        QTimer::singleShot(0, &delegate, [&delegate] {
            CTutorialView::tutorialView().dismissAnimated(false);
            // A phone presents the chart when the window is wider than tall (the view reports
            // it); a tablet opens it with the chart button.
            if (delegate.isTablet()) {
                delegate.rootController()->onChartClick();
            }
        });
    } else if (screenName == u"compare") {
        // From the menu of the first rate row that offers it.
        QTimer::singleShot(0, &delegate, [&delegate] {
            CTutorialView::tutorialView().dismissAnimated(false);
            CRootViewController* root = delegate.rootController();
            for (int row = 0; row < root->rates()->rowCount(); ++row) {
                if (root->triggerContextAction(row, QStringLiteral("compare"))) {
                    break;
                }
            }
        });
    } else if (screenName.startsWith(u"converter") || screenName == u"picker") {
        // Over the rate list, as a tap on its first rate row or on the add control would.
        QTimer::singleShot(0, &delegate, [&delegate, screenName] {
            CTutorialView::tutorialView().dismissAnimated(false);
            if (screenName.startsWith(u"converter")) {
                delegate.rootController()->selectRow(1, 0);
                auto* converter = qobject_cast<CCurrencyConverterViewController*>(
                    delegate.rootController()->presentedController());
                if (converter != nullptr && screenName == u"converter-date") {
                    // Once the keypad's view is there to open the calendar over.
                    QTimer::singleShot(0, converter, [converter] { converter->onDateRowClick(); });
                }
            } else {
                delegate.rootController()->insertCurrencies();
            }
        });
    } else if (screenName != u"rates") {
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
            } else if (screenName == u"info" || screenName == u"about") {
                settings->onAboutCellSelect();
                auto* info = qobject_cast<CInfoViewController*>(settings->presentedController());
                if (info != nullptr && screenName == u"about") {
                    // Once the info screen's view is there to show the push.
                    QTimer::singleShot(0, info, [info] { info->onAboutClick(); });
                }
            }
        });
    }

    if (parser.isSet(firstFrame)) {
        QObject::connect(
            window, &QQuickWindow::frameSwapped, &app,
            [&] {
                QTextStream(stdout) << "first frame after " << sinceStart.elapsed()
                                    << " ms, peak resident memory " << peakResidentMegabytes()
                                    << " MB, processor time " << processorMilliseconds() << " ms\n";
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
                    // The software renderer repaints only what it thinks changed, and can miss
                    // what a slid-away screen uncovered; a change of the root's opacity makes
                    // the grab paint every item.
                    window->contentItem()->setOpacity(0.999);
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
        if (chartScreen) {
            // Once the chart has loaded or failed, and the plot has had time to draw it.
            QObject::connect(delegate.rootController(),
                             &CRootViewController::chartControllerPresented, window,
                             [capture](CViewController* chart) {
                                 QObject::connect(
                                     qobject_cast<CCurrencyChartViewController*>(chart),
                                     &CCurrencyChartViewController::queryFinished, chart,
                                     [capture](bool) { QTimer::singleShot(600, capture); },
                                     Qt::SingleShotConnection);
                             });
            QTimer::singleShot(kScreenshotDeadlineMs * 2, window, capture);
        } else if (screenName == u"compare") {
            // Once every source has answered or failed.
            QObject::connect(
                delegate.rootController(), &CRootViewController::compareControllerPresented, window,
                [capture](CViewController* compare) {
                    QObject::connect(
                        qobject_cast<CCompareSourcesViewController*>(compare),
                        &CCompareSourcesViewController::comparisonFinished, compare,
                        [capture] { QTimer::singleShot(300, capture); }, Qt::SingleShotConnection);
                });
            QTimer::singleShot(kScreenshotDeadlineMs * 2, window, capture);
        } else {
            QObject::connect(delegate.rootController(), &CRootViewController::refreshFinished,
                             window, [capture](bool) { QTimer::singleShot(50, capture); });
            QTimer::singleShot(kScreenshotDeadlineMs, window, capture);
        }
    }

    QObject::connect(
        window, &QQuickWindow::frameSwapped, &app, [] { StartupTrace::step("first frame"); },
        Qt::SingleShotConnection);
    QObject::connect(
        window, &QQuickWindow::afterSynchronizing, &app,
        [] { StartupTrace::step("scene synchronized"); }, Qt::SingleShotConnection);
    StartupTrace::step("event loop");
    return app.exec();
}
