#pragma once

#include <QDateTime>
#include <QMutex>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

#include <memory>
#include <optional>

/// The settings store: values the user set, persisted in one property-list file, plus a
/// registration domain of defaults that is consulted when no value is stored and is never
/// written to disk.
///
/// Writes stay in memory until `synchronize`, which reloads the file (so that changes made by
/// another process, the CLI beside the app, become visible) and saves the keys changed here on
/// top of it, atomically and under a lock file ("Numiva.plist.lock"), so two programs saving at
/// once keep each other's changes. Setting a value a key already has changes nothing, and a
/// store without changes never writes. A failed save keeps the old file and the pending
/// changes, and is reported through `StorageErrors`. Safe to use from several threads.
class UserDefaults {
public:
    /// Uses (and creates on the first save) the file at `filePath`.
    explicit UserDefaults(QString filePath);

    /// The process-wide store in the data directory's "Library/Preferences/Numiva.plist".
    /// Created on first use; `resetStandardUserDefaults` drops it so that the next use reads
    /// the data directory again (tests, and the CLI's `--data-dir`).
    static UserDefaults& standardUserDefaults();
    static void resetStandardUserDefaults();

    QString filePath() const { return filePath_; }

    /// The stored value, else the registered one, else an invalid QVariant.
    QVariant objectForKey(const QString& key) const;
    bool hasValueForKey(const QString& key) const { return objectForKey(key).isValid(); }
    /// The stored value only (no registration domain).
    QVariant persistentObjectForKey(const QString& key) const;

    QString stringForKey(const QString& key) const;
    /// False when absent; texts "YES", "true" and "1" read as true, numbers by their value.
    bool boolForKey(const QString& key) const;
    std::optional<double> numberForKey(const QString& key) const;
    QStringList stringArrayForKey(const QString& key) const;
    QVariantList arrayForKey(const QString& key) const;
    QDateTime dateForKey(const QString& key) const;

    /// An invalid value removes the key.
    void setObject(const QVariant& value, const QString& key);
    void removeObjectForKey(const QString& key);

    /// Merges into the registration domain; later registrations of a key win.
    void registerDefaults(const QVariantMap& defaults);
    QVariantMap registeredDefaults() const;

    /// Reloads the file and writes this store's pending changes over it. False when saving failed
    /// (the changes then stay pending; `lastError` says why).
    bool synchronize();
    QString lastError() const;

    /// How long a save waits for another program's lock (5 s unless changed; tests).
    void setLockTimeout(int milliseconds) { lockTimeoutMs_ = milliseconds; }

private:
    enum class FileState { Read, Missing, Unreadable, Damaged };
    /// Reads the file into `stored_` with this store's unsaved changes on top.
    FileState loadLocked();
    bool failLocked(const QString& reason);
    QString filePath_;
    mutable QMutex mutex_;
    QVariantMap stored_;
    QVariantMap registered_;
    /// Keys set or removed here since the last save.
    QSet<QString> changedKeys_;
    /// The file as last read (without the changes made here).
    QVariantMap onDisk_;
    /// Which file `onDisk_` was read from (device, inode, size, change times): the same file
    /// is not parsed again. Savers replace the file in one rename, so a change is a new inode.
    QByteArray onDiskIdentity_;
    QString lastError_;
    int lockTimeoutMs_ = 5000;
};
