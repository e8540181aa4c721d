#include "PdfPlugin.h"

#include "PdfExport.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>

namespace {

struct Plugin {
    NumivaPdfApplicationFunction application = nullptr;
    NumivaPdfPrintFunction print = nullptr;
};

Plugin& plugin() {
    static Plugin loaded;
    return loaded;
}

}  // namespace

namespace PdfPlugin {

bool load(QString* errorText) {
    if (plugin().print != nullptr) {
        return true;
    }
    // Before the application exists: the program's own directory from the kernel.
    const QString programDirectory =
        QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
    QString problem;
    // In the build tree beside the program; installed, under the program's prefix (wherever it
    // was moved), then under the configured one.
    for (const QString& directory :
         {programDirectory, programDirectory + QStringLiteral("/" NUMIVA_PLUGIN_RELATIVE_DIR),
          QStringLiteral(NUMIVA_PLUGIN_DIR)}) {
        const QString path = directory + QStringLiteral("/numiva-cli-pdf.so");
        if (!QFileInfo::exists(path)) {
            continue;
        }
        // Every symbol now, so that a mismatched plug-in fails here rather than mid-print.
        QLibrary library(path);
        library.setLoadHints(QLibrary::ResolveAllSymbolsHint);
        plugin().application =
            reinterpret_cast<NumivaPdfApplicationFunction>(library.resolve("numivaPdfApplication"));
        plugin().print =
            reinterpret_cast<NumivaPdfPrintFunction>(library.resolve("numivaPdfPrint"));
        if (plugin().application != nullptr && plugin().print != nullptr) {
            return true;
        }
        problem = library.errorString();
    }
    if (errorText != nullptr) {
        *errorText = problem.isEmpty()
                         ? QStringLiteral(
                               "the PDF plug-in numiva-cli-pdf.so is not installed "
                               "(looked in %1 and %2)")
                               .arg(programDirectory, QStringLiteral(NUMIVA_PLUGIN_DIR))
                         : problem;
    }
    plugin() = {};
    return false;
}

std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv) {
    return std::unique_ptr<QCoreApplication>(plugin().application(&argc, argv));
}

bool printToPdf(const CCurrencyChartInfo& chartInfo, const QString& filePath, QString* errorText) {
    // Laying out text without a GUI application would abort the program.
    if (QCoreApplication::instance() == nullptr ||
        !QCoreApplication::instance()->inherits("QGuiApplication")) {
        if (errorText != nullptr) {
            *errorText = QStringLiteral("printing needs the application made by the PDF plug-in");
        }
        return false;
    }
    return load(errorText) && plugin().print(&chartInfo, &filePath, errorText);
}

}  // namespace PdfPlugin
