#pragma once

#include <QMutex>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

/// Named notifications with a sender object, delivered synchronously on the posting thread.
///
/// An observer names the notification and, optionally, the only sender it wants to hear from.
/// Observers added or removed while a notification is being delivered take effect from the next
/// post; an observer removed during delivery is not called afterwards.
class NotificationCenter {
public:
    using Observer = std::function<void(const QString& name, const void* sender)>;
    using Token = std::uint64_t;

    static NotificationCenter& defaultCenter();

    /// `sender` nullptr observes posts from any sender. `owner` groups observers for
    /// `removeObserver(owner)`.
    Token addObserver(const void* owner, const QString& name, const void* sender, Observer observer);
    void removeObserver(Token token);
    /// Removes every observer added with that owner.
    void removeObserver(const void* owner);

    void post(const QString& name, const void* sender);

private:
    struct Entry {
        Token token;
        const void* owner;
        QString name;
        const void* sender;
        std::shared_ptr<Observer> observer;
    };
    mutable QMutex mutex_;
    std::vector<Entry> entries_;
    Token next_ = 1;
};
