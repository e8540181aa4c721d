#pragma once

#include <QByteArray>
#include <QString>

/// Writes whole files the user keeps (settings, logos, exports): the new contents replace the
/// old ones only once every byte has reached the disk; on any failure the old file stays as it
/// was and no partial or empty file is left behind.
namespace AtomicFile {

/// False, with the reason in `error`, when the file was not written. A path that exists but is
/// not a regular file (a device such as /dev/full, a directory) is refused and left alone.
bool write(const QString& path, const QByteArray& data, QString* error = nullptr);

/// Renames a damaged file to "<path>.damaged-<UTC time>" so that a new one can take its place
/// while the old bytes stay for the user. Returns the new name, or empty with `error` set.
QString moveAside(const QString& path, QString* error = nullptr);

}  // namespace AtomicFile
