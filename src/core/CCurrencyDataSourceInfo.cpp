#include "CCurrencyDataSourceInfo.h"

#include "Localization.h"
#include "Resources.h"

#include <QFileInfo>

CCurrencyDataSourceInfo::CCurrencyDataSourceInfo(const CCustomDataSourceLookup* custom)
    : CCurrencyDataSourceInfo(Resources::propertyList(QStringLiteral("CurrencyDataSources")).toMap(), custom) {}

CCurrencyDataSourceInfo::CCurrencyDataSourceInfo(QVariantMap builtIn, const CCustomDataSourceLookup* custom)
    : builtIn_(std::move(builtIn)), custom_(custom) {}

QStringList CCurrencyDataSourceInfo::getAllDataSourceIds() const {
    QStringList ids = builtIn_.keys();
    if (custom_ != nullptr) {
        for (const CCustomDataSourceEntry& entry : custom_->getAllDataSources()) {
            ids.append(entry.url);
        }
    }
    return ids;
}

QStringList CCurrencyDataSourceInfo::getAvailableCurrencyCodes(const QString& identifier) const {
    auto it = builtIn_.constFind(identifier);
    if (it != builtIn_.constEnd()) {
        return it->toStringList();
    }
    if (custom_ != nullptr) {
        if (auto entry = custom_->getDataSourceWithUrl(identifier)) {
            return entry->currenciesList.value_or(QStringList());
        }
    }
    return {};
}

bool CCurrencyDataSourceInfo::isCustomDataSource(const QString& identifier) const {
    return !builtIn_.contains(identifier);
}

QString CCurrencyDataSourceInfo::getDataSourceDisplayName(const QString& identifier) const {
    if (!isCustomDataSource(identifier)) {
        return Localization::localizedString(identifier + QStringLiteral("-CurrencyDataSource"));
    }
    if (custom_ != nullptr) {
        if (auto entry = custom_->getDataSourceWithUrl(identifier); entry && entry->displayName) {
            return *entry->displayName;
        }
    }
    return Localization::localizedString(QStringLiteral("CustomDataSource"));
}

QString CCurrencyDataSourceInfo::getDataSourceLogo(const QString& identifier) const {
    if (!isCustomDataSource(identifier)) {
        return Resources::imagePath(identifier + QStringLiteral("-dataSource"));
    }
    if (custom_ != nullptr) {
        if (auto entry = custom_->getDataSourceWithUrl(identifier); entry && entry->logoImagePath) {
            const QFileInfo file(*entry->logoImagePath);
            if (file.isFile() && file.isReadable() && file.size() > 0) {
                return *entry->logoImagePath;
            }
        }
    }
    return Resources::imagePath(QStringLiteral("dsPlaceholder"));
}
