#include "CCurrencyPickerViewController.h"

#include "CRateRows.h"
#include "CRootViewModel.h"
#include "CUISettings.h"
#include "CurrencyNames.h"
#include "Localization.h"

#include <unicode/alphaindex.h>
#include <unicode/coll.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <memory>
#include <utility>

namespace {

icu::UnicodeString toUnicode(const QString& text) {
    return icu::UnicodeString(reinterpret_cast<const char16_t*>(text.utf16()),
                              static_cast<int32_t>(text.size()));
}

QString fromUnicode(const icu::UnicodeString& text) {
    return QString(reinterpret_cast<const QChar*>(text.getBuffer()), text.length());
}

}  // namespace

CCurrencyPickerListModel::CCurrencyPickerListModel(const CCurrencyPickerViewController* picker,
                                                   QObject* parent)
    : QAbstractListModel(parent), picker_(picker) {}

int CCurrencyPickerListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant CCurrencyPickerListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const CCurrencyPickerItemInfo& item = rows_[index.row()];
    const bool checked = picker_->isSelected(item.currencyCode);
    switch (role) {
        case Qt::DisplayRole:
        case NameRole:
            return item.currencyName;
        case CodeRole:
            return item.currencyCode;
        case FlagRole:
            return CUISettings::urlForImagePath(
                CUISettings::getImageForCurrency(item.currencyCode));
        case CodeTextRole:
            return checked ? QString() : item.currencyCode;
        case CheckedRole:
            return checked;
        case SectionRole:
            return picker_->sectionTitles().value(rowSections_[index.row()]);
        case SectionIndexRole:
            return rowSections_[index.row()];
        case DetailRole:
            return item.detail;
        default:
            return {};
    }
}

QHash<int, QByteArray> CCurrencyPickerListModel::roleNames() const {
    return {{CodeRole, "code"},
            {NameRole, "name"},
            {FlagRole, "flag"},
            {CodeTextRole, "codeText"},
            {CheckedRole, "chosen"},
            {SectionRole, "section"},
            {SectionIndexRole, "sectionIndex"},
            {DetailRole, "detail"}};
}

void CCurrencyPickerListModel::setSections(const QList<QList<CCurrencyPickerItemInfo>>& sections) {
    beginResetModel();
    rows_.clear();
    rowSections_.clear();
    for (qsizetype s = 0; s < sections.size(); ++s) {
        for (const CCurrencyPickerItemInfo& item : sections[s]) {
            rows_.append(item);
            rowSections_.append(static_cast<int>(s));
        }
    }
    endResetModel();
}

const CCurrencyPickerItemInfo* CCurrencyPickerListModel::itemAt(int row) const {
    return row >= 0 && row < rows_.size() ? &rows_[row] : nullptr;
}

int CCurrencyPickerListModel::sectionOfRow(int row) const {
    return row >= 0 && row < rowSections_.size() ? rowSections_[row] : -1;
}

int CCurrencyPickerListModel::firstRowAtOrAfterSection(int section) const {
    for (qsizetype row = 0; row < rowSections_.size(); ++row) {
        if (rowSections_[row] >= section) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

int CCurrencyPickerListModel::rowOfCode(const QString& code) const {
    for (qsizetype row = 0; row < rows_.size(); ++row) {
        if (rows_[row].currencyCode == code) {
            return static_cast<int>(row);
        }
    }
    return -1;
}

void CCurrencyPickerListModel::refreshCode(const QString& code) {
    const int row = rowOfCode(code);
    if (row >= 0) {
        emit dataChanged(index(row), index(row), {CodeTextRole, CheckedRole});
    }
}

CCurrencyPickerViewController::CCurrencyPickerViewController(const QStringList& codes, bool tablet,
                                                             QObject* parent,
                                                             const QString& localeName)
    : CViewController(QStringLiteral("CurrencyPickerView"), tablet, parent),
      totalCount_(static_cast<int>(codes.size())),
      mainModel_(new CCurrencyPickerListModel(this, this)),
      searchModel_(new CCurrencyPickerListModel(this, this)) {
    getItemListForCurrencies(codes, localeName);
    mainModel_->setSections(original_);
    updateTitle();
}

void CCurrencyPickerViewController::getItemListForCurrencies(const QStringList& codes,
                                                             const QString& localeName) {
    const QString name = localeName.isEmpty() ? CurrencyNames::currentLocaleName() : localeName;
    const icu::Locale locale(name.toLatin1().constData());
    UErrorCode status = U_ZERO_ERROR;
    icu::AlphabeticIndex index(locale, status);
    std::unique_ptr<icu::AlphabeticIndex::ImmutableIndex> immutable(
        U_SUCCESS(status) ? index.buildImmutableIndex(status) : nullptr);
    std::unique_ptr<icu::Collator> collator(icu::Collator::createInstance(locale, status));
    if (U_FAILURE(status) || !immutable || !collator) {
        // Without the locale's collation: one section, sorted by code points.
        sectionTitles_ = QStringList{QStringLiteral("#")};
        immutable.reset();
        collator.reset();
    } else {
        for (int32_t i = 0; i < immutable->getBucketCount(); ++i) {
            sectionTitles_.append(fromUnicode(immutable->getBucket(i)->getLabel()));
        }
    }

    original_ = QList<QList<CCurrencyPickerItemInfo>>(sectionTitles_.size());
    for (const QString& code : codes) {
        CCurrencyPickerItemInfo item;
        item.currencyCode = code;
        item.currencyName = CRateRows::capitalizedName(
            Localization::localizedString(CUISettings::getDisplayNameForCurrency(code)));
        int32_t section = 0;
        if (immutable) {
            UErrorCode bucketStatus = U_ZERO_ERROR;
            section = immutable->getBucketIndex(toUnicode(item.currencyName), bucketStatus);
            if (U_FAILURE(bucketStatus) || section < 0 || section >= sectionTitles_.size()) {
                section = static_cast<int32_t>(sectionTitles_.size()) - 1;
            }
        }
        original_[section].append(item);
    }
    for (QList<CCurrencyPickerItemInfo>& section : original_) {
        std::stable_sort(section.begin(), section.end(),
                         [&](const CCurrencyPickerItemInfo& a, const CCurrencyPickerItemInfo& b) {
                             if (!collator) {
                                 return a.currencyName < b.currencyName;
                             }
                             UErrorCode compareStatus = U_ZERO_ERROR;
                             return collator->compare(toUnicode(a.currencyName),
                                                      toUnicode(b.currencyName),
                                                      compareStatus) == UCOL_LESS;
                         });
    }
    filtered_ = QList<QList<CCurrencyPickerItemInfo>>(sectionTitles_.size());
}

void CCurrencyPickerViewController::setDetailsFromDataSources(const CRootViewModel& model) {
    const std::optional<QString> active = model.getSelectedDataSource();
    for (QList<CCurrencyPickerItemInfo>& section : original_) {
        for (CCurrencyPickerItemInfo& item : section) {
            const std::optional<QString> source = model.getDataSourceForCurrency(item.currencyCode);
            item.detail =
                source && source != active
                    ? localized(QStringLiteral("CurrencyFromSource"))
                          .arg(model.currencyDataSourceInfo().getDataSourceDisplayName(*source))
                    : QString();
        }
    }
    mainModel_->setSections(original_);
    const QString search = std::exchange(searchText_, QString());
    setSearchText(search);
}

void CCurrencyPickerViewController::updateTitle() {
    setTitle(localized(allowsMultipleSelection_ ? QStringLiteral("SelectCurrencies")
                                                : QStringLiteral("SelectCurrency")));
}

void CCurrencyPickerViewController::setAllowsMultipleSelection(bool allows) {
    allowsMultipleSelection_ = allows;
    updateTitle();
    emit configurationChanged();
}

void CCurrencyPickerViewController::setMaxSelectedItems(int limit) {
    maxSelectedItems_ = limit;
    emit configurationChanged();
}

void CCurrencyPickerViewController::setSupportsLandscapeOrientation(bool supports) {
    supportsLandscapeOrientation_ = supports;
    emit configurationChanged();
}

bool CCurrencyPickerViewController::showsDoneButton() const {
    return allowsMultipleSelection_ && maxSelectedItems_ == NoLimit;
}

QString CCurrencyPickerViewController::prompt() const {
    return localized(QStringLiteral("CurrenciesAvailableInDatasource")).arg(totalCount_);
}

QString CCurrencyPickerViewController::titleForHeaderInSection(int section,
                                                               bool searchTable) const {
    const QList<QList<CCurrencyPickerItemInfo>>& source = searchTable ? filtered_ : original_;
    if (section < 0 || section >= source.size() || source[section].isEmpty()) {
        return {};
    }
    return sectionTitles_.value(section);
}

void CCurrencyPickerViewController::setSearchText(const QString& text) {
    if (text == searchText_) {
        return;
    }
    searchText_ = text;
    const QString needle = text.toLower();
    filtered_ = QList<QList<CCurrencyPickerItemInfo>>(original_.size());
    for (qsizetype s = 0; s < original_.size(); ++s) {
        for (const CCurrencyPickerItemInfo& item : original_[s]) {
            if (item.currencyName.toLower().contains(needle) ||
                item.currencyCode.toLower().contains(needle)) {
                filtered_[s].append(item);
            }
        }
    }
    searchModel_->setSections(filtered_);
    emit searchTextChanged();
}

void CCurrencyPickerViewController::didSelectRow(bool searchTable, int row) {
    const CCurrencyPickerItemInfo* item = (searchTable ? searchModel_ : mainModel_)->itemAt(row);
    if (item != nullptr) {
        didSelectCurrency(item->currencyCode);
    }
}

void CCurrencyPickerViewController::didSelectCurrency(const QString& code) {
    if (!allowsMultipleSelection_) {
        if (delegate_ != nullptr) {
            delegate_->currencyPicker(this, QStringList{code});
        }
        return;
    }
    if (selectedCurrencies_.removeAll(code) == 0) {
        selectedCurrencies_.append(code);
    }
    // Both tables show the mark, so marks made while searching stay on the full list.
    mainModel_->refreshCode(code);
    searchModel_->refreshCode(code);
    emit selectionChanged();
    if (isSelected(code) && selectedCurrencies_.size() >= maxSelectedItems_ &&
        delegate_ != nullptr) {
        delegate_->currencyPicker(this, selectedCurrencies_);
    }
}

void CCurrencyPickerViewController::onDoneClick() {
    if (selectedCurrencies_.isEmpty()) {
        showMessage(localized(QStringLiteral("CurrencyNotSelected")));
        return;
    }
    if (delegate_ != nullptr) {
        delegate_->currencyPicker(this, selectedCurrencies_);
    }
}

bool CCurrencyPickerViewController::handleKey(int key) {
    if (key == Qt::Key_Escape) {
        onCancelClick();
        return true;
    }
    if (key != Qt::Key_Return && key != Qt::Key_Enter) {
        return false;
    }
    if (showsDoneButton()) {
        onDoneClick();
        return true;
    }
    // Without Done, Enter chooses only what is unambiguous.
    if (isSearching() && searchModel_->rowCount() == 1) {
        didSelectRow(true, 0);
        return true;
    }
    return false;
}

int CCurrencyPickerViewController::rowForSectionIndexTitle(int index) const {
    return mainModel_->firstRowAtOrAfterSection(index);
}
