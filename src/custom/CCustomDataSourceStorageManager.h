#pragma once

#include "CCustomDataSourceInfo.h"
#include "SqliteStore.h"

#include <QList>
#include <QString>

#include <memory>
#include <optional>

/// The registry of user-added data sources, in "CustomDataSourceStorage.sqlite" in the library
/// directory, with their logos in the caches directory's "DataSourceLogos".
///
/// Main thread only. A store that can be neither opened nor recreated leaves the registry empty:
/// reads yield nothing and changes are dropped, without failing the caller.
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
    /// registered.
    void updateDataSource(const QString& url, const CCustomDataSourceInfo& info);
    /// Removes the entry; its logo file stays on disk.
    void removeDataSource(const QString& url);
    std::optional<CCustomDataSourceEntity> getDataSourceWithUrl(const QString& url) const;
    /// Every entry in the order it was added.
    QList<CCustomDataSourceEntity> getAllDataSources() const;

    bool hasStore() const { return store_->isOpen(); }
    QString logoDirectory() const { return logoDirectory_; }

private:
    std::optional<QString> storeLogo(const std::optional<QString>& currentPath,
                                     const std::optional<QByteArray>& logo) const;

    std::unique_ptr<SqliteStore> store_;
    QString logoDirectory_;
};
