#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>

#include <optional>

/// Apple property lists (XML or binary) as Qt values, through libplist.
///
/// dict -> QVariantMap, array -> QVariantList, string -> QString, integer -> qint64,
/// real -> double, boolean -> bool, date -> QDateTime (UTC), data -> QByteArray.
/// Dates keep whole seconds: the XML form has no finer precision.
namespace PropertyList {

std::optional<QVariant> fromData(const QByteArray& data);
std::optional<QVariant> readFile(const QString& path);
/// XML form. Values of other types (and invalid ones) are left out.
QByteArray toXml(const QVariant& value);

}  // namespace PropertyList
