#pragma once

#include <QString>

/// Where numiva-cli's plug-in `fileName` is: beside the program in the build tree; installed,
/// under the program's prefix (wherever it was moved), then under the configured one. Empty when
/// it is in none of them; `searched` then names the places. Works before the application object
/// exists and on any thread.
QString findCliPlugin(const QString& fileName, QString* searched = nullptr);
