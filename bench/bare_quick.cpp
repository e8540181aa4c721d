// The floor for the touch application's start: a Qt Quick window with a list of 20 text rows,
// drawn as the app draws offscreen, that exits after its first frame.
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickView>
#include <QTextStream>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (QGuiApplication::platformName() == u"offscreen" &&
        qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    }
    QQuickView view;
    QQmlComponent component(view.engine());
    component.setData(R"(
import QtQuick

ListView {
    width: 390
    height: 844
    model: 20
    delegate: Text {
        required property int index
        width: ListView.view.width
        height: 44
        verticalAlignment: Text.AlignVCenter
        leftPadding: 16
        text: "Row " + (index + 1)
        font.pixelSize: 17
    }
}
)",
                      QUrl(QStringLiteral("bare.qml")));
    view.setContent(component.url(), &component, component.create());
    if (view.rootObject() == nullptr) {
        return 1;
    }
    QObject::connect(
        &view, &QQuickWindow::frameSwapped, &app,
        [] {
            QTextStream(stdout) << "first frame\n";
            QCoreApplication::exit(0);
        },
        Qt::QueuedConnection);
    view.show();
    return app.exec();
}
