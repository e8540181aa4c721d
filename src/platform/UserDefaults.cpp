#include "UserDefaults.h"

#include "CFileOperations.h"
#include "PropertyList.h"

#include <QDir>
#include <QFileInfo>
#include <QMutexLocker>
#include <QSaveFile>

UserDefaults::UserDefaults(QString filePath) : filePath_(std::move(filePath)) {
    QMutexLocker lock(&mutex_);
    loadLocked();
}

namespace {
QMutex standardMutex;
std::unique_ptr<UserDefaults> standardInstance;
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

void UserDefaults::loadLocked() {
    // What is on disk, with this store's unsaved changes on top.
    QVariantMap merged;
    if (!filePath_.isEmpty()) {
        if (auto value = PropertyList::readFile(filePath_)) {
            merged = value->toMap();
        }
    }
    for (const QString& key : changedKeys_) {
        auto it = stored_.constFind(key);
        if (it == stored_.constEnd()) {
            merged.remove(key);
        } else {
            merged.insert(key, *it);
        }
    }
    stored_ = std::move(merged);
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
    if (!value.isValid()) {
        stored_.remove(key);
    } else if (value.typeId() == QMetaType::QStringList) {
        stored_.insert(key, QVariant(value.toList()));
    } else {
        stored_.insert(key, value);
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
    if (filePath_.isEmpty()) {
        return false;
    }
    loadLocked();
    if (changedKeys_.isEmpty()) {
        return true;
    }
    QDir().mkpath(QFileInfo(filePath_).absolutePath());
    QSaveFile file(filePath_);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(PropertyList::toXml(stored_));
    if (!file.commit()) {
        return false;
    }
    changedKeys_.clear();
    return true;
}
