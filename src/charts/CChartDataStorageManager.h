#pragma once

#include "CCurrencyChartInfo.h"
#include "SqliteStore.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

/// The chart cache: the last chart record delivered per (data source, period, currency pair), in
/// "ChartDataStorage.sqlite" in the library directory. Entries are only added or overwritten.
///
/// Main thread only. The file is created by the first write. When the store cannot be used,
/// reads yield nothing and writes do nothing; a failed save reaches the user through
/// `StorageErrors`, fetch errors are logged.
class CChartDataStorageManager {
public:
    /// Empty `filePath`: the library directory's "ChartDataStorage.sqlite".
    explicit CChartDataStorageManager(const QString& filePath = {});
    ~CChartDataStorageManager();
    CChartDataStorageManager(const CChartDataStorageManager&) = delete;
    CChartDataStorageManager& operator=(const CChartDataStorageManager&) = delete;

    /// Stores `info` under `dataSource` and the record's own pair and period, replacing what was
    /// stored under that key.
    void addChartInfo(const CCurrencyChartInfo& info, const QString& dataSource);
    /// The record stored for `pair` (first code, last code), `period` and `dataSource`, or
    /// nothing (also for a pair that is not two codes, or stored data that cannot be read).
    std::optional<CCurrencyChartInfo> getChartInfoForCurrencyPair(const QStringList& pair,
                                                                  int period,
                                                                  const QString& dataSource);

    const SqliteStore& store() const { return *store_; }

private:
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
};
