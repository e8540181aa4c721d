// numiva-cli: the same core, settings and stores as the app, on a terminal.
#include "CliApplication.h"
#include "HttpPlugin.h"
#include "HttpTransport.h"
#include "PdfPlugin.h"
#include "StorageErrors.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTextStream>

#include <unistd.h>

#include <cstring>
#include <memory>

int main(int argc, char** argv) {
    // Printing to PDF lays out text, which needs a GUI application (offscreen on a terminal); it
    // comes with the PDF plug-in.
    bool printing = false;
    for (int i = 1; i < argc; ++i) {
        printing = printing || std::strcmp(argv[i], "--pdf") == 0;
    }
    std::unique_ptr<QCoreApplication> application;
    const bool online = HttpPlugin::commandGoesOnline(argc, argv);
    if (online) {
        HttpPlugin::load();
    }
    if (printing) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        // The offscreen platform needs no runtime directory; without one Qt would only warn.
        if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
            const QByteArray runtime =
                QDir::tempPath().toLocal8Bit() + "/numiva-runtime-" + QByteArray::number(getuid());
            QDir().mkpath(QString::fromLocal8Bit(runtime));
            QFile::setPermissions(QString::fromLocal8Bit(runtime), QFileDevice::ReadOwner |
                                                                       QFileDevice::WriteOwner |
                                                                       QFileDevice::ExeOwner);
            qputenv("XDG_RUNTIME_DIR", runtime);
        }
        QString error;
        if (!PdfPlugin::load(&error)) {
            QTextStream(stderr) << "numiva-cli: cannot print to PDF: " << error << Qt::endl;
            return 1;
        }
        application = PdfPlugin::makeApplication(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication& app = *application;
    // The network thread and its manager start while the command reads its settings and stores.
    if (online) {
        HttpTransport::warmUp();
    }
    QCoreApplication::setApplicationName(QStringLiteral("Numiva"));
    QCoreApplication::setApplicationVersion(QStringLiteral(NUMIVA_VERSION));
    int status = CliApplication::Ok;
    {
        CliApplication cli(app.arguments().mid(1));
        status = cli.run();
    }  // its stores finish their writes here
    // What went wrong with the user's files, once each; a change that was not saved fails the
    // command even when the rest of it worked.
    QTextStream err(stderr);
    for (const StorageErrors::Problem& problem : StorageErrors::takeAll()) {
        err << "numiva-cli: " << problem.text << Qt::endl;
        if (problem.kind == StorageErrors::Kind::Failure && status == CliApplication::Ok) {
            status = 1;
        }
    }
    return status;
}
