#include "Resources.h"

#include "Localization.h"
#include "PropertyList.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QMutexLocker>

#include <utility>

namespace {
#ifndef NUMIVA_INSTALL_DATADIR
#define NUMIVA_INSTALL_DATADIR "/usr/local/share/numiva"
#endif
const char* const kSetupDataDirectory = "/usr/local/share/numiva";

QMutex directoriesMutex;
QStringList extraImageDirectories;
/// Where each image name was found (empty: nowhere), until the directories change: a list of
/// rates asks for every flag several times, and each look-up tries up to a dozen files.
QHash<QString, QString> foundImages;
}  // namespace

namespace Resources {

QString pathForResource(const QString& name, const QString& type) {
    const QString path = QStringLiteral(":/%1.%2").arg(name, type);
    return QFileInfo::exists(path) ? path : QString();
}

QString localizedPathForResource(const QString& name, const QString& type) {
    QString language = Localization::currentLanguage();
    for (const QString& lproj : {language, QStringLiteral("en")}) {
        if (lproj.isEmpty() || lproj.contains(u'/')) {
            continue;
        }
        const QString path = pathForResource(lproj + QLatin1String(".lproj/") + name, type);
        if (!path.isEmpty()) {
            return path;
        }
    }
    return pathForResource(name, type);
}

QVariant propertyList(const QString& name) {
    const QString path = pathForResource(name, QStringLiteral("plist"));
    if (path.isEmpty()) {
        return {};
    }
    return PropertyList::readFile(path).value_or(QVariant());
}

QString settingsBundlePath() {
    return pathForResource(QStringLiteral("Settings"), QStringLiteral("bundle"));
}

void addImageDirectory(const QString& directory) {
    QMutexLocker lock(&directoriesMutex);
    if (!extraImageDirectories.contains(directory)) {
        extraImageDirectories.append(directory);
        foundImages.clear();
    }
}

QString imagePath(const QString& name) {
    if (name.isEmpty() || name.contains(u'/')) {
        return {};
    }
    QStringList directories{QStringLiteral(":/images")};
    {
        QMutexLocker lock(&directoriesMutex);
        const auto found = foundImages.constFind(name);
        if (found != foundImages.constEnd()) {
            return *found;
        }
        directories += extraImageDirectories;
    }
    const QString result = [&] {
        for (const QString& dir : std::as_const(directories)) {
            for (const char* ext : {"png", "svg"}) {
                const QString path = QStringLiteral("%1/%2.%3").arg(dir, name, QLatin1String(ext));
                if (QFileInfo::exists(path)) {
                    return path;
                }
            }
        }
        return QString();
    }();
    // Kept only when the directories did not change meanwhile.
    QMutexLocker lock(&directoriesMutex);
    if (directories.mid(1) == extraImageDirectories) {
        foundImages.insert(name, result);
    }
    return result;
}

QStringList dataDirectories(const QString& applicationDirectory) {
    QStringList directories;
    for (const QString& candidate :
         {applicationDirectory + QLatin1String("/../share/numiva"),
          QStringLiteral(NUMIVA_INSTALL_DATADIR), QString::fromLatin1(kSetupDataDirectory)}) {
        const QString clean = QDir::cleanPath(candidate);
        if (!directories.contains(clean)) {
            directories.append(clean);
        }
    }
    return directories;
}

QString findDataDirectory(const QString& relative, const QStringList& directories) {
    for (const QString& directory : directories) {
        const QString path = directory + u'/' + relative;
        if (QFileInfo(path).isDir()) {
            return path;
        }
    }
    return {};
}

void addInstalledImageDirectories(const QString& applicationDirectory) {
    const QStringList directories = dataDirectories(applicationDirectory);
    for (const auto& [variable, relative] :
         {std::pair{"NUMIVA_FLAGS_DIR", "flag-icons/flags/4x3"},
          std::pair{"NUMIVA_ICONS_DIR", "bootstrap-icons/icons"}}) {
        // A directory named by the user is taken as it is, never replaced by another.
        const QString directory = qEnvironmentVariableIsSet(variable)
                                      ? qEnvironmentVariable(variable)
                                      : findDataDirectory(QLatin1String(relative), directories);
        if (!directory.isEmpty() && QDir(directory).exists()) {
            addImageDirectory(directory);
        }
    }
}

}  // namespace Resources
