#include "CCustomDataSourceStorageManager.h"

#include "AtomicFile.h"
#include "CFileOperations.h"
#include "Localization.h"
#include "Log.h"
#include "StorageErrors.h"

#include <QCborArray>
#include <QCborValue>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {

constexpr int kSchemaVersion = 1;

bool createSchema(QSqlDatabase& db, int fromVersion) {
    if (fromVersion >= 1) {
        return true;
    }
    return QSqlQuery(db).exec(
        QStringLiteral("CREATE TABLE CustomDataSourceEntity ("
                       " id INTEGER PRIMARY KEY AUTOINCREMENT,"
                       " url TEXT NOT NULL,"
                       " displayName TEXT,"
                       " logoImagePath TEXT,"
                       " currenciesListRaw BLOB)"));  // the code list as a CBOR array of texts
}

QByteArray archive(const QStringList& codes) {
    return QCborValue(QCborArray::fromStringList(codes)).toCbor();
}

std::optional<QStringList> unarchive(const QVariant& raw) {
    if (raw.isNull()) {
        return std::nullopt;
    }
    const QCborValue value = QCborValue::fromCbor(raw.toByteArray());
    if (!value.isArray()) {
        return std::nullopt;
    }
    QStringList codes;
    for (const QCborValue& item : value.toArray()) {
        codes.append(item.toString());
    }
    return codes;
}

std::optional<QString> optionalText(const QVariant& v) {
    return v.isNull() ? std::nullopt : std::optional<QString>(v.toString());
}

QVariant nullable(const std::optional<QString>& text) {
    return text ? QVariant(*text) : QVariant(QMetaType(QMetaType::QString));
}

std::unique_ptr<CCustomDataSourceStorageManager> shared;

}  // namespace

CCustomDataSourceStorageManager& CCustomDataSourceStorageManager::sharedInstance() {
    if (!shared) {
        shared = std::make_unique<CCustomDataSourceStorageManager>();
        // Closed before the application (and with it the SQL driver) goes away.
        if (QCoreApplication::instance() != nullptr) {
            qAddPostRoutine(&CCustomDataSourceStorageManager::resetSharedInstance);
        }
    }
    return *shared;
}

void CCustomDataSourceStorageManager::resetSharedInstance() {
    shared.reset();
}

CCustomDataSourceStorageManager::CCustomDataSourceStorageManager(const QString& filePath,
                                                                 const QString& logoDirectory) {
    logoDirectory_ = logoDirectory;
    if (logoDirectory_.isEmpty()) {
        // Named, not made: the folders appear with the first logo, so a run that stores no
        // logo leaves the data directory as it was.
        const QString root = CFileOperations::getDataDirectory();
        logoDirectory_ =
            root.isEmpty()
                ? QString()
                : QDir::cleanPath(root + QStringLiteral("/Library/Caches/DataSourceLogos"));
    }
    store_ = SqliteStore::inLibrary(filePath, QStringLiteral("CustomDataSourceStorage.sqlite"),
                                    kSchemaVersion, createSchema);
}

void CCustomDataSourceStorageManager::execChange(QSqlQuery& q) {
    if (!q.exec()) {
        nlog(QStringLiteral("Cannot save changes: %1").arg(q.lastError().text()));
        store_->reportWriteFailure(q.lastError().text());
    }
}

void CCustomDataSourceStorageManager::addDataSourceWithUrl(const QString& url) {
    if (getDataSourceWithUrl(url)) {
        return;
    }
    QSqlDatabase db = store_->writeConnection();
    if (!db.isValid()) {
        return;
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO CustomDataSourceEntity (url) VALUES (?)"));
    q.bindValue(0, url);
    execChange(q);
}

namespace {

bool writeLogo(const QString& path, const QByteArray& bytes) {
    QString error;
    if (AtomicFile::write(path, bytes, &error)) {
        return true;
    }
    StorageErrors::report(
        StorageErrors::Kind::Failure,
        Localization::localizedString(QStringLiteral("FileWriteFailedMessage")).arg(path, error));
    return false;
}

bool sameContents(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.size() == bytes.size() && file.open(QIODevice::ReadOnly) && file.readAll() == bytes;
}

}  // namespace

std::optional<QString> CCustomDataSourceStorageManager::storeLogo(
    const std::optional<QString>& currentPath, const std::optional<QByteArray>& logo,
    bool* written) const {
    *written = false;
    // Only a file we generated is ever overwritten, whatever the store says.
    const bool ours =
        currentPath && !logoDirectory_.isEmpty() &&
        QFileInfo(*currentPath).absolutePath() == QFileInfo(logoDirectory_).absoluteFilePath();
    if (ours && QFileInfo::exists(*currentPath)) {
        // An unchanged logo is left alone: no rewrite every time the feed is read.
        if (logo && !sameContents(*currentPath, *logo)) {
            *written = writeLogo(*currentPath, *logo);
        }
        return currentPath;
    }
    if (logoDirectory_.isEmpty()) {
        return currentPath;
    }
    QDir().mkpath(logoDirectory_);
    const QString path =
        QStringLiteral("%1/%2.jpeg")
            .arg(logoDirectory_, QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper());
    if (!writeLogo(path, logo.value_or(QByteArray()))) {
        return currentPath;
    }
    *written = true;
    return path;
}

bool CCustomDataSourceStorageManager::updateDataSource(const QString& url,
                                                       const CCustomDataSourceInfo& info) {
    const auto entity = getDataSourceWithUrl(url);
    if (!entity || store_->state() != SqliteStore::State::Open) {
        return false;
    }
    bool logoWritten = false;
    const std::optional<QString> logoPath =
        storeLogo(entity->logoImagePath, info.logoImageData, &logoWritten);
    if (entity->displayName == info.displayName && entity->currenciesList == info.currenciesList &&
        entity->logoImagePath == logoPath) {
        return logoWritten;
    }
    QSqlDatabase db = store_->writeConnection();
    if (!db.isValid()) {
        return logoWritten;
    }
    QSqlQuery q(db);
    q.prepare(
        QStringLiteral("UPDATE CustomDataSourceEntity SET displayName = ?, currenciesListRaw = ?, "
                       "logoImagePath = ? WHERE url = ?"));
    q.bindValue(0, nullable(info.displayName));
    q.bindValue(1, archive(info.currenciesList));
    q.bindValue(2, nullable(logoPath));
    q.bindValue(3, url);
    execChange(q);
    return true;
}

void CCustomDataSourceStorageManager::removeDataSource(const QString& url) {
    if (!getDataSourceWithUrl(url)) {
        return;  // nothing to change, so nothing is written
    }
    QSqlDatabase db = store_->writeConnection();
    if (!db.isValid()) {
        return;
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral("DELETE FROM CustomDataSourceEntity WHERE url = ?"));
    q.bindValue(0, url);
    execChange(q);
}

std::optional<CCustomDataSourceEntity> CCustomDataSourceStorageManager::getDataSourceWithUrl(
    const QString& url) const {
    QSqlDatabase db = store_->readConnection();
    if (!db.isValid()) {
        return std::nullopt;
    }
    QSqlQuery q(db);
    q.prepare(QStringLiteral(
        "SELECT url, displayName, logoImagePath, currenciesListRaw FROM CustomDataSourceEntity "
        "WHERE url = ? ORDER BY id DESC LIMIT 1"));
    q.bindValue(0, url);
    if (!q.exec()) {
        nlog(QStringLiteral("Cannot get custom data source: %1").arg(q.lastError().text()));
        return std::nullopt;
    }
    if (!q.next()) {
        return std::nullopt;
    }
    return CCustomDataSourceEntity{q.value(0).toString(), optionalText(q.value(1)),
                                   optionalText(q.value(2)), unarchive(q.value(3))};
}

QList<CCustomDataSourceEntity> CCustomDataSourceStorageManager::getAllDataSources() const {
    QList<CCustomDataSourceEntity> all;
    QSqlDatabase db = store_->readConnection();
    if (!db.isValid()) {
        return all;
    }
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT url, displayName, logoImagePath, currenciesListRaw FROM "
                               "CustomDataSourceEntity ORDER BY id"))) {
        nlog(QStringLiteral("Cannot get custom data sources: %1").arg(q.lastError().text()));
        return all;
    }
    while (q.next()) {
        all.append({q.value(0).toString(), optionalText(q.value(1)), optionalText(q.value(2)),
                    unarchive(q.value(3))});
    }
    return all;
}
