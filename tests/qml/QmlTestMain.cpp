// Qt Quick Test entry point: the views of the Numiva module, offscreen, for the views that
// carry logic of their own (the controllers' behaviour is tested in C++).
#include "CUISettings.h"
#include "Localization.h"

#include <QtQml/qqmlextensionplugin.h>
#include <QtQuickTest/quicktest.h>
#include <QQmlEngine>
#include <QStandardPaths>

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
    }
};

QUICK_TEST_MAIN_WITH_SETUP(numiva_qml, Setup)

#include "QmlTestMain.moc"
