#include "CChartDataStorageManager.h"

#include "CFileOperations.h"
#include "Log.h"

#include <QMutexLocker>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimeZone>

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
                                    kSchemaVersion, createSchema, SqliteStore::Durability::Cache);
    operationQueue_ = std::make_unique<OperationQueue>(QStringLiteral("ChartDataStorage"));
}

CChartDataStorageManager::~CChartDataStorageManager() {
    // The worker's connection must be closed on the worker before the store goes away.
    operationQueue_->addOperation([this](const Operation&) { store_->releaseThreadConnection(); });
    operationQueue_.reset();
    store_.reset();
}

void CChartDataStorageManager::addChartInfo(const CCurrencyChartInfo& info,
                                            const QString& dataSource) {
    // The points are shared, not copied: handing over a whole history costs next to nothing.
    Key key{dataSource, info.chartPeriod, info.firstCurrencyCode, info.lastCurrencyCode};
    quint64 number = 0;
    {
        QMutexLocker lock(&pendingLock_);
        number = ++writeCounter_;
        pending_[key] = {info, number};
    }
    operationQueue_->addOperation([this, key = std::move(key), info, number](const Operation&) {
        writeChartInfo(key, info);
        QMutexLocker lock(&pendingLock_);
        auto it = pending_.find(key);
        if (it != pending_.end() && it->second.number == number) {
            pending_.erase(it);
        }
    });
}

void CChartDataStorageManager::waitForPendingWrites() {
    operationQueue_->waitUntilAllOperationsAreFinished();
}

void CChartDataStorageManager::writeChartInfo(const Key& key, const CCurrencyChartInfo& info) {
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
    q.bindValue(0, std::get<0>(key));
    q.bindValue(1, std::get<1>(key));
    q.bindValue(2, std::get<2>(key));
    q.bindValue(3, std::get<3>(key));
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
    if (pair.size() == 2) {
        // A record handed over before this read is what the caller expects to find.
        std::optional<CCurrencyChartInfo> pending;
        {
            QMutexLocker lock(&pendingLock_);
            auto it = pending_.find(Key{dataSource, period, pair.at(0), pair.at(1)});
            if (it != pending_.end()) {
                pending = it->second.record;
            }
        }
        if (pending) {
            // As the archive gives it back: instants in UTC.
            auto toUtc = [](QDateTime& date) {
                if (date.isValid() && date.timeSpec() != Qt::UTC) {
                    date = date.toUTC();
                }
            };
            toUtc(pending->minDate);
            toUtc(pending->maxDate);
            for (qsizetype i = 0; i < pending->plotPoints.size(); ++i) {
                if (pending->plotPoints.at(i).date.isValid() &&
                    pending->plotPoints.at(i).date.timeSpec() != Qt::UTC) {
                    toUtc(pending->plotPoints[i].date);
                }
            }
            return pending;
        }
    }
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
