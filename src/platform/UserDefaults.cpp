#include "UserDefaults.h"

#include "AtomicFile.h"
#include "CFileOperations.h"
#include "Localization.h"
#include "PropertyList.h"
#include "StorageErrors.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMutexLocker>

#include <sys/stat.h>

UserDefaults::UserDefaults(QString filePath) : filePath_(std::move(filePath)) {
    QMutexLocker lock(&mutex_);
    loadLocked();
}

namespace {
QMutex standardMutex;
std::unique_ptr<UserDefaults> standardInstance;
/// Which file is at `path` (device, inode, size, modification and change times); empty when
/// there is none. Savers replace the file in one rename, so a change is a new identity.
QByteArray fileIdentity(const QString& path) {
    struct stat info {};
    if (path.isEmpty() || ::stat(QFile::encodeName(path), &info) != 0) {
        return {};
    }
    return QByteArray::number(quint64(info.st_dev)) + ' ' +
           QByteArray::number(quint64(info.st_ino)) + ' ' +
           QByteArray::number(qint64(info.st_size)) + ' ' +
           QByteArray::number(qint64(info.st_mtim.tv_sec)) + '.' +
           QByteArray::number(qint64(info.st_mtim.tv_nsec)) + ' ' +
           QByteArray::number(qint64(info.st_ctim.tv_sec)) + '.' +
           QByteArray::number(qint64(info.st_ctim.tv_nsec));
}

}  // namespace

UserDefaults& UserDefaults::standardUserDefaults() {
    QMutexLocker lock(&standardMutex);
    if (!standardInstance) {
        standardInstance = std::make_unique<UserDefaults>(
            CFileOperations::getLibraryFilePath(QStringLiteral("Preferences/Numiva.plist")));
    }
    return *standardInstance;
}

void UserDefaults::resetStandardUserDefaults() {
    QMutexLocker lock(&standardMutex);
    standardInstance.reset();
}

UserDefaults::FileState UserDefaults::loadLocked() {
    FileState state = FileState::Missing;
    QVariantMap merged;
    const QByteArray identity = fileIdentity(filePath_);
    if (!identity.isEmpty() && identity == onDiskIdentity_) {
        state = FileState::Read;
        merged = onDisk_;
    } else if (!filePath_.isEmpty()) {
        QFile file(filePath_);
        if (file.open(QIODevice::ReadOnly)) {
            const auto value = PropertyList::fromData(file.readAll());
            if (value && value->typeId() == QMetaType::QVariantMap) {
                merged = value->toMap();
                state = FileState::Read;
            } else {
                state = FileState::Damaged;
            }
        } else if (file.exists()) {
            state = FileState::Unreadable;
        }
    }
    if (state == FileState::Unreadable) {
        return state;  // what was read before stays
    }
    onDisk_ = merged;
    onDiskIdentity_ = state == FileState::Read ? identity : QByteArray();
    // This store's unsaved changes on top of what is on disk.
    for (const QString& key : changedKeys_) {
        auto it = stored_.constFind(key);
        if (it == stored_.constEnd()) {
            merged.remove(key);
        } else {
            merged.insert(key, *it);
        }
    }
    stored_ = std::move(merged);
    return state;
}

QVariant UserDefaults::objectForKey(const QString& key) const {
    QMutexLocker lock(&mutex_);
    auto it = stored_.constFind(key);
    if (it != stored_.constEnd()) {
        return *it;
    }
    return registered_.value(key);
}

QVariant UserDefaults::persistentObjectForKey(const QString& key) const {
    QMutexLocker lock(&mutex_);
    return stored_.value(key);
}

QString UserDefaults::stringForKey(const QString& key) const {
    const QVariant v = objectForKey(key);
    if (v.typeId() == QMetaType::QString) {
        return v.toString();
    }
    return {};
}

bool UserDefaults::boolForKey(const QString& key) const {
    const QVariant v = objectForKey(key);
    switch (v.typeId()) {
        case QMetaType::Bool:
            return v.toBool();
        case QMetaType::QString: {
            const QString s = v.toString().trimmed();
            return s.compare(u"YES", Qt::CaseInsensitive) == 0 ||
                   s.compare(u"true", Qt::CaseInsensitive) == 0 || s.toLongLong() != 0;
        }
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Double:
            return v.toDouble() != 0;
        default:
            return false;
    }
}

std::optional<double> UserDefaults::numberForKey(const QString& key) const {
    const QVariant v = objectForKey(key);
    switch (v.typeId()) {
        case QMetaType::Int:
        case QMetaType::LongLong:
        case QMetaType::UInt:
        case QMetaType::ULongLong:
        case QMetaType::Double:
        case QMetaType::Bool:
            return v.toDouble();
        case QMetaType::QString: {
            bool ok = false;
            const double d = v.toString().toDouble(&ok);
            return ok ? std::optional<double>(d) : std::nullopt;
        }
        default:
            return std::nullopt;
    }
}

QStringList UserDefaults::stringArrayForKey(const QString& key) const {
    const QVariant v = objectForKey(key);
    if (v.typeId() != QMetaType::QVariantList && v.typeId() != QMetaType::QStringList) {
        return {};
    }
    QStringList out;
    for (const QVariant& item : v.toList()) {
        if (item.typeId() != QMetaType::QString) {
            return {};  // as NSUserDefaults: an array with anything but texts is not a text array
        }
        out.append(item.toString());
    }
    return out;
}

QVariantList UserDefaults::arrayForKey(const QString& key) const {
    const QVariant v = objectForKey(key);
    if (v.typeId() != QMetaType::QVariantList && v.typeId() != QMetaType::QStringList) {
        return {};
    }
    return v.toList();
}

QDateTime UserDefaults::dateForKey(const QString& key) const {
    const QVariant v = objectForKey(key);
    return v.typeId() == QMetaType::QDateTime ? v.toDateTime() : QDateTime();
}

void UserDefaults::setObject(const QVariant& value, const QString& key) {
    QMutexLocker lock(&mutex_);
    const QVariant normalized =
        value.typeId() == QMetaType::QStringList ? QVariant(value.toList()) : value;
    auto it = stored_.constFind(key);
    // Setting what is already there is no change, so it never makes a save write the file.
    if (normalized.isValid() ? (it != stored_.constEnd() && *it == normalized)
                             : it == stored_.constEnd()) {
        return;
    }
    if (normalized.isValid()) {
        stored_.insert(key, normalized);
    } else {
        stored_.remove(key);
    }
    changedKeys_.insert(key);
}

void UserDefaults::removeObjectForKey(const QString& key) {
    setObject(QVariant(), key);
}

void UserDefaults::registerDefaults(const QVariantMap& defaults) {
    QMutexLocker lock(&mutex_);
    for (auto it = defaults.begin(); it != defaults.end(); ++it) {
        registered_.insert(it.key(), it.value());
    }
}

QVariantMap UserDefaults::registeredDefaults() const {
    QMutexLocker lock(&mutex_);
    return registered_;
}

bool UserDefaults::synchronize() {
    QMutexLocker lock(&mutex_);
    if (changedKeys_.isEmpty() && !filePath_.isEmpty()) {
        loadLocked();  // only reads: other programs replace the file in one rename
        return true;
    }
    // A data directory that cannot take files is said once, in its own words, for every save.
    const QString dataDirectory = CFileOperations::getDataDirectory();
    if (filePath_.isEmpty() ||
        (!dataDirectory.isEmpty() && filePath_.startsWith(dataDirectory + u'/'))) {
        const QString problem = CFileOperations::dataDirectoryProblem();
        if (!problem.isEmpty() || filePath_.isEmpty()) {
            lastError_ =
                problem.isEmpty() ? QStringLiteral("there is no library directory") : problem;
            if (!changedKeys_.isEmpty()) {
                StorageErrors::report(StorageErrors::Kind::Failure, lastError_);
            }
            return false;
        }
    }
    QDir().mkpath(QFileInfo(filePath_).absolutePath());
    // Read, merge and write under the lock, or a save of the other program's in between is lost.
    QLockFile fileLock(filePath_ + QStringLiteral(".lock"));
    if (!fileLock.tryLock(lockTimeoutMs_)) {
        return failLocked(fileLock.error() == QLockFile::LockFailedError
                              ? QStringLiteral("the file is locked by another program")
                              : QStringLiteral("the lock file cannot be created"));
    }
    const FileState state = loadLocked();
    if (state == FileState::Unreadable) {
        return failLocked(QStringLiteral("the file cannot be read"));
    }
    if (stored_ == onDisk_) {
        changedKeys_.clear();
        return true;
    }
    QString error;
    // What cannot be read is kept for the user rather than written over.
    if (state == FileState::Damaged) {
        const QString aside = AtomicFile::moveAside(filePath_, &error);
        if (aside.isEmpty()) {
            return failLocked(error);
        }
        StorageErrors::report(
            StorageErrors::Kind::Notice,
            Localization::localizedString(QStringLiteral("StoreDamagedMessage"))
                .arg(QFileInfo(filePath_).fileName(), QFileInfo(aside).fileName()));
    }
    if (!AtomicFile::write(filePath_, PropertyList::toXml(stored_), &error)) {
        return failLocked(error);
    }
    onDisk_ = stored_;
    // What was just written need not be read back at the next synchronize.
    onDiskIdentity_ = fileIdentity(filePath_);
    changedKeys_.clear();
    lastError_.clear();
    return true;
}

bool UserDefaults::failLocked(const QString& reason) {
    lastError_ = reason;
    StorageErrors::report(StorageErrors::Kind::Failure,
                          Localization::localizedString(QStringLiteral("SettingsSaveFailedMessage"))
                              .arg(QFileInfo(filePath_).fileName(), reason));
    return false;
}

QString UserDefaults::lastError() const {
    QMutexLocker lock(&mutex_);
    return lastError_;
}
