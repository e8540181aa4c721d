#pragma once

#include "CViewController.h"

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QStringList>

#include <limits>

class CCurrencyPickerViewController;
class CRootViewModel;

/// Receives the codes chosen in the picker; the receiver closes it.
class CCurrencyPickerViewDelegate {
public:
    virtual ~CCurrencyPickerViewDelegate() = default;
    virtual void currencyPicker(CCurrencyPickerViewController* picker,
                                const QStringList& codes) = 0;
};

/// One entry of the picker.
struct CCurrencyPickerItemInfo {
    QString currencyCode;
    /// The display name, localized with itself as the key, its first letter in upper case.
    QString currencyName;
    /// A line below the name (which further source offers the currency), or empty.
    QString detail;
};

/// The rows of one of the picker's tables (the full list or the search results): every
/// section's items in order, each row knowing its section's title.
class CCurrencyPickerListModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the currency picker")

public:
    enum Role {
        CodeRole = Qt::UserRole + 1,
        NameRole,
        FlagRole,
        /// The code, or empty for a chosen currency (which shows a checkmark instead).
        CodeTextRole,
        /// "chosen": the code is marked.
        CheckedRole,
        SectionRole,
        SectionIndexRole,
        DetailRole,
    };

    CCurrencyPickerListModel(const CCurrencyPickerViewController* picker, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    void setSections(const QList<QList<CCurrencyPickerItemInfo>>& sections);
    const CCurrencyPickerItemInfo* itemAt(int row) const;
    int sectionOfRow(int row) const;
    /// The first row of `section` or of the next section that has rows; -1 when none follows.
    int firstRowAtOrAfterSection(int section) const;
    /// The row of `code`, or -1.
    Q_INVOKABLE int rowOfCode(const QString& code) const;
    /// Tells the view that the marks of `code` changed.
    void refreshCode(const QString& code);

private:
    const CCurrencyPickerViewController* picker_;
    QList<CCurrencyPickerItemInfo> rows_;
    QList<int> rowSections_;
};

/// The currency picker: the given codes as an alphabetical, indexed, searchable list of
/// display names with flags. Single selection reports one tap at once; multiple selection
/// marks codes and reports them on Done, or at once when the limit is reached.
class CCurrencyPickerViewController : public CViewController {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Screen controllers are made in C++")

    Q_PROPERTY(QString prompt READ prompt NOTIFY configurationChanged)
    Q_PROPERTY(
        bool allowsMultipleSelection READ allowsMultipleSelection NOTIFY configurationChanged)
    /// Cancel on the left and Done on the right (multiple selection without a limit); in every
    /// other configuration Cancel alone, on the right.
    Q_PROPERTY(bool showsDoneButton READ showsDoneButton NOTIFY configurationChanged)
    Q_PROPERTY(bool supportsLandscapeOrientation READ supportsLandscapeOrientation NOTIFY
                   configurationChanged)
    Q_PROPERTY(CCurrencyPickerListModel* mainModel READ mainModel CONSTANT)
    Q_PROPERTY(CCurrencyPickerListModel* searchModel READ searchModel CONSTANT)
    Q_PROPERTY(QStringList sectionIndexTitles READ sectionIndexTitles CONSTANT)
    Q_PROPERTY(QString searchText READ searchText WRITE setSearchText NOTIFY searchTextChanged)
    /// The search results table is shown (a search text is entered).
    Q_PROPERTY(bool isSearching READ isSearching NOTIFY searchTextChanged)
    Q_PROPERTY(QStringList selectedCurrencies READ selectedCurrencies NOTIFY selectionChanged)

public:
    static constexpr int NoLimit = std::numeric_limits<int>::max();

    /// `localeName` empty: the current locale (collation, index and names).
    CCurrencyPickerViewController(const QStringList& codes, bool tablet, QObject* parent = nullptr,
                                  const QString& localeName = {});

    /// Names the source of each code that the active source does not offer, as the picker's
    /// detail line ("from ECB"): a currency the list would take from a further source.
    void setDetailsFromDataSources(const CRootViewModel& model);

    CCurrencyPickerViewDelegate* delegate() const { return delegate_; }
    void setDelegate(CCurrencyPickerViewDelegate* delegate) { delegate_ = delegate; }

    bool allowsMultipleSelection() const { return allowsMultipleSelection_; }
    void setAllowsMultipleSelection(bool allows);
    int maxSelectedItems() const { return maxSelectedItems_; }
    void setMaxSelectedItems(int limit);
    bool supportsLandscapeOrientation() const { return supportsLandscapeOrientation_; }
    void setSupportsLandscapeOrientation(bool supports);
    bool showsDoneButton() const;
    QString prompt() const;
    int totalCount() const { return totalCount_; }

    const QStringList& sectionTitles() const { return sectionTitles_; }
    QStringList sectionIndexTitles() const { return sectionTitles_; }
    const QList<QList<CCurrencyPickerItemInfo>>& originalDataSource() const { return original_; }
    const QList<QList<CCurrencyPickerItemInfo>>& filteredDataSource() const { return filtered_; }
    /// The header of a section: its title when it holds an item, else empty.
    QString titleForHeaderInSection(int section, bool searchTable) const;

    CCurrencyPickerListModel* mainModel() const { return mainModel_; }
    CCurrencyPickerListModel* searchModel() const { return searchModel_; }

    QString searchText() const { return searchText_; }
    /// Rebuilds the search results: per section, the items whose name or code contains the
    /// text, compared in lower case.
    void setSearchText(const QString& text);
    bool isSearching() const { return !searchText_.isEmpty(); }

    QStringList selectedCurrencies() const { return selectedCurrencies_; }
    bool isSelected(const QString& code) const { return selectedCurrencies_.contains(code); }

    /// A tap on a row of the main table or of the search results.
    Q_INVOKABLE void didSelectRow(bool searchTable, int row);
    /// A tap on the row of `code`.
    void didSelectCurrency(const QString& code);
    Q_INVOKABLE void onDoneClick();
    Q_INVOKABLE void onCancelClick() { dismissSelf(true); }
    /// A key of a hardware keyboard that the search field did not take: Escape cancels;
    /// Enter/Return is Done where there is a Done button, else picks the one search result.
    /// Returns whether the key was used.
    Q_INVOKABLE bool handleKey(int key);
    /// The main table's row for a tap on the section index title `index`; -1 when the list
    /// ends before that section.
    Q_INVOKABLE int rowForSectionIndexTitle(int index) const;

signals:
    void configurationChanged();
    void searchTextChanged();
    void selectionChanged();

private:
    void getItemListForCurrencies(const QStringList& codes, const QString& localeName);
    void updateTitle();

    CCurrencyPickerViewDelegate* delegate_ = nullptr;
    bool allowsMultipleSelection_ = false;
    int maxSelectedItems_ = NoLimit;
    bool supportsLandscapeOrientation_ = false;
    int totalCount_ = 0;
    QStringList sectionTitles_;
    QList<QList<CCurrencyPickerItemInfo>> original_;
    QList<QList<CCurrencyPickerItemInfo>> filtered_;
    QStringList selectedCurrencies_;
    QString searchText_;
    CCurrencyPickerListModel* mainModel_;
    CCurrencyPickerListModel* searchModel_;
};
