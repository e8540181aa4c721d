#include "PluginPath.h"

#include <QFile>
#include <QFileInfo>

QString findCliPlugin(const QString& fileName, QString* searched) {
    // The program's own directory from the kernel: there may be no application object yet.
    const QString programDirectory =
        QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
    for (const QString& directory :
         {programDirectory, programDirectory + QStringLiteral("/" NUMIVA_PLUGIN_RELATIVE_DIR),
          QStringLiteral(NUMIVA_PLUGIN_DIR)}) {
        const QString path = directory + u'/' + fileName;
        if (QFileInfo::exists(path)) {
            return path;
        }
    }
    if (searched != nullptr) {
        *searched =
            QStringLiteral("%1 and %2").arg(programDirectory, QStringLiteral(NUMIVA_PLUGIN_DIR));
    }
    return {};
}
