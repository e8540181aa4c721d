#include "CFileOperations.h"

#include "Localization.h"

#include <QDir>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>
#include <QStandardPaths>

#include <optional>
#include <utility>

namespace {

QMutex overrideMutex;
QString overridePath;
/// The directory last looked at by dataDirectoryProblem, and what was found.
std::optional<std::pair<QString, QString>> checked;

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
    checked.reset();
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

QString CFileOperations::dataDirectoryProblem() {
    const QString root = getDataDirectory();
    QMutexLocker lock(&overrideMutex);
    if (checked && checked->first == root) {
        return checked->second;
    }
    const auto problem = [&root](const char* key) {
        return Localization::localizedString(QString::fromLatin1(key))
            .arg(QDir::toNativeSeparators(root));
    };
    QString found;
    const QFileInfo info(root);
    if (root.isEmpty()) {
        found = problem("DataDirectoryUnknownMessage");
    } else if (info.exists() && !info.isDir()) {
        found = problem("DataDirectoryIsFileMessage");
    } else {
        // Nothing is written to find out: a command that changes nothing leaves no trace. The
        // nearest folder that exists must take the new one (access() also knows read-only
        // mounts and root).
        QFileInfo existing = info;
        while (!existing.exists() && existing.absoluteFilePath() != QDir::rootPath()) {
            existing = QFileInfo(existing.absolutePath());
        }
        if (!existing.isDir()) {
            found = problem("DataDirectoryCannotBeCreatedMessage");
        } else if (!existing.isWritable()) {
            found = problem(existing == info ? "DataDirectoryReadOnlyMessage"
                                             : "DataDirectoryCannotBeCreatedMessage");
        }
    }
    checked = std::make_pair(root, found);
    return found;
}
