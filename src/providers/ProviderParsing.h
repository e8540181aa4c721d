#pragma once

#include "CCBRCurrencyInfo.h"
#include "Decimal.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <optional>

/// Small text and row rules shared by the built-in rate providers.
namespace ProviderParsing {

/// Skips leading white space, takes an optional sign and the digits up to the first other
/// character, and says in `end` where it stopped. Nothing without digits or beyond 18 digits.
std::optional<qint64> leadingInteger(QStringView text, qsizetype* end = nullptr);
/// As `leadingInteger`, for the banks' unit counts and codes: a text without digits, or a
/// number outside the 32-bit range, gives 0.
qint32 integerFromText(QStringView text);
/// A text that is one integer and nothing else but white space.
std::optional<qint64> wholeInteger(QStringView text);

/// The body of a windows-1251 document as UTF-8 text, with the encoding named in its XML
/// declaration removed so that the parser reads it as UTF-8.
QByteArray utf8FromWindows1251Document(const QByteArray& data);

/// A value a rate row can carry: a number greater than zero.
bool isUsableValue(const Decimal& value);

/// A row a provider may hand out: it has a text code, a unit count of at least 1 and a usable
/// value. Anything else (a rate of 0, an unreadable number, a missing unit count) cannot be
/// priced and is left out of the table.
bool isUsableRow(const CCBRCurrencyInfo& row);

/// A new row quoted for one unit.
CCBRCurrencyInfoPtr makeRow(const QString& code, const Decimal& saleValue);

}  // namespace ProviderParsing
