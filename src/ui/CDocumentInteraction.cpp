#include "CDocumentInteraction.h"

#include <QApplication>
#include <QDesktopServices>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

namespace {

class DesktopOpener : public DocumentOpener {
public:
    bool openFile(const QString& path) override {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }
    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

class DialogPrintPresenter : public PrintPresenter {
public:
    Result present(const QString& jobName, const PrintPages& printPages,
                   QString* errorText) override {
        if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
            if (errorText != nullptr) {
                *errorText = QStringLiteral("no print dialog without a QApplication");
            }
            return Result::Failed;
        }
        QPrinter printer(QPrinter::HighResolution);
        printer.setDocName(jobName);
        QPrintDialog dialog(&printer);
        dialog.setWindowTitle(jobName);
        if (dialog.exec() != QDialog::Accepted) {
            return Result::Cancelled;
        }
        return printPages(printer, errorText) ? Result::Completed : Result::Failed;
    }
};

}  // namespace

DocumentOpener& DocumentOpener::platformDefault() {
    static DesktopOpener opener;
    return opener;
}

PrintPresenter& PrintPresenter::platformDefault() {
    static DialogPrintPresenter presenter;
    return presenter;
}
