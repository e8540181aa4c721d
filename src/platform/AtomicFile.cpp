#include "AtomicFile.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace AtomicFile {

bool write(const QString& path, const QByteArray& data, QString* error) {
    auto fail = [error](const QString& reason) {
        if (error != nullptr) {
            *error = reason;
        }
        return false;
    };
    const QFileInfo target(path);
    // The rename at the end would put a regular file in place of a device or a socket.
    if (target.exists() && !target.isFile()) {
        return fail(QStringLiteral("%1 is not a regular file").arg(path));
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return fail(file.errorString());
    }
    // Writes are buffered: a full disk may only show at the flush, so each step is checked
    // before the rename makes the new contents the file. Dropping an uncommitted QSaveFile
    // removes its temporary file.
    if (file.write(data) != data.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        return fail(file.errorString());
    }
    if (::fsync(file.handle()) != 0) {
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    }
    if (!file.commit()) {
        return fail(file.errorString());
    }
    return true;
}

QString moveAside(const QString& path, QString* error) {
    const QString stamp =
        QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString aside = QStringLiteral("%1.damaged-%2").arg(path, stamp);
    for (int n = 2; QFileInfo::exists(aside); ++n) {
        aside = QStringLiteral("%1.damaged-%2-%3").arg(path, stamp).arg(n);
    }
    QFile file(path);
    if (!file.rename(aside)) {
        if (error != nullptr) {
            *error = file.errorString();
        }
        return {};
    }
    return aside;
}

}  // namespace AtomicFile
