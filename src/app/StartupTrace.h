#pragma once

#include <QLoggingCategory>

/// Start-up steps with the milliseconds since the process began, in the "numiva.startup"
/// category (off by default): QT_LOGGING_RULES="numiva.startup.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcStartup)

namespace StartupTrace {

/// Milliseconds since main() began.
qint64 elapsed();
/// Logs `step` with the time since main() began and since the previous step.
void step(const char* step);

}  // namespace StartupTrace
