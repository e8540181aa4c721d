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

#include <csignal>
#include <sys/resource.h>

/// A full disk as far as this process can tell: while it lives no file grows past `bytes`
/// (writes fail with EFBIG), without needing a small file system or root.
class ScopedFullDisk {
public:
    explicit ScopedFullDisk(rlim_t bytes) {
        getrlimit(RLIMIT_FSIZE, &saved_);
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);  // the failed write is enough
        const rlimit limit{bytes, saved_.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~ScopedFullDisk() {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, previousHandler_);
    }
    ScopedFullDisk(const ScopedFullDisk&) = delete;
    ScopedFullDisk& operator=(const ScopedFullDisk&) = delete;

private:
    rlimit saved_{};
    void (*previousHandler_)(int) = nullptr;
};
