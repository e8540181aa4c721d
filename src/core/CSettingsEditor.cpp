#include "CSettingsEditor.h"

#include "CRootViewModel.h"
#include "Localization.h"

#include <QUrl>

#include <algorithm>

namespace {

bool isHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

/// Characters that may stand in an address as they are (RFC 3986 unreserved and reserved).
bool isUrlCharacter(char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) {
        return true;
    }
    return QByteArrayView("-._~:/?#[]@!$&'()*+,;=").contains(c);
}

}  // namespace

bool CSettingsEditor::setConversionFeeFromText(const QString& text) {
    const std::optional<Decimal> percent = CRootViewModel::getPercentValueFromText(text.trimmed());
    if (!percent) {
        return false;
    }
    model_.setConversionFee(*percent);
    return true;
}

QString CSettingsEditor::conversionFeeText() const {
    const std::optional<Decimal> fee = model_.getConversionFee();
    return fee && !fee->isNaN() ? fee->toString() : QString();
}

QStringList CSettingsEditor::sortedDataSourceIds(const QString& language) const {
    const CCurrencyDataSourceInfo& info = model_.currencyDataSourceInfo();
    const QStringList ids = info.getAllDataSourceIds();
    QStringList names;
    for (const QString& id : ids) {
        names.append(info.getDataSourceDisplayName(id));
    }
    QStringList sorted;
    for (int i : Localization::collationOrder(names, language)) {
        sorted.append(ids[i]);
    }
    return sorted;
}

bool CSettingsEditor::selectDataSource(const QString& identifier) {
    if (!model_.currencyDataSourceInfo().getAllDataSourceIds().contains(identifier)) {
        return false;
    }
    QStringList sources = model_.getFurtherDataSources();
    sources.removeAll(identifier);
    sources.prepend(identifier);
    model_.setSelectedDataSources(sources);
    return true;
}

bool CSettingsEditor::setDataSources(const QStringList& identifiers) {
    const QStringList known = model_.currencyDataSourceInfo().getAllDataSourceIds();
    if (identifiers.isEmpty() || QStringList(identifiers).removeDuplicates() > 0 ||
        !std::all_of(identifiers.begin(), identifiers.end(),
                     [&](const QString& id) { return known.contains(id); })) {
        return false;
    }
    model_.setSelectedDataSources(identifiers);
    return true;
}

QStringList CSettingsEditor::addableFurtherDataSources() const {
    const QStringList selected = model_.getAllSelectedDataSources();
    QStringList addable = sortedDataSourceIds();
    addable.removeIf([&](const QString& id) { return selected.contains(id); });
    return addable;
}

bool CSettingsEditor::addFurtherDataSource(const QString& identifier) {
    QStringList sources = model_.getAllSelectedDataSources();
    if (sources.isEmpty() || !addableFurtherDataSources().contains(identifier)) {
        return false;
    }
    sources.append(identifier);
    model_.setSelectedDataSources(sources);
    return true;
}

bool CSettingsEditor::removeFurtherDataSource(int index) {
    QStringList sources = model_.getAllSelectedDataSources();
    if (index < 0 || index + 1 >= sources.size()) {
        return false;
    }
    sources.removeAt(index + 1);
    model_.setSelectedDataSources(sources);
    return true;
}

bool CSettingsEditor::moveFurtherDataSource(int from, int to) {
    QStringList sources = model_.getAllSelectedDataSources();
    const qsizetype further = sources.size() - 1;
    if (from < 0 || to < 0 || from >= further || to >= further) {
        return false;
    }
    sources.move(from + 1, to + 1);
    model_.setSelectedDataSources(sources);
    return true;
}

std::optional<QString> CSettingsEditor::normalizedFeedUrl(const QString& text) {
    const QByteArray utf8 = text.trimmed().toUtf8();
    QByteArray encoded;
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        const bool escape =
            c == '%' && i + 2 < utf8.size() && isHexDigit(utf8[i + 1]) && isHexDigit(utf8[i + 2]);
        if (isUrlCharacter(c) || escape) {
            encoded.append(c);
        } else {
            encoded.append('%').append(QByteArray::number(static_cast<unsigned char>(c), 16)
                                           .rightJustified(2, '0')
                                           .toUpper());
        }
    }
    const QUrl url(QString::fromLatin1(encoded), QUrl::StrictMode);
    if (encoded.isEmpty() || !url.isValid() ||
        (url.scheme() != u"http" && url.scheme() != u"https") || url.host().isEmpty()) {
        return std::nullopt;
    }
    return QString::fromLatin1(encoded);
}

CSettingsEditor::AddResult CSettingsEditor::addCustomDataSource(const QString& text, QString* url) {
    const std::optional<QString> address = normalizedFeedUrl(text);
    if (!address) {
        return AddResult::InvalidUrl;
    }
    if (url != nullptr) {
        *url = *address;
    }
    CCustomDataSourceStorageManager& registry = model_.customDataSourceStorage();
    if (registry.getDataSourceWithUrl(*address)) {
        return AddResult::AlreadyExists;
    }
    registry.addDataSourceWithUrl(*address);
    model_.customDataSourceInfoUpdater().queryMetadataUpdate();
    return AddResult::Added;
}

bool CSettingsEditor::canDeleteDataSource(const QString& identifier) const {
    return model_.currencyDataSourceInfo().isCustomDataSource(identifier);
}

bool CSettingsEditor::removeCustomDataSource(const QString& identifier) {
    CCustomDataSourceStorageManager& registry = model_.customDataSourceStorage();
    if (!canDeleteDataSource(identifier) || !registry.getDataSourceWithUrl(identifier)) {
        return false;
    }
    registry.removeDataSource(identifier);
    QStringList sources = model_.getAllSelectedDataSources();
    const bool wasActive = !sources.isEmpty() && sources.first() == identifier;
    sources.removeAll(identifier);
    // The next source in the user's order takes over; without one, the first in display order.
    if (wasActive && sources.isEmpty()) {
        const QStringList remaining = sortedDataSourceIds();
        if (!remaining.isEmpty()) {
            sources.append(remaining.first());
        }
    }
    model_.setSelectedDataSources(sources);
    return true;
}
