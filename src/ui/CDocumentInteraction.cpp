#include "CDocumentInteraction.h"

#include "CCurrencyChartInfo.h"
#include "Localization.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryFile>
#include <QUrl>

namespace {

class DesktopOpener : public DocumentOpener {
public:
    bool openFile(const QString& path) override {
        return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    }
    bool openUrl(const QUrl& url) override { return QDesktopServices::openUrl(url); }
};

}  // namespace

DocumentOpener& DocumentOpener::platformDefault() {
    static DesktopOpener opener;
    return opener;
}

PrintPresenter& PrintPresenter::platformDefault() {
    static HelperPrintPresenter presenter(HelperPrintPresenter::installedProgram());
    return presenter;
}

HelperPrintPresenter::HelperPrintPresenter(QString program, QStringList arguments)
    : program_(std::move(program)), arguments_(std::move(arguments)) {}

QString HelperPrintPresenter::installedProgram() {
    const QString programDirectory = QCoreApplication::applicationDirPath();
    for (const QString& candidate :
         {programDirectory + QStringLiteral("/../print/numiva-print"),
          programDirectory + QStringLiteral("/" NUMIVA_HELPER_RELATIVE_DIR "/numiva-print"),
          QStringLiteral(NUMIVA_HELPER_DIR "/numiva-print")}) {
        if (QFileInfo(candidate).isExecutable()) {
            return QDir::cleanPath(candidate);
        }
    }
    return {};
}

PrintPresenter::Result HelperPrintPresenter::present(const QString& jobName,
                                                     const CCurrencyChartInfo& record,
                                                     QString* errorText) {
    auto failed = [errorText](const QString& reason) {
        if (errorText != nullptr) {
            *errorText = reason;
        }
        return Result::Failed;
    };
    if (busy_) {
        return Result::Cancelled;  // its dialog is open already
    }
    if (program_.isEmpty()) {
        return failed(QStringLiteral("the print program numiva-print is not installed"));
    }
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/numiva-print-XXXXXX.chart"));
    if (!file.open() || file.write(record.toArchiveData()) < 0 || !file.flush()) {
        return failed(QStringLiteral("the record cannot be handed to the print program: %1")
                          .arg(file.errorString()));
    }
    QProcess process;
    process.setProgram(program_);
    process.setArguments(arguments_ + QStringList{QStringLiteral("--job-name"), jobName,
                                                  QStringLiteral("--language"),
                                                  Localization::currentLanguage(),
                                                  file.fileName()});
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, [&loop](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) {
            loop.quit();
        }
    });
    busy_ = true;
    process.start();
    // The dialog is another program's window: this one keeps drawing and answering meanwhile.
    if (process.state() != QProcess::NotRunning) {
        loop.exec();
    }
    busy_ = false;
    if (process.error() == QProcess::FailedToStart) {
        return failed(QStringLiteral("%1: %2").arg(program_, process.errorString()));
    }
    if (process.exitStatus() != QProcess::NormalExit) {
        return failed(QStringLiteral("the print program stopped unexpectedly"));
    }
    switch (process.exitCode()) {
        case 0:
            return Result::Completed;
        case 1:
            return Result::Cancelled;
        default:
            // The reason is its last line; Qt's own warnings may come before it.
            return failed(QString::fromLocal8Bit(process.readAllStandardError())
                              .trimmed()
                              .split(u'\n')
                              .constLast());
    }
}
