#include "CSettingsViewController.h"

#include "CBaseCurrencySelector.h"
#include "CCustomDataSourceMetadataUpdater.h"
#include "CInfoViewController.h"
#include "CRateRows.h"
#include "CRootViewModel.h"
#include "CUISettings.h"
#include "MailComposer.h"
#include "NotificationCenter.h"

#include <QCoreApplication>
#include <QPointer>

// The table model -------------------------------------------------------------------------------

int CSettingsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

QVariant CSettingsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) {
        return {};
    }
    const CSettingsRow& row = rows_[static_cast<size_t>(index.row())];
    static const char* const kinds[] = {"switch",    "plain", "subtitle",     "customSource",
                                        "addSource", "fee",   "furtherSource"};
    switch (role) {
        case SectionRole:
            return QString::number(row.section);
        case RowRole:
            return row.row;
        case KindRole:
            return QString::fromLatin1(kinds[row.kind]);
        case Qt::DisplayRole:
        case TitleRole:
            return row.title;
        case SubtitleRole:
            return row.subtitle;
        case ImageRole:
            return row.image;
        case CenteredRole:
            return row.centered;
        case DisclosureRole:
            return row.disclosure;
        case CheckedRole:
            return row.checked;
        case SwitchOnRole:
            return row.switchOn;
        case SwitchEnabledRole:
            return row.switchEnabled;
        case DeletableRole:
            return row.deletable;
        case IdentifierRole:
            return row.identifier;
        case CanMoveUpRole:
            return row.canMoveUp;
        case CanMoveDownRole:
            return row.canMoveDown;
        default:
            return {};
    }
}

QHash<int, QByteArray> CSettingsTableModel::roleNames() const {
    return {{SectionRole, "section"},
            {RowRole, "row"},
            {KindRole, "kind"},
            {TitleRole, "title"},
            {SubtitleRole, "subtitle"},
            {ImageRole, "image"},
            {CenteredRole, "centered"},
            {DisclosureRole, "disclosure"},
            {CheckedRole, "checkmark"},
            {SwitchOnRole, "switchOn"},
            {SwitchEnabledRole, "switchEnabled"},
            {DeletableRole, "deletable"},
            {IdentifierRole, "identifier"},
            {CanMoveUpRole, "canMoveUp"},
            {CanMoveDownRole, "canMoveDown"}};
}

void CSettingsTableModel::setRows(std::vector<CSettingsRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int CSettingsTableModel::indexOf(int section, int row) const {
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].section == section && rows_[i].row == row) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The screen ------------------------------------------------------------------------------------

CSettingsViewController::CSettingsViewController(CRootViewModel& model, bool tablet,
                                                 QObject* parent, MailComposer* mailComposer)
    : CViewController(QStringLiteral("SettingsView"), tablet, parent),
      model_(model),
      editor_(model),
      mailComposer_(mailComposer),
      rows_(new CSettingsTableModel(this)) {
    setTitle(localized(QStringLiteral("Settings")));
    enteredConversionFee_ = editor_.conversionFeeText();
    // The rows are built when the view loads: a phone's start does not show this screen.
}

CSettingsViewController::~CSettingsViewController() {
    model_.notificationCenter().removeObserver(this);
}

void CSettingsViewController::viewDidLoad() {
    updateAvailableDataSources();
    observeNotifications();
    enteredConversionFee_ = editor_.conversionFeeText();
    reloadData();
}

void CSettingsViewController::observeNotifications() {
    if (observing_) {
        return;
    }
    observing_ = true;
    NotificationCenter& center = model_.notificationCenter();
    center.addObserver(this, CBaseCurrencySelector::BaseCurrencyAutoselectDisabled, nullptr,
                       [this](const QString&, const void*) {
                           model_.setBaseCurrencyAutoSelectEnabled(false);
                           reloadData();
                       });
    center.addObserver(this, CRootViewModel::BaseCurrencyChanged, nullptr,
                       [this](const QString&, const void*) {
                           reloadData();
                           if (!model_.isCurrencyCodeAvailable(model_.getBaseCurrencyCode())) {
                               showBaseCurrencyUnavailableAlert();
                           }
                       });
    center.addObserver(this, CCustomDataSourceMetadataUpdater::CustomDataSourceMetadataUpdated,
                       nullptr, [this](const QString&, const void*) {
                           updateAvailableDataSources();
                           reloadData();
                       });
}

void CSettingsViewController::updateAvailableDataSources() {
    availableCurrencyDataSources_ = editor_.sortedDataSourceIds();
}

void CSettingsViewController::reloadData() {
    rows_->setRows(buildRows());
}

QString CSettingsViewController::sectionHeader(int section) const {
    switch (section) {
        case BaseCurrencySection:
            return localized(QStringLiteral("BaseCurrency"));
        case DataSourceSection:
            return localized(QStringLiteral("CurrencyDataSource"));
        case FurtherSourcesSection:
            return localized(QStringLiteral("FurtherSources"));
        default:
            return {};
    }
}

QString CSettingsViewController::sectionFooter(int section) const {
    switch (section) {
        case FeeSection:
            return localized(QStringLiteral("ConversionFeeFooter"));
        case FurtherSourcesSection:
            return localized(QStringLiteral("FurtherSourcesFooter"));
        default:
            return {};
    }
}

QString CSettingsViewController::footerAbove(int section) const {
    switch (section) {
        case FeeSection:
            return sectionFooter(FurtherSourcesSection);
        case MoreSection:
            return sectionFooter(FeeSection);
        default:
            return {};
    }
}

int CSettingsViewController::rowCount(int section) const {
    switch (section) {
        case BaseCurrencySection:
            return model_.isBaseCurrencyAutoSelectEnabled() ? 1 : 2;
        case DataSourceSection:
            return static_cast<int>(availableCurrencyDataSources_.size()) + 1;
        case FeeSection:
            return model_.isConversionFeeEnabled() ? 3 : 1;
        case MoreSection:
            return 2;
        case FurtherSourcesSection:
            return static_cast<int>(model_.getFurtherDataSources().size()) +
                   (editor_.addableFurtherDataSources().isEmpty() ? 0 : 1);
        default:
            return 0;
    }
}

int CSettingsViewController::getSelectedCurrencyDataSourceIndex() const {
    const std::optional<QString> active = model_.getSelectedDataSource();
    return active ? static_cast<int>(availableCurrencyDataSources_.indexOf(*active)) : -1;
}

QString CSettingsViewController::feeFieldText() const {
    if (editingFee_ || enteredConversionFee_.isEmpty()) {
        return enteredConversionFee_;
    }
    return QStringLiteral("%1 %").arg(enteredConversionFee_);
}

std::vector<CSettingsRow> CSettingsViewController::buildRows() const {
    std::vector<CSettingsRow> rows;
    auto add = [&rows](int section, CSettingsRow::Kind kind,
                       const QString& title) -> CSettingsRow& {
        CSettingsRow row;
        row.section = section;
        row.row = static_cast<int>(
            std::count_if(rows.begin(), rows.end(),
                          [section](const CSettingsRow& r) { return r.section == section; }));
        row.kind = kind;
        row.title = title;
        rows.push_back(row);
        return rows.back();
    };

    CSettingsRow& autoSelect = add(BaseCurrencySection, CSettingsRow::Switch,
                                   localized(QStringLiteral("BaseCurrencyAutoSelect")));
    autoSelect.switchOn = model_.isBaseCurrencyAutoSelectEnabled();
    autoSelect.switchEnabled = model_.isBaseCurrencyAutoselectAvailable();
    if (!model_.isBaseCurrencyAutoSelectEnabled()) {
        const QString code = model_.getBaseCurrencyCode();
        CSettingsRow& base = add(
            BaseCurrencySection, CSettingsRow::Plain,
            CRateRows::capitalizedName(localized(CUISettings::getDisplayNameForCurrency(code))));
        base.image = CUISettings::urlForImagePath(CUISettings::getImageForCurrency(code));
        base.disclosure = true;
        base.identifier = code;
    }

    const CCurrencyDataSourceInfo& info = model_.currencyDataSourceInfo();
    auto addSource = [&](int section, const QString& id) -> CSettingsRow& {
        const bool custom = info.isCustomDataSource(id);
        CSettingsRow& row = add(section,
                                section == FurtherSourcesSection ? CSettingsRow::FurtherSource
                                : custom                         ? CSettingsRow::CustomSource
                                                                 : CSettingsRow::Subtitle,
                                info.getDataSourceDisplayName(id));
        row.subtitle = info.getDataSourceDescription(id);
        if (row.subtitle.isEmpty()) {
            row.subtitle = localized(QStringLiteral("CurrenciesAvailable"))
                               .arg(info.getAvailableCurrencyCodes(id).size());
        }
        row.image = CUISettings::urlForImagePath(info.getDataSourceLogo(id));
        row.identifier = id;
        return row;
    };
    const int selected = getSelectedCurrencyDataSourceIndex();
    for (qsizetype i = 0; i < availableCurrencyDataSources_.size(); ++i) {
        const QString& id = availableCurrencyDataSources_[i];
        CSettingsRow& row = addSource(DataSourceSection, id);
        row.checked = i == selected;
        row.deletable = editor_.canDeleteDataSource(id);
    }
    add(DataSourceSection, CSettingsRow::AddSource, localized(QStringLiteral("AddSource")))
        .centered = true;

    const QStringList further = model_.getFurtherDataSources();
    for (qsizetype i = 0; i < further.size(); ++i) {
        CSettingsRow& row = addSource(FurtherSourcesSection, further[i]);
        row.deletable = true;  // removed from the list, never from the registry
        row.canMoveUp = i > 0;
        row.canMoveDown = i + 1 < further.size();
    }
    if (!editor_.addableFurtherDataSources().isEmpty()) {
        add(FurtherSourcesSection, CSettingsRow::AddSource,
            localized(QStringLiteral("AddFurtherSource")))
            .centered = true;
    }

    CSettingsRow& fee =
        add(FeeSection, CSettingsRow::Switch, localized(QStringLiteral("ConversionFee")));
    fee.switchOn = model_.isConversionFeeEnabled();
    if (model_.isConversionFeeEnabled()) {
        add(FeeSection, CSettingsRow::Fee, QString());
        add(FeeSection, CSettingsRow::Plain, localized(QStringLiteral("SubtractFee"))).checked =
            model_.isSubtractFeeEnabled();
    }

    add(MoreSection, CSettingsRow::Plain, localized(QStringLiteral("RequestCurrency"))).centered =
        true;
    add(MoreSection, CSettingsRow::Plain, localized(QStringLiteral("Info"))).centered = true;
    return rows;
}

void CSettingsViewController::didSelectRow(int section, int row) {
    if (section == BaseCurrencySection && row == 1 && rowCount(section) == 2) {
        onBaseCurrencyCellSelect();
    } else if (section == DataSourceSection && row >= 0 &&
               row < availableCurrencyDataSources_.size()) {
        editor_.selectDataSource(availableCurrencyDataSources_[row]);
        reloadData();
        checkBaseCurrencyAvailable();
    } else if (section == DataSourceSection && row == availableCurrencyDataSources_.size()) {
        onAddDataSourceCellSelect();
    } else if (section == FurtherSourcesSection && row == model_.getFurtherDataSources().size()) {
        const QStringList ids = editor_.addableFurtherDataSources();
        QStringList names;
        for (const QString& id : ids) {
            names.append(model_.currencyDataSourceInfo().getDataSourceDisplayName(id));
        }
        if (!ids.isEmpty()) {
            emit furtherSourceChoiceRequested(ids, names);
        }
    } else if (section == FeeSection && row == 2 && model_.isConversionFeeEnabled()) {
        model_.setSubtractFeeEnabled(!model_.isSubtractFeeEnabled());
        reloadData();
    } else if (section == MoreSection && row == 0) {
        onRequestNewCurrencyCellSelect();
    } else if (section == MoreSection && row == 1) {
        onAboutCellSelect();
    }
}

void CSettingsViewController::setSwitch(int section, int row, bool on) {
    if (row != 0) {
        return;
    }
    if (section == BaseCurrencySection) {
        if (!model_.isBaseCurrencyAutoselectAvailable()) {
            reloadData();
            return;
        }
        model_.setBaseCurrencyAutoSelectEnabled(on);
    } else if (section == FeeSection) {
        model_.setConversionFeeEnabled(on);
    }
    reloadData();
}

void CSettingsViewController::deleteRow(int section, int row) {
    if (section == FurtherSourcesSection) {
        if (editor_.removeFurtherDataSource(row)) {
            reloadData();
            checkBaseCurrencyAvailable();
        }
        return;
    }
    if (section != DataSourceSection || row < 0 || row >= availableCurrencyDataSources_.size()) {
        return;
    }
    if (!editor_.removeCustomDataSource(availableCurrencyDataSources_[row])) {
        return;
    }
    updateAvailableDataSources();
    reloadData();
}

void CSettingsViewController::addFurtherSource(const QString& identifier) {
    if (editor_.addFurtherDataSource(identifier)) {
        reloadData();
    }
}

void CSettingsViewController::moveFurtherSource(int from, int to) {
    if (editor_.moveFurtherDataSource(from, to)) {
        reloadData();
    }
}

void CSettingsViewController::checkBaseCurrencyAvailable() {
    if (!model_.isCurrencyCodeAvailable(model_.getBaseCurrencyCode())) {
        showBaseCurrencyUnavailableAlert();
    }
}

void CSettingsViewController::beginFeeEditing() {
    editingFee_ = true;
    emit feeFieldChanged();
}

bool CSettingsViewController::commitFee(const QString& text) {
    enteredConversionFee_ = text;
    if (!editor_.setConversionFeeFromText(text)) {
        emit feeFieldChanged();
        showMessage(localized(QStringLiteral("InvalidPercentValue")));
        return false;
    }
    emit feeEditingEndRequested();
    return true;
}

void CSettingsViewController::cancelFeeEditing() {
    emit feeEditingEndRequested();
}

void CSettingsViewController::endFeeEditing() {
    editingFee_ = false;
    enteredConversionFee_ = editor_.conversionFeeText();
    emit feeFieldChanged();
    reloadData();
}

void CSettingsViewController::showBaseCurrencyUnavailableAlert() {
    if (questionShown_) {
        return;
    }
    questionShown_ = true;
    emit questionRequested(localized(QStringLiteral("BaseCurrencyUnavailable")),
                           localized(QStringLiteral("No")), localized(QStringLiteral("Yes")));
}

void CSettingsViewController::answerBaseCurrencyUnavailable(bool yes) {
    questionShown_ = false;
    if (!yes) {
        return;
    }
    model_.setBaseCurrencyAutoSelectEnabled(false);
    reloadData();
    onBaseCurrencyCellSelect();
}

void CSettingsViewController::onBaseCurrencyCellSelect() {
    auto* picker =
        new CCurrencyPickerViewController(model_.getAvailableCurrencyCodes(), isTablet());
    picker->setDetailsFromDataSources(model_);
    picker->setDelegate(this);
    presentViewController(picker, rows_->indexOf(BaseCurrencySection, 1), QStringLiteral("left"));
}

void CSettingsViewController::currencyPicker(CCurrencyPickerViewController* picker,
                                             const QStringList& codes) {
    if (!codes.isEmpty()) {
        model_.setBaseCurrencyCode(codes.first());
    }
    reloadData();
    picker->dismissSelf(true);
}

void CSettingsViewController::onAddDataSourceCellSelect() {
    auto* picker = new CDataSourcePickerViewController(isTablet());
    picker->setDelegate(this);
    picker->setFormSheet(true);
    presentViewController(picker);
}

void CSettingsViewController::dataSourcePicker(CDataSourcePickerViewController* picker,
                                               const QString& url) {
    switch (editor_.addCustomDataSource(url)) {
        case CSettingsEditor::AddResult::InvalidUrl:
            picker->showMessage(localized(QStringLiteral("InvalidUrl")));
            return;
        case CSettingsEditor::AddResult::AlreadyExists:
            picker->showMessage(localized(QStringLiteral("DataSourceAlreadyExists")));
            return;
        case CSettingsEditor::AddResult::Added:
            break;
    }
    picker->dismissSelf(true);
    updateAvailableDataSources();
    reloadData();
}

void CSettingsViewController::onRequestNewCurrencyCellSelect() {
    auto* request = new CRequestCurrencyViewController(model_.currencyDataSourceInfo(), isTablet());
    request->setDelegate(this);
    request->setFormSheet(true);
    presentViewController(request);
}

void CSettingsViewController::requestCurrencyController(CRequestCurrencyViewController* controller,
                                                        const QStringList& codes) {
    controller->dismissSelf(false);
    MailMessage message;
    message.subject = RequestSubject;
    message.recipients = QStringList{localized(QStringLiteral("SupportEmailAddress"))};
    message.body = codes.join(QStringLiteral("\r\n"));
    composeMail(mailComposer_, message);
}

void CSettingsViewController::onAboutCellSelect() {
    CInfoViewController::Dependencies dependencies;
    dependencies.tablet = isTablet();
    dependencies.mailComposer = mailComposer_;
    presentViewController(new CInfoViewController(std::move(dependencies)));
}
