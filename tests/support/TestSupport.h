#pragma once

#include "CFileOperations.h"
#include "UserDefaults.h"

#include <QString>
#include <QTemporaryDir>

#if __has_include("CCustomDataSourceStorageManager.h")
#include "CCustomDataSourceStorageManager.h"
#define NUMIVA_TEST_HAS_REGISTRY 1
#endif

/// Points the data directory at a fresh temporary directory for one test and drops the
/// process-wide settings store (and registry) before and after, so no test sees another's files.
class ScopedDataDir {
public:
    ScopedDataDir() {
        CFileOperations::setDataDirectory(dir_.path());
        resetShared();
    }
    ~ScopedDataDir() {
        resetShared();
        CFileOperations::setDataDirectory(QString());
    }
    ScopedDataDir(const ScopedDataDir&) = delete;
    ScopedDataDir& operator=(const ScopedDataDir&) = delete;

    QString path() const { return dir_.path(); }
    QString filePath(const QString& name) const { return dir_.filePath(name); }

private:
    static void resetShared() {
        UserDefaults::resetStandardUserDefaults();
#ifdef NUMIVA_TEST_HAS_REGISTRY
        CCustomDataSourceStorageManager::resetSharedInstance();
#endif
    }
    QTemporaryDir dir_;
};
