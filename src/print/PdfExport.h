#pragma once

// The entry points of numiva-cli's PDF plug-in, looked up by name: a program that does not
// link Qt Gui gets the GUI application the layout needs and the printed chart from here.

#include <QString>

class CCurrencyChartInfo;
class QCoreApplication;

extern "C" {
/// A new QGuiApplication for `argc` and `argv` (which must outlive it).
using NumivaPdfApplicationFunction = QCoreApplication* (*)(int* argc, char** argv);
/// Prints `chartInfo`'s table to a PDF file at `filePath`; false with the reason in `errorText`.
using NumivaPdfPrintFunction = bool (*)(const CCurrencyChartInfo* chartInfo,
                                        const QString* filePath, QString* errorText);
}
