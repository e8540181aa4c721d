#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

/// What the data source catalogue reads about one user-added source.
struct CCustomDataSourceEntry {
    QString url;
    std::optional<QString> displayName;
    std::optional<QString> logoImagePath;
    std::optional<QStringList> currenciesList;
};

/// Read access to the registry of user-added sources, as the catalogue needs it.
class CCustomDataSourceLookup {
public:
    virtual ~CCustomDataSourceLookup() = default;
    /// Every registered source, in registry order.
    virtual QList<CCustomDataSourceEntry> getAllDataSources() const = 0;
    virtual std::optional<CCustomDataSourceEntry> getDataSourceWithUrl(const QString& url) const = 0;
};
