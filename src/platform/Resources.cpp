#include "Resources.h"

#include "Localization.h"
#include "PropertyList.h"

#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>

namespace {
QMutex directoriesMutex;
QStringList extraImageDirectories;
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
    }
}

QString imagePath(const QString& name) {
    if (name.isEmpty() || name.contains(u'/')) {
        return {};
    }
    QStringList directories{QStringLiteral(":/images")};
    {
        QMutexLocker lock(&directoriesMutex);
        directories += extraImageDirectories;
    }
    for (const QString& dir : directories) {
        for (const char* ext : {"png", "svg"}) {
            const QString path = QStringLiteral("%1/%2.%3").arg(dir, name, QLatin1String(ext));
            if (QFileInfo::exists(path)) {
                return path;
            }
        }
    }
    return {};
}

}  // namespace Resources
