#pragma once

#include "CCBRCurrenciesInfo.h"
#include "OperationQueue.h"
#include "SqliteStore.h"

#include <QMutex>
#include <QString>

#include <memory>
#include <optional>

/// The rate cache: the last rate delivered per (data source, currency), in
/// "CurrencyDataStorage.sqlite" in the library directory.
///
/// Writes run on the manager's own queue, reads on the caller's thread; both hold the context
/// lock for their whole duration. A read first waits for the writes queued before it, so it
/// never misses a table that was handed over earlier (tables hold tens of rows). When
/// the store can be neither opened nor recreated, reads yield nothing and writes do nothing.
class CCurrencyDataStorageManager {
public:
    /// Empty `filePath`: the library directory's "CurrencyDataStorage.sqlite".
    explicit CCurrencyDataStorageManager(const QString& filePath = {});
    /// Finishes the writes still queued.
    ~CCurrencyDataStorageManager();
    CCurrencyDataStorageManager(const CCurrencyDataStorageManager&) = delete;
    CCurrencyDataStorageManager& operator=(const CCurrencyDataStorageManager&) = delete;

    /// Queues the write of every row of `table` under `dataSource` and returns at once. The rows'
    /// values are taken now, so later changes to the rows do not reach the store.
    void addCurrenciesInfoAsync(const CCBRCurrenciesInfo& table, const QString& dataSource);
    /// A new row (nominal 1) from the stored entry, or nullptr.
    CCBRCurrencyInfoPtr getCurrencyInfoForCode(const QString& code, const QString& dataSource);

    /// Blocks until every queued write has finished (the CLI waits before it exits).
    void waitForPendingWrites();
    bool hasStore() const { return store_ && store_->isOpen(); }

private:
    struct Entry {
        QString code;
        Decimal saleValue;
        QString dataSource;
        QDateTime actualDate;
    };
    /// The caller holds the context lock.
    std::optional<Entry> getDbCurrencyInfoForCode(const QString& code, const QString& dataSource);

    std::unique_ptr<SqliteStore> store_;
    QMutex contextLock_;
    std::unique_ptr<OperationQueue> operationQueue_;
};
