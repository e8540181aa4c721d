#include "CCurrencyDataSourceInfo.h"

#include "Localization.h"
#include "Resources.h"

#include <QFileInfo>
#include <QUrl>

CCurrencyDataSourceInfo::CCurrencyDataSourceInfo(const CCustomDataSourceStorageManager& registry)
    : CCurrencyDataSourceInfo(
          Resources::propertyList(QStringLiteral("CurrencyDataSources")).toMap(), registry) {}

CCurrencyDataSourceInfo::CCurrencyDataSourceInfo(QVariantMap builtIn,
                                                 const CCustomDataSourceStorageManager& registry)
    : registry_(&registry) {
    for (auto it = builtIn.cbegin(); it != builtIn.cend(); ++it) {
        builtIn_.insert(it.key(), it->toStringList());
    }
}

QStringList CCurrencyDataSourceInfo::getAllDataSourceIds() const {
    QStringList ids = builtIn_.keys();
    for (const CCustomDataSourceEntity& entry : registry_->getAllDataSources()) {
        ids.append(entry.url);
    }
    return ids;
}

QStringList CCurrencyDataSourceInfo::getAvailableCurrencyCodes(const QString& identifier) const {
    auto it = builtIn_.constFind(identifier);
    if (it != builtIn_.constEnd()) {
        return *it;
    }
    if (auto entry = registry_->getDataSourceWithUrl(identifier)) {
        return entry->currenciesList.value_or(QStringList());
    }
    return {};
}

void CCurrencyDataSourceInfo::setAvailableCurrencyCodes(const QString& identifier,
                                                        const QStringList& codes) {
    if (!codes.isEmpty() && builtIn_.contains(identifier)) {
        builtIn_.insert(identifier, codes);
    }
}

bool CCurrencyDataSourceInfo::isCustomDataSource(const QString& identifier) const {
    return !builtIn_.contains(identifier);
}

QString CCurrencyDataSourceInfo::getDataSourceDisplayName(const QString& identifier) const {
    if (!isCustomDataSource(identifier)) {
        return Localization::localizedString(identifier + QStringLiteral("-CurrencyDataSource"));
    }
    if (auto entry = registry_->getDataSourceWithUrl(identifier); entry && entry->displayName) {
        return *entry->displayName;
    }
    return Localization::localizedString(QStringLiteral("CustomDataSource"));
}

QString CCurrencyDataSourceInfo::getDataSourceShortName(const QString& identifier) const {
    if (!isCustomDataSource(identifier)) {
        return Localization::localizedString(identifier +
                                             QStringLiteral("-CurrencyDataSourceShort"));
    }
    if (auto entry = registry_->getDataSourceWithUrl(identifier); entry && entry->displayName) {
        return *entry->displayName;
    }
    const QString host = QUrl(identifier).host();
    return host.isEmpty() ? identifier : host;
}

QString CCurrencyDataSourceInfo::getDataSourceDescription(const QString& identifier) const {
    if (isCustomDataSource(identifier)) {
        return {};
    }
    const QString key = identifier + QStringLiteral("-CurrencyDataSourceDescription");
    const QString text = Localization::localizedString(key);
    if (text == key) {
        return {};
    }
    return text.arg(getAvailableCurrencyCodes(identifier).size());
}

QString CCurrencyDataSourceInfo::getDataSourceLogo(const QString& identifier) const {
    if (!isCustomDataSource(identifier)) {
        return Resources::imagePath(identifier + QStringLiteral("-dataSource"));
    }
    if (auto entry = registry_->getDataSourceWithUrl(identifier); entry && entry->logoImagePath) {
        const QFileInfo file(*entry->logoImagePath);
        if (file.isFile() && file.isReadable() && file.size() > 0) {
            return *entry->logoImagePath;
        }
    }
    return Resources::imagePath(QStringLiteral("dsPlaceholder"));
}
