#pragma once

#include "CCurrencyPickerViewController.h"
#include "CDataSourcePickerViewController.h"
#include "CRequestCurrencyViewController.h"
#include "CSettingsEditor.h"
#include "CViewController.h"

#include <QAbstractListModel>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <vector>

class CCurrencyDataSourceInfo;
class CRootViewModel;
class CSettingsViewController;
class MailComposer;

/// What one row of the settings table shows.
struct CSettingsRow {
    enum Kind { Switch, Plain, Subtitle, CustomSource, AddSource, Fee, FurtherSource };

    int section = 0;
    int row = 0;
    Kind kind = Plain;
    QString title;
    QString subtitle;
    QUrl image;
    bool centered = false;
    bool disclosure = false;
    bool checked = false;
    bool switchOn = false;
    bool switchEnabled = true;
    bool deletable = false;
    /// A further source's place can move up / down.
    bool canMoveUp = false;
    bool canMoveDown = false;
    /// The data source of a source row.
    QString identifier;
};

/// The rows of the settings table, section by section.
class CSettingsTableModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the settings screen")

public:
    enum Role {
        SectionRole = Qt::UserRole + 1,
        RowRole,
        KindRole,
        TitleRole,
        SubtitleRole,
        ImageRole,
        CenteredRole,
        DisclosureRole,
        CheckedRole,
        SwitchOnRole,
        SwitchEnabledRole,
        DeletableRole,
        IdentifierRole,
        CanMoveUpRole,
        CanMoveDownRole,
    };

    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    void setRows(std::vector<CSettingsRow> rows);
    const std::vector<CSettingsRow>& rows() const { return rows_; }
    /// The flat index of a section's row, or -1.
    Q_INVOKABLE int indexOf(int section, int row) const;

private:
    std::vector<CSettingsRow> rows_;
};

/// The settings screen on the rate list model: base currency (by hand or from the device's
/// country), the active data source among the built-in and user-added ones, the further
/// sources in the user's order (added, moved, removed), adding and deleting user-added
/// sources, the conversion fee, the currency request mail and the info row.
/// Every change goes through the shared settings rules and the model's setters.
class CSettingsViewController : public CViewController,
                                public CCurrencyPickerViewDelegate,
                                public CRequestCurrencyControllerDelegate,
                                public CDataSourcePickerViewControllerDelegate {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Screen controllers are made in C++")

    Q_PROPERTY(CSettingsTableModel* rows READ rows CONSTANT)
    /// The fee field's text: "2.5 %" while not edited, the bare number while edited.
    Q_PROPERTY(QString feeFieldText READ feeFieldText NOTIFY feeFieldChanged)
    Q_PROPERTY(bool isEditingFee READ isEditingFee NOTIFY feeFieldChanged)

public:
    static constexpr int BaseCurrencySection = 0;
    static constexpr int DataSourceSection = 1;
    static constexpr int FeeSection = 2;
    static constexpr int MoreSection = 3;
    /// Shown right below the data source section: the further sources in order, then the row
    /// that adds one (while any source is left to add).
    static constexpr int FurtherSourcesSection = 4;
    static inline const QString RequestSubject = QStringLiteral("Numiva Pro currency request");

    /// `mailComposer` (not owned) null: the platform's.
    CSettingsViewController(CRootViewModel& model, bool tablet, QObject* parent = nullptr,
                            MailComposer* mailComposer = nullptr);
    ~CSettingsViewController() override;

    CRootViewModel& dataModel() const { return model_; }
    CSettingsTableModel* rows() const { return rows_; }
    const QStringList& availableCurrencyDataSources() const {
        return availableCurrencyDataSources_;
    }
    QString feeFieldText() const;
    bool isEditingFee() const { return editingFee_; }
    QString enteredConversionFee() const { return enteredConversionFee_; }

    /// Builds the source list and starts observing the model's notifications.
    Q_INVOKABLE void viewDidLoad();
    Q_INVOKABLE void viewWillAppear() { reloadData(); }
    Q_INVOKABLE void applicationDidBecomeActive() { reloadData(); }
    /// The header text of a section (sections 0 and 1 have one) and the footer of the fee
    /// section, which says what the fee is.
    Q_INVOKABLE QString sectionHeader(int section) const;
    Q_INVOKABLE QString sectionFooter(int section) const;
    /// The footer of the section shown just above `section`, which its header area shows.
    Q_INVOKABLE QString footerAbove(int section) const;
    Q_INVOKABLE int rowCount(int section) const;
    /// The index of the active source in `availableCurrencyDataSources`, or -1.
    int getSelectedCurrencyDataSourceIndex() const;

    Q_INVOKABLE void didSelectRow(int section, int row);
    /// A switch row's switch was flipped.
    Q_INVOKABLE void setSwitch(int section, int row, bool on);
    /// Deletes the user-added source of a row of the source section, or removes a further
    /// source from the list.
    Q_INVOKABLE void deleteRow(int section, int row);
    /// Adds a further source (one of those `furtherSourceChoiceRequested` offered).
    Q_INVOKABLE void addFurtherSource(const QString& identifier);
    /// Moves the further source of row `from` to row `to` (a drag, or Move up / Move down).
    Q_INVOKABLE void moveFurtherSource(int from, int to);

    /// The fee field takes the keyboard: it now holds the bare number.
    Q_INVOKABLE void beginFeeEditing();
    /// Return or Done: stores a valid fee (true, the field gives up the keyboard), else shows
    /// "InvalidPercentValue" (false, the field keeps it).
    Q_INVOKABLE bool commitFee(const QString& text);
    /// Cancel: the field gives up the keyboard, nothing is stored.
    Q_INVOKABLE void cancelFeeEditing();
    /// Editing has ended: the field shows the stored fee again.
    Q_INVOKABLE void endFeeEditing();

    /// The answer to "BaseCurrencyUnavailable": Yes switches auto-select off and opens the
    /// currency picker.
    Q_INVOKABLE void answerBaseCurrencyUnavailable(bool yes);

    void onBaseCurrencyCellSelect();
    void onAddDataSourceCellSelect();
    void onRequestNewCurrencyCellSelect();
    void onAboutCellSelect();

    void currencyPicker(CCurrencyPickerViewController* picker, const QStringList& codes) override;
    void requestCurrencyController(CRequestCurrencyViewController* controller,
                                   const QStringList& codes) override;
    void dataSourcePicker(CDataSourcePickerViewController* picker, const QString& url) override;

signals:
    void feeFieldChanged();
    /// A question with a title and two buttons; the answer goes to the matching handler.
    void questionRequested(const QString& title, const QString& noText, const QString& yesText);
    /// The fee field should give up the keyboard.
    void feeEditingEndRequested();
    /// The user asked to add a further source: offer these (ids and display names).
    void furtherSourceChoiceRequested(const QStringList& identifiers, const QStringList& names);

private:
    void updateAvailableDataSources();
    void reloadData();
    void showBaseCurrencyUnavailableAlert();
    /// After a change of the sources: asks about a base currency no source offers any more.
    void checkBaseCurrencyAvailable();
    void observeNotifications();
    std::vector<CSettingsRow> buildRows() const;

    CRootViewModel& model_;
    CSettingsEditor editor_;
    MailComposer* mailComposer_;
    CSettingsTableModel* rows_;
    QStringList availableCurrencyDataSources_;
    QString enteredConversionFee_;
    bool editingFee_ = false;
    bool observing_ = false;
    bool questionShown_ = false;
};
