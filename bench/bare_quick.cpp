// The floor for the touch application's start: a Qt Quick window with a list of 20 text rows,
// drawn as the app draws offscreen, that exits after its first frame. An argument WIDTHxHEIGHT
// gives the window the size of the app's window in the idiom it is compared with (default: a
// phone's 390x844).
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickView>
#include <QSize>
#include <QTextStream>

#include <ctime>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (QGuiApplication::platformName() == u"offscreen" &&
        qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND")) {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    }
    QSize size(390, 844);
    if (argc > 1) {
        const QList<QByteArray> parts = QByteArray(argv[1]).split('x');
        if (parts.size() == 2) {
            size = QSize(parts[0].toInt(), parts[1].toInt());
        }
    }
    QQuickView view;
    view.setResizeMode(QQuickView::SizeRootObjectToView);
    view.resize(size);
    QQmlComponent component(view.engine());
    component.setData(R"(
import QtQuick

ListView {
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
            timespec used{};
            clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
            QTextStream(stdout) << "first frame, processor time "
                                << static_cast<double>(used.tv_sec) * 1e3 +
                                       static_cast<double>(used.tv_nsec) / 1e6
                                << " ms\n";
            QCoreApplication::exit(0);
        },
        Qt::QueuedConnection);
    view.show();
    return app.exec();
}
