#pragma once

#include <QString>

#include <memory>

class CCurrencyChartInfo;
class QCoreApplication;

/// `chart --pdf` needs Qt Gui, which no other command does: it lives in a plug-in
/// ("numiva-cli-pdf.so", next to the program or in the installed library directory) loaded
/// only for that command, so that every other command starts without the GUI libraries.
namespace PdfPlugin {

/// Loads the plug-in (once); false with the reason in `errorText`.
bool load(QString* errorText);
/// The GUI application the layout needs; the plug-in must be loaded.
std::unique_ptr<QCoreApplication> makeApplication(int& argc, char** argv);
/// Prints the table of `chartInfo` to `filePath`; the plug-in must be loaded.
bool printToPdf(const CCurrencyChartInfo& chartInfo, const QString& filePath, QString* errorText);

}  // namespace PdfPlugin
