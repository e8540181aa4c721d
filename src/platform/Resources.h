#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

/// The application's bundled resources: property lists and images, found by name.
///
/// Property lists and our own images are compiled into the program (":/"); images may also come
/// from extra directories (installed icon packages) added with `addImageDirectory`.
namespace Resources {

/// The path of the resource `name.type` (e.g. "CurrencyDataSources", "plist"), or empty.
QString pathForResource(const QString& name, const QString& type);
/// The variant of `name.type` for the installed language ("ru.lproj/name.type"), else the
/// English one, else the resource itself; empty when there is none.
QString localizedPathForResource(const QString& name, const QString& type);
/// A property list resource; an invalid value when missing or unreadable.
QVariant propertyList(const QString& name);
/// The settings bundle's directory ("Settings.bundle"), or empty.
QString settingsBundlePath();

/// Searched after the built-in images, in the order added.
void addImageDirectory(const QString& directory);
/// The file of the image named exactly `name` (PNG or SVG), or empty when there is none.
QString imagePath(const QString& name);

/// Where installed data (the icon packages) is looked for, first to last: `share/numiva` beside
/// the program's directory (an installed tree, wherever it was moved), the data directory of the
/// prefix the build was configured for, and the place scripts/setup unpacks the packages to.
QStringList dataDirectories(const QString& applicationDirectory);
/// `relative` under the first of `directories` that holds it, or empty.
QString findDataDirectory(const QString& relative, const QStringList& directories);
/// Adds the flag and icon packages' image directories: `$NUMIVA_FLAGS_DIR` and
/// `$NUMIVA_ICONS_DIR` when set, else the first found in `dataDirectories`.
void addInstalledImageDirectories(const QString& applicationDirectory);

}  // namespace Resources
