// numiva-cli: the same core, settings and stores as the app, on a terminal.
#include "CliApplication.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Numiva"));
    QCoreApplication::setApplicationVersion(QStringLiteral(NUMIVA_VERSION));
    return CliApplication(app.arguments().mid(1)).run();
}
