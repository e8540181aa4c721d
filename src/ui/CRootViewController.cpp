#include "CRootViewController.h"

#include "CChartDataStorageManager.h"
#include "CChartSettingsViewController.h"
#include "CCompareSourcesViewController.h"
#include "CCurrencyChartDataSource.h"
#include "CCurrencyChartSettings.h"
#include "CCurrencyChartViewController.h"
#include "CPastRateLookup.h"
#include "CSlideDownViewController.h"
#include "CSourceComparison.h"

#include "CCustomDataSourceMetadataUpdater.h"
#include "CNavigationController.h"
#include "CPasteboard.h"
#include "CPullToRefreshView.h"
#include "CRateRows.h"
#include "CSettingsViewController.h"
#include "CTutorialView.h"
#include "CUISettings.h"
#include "NotificationCenter.h"
#include "UserDefaults.h"

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
        case DetailTextRole:
            return cell.detailText;
        case StaleRole:
            return cell.stale;
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
            {PendingRole, "pending"},
            {DetailTextRole, "detailText"},
            {StaleRole, "stale"}};
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
    const bool sameRows =
        cells.size() == cells_.size() &&
        std::equal(cells.begin(), cells.end(), cells_.begin(),
                   [](const CRateCellInfo& a, const CRateCellInfo& b) { return a.code == b.code; });
    if (!sameRows) {
        beginResetModel();
        cells_ = std::move(cells);
        endResetModel();
        return;
    }
    // A keypad edit changes the amounts, often not every row: each run of changed rows is
    // reported once, so the view redraws only those.
    const int count = static_cast<int>(cells.size());
    for (int row = 0; row < count;) {
        if (cells[static_cast<size_t>(row)] == cells_[static_cast<size_t>(row)]) {
            ++row;
            continue;
        }
        const int first = row;
        while (row < count &&
               !(cells[static_cast<size_t>(row)] == cells_[static_cast<size_t>(row)])) {
            cells_[static_cast<size_t>(row)] = cells[static_cast<size_t>(row)];
            ++row;
        }
        emit dataChanged(index(first), index(row - 1));
    }
}

CRootViewController::CRootViewController(Dependencies dependencies, QObject* parent)
    : CViewController(QStringLiteral("RootView"), dependencies.tablet, parent),
      defaults_(dependencies.defaults != nullptr ? *dependencies.defaults
                                                 : UserDefaults::standardUserDefaults()),
      center_(dependencies.center != nullptr ? *dependencies.center
                                             : NotificationCenter::defaultCenter()),
      endpoints_(dependencies.endpoints),
      tutorialView_(dependencies.tutorialView != nullptr ? *dependencies.tutorialView
                                                         : CTutorialView::tutorialView()),
      chartsSupported_(dependencies.chartsSupported
                           ? std::move(dependencies.chartsSupported)
                           : std::function<bool(const QString&)>(
                                 &CCurrencyChartDataSource::isDataSourceSupported)),
      clock_(dependencies.clock ? std::move(dependencies.clock)
                                : std::function<QDateTime()>(&QDateTime::currentDateTimeUtc)),
      dataModel_(std::make_unique<CRootViewModel>(defaults_, center_,
                                                  [&] {
                                                      CRootViewModel::Options options =
                                                          dependencies.modelOptions;
                                                      options.endpoints = endpoints_;
                                                      return options;
                                                  }())),
      updater_(*dataModel_, endpoints_),
      rates_(new CCurrencyRateListModel(this)),
      refreshHeaderView_(new CPullToRefreshView(this)),
      editing_(dependencies.refreshAfterEditingDelay, [this] { startTableDataRefresh(); }) {
    chartUnavailableNotice_.setSingleShot(true);
    chartUnavailableNotice_.setInterval(dependencies.chartUnavailableNoticeDuration);
    connect(&chartUnavailableNotice_, &QTimer::timeout, this,
            &CRootViewController::chartUnavailableNoticeChanged);
    // The settings button (phone) and the chart button (tablet) follow the layout.
    connect(this, &CViewController::isTabletChanged, this, &CRootViewController::buttonsChanged);
    updater_.setFinished(
        [this](const std::optional<QString>& failure) { refreshFinishedWith(failure); });
    rates_->reload();
}

CRootViewController::~CRootViewController() {
    center_.removeObserver(this);
}

// Rows ----------------------------------------------------------------------------------------

int CRootViewController::numberOfRowsInRateSection() const {
    return std::max<int>(0, static_cast<int>(dataModel_->currencyDataSource().size()) - 1);
}

CRateCellInfo CRootViewController::cellInfoForRow(int row) const {
    CRateCellInfo cell;
    const QList<CCBRCurrencyInfoPtr>& list = dataModel_->currencyDataSource();
    if (row < 0 || row + 1 >= list.size()) {
        return cell;
    }
    CRateRows rows = CRateRows::forModel(*dataModel_, showsInverseRates_);
    rows.setNow(clock_());
    const CRateRow rateRow = rows.row(row + 1);
    cell.code = rateRow.code;
    cell.name = rateRow.name;
    cell.flag = CUISettings::urlForImagePath(CUISettings::getImageForCurrency(rateRow.code));
    cell.selectable = rateRow.available;
    cell.value = rateRow.value;
    if (cell.value.isNaN()) {
        cell.rateText = localized(QStringLiteral("NoData"));
        cell.pending = cell.selectable && (isDataReloading_ || pastRatesPending_);
        return cell;
    }
    cell.rateText = rateRow.rateText;
    cell.codeText = rateRow.codeText;
    if (rateRow.date.isValid()) {
        const QLocale locale = CUISettings::displayLocale();
        if (CCBRCurrencyInfo::isPublishedDay(rateRow.date)) {
            // A day the provider published: its own date, in no time zone.
            cell.dateText = locale.toString(rateRow.date.toUTC().date(), QLocale::ShortFormat);
        } else {
            const QDateTime local = rateRow.date.toLocalTime();
            cell.dateText = local.date() == QDate::currentDate()
                                ? locale.toString(local.time(), QLocale::ShortFormat)
                                : locale.toString(local.date(), QLocale::ShortFormat);
        }
    }
    cell.stale = rateRow.stale;
    QStringList detail;
    for (const QString& part :
         {cell.dateText, rateRow.stale ? localized(QStringLiteral("RateStale")) : QString(),
          rateRow.sourceNote}) {
        if (!part.isEmpty()) {
            detail.append(part);
        }
    }
    cell.detailText = detail.join(QStringLiteral(" \u00b7 "));
    return cell;
}

QString CRootViewController::baseCurrencyCode() const {
    const auto& list = dataModel_->currencyDataSource();
    return list.isEmpty() ? QString() : list.first()->isoTextCode;
}

QString CRootViewController::baseCurrencyName() const {
    if (editing_.isEditing() && !editing_.isInSwipeToDeleteMode()) {
        return localized(QStringLiteral("AddNewCurrency"));
    }
    const auto& list = dataModel_->currencyDataSource();
    return list.isEmpty() ? QString() : CRateRows::capitalizedName(list.first()->displayName);
}

QUrl CRootViewController::baseCurrencyFlag() const {
    return CUISettings::urlForImagePath(CUISettings::getImageForCurrency(baseCurrencyCode()));
}

QString CRootViewController::baseDescription() const {
    if (isConversionMode()) {
        return CRateRows::getFormattedCurrencyRate(dataModel_->convertedCurrencyValue);
    }
    return localized(QStringLiteral("BaseCurrency"));
}

QString CRootViewController::baseSubscript() const {
    if (!isConversionMode()) {
        return {};
    }
    // At a past day's rates, the day asked for goes with the code; each row says whose rate.
    if (dataModel_->conversionDate.isValid()) {
        return dataModel_->convertedCurrencyCode + QStringLiteral(" · ") +
               CUISettings::displayLocale().toString(dataModel_->conversionDate,
                                                     QLocale::ShortFormat);
    }
    return dataModel_->convertedCurrencyCode;
}

// State ---------------------------------------------------------------------------------------

QString CRootViewController::editButtonTitle() const {
    return localized(editing_.isEditing() ? QStringLiteral("Done") : QStringLiteral("Edit"));
}

bool CRootViewController::isConversionMode() const {
    return dataModel_->isConversionModeEnabled();
}

QString CRootViewController::leftButton() const {
    if (isConversionMode()) {
        return QStringLiteral("inverse");
    }
    return !isTablet() && !editing_.isEditing() ? QStringLiteral("settings") : QString();
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
    rates_->refreshValues();
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
    editing_.reset();
    updateViewTitle();
    emit buttonsChanged();

    // The rates stored by earlier runs show at once, while the first refresh runs.
    dataModel_->synchronizeDataSourceWithInfo(CCBRCurrenciesInfo());
    refreshHeaderView_->setLastUpdateDate(lastUpdateDate());
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

void CRootViewController::startTableDataRefresh() {
    refreshHeaderView_->setState(CPullToRefreshView::Loading);
    if (refreshesHeld_) {
        refreshWaiting_ = true;
    } else {
        updater_.queryCurrencyRates();
    }
    if (!isDataReloading_) {
        isDataReloading_ = true;
        emit dataReloadingChanged();
    }
    // Rows still without a rate show that one is coming.
    rates_->refreshValues();
}

void CRootViewController::holdRefreshes(bool hold) {
    refreshesHeld_ = hold;
    if (!hold && refreshWaiting_) {
        refreshWaiting_ = false;
        updater_.queryCurrencyRates();
    }
}

namespace {
// When rates last arrived: the rows carry the days their rates were published, not this.
const QString kRatesLastUpdated = QStringLiteral("RatesLastUpdated");
}  // namespace

QDateTime CRootViewController::lastUpdateDate() const {
    const QDateTime stored = defaults_.dateForKey(kRatesLastUpdated);
    return stored.isValid() ? stored : latestRateDate();
}

QDateTime CRootViewController::latestRateDate() const {
    QDateTime latest;
    for (const CCBRCurrencyInfoPtr& row : dataModel_->currencyDataSource()) {
        const QDateTime date = CRateRows::ownRateDate(row.get());
        if (date.isValid() && (!latest.isValid() || date > latest)) {
            latest = date;
        }
    }
    return latest;
}

void CRootViewController::finishRefreshHeader() {
    if (currencyDataSource() != nullptr && !currencyDataSource()->answers().isEmpty()) {
        defaults_.setObject(clock_(), kRatesLastUpdated);
        defaults_.synchronize();
    }
    const QDateTime date = lastUpdateDate();
    if (date.isValid()) {
        refreshHeaderView_->setLastUpdateDate(date);
    }
    refreshHeaderView_->setState(CPullToRefreshView::Normal);
    showPullToRefreshView(false);
}

void CRootViewController::refreshFinishedWith(const std::optional<QString>& failure) {
    isDataReloading_ = false;
    if (!failure) {
        showErrorMessage_ = false;
    }
    emit dataReloadingChanged();
    reloadData();
    finishRefreshHeader();
    if (failure && !viewHidden_ && showErrorMessage_) {
        showRefreshAlert(*failure);
        showErrorMessage_ = false;
    }
    emit refreshFinished(!failure);
}

void CRootViewController::showRefreshAlert(const QString& text) {
    if (!tutorialView_.isVisible()) {
        emit alertRequested(text, QString(), QStringLiteral("OK"));
        return;
    }
    // A later failure replaces one still waiting: only the newest is worth reading.
    const bool connected = alertAfterTutorial_.has_value();
    alertAfterTutorial_ = text;
    if (connected) {
        return;
    }
    connect(&tutorialView_, &CTutorialView::visibleChanged, this, [this] {
        if (tutorialView_.isVisible() || !alertAfterTutorial_) {
            return;
        }
        disconnect(&tutorialView_, &CTutorialView::visibleChanged, this, nullptr);
        const QString text = *std::exchange(alertAfterTutorial_, std::nullopt);
        if (!viewHidden_) {
            emit alertRequested(text, QString(), QStringLiteral("OK"));
        }
    });
}

void CRootViewController::onRefreshClick() {
    if (!editing_.isPullToRefreshEnabled() || isDataReloading_) {
        return;
    }
    showErrorMessage_ = true;
    startTableDataRefresh();
    showPullToRefreshView(true);
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
    if (editing_.isPullToRefreshEnabled() && y <= -PullToRefreshThreshold && !isDataReloading_) {
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
    if (!editing_.setEditing(editing)) {
        return;
    }
    if (!editing) {
        dataModel_->saveSelectedCurrencyCodes();
    }
    showPullToRefreshView(false);
    emit editingChanged();
    emit buttonsChanged();
    emit baseRowChanged();
}

void CRootViewController::beginSwipeToDelete(int row) {
    if (row < 0 || row >= numberOfRowsInRateSection() || !editing_.beginSwipeToDelete()) {
        return;
    }
    setEditing(true);
}

void CRootViewController::endSwipeToDelete() {
    if (editing_.isInSwipeToDeleteMode()) {
        setEditing(false);
    }
}

void CRootViewController::insertCurrencies() {
    if (isConversionMode()) {
        return;
    }
    auto* picker = new CCurrencyPickerViewController(
        dataModel_->getAvailableNotSelectedCurrencyCodes(), isTablet());
    picker->setDetailsFromDataSources(*dataModel_);
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
    if (editing_.isEditing()) {
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
        // It replaces the cycle in flight, and so a held one too.
        refreshWaiting_ = false;
        updater_.queryCurrencyRateRelativeToBase(element->isoTextCode);
    }
    auto* converter = new CCurrencyConverterViewController(element, isTablet());
    converter->setDelegate(this);
    presentViewController(converter, section == 0 ? -1 : row, QStringLiteral("right"));
}

void CRootViewController::currencyConverter(CCurrencyConverterViewController* converter,
                                            const Decimal& value) {
    if (pastRates_) {
        pastRates_->cancel();
    }
    pastRatesPending_ = false;
    dataModel_->convertedCurrencyCode = converter->currencyCode();
    dataModel_->convertedCurrencyValue = value;
    dataModel_->conversionDate = converter->conversionDate();
    dataModel_->conversionRates.clear();
    if (dataModel_->conversionDate.isValid()) {
        convertAtPastDay(converter->currencyCode(), converter->conversionDate());
    }
    dataModel_->setIsconversionModeEnabled(true);
    updateViewTitle();
    if (presentedController() == converter) {
        dismissViewController(true);
    }
    emit buttonsChanged();
    emit baseRowChanged();
    emit scrollToTopRequested();
}

void CRootViewController::convertAtPastDay(const QString& code, const QDate& day) {
    if (!pastRates_) {
        chartCache_ = std::make_unique<CChartDataStorageManager>();
        pastRates_ = std::make_unique<CPastRateLookup>(*dataModel_, chartCache_.get(), endpoints_);
    }
    pastRatesPending_ = true;
    pastRates_->lookup(dataModel_->getSelectedCurrencyCodes(), day,
                       [this, code, day](const CPastRateLookup::Outcome& outcome) {
                           pastRatesPending_ = false;
                           if (!isConversionMode() || dataModel_->convertedCurrencyCode != code ||
                               dataModel_->conversionDate != day) {
                               return;
                           }
                           if (outcome.rates.size() <= 1 && outcome.failure) {
                               // Nothing to convert with: back to the list, and say why.
                               onConversionDoneClick();
                           } else {
                               dataModel_->conversionRates = outcome.rates;
                               reloadData();
                           }
                           if (outcome.failure && !viewHidden_) {
                               emit alertRequested(*outcome.failure, QString(),
                                                   QStringLiteral("OK"));
                           }
                       });
}

void CRootViewController::onConversionDoneClick() {
    if (pastRates_) {
        pastRates_->cancel();
    }
    pastRatesPending_ = false;
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
    if (!isChartButtonVisible()) {
        return;
    }
    presentChart();
}

void CRootViewController::presentChart() {
    if (!isTablet()) {
        if (presentedController() == nullptr) {
            deviceOrientationChanged(CTutorialView::LandscapeRight);
        }
        return;
    }
    CCurrencyChartViewController::Dependencies dependencies;
    dependencies.endpoints = endpoints_;
    auto* chart = new CCurrencyChartViewController(*dataModel_, true, std::move(dependencies));
    chart->setFullScreen(true);
    chartController_ = chart;
    presentViewController(chart);
    emit chartControllerPresented(chart);
}

QString CRootViewController::chartUnavailableText() const {
    return localized(QStringLiteral("ChartDataUnavailableForDatasource"));
}

void CRootViewController::deviceOrientationChanged(int orientation) {
    if (isTablet()) {
        return;
    }
    // Only while the rate list is the top screen of the phone's stack.
    if (navigationController_ && navigationController_->topViewController() != this) {
        return;
    }
    const std::optional<QString> source = dataModel_->getSelectedDataSource();
    const bool supported = source && chartsSupported_ && chartsSupported_(*source);
    const bool landscape = orientation == 3 || orientation == 4;
    if (landscape && !supported) {
        chartUnavailableNotice_.start();
        emit chartUnavailableNoticeChanged();
        return;
    }
    if (landscape) {
        if (presentedController() != nullptr) {
            return;
        }
        tutorialView_.dismissAnimated(false);
        CCurrencyChartViewController::Dependencies dependencies;
        dependencies.endpoints = endpoints_;
        auto* chart = new CCurrencyChartViewController(*dataModel_, false, std::move(dependencies));
        auto* settings = new CChartSettingsViewController(*dataModel_, false);
        auto* container = new CSlideDownViewController(chart, settings, false);
        container->setVisibleControllerHeight(32);
        chart->setRootController(container);
        settings->setRootController(container);
        settings->setChartController(chart);
        chartController_ = chart;
        presentViewController(container);
        emit chartControllerPresented(chart);
        return;
    }
    if (chartUnavailableNotice_.isActive()) {
        chartUnavailableNotice_.stop();
        emit chartUnavailableNoticeChanged();
    }
    if (isShowingLandscapeView()) {
        dismissViewController(true);
    }
}

bool CRootViewController::isShowingLandscapeView() const {
    return qobject_cast<CSlideDownViewController*>(presentedController()) != nullptr;
}

bool CRootViewController::canCopyRow(int row) const {
    const CRateCellInfo* cell = rates_->cellAt(row);
    return !editing_.isEditing() && cell != nullptr && !cell->value.isNaN();
}

QString CRootViewController::copyRow(int row) {
    if (!canCopyRow(row)) {
        return {};
    }
    QString text = CRateRows::getFormattedCurrencyRate(rates_->cellAt(row)->value);
    text.remove(u' ');
    CPasteboard::setString(text);
    return text;
}

QString CRootViewController::rowText(int row) const {
    const CRateCellInfo* cell = rates_->cellAt(row);
    if (cell == nullptr) {
        return {};
    }
    QString text = QStringLiteral("%1 (%2): %3").arg(cell->name, cell->code, cell->rateText);
    if (!cell->codeText.isEmpty()) {
        text += u' ' + cell->codeText;
    }
    return text;
}

QStringList CRootViewController::contextMenuActions(int row) const {
    QStringList actions;
    const CRateCellInfo* cell = rates_->cellAt(row);
    if (cell == nullptr) {
        return actions;
    }
    if (canCopyRow(row)) {
        actions << QStringLiteral("copyValue");
    }
    if (!editing_.isEditing()) {
        actions << QStringLiteral("copyRow");
    }
    const std::optional<QString> source = dataModel_->getSelectedDataSource();
    if (!editing_.isEditing() && !isConversionMode() && cell->selectable && source &&
        chartsSupported_ && chartsSupported_(*source)) {
        actions << QStringLiteral("chart");
    }
    if (!editing_.isEditing() && cell->code != baseCurrencyCode() &&
        !CSourceComparison::sourcesFor(*dataModel_, cell->code, baseCurrencyCode()).isEmpty()) {
        actions << QStringLiteral("compare");
    }
    if (canEditRows()) {
        actions << QStringLiteral("remove");
    }
    return actions;
}

bool CRootViewController::triggerContextAction(int row, const QString& action) {
    if (!contextMenuActions(row).contains(action)) {
        return false;
    }
    if (action == u"copyValue") {
        copyRow(row);
    } else if (action == u"copyRow") {
        CPasteboard::setString(rowText(row));
    } else if (action == u"chart") {
        // The chart of the row against the base, the same way round as the row's rate.
        const CRateCellInfo* cell = rates_->cellAt(row);
        const QString base = baseCurrencyCode();
        CCurrencyChartSettings::setCurrencyPair(cell->codeText == cell->code
                                                    ? QStringList{base, cell->code}
                                                    : QStringList{cell->code, base},
                                                defaults_);
        presentChart();
    } else if (action == u"compare") {
        // Over the list: a popover at the row on a tablet, the whole screen on a phone.
        auto* compare = new CCompareSourcesViewController(
            *dataModel_, endpoints_, rates_->cellAt(row)->code, baseCurrencyCode(), isTablet());
        presentViewController(compare, row, QStringLiteral("right"));
        emit compareControllerPresented(compare);
    } else {
        return deleteRow(row);
    }
    return true;
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
    editing_.listGainedCurrencies();
    rates_->insertTopRows(static_cast<int>(codes.size()));
    if (presentedController() == picker) {
        dismissViewController(true);
    }
}
