#pragma once

#include <QString>

/// Where Numiva keeps its files. Everything lives under one data directory: the one given with
/// `setDataDirectory` (the `--data-dir` option), else `$NUMIVA_DATA_DIR`, else the platform's
/// application data location.
class CFileOperations {
public:
    /// Overrides the data directory for the rest of the process (empty: back to the default).
    static void setDataDirectory(const QString& path);
    static QString getDataDirectory();

    /// Documents (exported files handed to other applications), library (the SQLite stores and
    /// settings) and caches (logos). Each is created on first use; an empty text means the
    /// directory could not be created.
    static QString getDocumentsPath();
    static QString getLibraryPath();
    static QString getCachesPath();
    /// `name` inside the library directory; empty when there is no library directory.
    static QString getLibraryFilePath(const QString& name);

    /// Why nothing can be saved in the data directory (it is a file, cannot be created or is
    /// read-only), as one sentence naming it; empty when it is usable. Looked at once per data
    /// directory, so that every save that fails for this reason says the same thing once.
    static QString dataDirectoryProblem();
};
