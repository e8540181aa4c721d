#pragma once

#include "CCustomDataSourceStorageManager.h"

#include <QString>
#include <QStringList>
#include <QVariantMap>

/// Catalogue of data sources: which currencies each offers, their display names and logos.
/// Built-in sources come from the "CurrencyDataSources" resource, user-added ones from the
/// registry. Read-only after construction.
class CCurrencyDataSourceInfo {
public:
    /// `registry` (not owned) answers for user-added sources.
    explicit CCurrencyDataSourceInfo(const CCustomDataSourceStorageManager& registry);
    /// For tests: a given catalogue instead of the resource.
    CCurrencyDataSourceInfo(QVariantMap builtIn, const CCustomDataSourceStorageManager& registry);

    /// Built-in identifiers, then the address of every user-added source in registry order.
    QStringList getAllDataSourceIds() const;
    /// The codes a source offers; for an unknown custom source, nothing (empty).
    QStringList getAvailableCurrencyCodes(const QString& identifier) const;
    bool isCustomDataSource(const QString& identifier) const;
    /// Built-in: the localization of "<ID>-CurrencyDataSource". Custom: the registry's name,
    /// else the localization of "CustomDataSource".
    QString getDataSourceDisplayName(const QString& identifier) const;
    /// A name short enough for a rate row's detail line. Built-in: the localization of
    /// "<ID>-CurrencyDataSourceShort"; custom: the registry's name, else the feed's host.
    QString getDataSourceShortName(const QString& identifier) const;
    /// What a built-in source needs and offers, for the source lists: the localization of
    /// "<ID>-CurrencyDataSourceDescription" with %1 replaced by the number of codes it offers.
    /// Empty for user-added sources and for sources without such a text.
    QString getDataSourceDescription(const QString& identifier) const;
    /// Replaces the shipped list of a built-in source with the one the service reported
    /// itself; an empty list, or an identifier that is not built in, changes nothing.
    void setAvailableCurrencyCodes(const QString& identifier, const QStringList& codes);
    /// The path of the source's logo image: built-in "<ID>-dataSource"; custom, the registry's
    /// logo file, else "dsPlaceholder". Empty when no such image exists.
    QString getDataSourceLogo(const QString& identifier) const;

private:
    // Converted once: the row list asks for a source's codes for every row it builds.
    QMap<QString, QStringList> builtIn_;
    const CCustomDataSourceStorageManager* registry_;  // never null
};
