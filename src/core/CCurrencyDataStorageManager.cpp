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
    const QString path =
        filePath.isEmpty()
            ? CFileOperations::getLibraryFilePath(QStringLiteral("CurrencyDataStorage.sqlite"))
            : filePath;
    store_ = std::make_unique<SqliteStore>(path, kSchemaVersion, createSchema);
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
        if (row) {
            rows.append({row->isoTextCode, row->saleValue, dataSource, row->actualDate});
        }
    }
    operationQueue_->addOperation([this, rows = std::move(rows)](const Operation&) {
        QMutexLocker lock(&contextLock_);
        if (!hasStore()) {
            return;
        }
        QSqlDatabase db = store_->connection();
        QSqlQuery q(db);
        q.prepare(
            QStringLiteral("INSERT INTO CurrencyInfo (dataSource, code, saleValue, actualDate) "
                           "VALUES (?, ?, ?, ?) "
                           "ON CONFLICT (dataSource, code) DO UPDATE SET "
                           "saleValue = excluded.saleValue, actualDate = excluded.actualDate"));
        // Each row is saved on its own: a failing row does not cost the others.
        for (const Entry& row : rows) {
            q.bindValue(0, row.dataSource);
            q.bindValue(1, row.code);
            q.bindValue(2, row.saleValue.toString());
            q.bindValue(3, row.actualDate.isValid() ? QVariant(row.actualDate.toMSecsSinceEpoch())
                                                    : QVariant(QMetaType(QMetaType::LongLong)));
            if (!q.exec()) {
                nlog(QStringLiteral("Cannot save currency info: %1").arg(q.lastError().text()));
            }
        }
    });
}

std::optional<CCurrencyDataStorageManager::Entry>
CCurrencyDataStorageManager::getDbCurrencyInfoForCode(const QString& code,
                                                      const QString& dataSource) {
    if (!hasStore()) {
        return std::nullopt;
    }
    QSqlDatabase db = store_->connection();
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
    operationQueue_->waitUntilAllOperationsAreFinished();
    QMutexLocker lock(&contextLock_);
    const auto entry = getDbCurrencyInfoForCode(code, dataSource);
    if (!entry) {
        return nullptr;
    }
    auto row = std::make_shared<CCBRCurrencyInfo>();
    row->isoTextCode = entry->code;
    row->saleValue = entry->saleValue;
    row->actualDate = entry->actualDate;
    row->nominalValue = 1;
    return row;
}

void CCurrencyDataStorageManager::waitForPendingWrites() {
    operationQueue_->waitUntilAllOperationsAreFinished();
}
