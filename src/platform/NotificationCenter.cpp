#include "NotificationCenter.h"

#include <QMutexLocker>

#include <algorithm>
#include <memory>

NotificationCenter& NotificationCenter::defaultCenter() {
    static NotificationCenter center;
    return center;
}

NotificationCenter::Token NotificationCenter::addObserver(const void* owner, const QString& name,
                                                          const void* sender, Observer observer) {
    QMutexLocker lock(&mutex_);
    const Token token = next_++;
    entries_.push_back({token, owner, name, sender, std::make_shared<Observer>(std::move(observer))});
    return token;
}

void NotificationCenter::removeObserver(Token token) {
    QMutexLocker lock(&mutex_);
    std::erase_if(entries_, [token](const Entry& e) { return e.token == token; });
}

void NotificationCenter::removeObserver(const void* owner) {
    QMutexLocker lock(&mutex_);
    std::erase_if(entries_, [owner](const Entry& e) { return e.owner == owner; });
}

void NotificationCenter::post(const QString& name, const void* sender) {
    std::vector<std::pair<Token, std::shared_ptr<Observer>>> targets;
    {
        QMutexLocker lock(&mutex_);
        for (const Entry& e : entries_) {
            if (e.name == name && (e.sender == nullptr || e.sender == sender)) {
                targets.emplace_back(e.token, e.observer);
            }
        }
    }
    for (const auto& [token, observer] : targets) {
        {
            // Skip observers that an earlier observer of this post removed.
            QMutexLocker lock(&mutex_);
            if (std::none_of(entries_.begin(), entries_.end(),
                             [t = token](const Entry& e) { return e.token == t; })) {
                continue;
            }
        }
        (*observer)(name, sender);
    }
}
