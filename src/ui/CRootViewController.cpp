#include "CRootViewController.h"

#include "CCustomDataSourceMetadataUpdater.h"
#include "CNavigationController.h"
#include "CPasteboard.h"
#include "CPullToRefreshView.h"
#include "CSettingsViewController.h"
#include "CTutorialView.h"
#include "CUISettings.h"
#include "NotificationCenter.h"
#include "NumberFormatter.h"
#include "UserDefaults.h"

namespace {

const QString kUsd = QStringLiteral("USD");

/// The date of a row's own rate, or invalid: the dollar row is the reference and has none.
QDateTime ownRateDate(const CCBRCurrencyInfoPtr& row) {
    if (!row || row->isoTextCode == kUsd || row->saleValueForCurrency().isNaN()) {
        return {};
    }
    return row->actualDate;
}

}  // namespace

CCurrencyRateListModel::CCurrencyRateListModel(CRootViewController* owner)
    : QAbstractListModel(owner), owner_(owner) {}

int CCurrencyRateListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(cells_.size());
}

QVariant CCurrencyRateListModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return {};
    }
    const CRateCellInfo& cell = cells_[static_cast<size_t>(index.row())];
    switch (role) {
        case Qt::DisplayRole:
        case NameRole:
            return cell.name;
        case CodeRole:
            return cell.code;
        case FlagRole:
            return cell.flag;
        case RateTextRole:
            return cell.rateText;
        case CodeTextRole:
            return cell.codeText;
        case DateTextRole:
            return cell.dateText;
        case SelectableRole:
            return cell.selectable;
        case CopyableRole:
            return !cell.value.isNaN();
        case PendingRole:
            return cell.pending;
        default:
            return {};
    }
}

QHash<int, QByteArray> CCurrencyRateListModel::roleNames() const {
    return {{CodeRole, "code"},
            {NameRole, "name"},
            {FlagRole, "flag"},
            {RateTextRole, "rateText"},
            {CodeTextRole, "codeText"},
            {DateTextRole, "dateText"},
            {SelectableRole, "selectable"},
            {CopyableRole, "copyable"},
            {PendingRole, "pending"}};
}

const CRateCellInfo* CCurrencyRateListModel::cellAt(int row) const {
    return row >= 0 && static_cast<size_t>(row) < cells_.size() ? &cells_[static_cast<size_t>(row)]
                                                                : nullptr;
}

std::vector<CRateCellInfo> CCurrencyRateListModel::readCells() const {
    std::vector<CRateCellInfo> cells;
    const int count = owner_->numberOfRowsInRateSection();
    cells.reserve(static_cast<size_t>(count));
    for (int row = 0; row < count; ++row) {
        cells.push_back(owner_->cellInfoForRow(row));
    }
    return cells;
}

void CCurrencyRateListModel::reload() {
    beginResetModel();
    cells_ = readCells();
    endResetModel();
}

void CCurrencyRateListModel::insertTopRows(int count) {
    if (count <= 0) {
        return;
    }
    beginInsertRows({}, 0, count - 1);
    cells_ = readCells();
    endInsertRows();
}

void CCurrencyRateListModel::removeRowAt(int row) {
    beginRemoveRows({}, row, row);
    cells_ = readCells();
    endRemoveRows();
}

void CCurrencyRateListModel::moveRowTo(int from, int to) {
    if (from == to) {
        return;
    }
    // The view's destination is the row before which the moved row is placed.
    beginMoveRows({}, from, from, {}, to > from ? to + 1 : to);
    cells_ = readCells();
    endMoveRows();
}

void CCurrencyRateListModel::refreshValues() {
    std::vector<CRateCellInfo> cells = readCells();
    if (cells.size() != cells_.size()) {
        reload();
        return;
    }
    cells_ = std::move(cells);
    if (!cells_.empty()) {
        emit dataChanged(
            index(0), index(static_cast<int>(cells_.size()) - 1),
            {RateTextRole, CodeTextRole, DateTextRole, CopyableRole, PendingRole, SelectableRole});
    }
}

CRootViewController::CRootViewController(Dependencies dependencies, QObject* parent)
    : CViewController(QStringLiteral("RootView"), dependencies.tablet, parent),
      defaults_(dependencies.defaults != nullptr ? *dependencies.defaults
                                                 : UserDefaults::standardUserDefaults()),
      center_(dependencies.center != nullptr ? *dependencies.center
                                             : NotificationCenter::defaultCenter()),
      endpoints_(dependencies.endpoints.value_or(Endpoints::standard())),
      tutorialView_(dependencies.tutorialView != nullptr ? *dependencies.tutorialView
                                                         : CTutorialView::tutorialView()),
      chartsSupported_(std::move(dependencies.chartsSupported)),
      dataModel_(std::make_unique<CRootViewModel>(defaults_, center_, dependencies.modelOptions)),
      rates_(new CCurrencyRateListModel(this)),
      refreshHeaderView_(new CPullToRefreshView(this)) {
    refreshAfterEditingTimer_.setSingleShot(true);
    refreshAfterEditingTimer_.setInterval(dependencies.refreshAfterEditingDelay);
    connect(&refreshAfterEditingTimer_, &QTimer::timeout, this,
            &CRootViewController::startTableDataRefresh);
    rates_->reload();
}

CRootViewController::~CRootViewController() {
    center_.removeObserver(this);
    if (currencyDataSource_) {
        currencyDataSource_->setDelegate(nullptr);
    }
}

// Rows ----------------------------------------------------------------------------------------

int CRootViewController::numberOfRowsInRateSection() const {
    return std::max<int>(0, static_cast<int>(dataModel_->currencyDataSource().size()) - 1);
}

QString CRootViewController::getFormattedCurrencyRate(const Decimal& rate) {
    NumberFormatter::Options options;
    options.groupingSeparator = QStringLiteral(" ");
    options.maximumFractionDigits = 5;
    QString text = NumberFormatter(options).format(rate);
    if (text == u"0") {
        options.maximumFractionDigits = 7;
        text = NumberFormatter(options).format(rate);
    }
    return text;
}

Decimal CRootViewController::valueForElement(const CCBRCurrencyInfo& element) const {
    if (!dataModel_->isCurrencyCodeAvailable(element.isoTextCode) || element.saleValue.isNaN()) {
        return Decimal::nan();
    }
    return isConversionMode() ? dataModel_->getSaleValueForConvertedCurrency(element.isoTextCode,
                                                                             showsInverseRates_)
                              : dataModel_->getSaleValueForBaseCurrency(element.isoTextCode);
}

CRateCellInfo CRootViewController::cellInfoForRow(int row) const {
    CRateCellInfo cell;
    const QList<CCBRCurrencyInfoPtr>& list = dataModel_->currencyDataSource();
    if (row < 0 || row + 1 >= list.size()) {
        return cell;
    }
    const CCBRCurrencyInfo& element = *list[row + 1];
    cell.code = element.isoTextCode;
    cell.name = CUISettings::capitalizedName(element.displayName);
    cell.flag = CUISettings::urlForImagePath(CUISettings::getImageForCurrency(element.isoTextCode));
    cell.selectable = dataModel_->isCurrencyCodeAvailable(element.isoTextCode);
    cell.value = valueForElement(element);
    if (cell.value.isNaN()) {
        cell.rateText = localized(QStringLiteral("NoData"));
        cell.pending = cell.selectable && isDataReloading_;
        return cell;
    }
    cell.rateText = getFormattedCurrencyRate(cell.value);
    if (isConversionMode()) {
        cell.codeText =
            showsInverseRates_ ? dataModel_->convertedCurrencyCode : element.isoTextCode;
    } else {
        cell.codeText = dataModel_->isDisplayInverseRatesEnabled()
                            ? element.isoTextCode
                            : dataModel_->getBaseCurrencyCode();
    }
    // A cross rate is as old as the older of its two rates.
    QDateTime date = ownRateDate(list[row + 1]);
    const QDateTime other = ownRateDate(list.first());
    if (!date.isValid() || (other.isValid() && other < date)) {
        date = other;
    }
    if (date.isValid()) {
        const QLocale locale = CUISettings::displayLocale();
        const QDateTime local = date.toLocalTime();
        cell.dateText = local.date() == QDate::currentDate()
                            ? locale.toString(local.time(), QLocale::ShortFormat)
                            : locale.toString(local.date(), QLocale::ShortFormat);
    }
    return cell;
}

QString CRootViewController::baseCurrencyCode() const {
    const auto& list = dataModel_->currencyDataSource();
    return list.isEmpty() ? QString() : list.first()->isoTextCode;
}

QString CRootViewController::baseCurrencyName() const {
    if (editing_ && !isInSwipeToDeleteMode_) {
        return localized(QStringLiteral("AddNewCurrency"));
    }
    const auto& list = dataModel_->currencyDataSource();
    return list.isEmpty() ? QString() : CUISettings::capitalizedName(list.first()->displayName);
}

QUrl CRootViewController::baseCurrencyFlag() const {
    return CUISettings::urlForImagePath(CUISettings::getImageForCurrency(baseCurrencyCode()));
}

QString CRootViewController::baseDescription() const {
    if (isConversionMode()) {
        return getFormattedCurrencyRate(dataModel_->convertedCurrencyValue);
    }
    return localized(QStringLiteral("BaseCurrency"));
}

QString CRootViewController::baseSubscript() const {
    return isConversionMode() ? dataModel_->convertedCurrencyCode : QString();
}

// State ---------------------------------------------------------------------------------------

QString CRootViewController::editButtonTitle() const {
    return localized(editing_ ? QStringLiteral("Done") : QStringLiteral("Edit"));
}

bool CRootViewController::isConversionMode() const {
    return dataModel_->isConversionModeEnabled();
}

QString CRootViewController::leftButton() const {
    if (isConversionMode()) {
        return QStringLiteral("inverse");
    }
    return !isTablet() && !editing_ ? QStringLiteral("settings") : QString();
}

QString CRootViewController::leftButtonTitle() const {
    if (isConversionMode()) {
        return localized(showsInverseRates_ ? QStringLiteral("Direct") : QStringLiteral("Inverse"));
    }
    return {};
}

QString CRootViewController::rightButton() const {
    return isConversionMode() ? QStringLiteral("conversionDone") : QStringLiteral("edit");
}

bool CRootViewController::isChartButtonVisible() const {
    if (!isTablet() || isConversionMode() || !chartsSupported_) {
        return false;
    }
    const std::optional<QString> source = dataModel_->getSelectedDataSource();
    return source && chartsSupported_(*source);
}

QString CRootViewController::backButtonTitle() const {
    return localized(QStringLiteral("Back"));
}

void CRootViewController::setViewHidden(bool hidden) {
    if (hidden == viewHidden_) {
        return;
    }
    viewHidden_ = hidden;
    emit viewHiddenChanged();
}

void CRootViewController::setSettingsViewController(CSettingsViewController* controller) {
    if (controller == settingsViewController_) {
        return;
    }
    settingsViewController_ = controller;
    emit settingsViewControllerChanged();
}

void CRootViewController::setNavigationController(CNavigationController* controller) {
    navigationController_ = controller;
}

void CRootViewController::updateViewTitle() {
    if (isConversionMode()) {
        setTitle(localized(QStringLiteral("Conversion")));
    } else if (const std::optional<QString> source = dataModel_->getSelectedDataSource()) {
        setTitle(dataModel_->currencyDataSourceInfo().getDataSourceDisplayName(*source));
    } else {
        setTitle(localized(QStringLiteral("CurrencyInfoViewTitle")));
    }
}

void CRootViewController::reloadData() {
    rates_->reload();
    emit baseRowChanged();
}

// Life cycle ----------------------------------------------------------------------------------

void CRootViewController::viewDidLoad() {
    if (viewLoaded_) {
        return;
    }
    viewLoaded_ = true;
    center_.addObserver(this, CRootViewModel::CurrencyDataSourceChanged, dataModel_.get(),
                        [this](const QString&, const void*) { onCurrencyDataSourceChanged(); });
    center_.addObserver(this, CCustomDataSourceMetadataUpdater::CustomDataSourceMetadataUpdated,
                        nullptr, [this](const QString&, const void*) { updateViewTitle(); });
    isDataReloading_ = false;
    isPullToRefreshEnabled_ = true;
    isInSwipeToDeleteMode_ = false;
    updateViewTitle();
    emit buttonsChanged();

    // The rates stored by earlier runs show at once, while the first refresh runs.
    dataModel_->synchronizeDataSourceWithInfo(CCBRCurrenciesInfo());
    refreshHeaderView_->setLastUpdateDate(latestRateDate());
    startTableDataRefresh();
    reloadData();
}

void CRootViewController::viewDidAppear(int orientation) {
    updateViewTitle();
    tutorialView_.showStartTutorialForOrientation(orientation, isTablet());
}

void CRootViewController::applicationDidBecomeActive() {
    startTableDataRefresh();
    reloadData();
}

void CRootViewController::onCurrencyDataSourceChanged() {
    emit buttonsChanged();
    updateViewTitle();
    startTableDataRefresh();
    reloadData();
}

void CRootViewController::ensureDataSource() {
    if (!currencyDataSource_) {
        currencyDataSource_ = std::make_unique<CCurrencyDataSource>(*dataModel_, endpoints_);
        currencyDataSource_->setDelegate(this);
    }
}

void CRootViewController::startTableDataRefresh() {
    refreshHeaderView_->setState(CPullToRefreshView::Loading);
    ensureDataSource();
    currencyDataSource_->queryCurrencyRates();
    if (!isDataReloading_) {
        isDataReloading_ = true;
        emit dataReloadingChanged();
    }
    // Rows still without a rate show that one is coming.
    rates_->refreshValues();
}

QDateTime CRootViewController::latestRateDate() const {
    QDateTime latest;
    for (const CCBRCurrencyInfoPtr& row : dataModel_->currencyDataSource()) {
        const QDateTime date = ownRateDate(row);
        if (date.isValid() && (!latest.isValid() || date > latest)) {
            latest = date;
        }
    }
    return latest;
}

void CRootViewController::finishRefreshHeader() {
    const QDateTime date = latestRateDate();
    if (date.isValid()) {
        refreshHeaderView_->setLastUpdateDate(date);
    }
    refreshHeaderView_->setState(CPullToRefreshView::Normal);
    showPullToRefreshView(false);
}

void CRootViewController::queryCurrencyDataSourceCompletedWithResult(CCBRCurrenciesInfoPtr result) {
    isDataReloading_ = false;
    showErrorMessage_ = false;
    emit dataReloadingChanged();
    const CCBRCurrenciesInfo table = result ? *result : CCBRCurrenciesInfo();
    if (const std::optional<QString> source = dataModel_->getSelectedDataSource()) {
        dataModel_->currencyDataStorageManager().addCurrenciesInfoAsync(table, *source);
    }
    dataModel_->synchronizeDataSourceWithInfo(table);
    reloadData();
    finishRefreshHeader();
    emit refreshFinished(true);
}

void CRootViewController::queryCurrencyDataSourceFailedWithErrorDescription(
    const QString& description) {
    isDataReloading_ = false;
    emit dataReloadingChanged();
    dataModel_->synchronizeDataSourceWithInfo(CCBRCurrenciesInfo());
    reloadData();
    finishRefreshHeader();
    if (!viewHidden_ && showErrorMessage_) {
        emit alertRequested(description, QString(), QStringLiteral("OK"));
        showErrorMessage_ = false;
    }
    emit refreshFinished(false);
}

// Pull to refresh -------------------------------------------------------------------------------

void CRootViewController::scrollViewDidScroll(qreal y, bool dragging) {
    if (!dragging || isDataReloading_) {
        return;
    }
    const int state = refreshHeaderView_->state();
    if (state == CPullToRefreshView::ReleaseToRefresh && y >= -PullToRefreshThreshold && y < 0) {
        refreshHeaderView_->setState(CPullToRefreshView::Normal);
    } else if (state == CPullToRefreshView::Normal && y < -PullToRefreshThreshold) {
        refreshHeaderView_->setState(CPullToRefreshView::ReleaseToRefresh);
    }
}

void CRootViewController::scrollViewDidEndDragging(qreal y) {
    if (isPullToRefreshEnabled_ && y <= -PullToRefreshThreshold && !isDataReloading_) {
        showErrorMessage_ = true;
        startTableDataRefresh();
        showPullToRefreshView(true);
    }
}

void CRootViewController::showPullToRefreshView(bool show) {
    const int inset = show ? PullToRefreshThreshold : 0;
    if (inset == headerInset_) {
        return;
    }
    headerInset_ = inset;
    emit headerInsetChanged();
}

// Editing ---------------------------------------------------------------------------------------

void CRootViewController::setEditing(bool editing, bool /*animated*/) {
    if (editing == editing_) {
        return;
    }
    editing_ = editing;
    if (!editing) {
        dataModel_->saveSelectedCurrencyCodes();
        isInSwipeToDeleteMode_ = false;
    }
    showPullToRefreshView(false);
    isPullToRefreshEnabled_ = !editing;
    emit editingChanged();
    emit buttonsChanged();
    emit baseRowChanged();
    if (!editing && updateRatesAfterEditing_) {
        updateRatesAfterEditing_ = false;
        refreshAfterEditingTimer_.start();
    }
}

void CRootViewController::beginSwipeToDelete(int row) {
    if (editing_ || row < 0 || row >= numberOfRowsInRateSection()) {
        return;
    }
    isInSwipeToDeleteMode_ = true;
    setEditing(true);
}

void CRootViewController::endSwipeToDelete() {
    if (isInSwipeToDeleteMode_) {
        setEditing(false);
    }
}

void CRootViewController::insertCurrencies() {
    if (isConversionMode()) {
        return;
    }
    auto* picker = new CCurrencyPickerViewController(
        dataModel_->getAvailableNotSelectedCurrencyCodes(), isTablet());
    picker->setAllowsMultipleSelection(true);
    picker->setDelegate(this);
    presentViewController(picker, -1, QStringLiteral("left"));
}

bool CRootViewController::deleteRow(int row) {
    auto& list = dataModel_->currencyDataSource();
    if (isConversionMode() || row < 0 || row + 1 >= list.size()) {
        return false;
    }
    list.removeAt(row + 1);
    dataModel_->saveSelectedCurrencyCodes();
    rates_->removeRowAt(row);
    return true;
}

int CRootViewController::targetRowForMove(int section, int row) const {
    if (section <= 0) {
        return 0;
    }
    return std::clamp(row, 0, std::max(0, numberOfRowsInRateSection() - 1));
}

bool CRootViewController::moveRow(int from, int to) {
    auto& list = dataModel_->currencyDataSource();
    const int rows = numberOfRowsInRateSection();
    if (isConversionMode() || from < 0 || from >= rows || to < 0 || to >= rows) {
        return false;
    }
    if (from != to) {
        const CCBRCurrencyInfoPtr moved = list.takeAt(from + 1);
        list.insert(to + 1, moved);
    }
    dataModel_->saveSelectedCurrencyCodes();
    rates_->moveRowTo(from, to);
    return true;
}

// Selection, conversion, copy -------------------------------------------------------------------

CCBRCurrencyInfoPtr CRootViewController::elementForRow(int section, int row) const {
    const auto& list = dataModel_->currencyDataSource();
    const int index = section == 0 ? 0 : row + 1;
    return index >= 0 && index < list.size() ? list[index] : nullptr;
}

void CRootViewController::selectRow(int section, int row) {
    if (editing_) {
        return;
    }
    const CCBRCurrencyInfoPtr element = elementForRow(section, row);
    if (!element) {
        return;
    }
    if (element != dataModel_->currencyDataSource().first() &&
        !dataModel_->isCurrencyCodeAvailable(element->isoTextCode)) {
        emit alertRequested(localized(QStringLiteral("CurrencyUnavailable")), QString(),
                            localized(QStringLiteral("OK")));
        return;
    }
    if (!dataModel_->isCurrencyCodeAvailable(dataModel_->getBaseCurrencyCode())) {
        ensureDataSource();
        currencyDataSource_->queryCurrencyRateRelativeToBase(element->isoTextCode);
    }
    auto* converter = new CCurrencyConverterViewController(element, isTablet());
    converter->setDelegate(this);
    presentViewController(converter, section == 0 ? -1 : row, QStringLiteral("right"));
}

void CRootViewController::currencyConverter(CCurrencyConverterViewController* converter,
                                            const Decimal& value) {
    dataModel_->convertedCurrencyCode = converter->currencyCode();
    dataModel_->convertedCurrencyValue = value;
    dataModel_->setIsconversionModeEnabled(true);
    updateViewTitle();
    if (presentedController() == converter) {
        dismissViewController(true);
    }
    emit buttonsChanged();
    emit baseRowChanged();
    emit scrollToTopRequested();
}

void CRootViewController::onConversionDoneClick() {
    if (!isConversionMode()) {
        return;
    }
    showsInverseRates_ = false;
    dataModel_->setIsconversionModeEnabled(false);
    updateViewTitle();
    emit buttonsChanged();
    emit baseRowChanged();
}

void CRootViewController::onInverseRate() {
    showsInverseRates_ = !showsInverseRates_;
    emit buttonsChanged();
    if (dataModel_->currencyDataSource().size() < 2) {
        return;
    }
    rates_->refreshValues();
}

void CRootViewController::onSettingsClick() {
    if (!settingsViewController_) {
        setSettingsViewController(new CSettingsViewController(*dataModel_, isTablet(), this));
    }
    if (navigationController_) {
        navigationController_->pushViewController(settingsViewController_);
    }
    if (isConversionMode()) {
        onConversionDoneClick();
    }
}

void CRootViewController::onChartClick() {
    // The chart screen is not part of this build; the button stays hidden.
}

bool CRootViewController::canCopyRow(int row) const {
    const CRateCellInfo* cell = rates_->cellAt(row);
    return !editing_ && cell != nullptr && !cell->value.isNaN();
}

QString CRootViewController::copyRow(int row) {
    if (!canCopyRow(row)) {
        return {};
    }
    QString text = getFormattedCurrencyRate(rates_->cellAt(row)->value);
    text.remove(u' ');
    CPasteboard::setString(text);
    return text;
}

// Picker ----------------------------------------------------------------------------------------

void CRootViewController::currencyPicker(CCurrencyPickerViewController* picker,
                                         const QStringList& codes) {
    if (codes.isEmpty()) {
        return;
    }
    for (const QString& code : codes) {
        dataModel_->addCurrencyInfo(code);
    }
    updateRatesAfterEditing_ = true;
    rates_->insertTopRows(static_cast<int>(codes.size()));
    if (presentedController() == picker) {
        dismissViewController(true);
    }
}
