#pragma once

#include "CCurrencyChartInfo.h"
#include "OperationQueue.h"
#include "SqliteStore.h"

#include <QByteArray>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>
#include <optional>
#include <tuple>

/// The chart cache: the last chart record delivered per (data source, period, currency pair), in
/// "ChartDataStorage.sqlite" in the library directory. Entries are only added or overwritten.
///
/// Main thread only. Writes are archived and saved on the manager's own queue, so a whole
/// history (thousands of points) never holds up the caller; a read answers a record handed
/// over but not saved yet from memory, the rest from the file. The file is created by the first
/// write. When the store cannot be used, reads yield nothing and writes do nothing; a failed
/// save reaches the user through `StorageErrors`, fetch errors are logged.
class CChartDataStorageManager {
public:
    /// Empty `filePath`: the library directory's "ChartDataStorage.sqlite".
    explicit CChartDataStorageManager(const QString& filePath = {});
    /// Finishes the writes still queued.
    ~CChartDataStorageManager();
    CChartDataStorageManager(const CChartDataStorageManager&) = delete;
    CChartDataStorageManager& operator=(const CChartDataStorageManager&) = delete;

    /// Stores `info` under `dataSource` and the record's own pair and period, replacing what was
    /// stored under that key. Returns at once; the record is saved on the queue.
    void addChartInfo(const CCurrencyChartInfo& info, const QString& dataSource);
    /// The record stored for `pair` (first code, last code), `period` and `dataSource`, or
    /// nothing (also for a pair that is not two codes, or stored data that cannot be read).
    std::optional<CCurrencyChartInfo> getChartInfoForCurrencyPair(const QStringList& pair,
                                                                  int period,
                                                                  const QString& dataSource);

    /// Blocks until every queued write has finished.
    void waitForPendingWrites();
    const SqliteStore& store() const { return *store_; }

private:
    using Key = std::tuple<QString, qint32, QString, QString>;  // source, period, first, last
    struct Pending {
        CCurrencyChartInfo record;
        quint64 number = 0;
    };
    void writeChartInfo(const Key& key, const CCurrencyChartInfo& info);

    struct ChartInfoEntity {
        QString dataSource;
        qint32 chartPeriod = 0;
        QString firstCurrencyCode;
        QString lastCurrencyCode;
        QByteArray chartData;
    };
    std::optional<ChartInfoEntity> getChartEntityForCurrencyPair(const QStringList& pair,
                                                                 int period,
                                                                 const QString& dataSource);

    std::unique_ptr<SqliteStore> store_;
    /// Records handed over and not saved yet, with the number of the write that brought them.
    QMutex pendingLock_;
    std::map<Key, Pending> pending_;
    quint64 writeCounter_ = 0;
    std::unique_ptr<OperationQueue> operationQueue_;
};
