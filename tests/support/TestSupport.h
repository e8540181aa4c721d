#pragma once

#include "CFileOperations.h"
#include "UserDefaults.h"

#include <QString>
#include <QTemporaryDir>

/// Points the data directory at a fresh temporary directory for one test and drops the
/// process-wide settings store before and after, so no test sees another's files.
class ScopedDataDir {
public:
    ScopedDataDir() {
        CFileOperations::setDataDirectory(dir_.path());
        UserDefaults::resetStandardUserDefaults();
    }
    ~ScopedDataDir() {
        UserDefaults::resetStandardUserDefaults();
        CFileOperations::setDataDirectory(QString());
    }
    ScopedDataDir(const ScopedDataDir&) = delete;
    ScopedDataDir& operator=(const ScopedDataDir&) = delete;

    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};
