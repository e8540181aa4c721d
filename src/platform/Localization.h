#pragma once

#include <QList>
#include <QString>
#include <QStringList>

/// The application's string table: Qt ID-based translations compiled from
/// resources/translations. A key without an entry yields the key itself.
namespace Localization {

/// Loads the table for `language` ("en", "ru") into the running application, replacing the one
/// loaded before. Empty: the current locale's language, or English when it has no table.
/// Returns false when there is no such table (keys then read as themselves).
bool install(const QString& language = {});

QString localizedString(const QString& key);

/// The language of the installed table ("en", "ru"); without one, the current locale's.
QString currentLanguage();

/// The positions of `texts` in ascending order by the ICU collation of `language` (empty: the
/// installed table's language); equal texts keep their order.
QList<int> collationOrder(const QStringList& texts, const QString& language = {});

}  // namespace Localization
