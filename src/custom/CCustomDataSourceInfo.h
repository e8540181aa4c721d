#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

/// What one read of a custom feed yields for the registry.
struct CCustomDataSourceInfo {
    QString url;
    std::optional<QString> displayName;
    std::optional<QByteArray> logoImageData;
    QStringList currenciesList;
};

/// One registered custom source as the registry stores it.
struct CCustomDataSourceEntity {
    QString url;
    std::optional<QString> displayName;
    /// Full path of the stored logo file.
    std::optional<QString> logoImagePath;
    /// Absent until the first successful read of the feed.
    std::optional<QStringList> currenciesList;
};
