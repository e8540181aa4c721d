#pragma once

#include "CCBRCurrencyInfo.h"
#include "Decimal.h"

#include <QString>
#include <QStringView>

/// Small text and row rules shared by the built-in rate providers.
namespace ProviderParsing {

/// Skips leading white space, takes an optional sign and the digits up to the first other
/// character. A text without digits, or a number outside the 32-bit range, gives 0.
qint32 integerFromText(QStringView text);

/// A value a rate row can carry: a number greater than zero.
bool isUsableValue(const Decimal& value);

/// A row a provider may hand out: it has a text code, a unit count of at least 1 and a usable
/// value. Anything else (a rate of 0, an unreadable number, a missing unit count) cannot be
/// priced and is left out of the table.
bool isUsableRow(const CCBRCurrencyInfo& row);

/// A new row quoted for one unit.
CCBRCurrencyInfoPtr makeRow(const QString& code, const Decimal& saleValue);

}  // namespace ProviderParsing
