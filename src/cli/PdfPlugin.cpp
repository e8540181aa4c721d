#include "PdfPlugin.h"

#include "PdfExport.h"
#include "PluginPath.h"

#include <QCoreApplication>
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
    QString searched;
    const QString path = findCliPlugin(QStringLiteral("numiva-cli-pdf.so"), &searched);
    QString problem;
    if (!path.isEmpty()) {
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
        *errorText = problem.isEmpty() ? QStringLiteral(
                                             "the PDF plug-in numiva-cli-pdf.so is not installed "
                                             "(looked in %1)")
                                             .arg(searched)
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
