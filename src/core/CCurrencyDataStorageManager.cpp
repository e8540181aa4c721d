#include "CCurrencyDataStorageManager.h"

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
    return q.exec(
        QStringLiteral("CREATE TABLE CurrencyInfo ("
                       " dataSource TEXT NOT NULL,"
                       " code TEXT NOT NULL,"
                       " saleValue TEXT,"      // exact decimal text; "NaN" for no rate
                       " actualDate INTEGER,"  // milliseconds since 1970, UTC
                       " PRIMARY KEY (dataSource, code))"));
}

}  // namespace

CCurrencyDataStorageManager::CCurrencyDataStorageManager(const QString& filePath) {
    store_ = SqliteStore::inLibrary(filePath, QStringLiteral("CurrencyDataStorage.sqlite"),
                                    kSchemaVersion, createSchema, SqliteStore::Durability::Cache);
    operationQueue_ = std::make_unique<OperationQueue>(QStringLiteral("CurrencyDataStorage"));
}

CCurrencyDataStorageManager::~CCurrencyDataStorageManager() {
    // The worker's connection must be closed on the worker before the store goes away.
    operationQueue_->addOperation([this](const Operation&) { store_->releaseThreadConnection(); });
    operationQueue_.reset();
    store_.reset();
}

void CCurrencyDataStorageManager::addCurrenciesInfoAsync(const CCBRCurrenciesInfo& table,
                                                         const QString& dataSource) {
    QList<Entry> rows;
    rows.reserve(table.currenciesInfo.size());
    for (const CCBRCurrencyInfoPtr& row : table.currenciesInfo) {
        // A row without a code has no place in the cache and must not fail the others; one
        // without a rate must never replace a stored one.
        if (row && !row->isoTextCode.isEmpty() && !row->saleValue.isNaN()) {
            rows.append({row->isoTextCode, row->saleValue, dataSource, row->actualDate});
        }
    }
    if (rows.isEmpty()) {
        return;
    }
    quint64 number = 0;
    {
        QMutexLocker lock(&pendingLock_);
        number = ++tableCounter_;
        for (const Entry& row : rows) {
            pending_[{row.dataSource, row.code}] = {row, number};
        }
    }
    operationQueue_->addOperation([this, rows = std::move(rows), number](const Operation&) {
        writeTable(rows);
        QMutexLocker lock(&pendingLock_);
        for (const Entry& row : rows) {
            auto it = pending_.find({row.dataSource, row.code});
            if (it != pending_.end() && it->second.table == number) {
                pending_.erase(it);
            }
        }
    });
}

void CCurrencyDataStorageManager::writeTable(const QList<Entry>& rows) {
    QSqlDatabase db = store_->writeConnection();
    if (!db.isValid()) {
        return;  // the store has told the user
    }
    QSqlQuery q(db);
    // One transaction per table: one wait for another program's lock, one outcome.
    bool ok = q.exec(QStringLiteral("BEGIN IMMEDIATE"));
    QString error = q.lastError().text();
    ok = ok && q.prepare(QStringLiteral(
                   "INSERT INTO CurrencyInfo (dataSource, code, saleValue, actualDate) "
                   "VALUES (?, ?, ?, ?) "
                   "ON CONFLICT (dataSource, code) DO UPDATE SET "
                   "saleValue = excluded.saleValue, actualDate = excluded.actualDate"));
    for (qsizetype i = 0; ok && i < rows.size(); ++i) {
        const Entry& row = rows[i];
        q.bindValue(0, row.dataSource);
        q.bindValue(1, row.code);
        q.bindValue(2, row.saleValue.toString());
        q.bindValue(3, row.actualDate.isValid() ? QVariant(row.actualDate.toMSecsSinceEpoch())
                                                : QVariant(QMetaType(QMetaType::LongLong)));
        ok = q.exec();
    }
    if (!ok) {
        error = q.lastError().text();
    }
    q.finish();
    QSqlQuery commit(db);
    ok = ok && commit.exec(QStringLiteral("COMMIT"));
    if (!ok) {
        if (error.isEmpty()) {
            error = commit.lastError().text();
        }
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        nlog(QStringLiteral("Cannot save currency info: %1").arg(error));
        store_->reportWriteFailure(error);
    }
}

std::optional<CCurrencyDataStorageManager::Entry>
CCurrencyDataStorageManager::getDbCurrencyInfoForCode(const QString& code,
                                                      const QString& dataSource) {
    QSqlDatabase db = store_->readConnection();
    if (!db.isValid()) {
        return std::nullopt;
    }
    QSqlQuery q(db);
    q.prepare(
        QStringLiteral("SELECT code, saleValue, dataSource, actualDate FROM CurrencyInfo WHERE "
                       "dataSource = ? AND code = ?"));
    q.bindValue(0, dataSource);
    q.bindValue(1, code);
    if (!q.exec()) {
        nlog(QStringLiteral("Cannot get currency info: %1").arg(q.lastError().text()));
        return std::nullopt;
    }
    if (!q.next()) {
        return std::nullopt;
    }
    Entry entry;
    entry.code = q.value(0).toString();
    entry.saleValue = Decimal::fromString(q.value(1).toString());
    entry.dataSource = q.value(2).toString();
    if (!q.value(3).isNull()) {
        entry.actualDate =
            QDateTime::fromMSecsSinceEpoch(q.value(3).toLongLong(), QTimeZone::utc());
    }
    return entry;
}

CCBRCurrencyInfoPtr CCurrencyDataStorageManager::getCurrencyInfoForCode(const QString& code,
                                                                        const QString& dataSource) {
    // A table queued before this read is part of what the caller expects to find.
    std::optional<Entry> entry;
    {
        QMutexLocker lock(&pendingLock_);
        auto it = pending_.find({dataSource, code});
        if (it != pending_.end()) {
            entry = it->second.entry;
        }
    }
    if (!entry) {
        entry = getDbCurrencyInfoForCode(code, dataSource);
    }
    if (!entry) {
        return nullptr;
    }
    auto row = std::make_shared<CCBRCurrencyInfo>();
    row->isoTextCode = entry->code;
    row->saleValue = entry->saleValue;
    // The stored date, never the moment of the read: a cached rate is as old as it was.
    row->actualDate = entry->actualDate;
    row->nominalValue = 1;
    row->dataSource = entry->dataSource;
    row->fromCache = true;
    return row;
}

void CCurrencyDataStorageManager::prepareWriter() {
    // A read connection on the writer is its write connection, without creating a missing file.
    operationQueue_->addOperation([this](const Operation&) { store_->readConnection(); });
}

void CCurrencyDataStorageManager::waitForPendingWrites() {
    operationQueue_->waitUntilAllOperationsAreFinished();
}
