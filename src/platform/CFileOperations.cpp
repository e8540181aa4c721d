#include "CFileOperations.h"

#include <QDir>
#include <QMutex>
#include <QMutexLocker>
#include <QStandardPaths>

namespace {

QMutex overrideMutex;
QString overridePath;

QString ensured(const QString& path) {
    if (path.isEmpty() || !QDir().mkpath(path)) {
        return {};
    }
    return QDir::cleanPath(path);
}

}  // namespace

void CFileOperations::setDataDirectory(const QString& path) {
    QMutexLocker lock(&overrideMutex);
    overridePath = path;
}

QString CFileOperations::getDataDirectory() {
    {
        QMutexLocker lock(&overrideMutex);
        if (!overridePath.isEmpty()) {
            return QDir(overridePath).absolutePath();
        }
    }
    const QString fromEnvironment = qEnvironmentVariable("NUMIVA_DATA_DIR");
    if (!fromEnvironment.isEmpty()) {
        return QDir(fromEnvironment).absolutePath();
    }
    QString standard = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return standard.isEmpty() ? QString() : standard + QStringLiteral("/Numiva");
}

QString CFileOperations::getDocumentsPath() {
    const QString root = getDataDirectory();
    return root.isEmpty() ? QString() : ensured(root + QStringLiteral("/Documents"));
}

QString CFileOperations::getLibraryPath() {
    const QString root = getDataDirectory();
    return root.isEmpty() ? QString() : ensured(root + QStringLiteral("/Library"));
}

QString CFileOperations::getLibraryFilePath(const QString& name) {
    const QString library = getLibraryPath();
    return library.isEmpty() ? QString() : library + u'/' + name;
}

QString CFileOperations::getCachesPath() {
    const QString root = getDataDirectory();
    return root.isEmpty() ? QString() : ensured(root + QStringLiteral("/Library/Caches"));
}
