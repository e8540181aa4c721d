#pragma once

#include <QList>
#include <QString>

#include <functional>

/// Problems with the user's stored files (settings, stores, exported files), kept until a front
/// end shows them: the app as one alert, the CLI as stderr lines and exit status 1.
///
/// Thread-safe. A text already waiting is not kept twice, so a failure repeated on every refresh
/// reaches the user once.
class StorageErrors {
public:
    enum class Kind {
        /// Nothing was lost, but the user should know (a store of a newer version left alone).
        Notice,
        /// A change was not saved, or a file was not written.
        Failure,
    };
    struct Problem {
        Kind kind = Kind::Failure;
        QString text;
        bool operator==(const Problem&) const = default;
    };

    static void report(Kind kind, const QString& text);
    /// Everything reported since the previous call, oldest first.
    static QList<Problem> takeAll();
    static bool hasFailures();
    /// Called on the main thread, soon after a problem was reported while none was waiting
    /// (the app shows its alert from here and takes the problems). Empty: nobody listens.
    static void setListener(std::function<void()> listener);
};
