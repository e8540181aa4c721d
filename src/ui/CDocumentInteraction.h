#pragma once

#include <QString>
#include <QStringList>

class CCurrencyChartInfo;
class QUrl;

/// Hands a file to the user's default program for its type ("Open in"), and a web address to
/// the user's browser.
class DocumentOpener {
public:
    virtual ~DocumentOpener() = default;
    /// False when no program took the file.
    virtual bool openFile(const QString& path) = 0;
    /// False when no program took the address.
    virtual bool openUrl(const QUrl& url) = 0;

    /// QDesktopServices.
    static DocumentOpener& platformDefault();
};

/// The print dialog for a chart record's table: the user picks a printer, and the table is
/// printed on it as CChartDataPrintPageRenderer lays it out.
class PrintPresenter {
public:
    enum class Result { Completed, Cancelled, Failed };

    virtual ~PrintPresenter() = default;
    /// Failed comes with the reason in `errorText`.
    virtual Result present(const QString& jobName, const CCurrencyChartInfo& record,
                           QString* errorText) = 0;

    /// The print dialog of the numiva-print program, started for each job (see
    /// HelperPrintPresenter); the application waits for it with its windows live.
    static PrintPresenter& platformDefault();
};

/// Prints through the numiva-print program: hands it the record in a temporary file and waits
/// for its answer in a local event loop. `arguments` go before the file (a test passes --pdf).
class HelperPrintPresenter : public PrintPresenter {
public:
    explicit HelperPrintPresenter(QString program, QStringList arguments = {});
    Result present(const QString& jobName, const CCurrencyChartInfo& record,
                   QString* errorText) override;

    /// Beside the program in the build tree, else under the program's prefix, else under the
    /// configured one; empty when none is there.
    static QString installedProgram();

private:
    QString program_;
    QStringList arguments_;
    bool busy_ = false;
};
