#pragma once

#include "CCustomDataSourceInfo.h"
#include "SqliteStore.h"

#include <QList>
#include <QSqlQuery>
#include <QString>

#include <memory>
#include <optional>

/// The registry of user-added data sources, in "CustomDataSourceStorage.sqlite" in the library
/// directory, with their logos in the caches directory's "DataSourceLogos".
///
/// Main thread only. The file is created by the first change. A store that cannot be used
/// leaves the registry empty (or read-only, for a file of a newer version); a change that is
/// not saved, and a logo that cannot be written, reach the user through `StorageErrors`.
class CCustomDataSourceStorageManager {
public:
    /// The process-wide registry, opened in the current data directory on first use.
    static CCustomDataSourceStorageManager& sharedInstance();
    /// Drops the shared registry so the next use opens the data directory again (tests, CLI).
    static void resetSharedInstance();

    /// `filePath` empty: the library directory's "CustomDataSourceStorage.sqlite"; `logoDirectory`
    /// empty: the caches directory's "DataSourceLogos".
    explicit CCustomDataSourceStorageManager(const QString& filePath = {},
                                             const QString& logoDirectory = {});

    /// Registers the address unless it is registered already.
    void addDataSourceWithUrl(const QString& url);
    /// Stores the name, code list and logo read from the feed; nothing when the address is not
    /// registered. What is already stored is not written again (nor is an unchanged logo file):
    /// true when something changed.
    bool updateDataSource(const QString& url, const CCustomDataSourceInfo& info);
    /// Removes the entry; its logo file stays on disk.
    void removeDataSource(const QString& url);
    std::optional<CCustomDataSourceEntity> getDataSourceWithUrl(const QString& url) const;
    /// Every entry in the order it was added.
    QList<CCustomDataSourceEntity> getAllDataSources() const;

    const SqliteStore& store() const { return *store_; }
    QString logoDirectory() const { return logoDirectory_; }

private:
    /// The logo file's path after storing `logo`; `written` tells whether a file was written.
    std::optional<QString> storeLogo(const std::optional<QString>& currentPath,
                                     const std::optional<QByteArray>& logo, bool* written) const;
    void execChange(QSqlQuery& q);

    std::unique_ptr<SqliteStore> store_;
    QString logoDirectory_;
};
