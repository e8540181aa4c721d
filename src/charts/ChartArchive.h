#pragma once

#include "Decimal.h"

#include <QCborMap>
#include <QDateTime>
#include <QString>

/// How chart records put decimals and instants into keyed archives: a decimal as its exact text,
/// an instant as a CBOR date-time
/// (ISO 8601 text in UTC, to the millisecond, QDateTime's own precision). Absent or unreadable keys
/// read as NaN / invalid.
namespace ChartArchive {

void encodeDecimal(QCborMap& map, const QString& key, const Decimal& value);
Decimal decodeDecimal(const QCborMap& map, const QString& key);

/// An invalid instant is left out.
void encodeDate(QCborMap& map, const QString& key, const QDateTime& date);
QDateTime decodeDate(const QCborMap& map, const QString& key);

}  // namespace ChartArchive
