// numiva-print: the print dialog for a chart record's table, in a process of its own. The touch
// application starts it when the user prints, so that the application itself needs neither Qt
// Widgets nor Qt Print Support (nor their start-up cost) for a dialog most runs never show.
//
//   numiva-print [--job-name NAME] [--language LANG] [--pdf FILE] RECORD
//
// RECORD is the record in the chart cache's archive format. Exit status: 0 printed, 1 the user
// cancelled, 2 failed (the reason as the last line on standard error), 64 bad usage. --pdf prints
// to FILE without a dialog.
#include "CChartDataPrintPageRenderer.h"
#include "CCurrencyChartInfo.h"
#include "Localization.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextStream>

namespace {

int fail(const QString& problem, int status = 2) {
    QTextStream(stderr) << problem << "\n";
    return status;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Numiva's print dialog for a chart record."));
    parser.addHelpOption();
    const QCommandLineOption jobName(QStringLiteral("job-name"),
                                     QStringLiteral("The document's name in the print queue."),
                                     QStringLiteral("NAME"));
    const QCommandLineOption language(QStringLiteral("language"),
                                      QStringLiteral("Texts in LANG (en, ru)."),
                                      QStringLiteral("LANG"));
    const QCommandLineOption pdf(QStringLiteral("pdf"),
                                 QStringLiteral("Print to FILE as PDF, without a dialog."),
                                 QStringLiteral("FILE"));
    parser.addOptions({jobName, language, pdf});
    parser.addPositionalArgument(QStringLiteral("RECORD"),
                                 QStringLiteral("The chart record, in the archive format."));
    parser.process(app);
    if (parser.positionalArguments().size() != 1) {
        return fail(QStringLiteral("numiva-print: one record file expected"), 64);
    }
    Localization::install(parser.value(language));
    if (parser.isSet(language)) {
        QLocale::setDefault(QLocale(parser.value(language)));
    }

    const QString path = parser.positionalArguments().first();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(QStringLiteral("%1: %2").arg(path, file.errorString()));
    }
    const std::optional<CCurrencyChartInfo> record =
        CCurrencyChartInfo::fromArchiveData(file.readAll());
    if (!record) {
        return fail(QStringLiteral("%1 is not a chart record").arg(path));
    }
    CChartDataPrintPageRenderer renderer(*record);
    QString error;
    if (parser.isSet(pdf)) {
        return renderer.printToPdf(parser.value(pdf), &error)
                   ? 0
                   : fail(QStringLiteral("%1: %2").arg(parser.value(pdf), error));
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(parser.value(jobName));
    QPrintDialog dialog(&printer);
    dialog.setWindowTitle(parser.value(jobName));
    if (dialog.exec() != QDialog::Accepted) {
        return 1;
    }
    return renderer.print(printer, &error) ? 0 : fail(error);
}
