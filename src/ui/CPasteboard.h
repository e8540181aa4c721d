#pragma once

#include <QString>

/// The general pasteboard: the system clipboard when the program has a GUI, else a text kept
/// in the process (command-line programs and tests).
class CPasteboard {
public:
    static void setString(const QString& text);
    static QString string();
};
