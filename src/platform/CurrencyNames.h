#pragma once

#include <QString>
#include <QStringList>

#include <optional>

/// Currency facts from ICU's data.
namespace CurrencyNames {

/// The ICU name of the current locale (QLocale()); the POSIX "C" locale reads as "en_US".
QString currentLocaleName();

/// The display name of an ISO 4217 code in `localeName` (empty: the current locale), or
/// nothing when ICU knows no name for it.
std::optional<QString> displayName(const QString& code, const QString& localeName = {});

/// The display name as the screens show it: ICU's name in the current locale; for a code ICU
/// has no name for, the line "Undefined display name for currency: <code>" goes to the log and
/// the code's localization (the code itself without a table entry) is returned.
QString displayNameForCurrency(const QString& code);

/// Every ISO 4217 code ICU lists as in common use.
QStringList isoCurrencyCodes();

}  // namespace CurrencyNames
