#pragma once

#include <QString>

#include <functional>

class QPrinter;
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

/// The print dialog: the user picks a printer, then `printPages` prints on it.
class PrintPresenter {
public:
    enum class Result { Completed, Cancelled, Failed };
    /// Prints every page on the chosen printer; false with the reason in `errorText`.
    using PrintPages = std::function<bool(QPrinter& printer, QString* errorText)>;

    virtual ~PrintPresenter() = default;
    virtual Result present(const QString& jobName, const PrintPages& printPages,
                           QString* errorText) = 0;

    /// QPrintDialog (needs a QApplication).
    static PrintPresenter& platformDefault();
};
