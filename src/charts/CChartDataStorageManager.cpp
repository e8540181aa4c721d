#include "CChartDataStorageManager.h"

#include "CFileOperations.h"
#include "Log.h"

#include <QSqlError>
#include <QSqlQuery>

namespace {

constexpr int kSchemaVersion = 1;

bool createSchema(QSqlDatabase& db, int fromVersion) {
    if (fromVersion >= 1) {
        return true;
    }
    QSqlQuery q(db);
    return q.exec(QStringLiteral(
        "CREATE TABLE ChartInfoEntity ("
        " dataSource TEXT NOT NULL,"
        " chartPeriod INTEGER NOT NULL,"
        " firstCurrencyCode TEXT NOT NULL,"
        " lastCurrencyCode TEXT NOT NULL,"
        " chartData BLOB,"  // the record's keyed archive (CBOR)
        " PRIMARY KEY (dataSource, chartPeriod, firstCurrencyCode, lastCurrencyCode))"));
}

}  // namespace

CChartDataStorageManager::CChartDataStorageManager(const QString& filePath) {
    store_ = SqliteStore::inLibrary(filePath, QStringLiteral("ChartDataStorage.sqlite"),
                                    kSchemaVersion, createSchema);
}

CChartDataStorageManager::~CChartDataStorageManager() = default;

void CChartDataStorageManager::addChartInfo(const CCurrencyChartInfo& info,
                                            const QString& dataSource) {
    QSqlDatabase db = store_->writeConnection();
    if (!db.isValid()) {
        return;
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral(
        "INSERT INTO ChartInfoEntity (dataSource, chartPeriod, firstCurrencyCode, lastCurrencyCode,"
        " chartData) VALUES (?, ?, ?, ?, ?) "
        "ON CONFLICT (dataSource, chartPeriod, firstCurrencyCode, lastCurrencyCode) DO UPDATE SET "
        "chartData = excluded.chartData"));
    q.bindValue(0, dataSource);
    q.bindValue(1, info.chartPeriod);
    q.bindValue(2, info.firstCurrencyCode);
    q.bindValue(3, info.lastCurrencyCode);
    q.bindValue(4, info.toArchiveData());
    if (!q.exec()) {
        nlog(QStringLiteral("Cannot save chart info: %1").arg(q.lastError().text()));
        store_->reportWriteFailure(q.lastError().text());
    }
}

std::optional<CChartDataStorageManager::ChartInfoEntity>
CChartDataStorageManager::getChartEntityForCurrencyPair(const QStringList& pair, int period,
                                                        const QString& dataSource) {
    if (pair.size() != 2) {
        return std::nullopt;
    }
    QSqlDatabase db = store_->readConnection();
    if (!db.isValid()) {
        return std::nullopt;
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral(
        "SELECT dataSource, chartPeriod, firstCurrencyCode, lastCurrencyCode, chartData"
        " FROM ChartInfoEntity WHERE dataSource = ? AND chartPeriod = ? AND firstCurrencyCode = ?"
        " AND lastCurrencyCode = ?"));
    q.bindValue(0, dataSource);
    q.bindValue(1, period);
    q.bindValue(2, pair.at(0));
    q.bindValue(3, pair.at(1));
    if (!q.exec()) {
        nlog(QStringLiteral("Cannot get chart info: %1").arg(q.lastError().text()));
        return std::nullopt;
    }
    if (!q.next()) {
        return std::nullopt;
    }
    ChartInfoEntity entity;
    entity.dataSource = q.value(0).toString();
    entity.chartPeriod = q.value(1).toInt();
    entity.firstCurrencyCode = q.value(2).toString();
    entity.lastCurrencyCode = q.value(3).toString();
    entity.chartData = q.value(4).toByteArray();
    return entity;
}

std::optional<CCurrencyChartInfo> CChartDataStorageManager::getChartInfoForCurrencyPair(
    const QStringList& pair, int period, const QString& dataSource) {
    const auto entity = getChartEntityForCurrencyPair(pair, period, dataSource);
    if (!entity) {
        return std::nullopt;
    }
    auto info = CCurrencyChartInfo::fromArchiveData(entity->chartData);
    if (!info) {
        nlog(QStringLiteral("Cannot get chart info: %1")
                 .arg(QStringLiteral("the stored chart data cannot be read")));
    }
    return info;
}
