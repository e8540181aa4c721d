#pragma once

#include "CCBRCurrenciesInfo.h"
#include "OperationQueue.h"
#include "SqliteStore.h"

#include <QMutex>
#include <QString>

#include <map>
#include <memory>
#include <optional>

/// The rate cache: the last rate delivered per (data source, currency), in
/// "CurrencyDataStorage.sqlite" in the library directory.
///
/// Each table is written in one transaction on the manager's own queue; a write that fails (a
/// lock held past the busy timeout, a full disk) saves none of its rows and is reported once
/// through `StorageErrors`. Reads run on the caller's thread without waiting for the queue:
/// rows handed over but not written yet are answered from memory, the rest from the file
/// (WAL readers never wait for the writer). The file is created by the first write.
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
    /// A new row (nominal 1) from the stored entry, with its stored date and source and marked
    /// as cached, or nullptr.
    CCBRCurrencyInfoPtr getCurrencyInfoForCode(const QString& code, const QString& dataSource);

    /// Starts the writer and opens its connection to an existing file now, so that the writes of
    /// a refresh under way do not wait for that (a command that runs for milliseconds).
    void prepareWriter();
    /// Blocks until every queued write has finished (the CLI waits before it exits).
    void waitForPendingWrites();
    const SqliteStore& store() const { return *store_; }

private:
    struct Entry {
        QString code;
        Decimal saleValue;
        QString dataSource;
        QDateTime actualDate;
    };
    using Key = std::pair<QString, QString>;  // data source, code
    struct Pending {
        Entry entry;
        quint64 table = 0;
    };
    std::optional<Entry> getDbCurrencyInfoForCode(const QString& code, const QString& dataSource);
    void writeTable(const QList<Entry>& rows);

    std::unique_ptr<SqliteStore> store_;
    /// Rows queued and not yet written, by key, with the number of the table that brought them.
    QMutex pendingLock_;
    std::map<Key, Pending> pending_;
    quint64 tableCounter_ = 0;
    std::unique_ptr<OperationQueue> operationQueue_;
};
