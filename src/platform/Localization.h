#pragma once

#include <QString>

/// The application's string table: Qt ID-based translations compiled from
/// resources/translations. A key without an entry yields the key itself.
namespace Localization {

/// Loads the table for `language` ("en", "ru") into the running application, replacing the one
/// loaded before. Empty: the current locale's language, or English when it has no table.
/// Returns false when there is no such table (keys then read as themselves).
bool install(const QString& language = {});

QString localizedString(const QString& key);

}  // namespace Localization
