// Test entry point: a QCoreApplication, so queued calls, timers and translations work as in the
// application; a QGuiApplication for the programs built with NUMIVA_GUI_TESTS, which draw
// windows or lay out text with the platform's fonts (printing). Those are headless unless told
// otherwise: test discovery runs the program at build time without the test environment.
#ifdef NUMIVA_GUI_TESTS
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

int main(int argc, char** argv) {
#ifdef NUMIVA_GUI_TESTS
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
#endif
    QStandardPaths::setTestModeEnabled(true);
    // The programs the tests start keep their log out of the user's home.
    const QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
