#include "PdfExport.h"

#include "CChartDataPrintPageRenderer.h"

#include <QGuiApplication>

extern "C" {

Q_DECL_EXPORT QCoreApplication* numivaPdfApplication(int* argc, char** argv) {
    return new QGuiApplication(*argc, argv);
}

Q_DECL_EXPORT bool numivaPdfPrint(const CCurrencyChartInfo* chartInfo, const QString* filePath,
                                  QString* errorText) {
    CChartDataPrintPageRenderer renderer(*chartInfo);
    return renderer.printToPdf(*filePath, errorText);
}
}
