#pragma once

#include "CCurrencyConverterViewController.h"
#include "CCurrencyPickerViewController.h"
#include "CNavigationController.h"
#include "CPullToRefreshView.h"
#include "CRateListEditing.h"
#include "CRateListUpdater.h"
#include "CRootViewModel.h"
#include "CSettingsViewController.h"
#include "CViewController.h"
#include "Decimal.h"
#include "Endpoints.h"

#include <QAbstractListModel>
#include <QDateTime>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CChartDataStorageManager;
class CPastRateLookup;
class CRootViewController;
class CTutorialView;
class NotificationCenter;
class UserDefaults;

/// What one row of the rates section shows.
struct CRateCellInfo {
    QString code;
    QString name;
    QUrl flag;
    /// The formatted rate, or the localized "NoData".
    QString rateText;
    /// The code the rate is quoted in; empty without a rate.
    QString codeText;
    /// The date of the row's rate; empty without one.
    QString dateText;
    /// The row's detail line: the date, "stale" for a stale rate, then where the rate comes
    /// from when that is not the active source's answer (elided first on a narrow row).
    QString detailText;
    /// The rate is older than its source's schedule allows.
    bool stale = false;
    /// The code is offered by the selected sources (the row opens the converter).
    bool selectable = false;
    /// The shown rate; NaN without one.
    Decimal value = Decimal::nan();
    /// No rate yet while a refresh is in flight.
    bool pending = false;

    bool operator==(const CRateCellInfo&) const = default;
};

/// The rates section of the rate list: row r is element r + 1 of the model's list.
class CCurrencyRateListModel : public QAbstractListModel {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the rate list screen")

public:
    enum Role {
        CodeRole = Qt::UserRole + 1,
        NameRole,
        FlagRole,
        RateTextRole,
        CodeTextRole,
        DateTextRole,
        SelectableRole,
        CopyableRole,
        PendingRole,
        DetailTextRole,
        StaleRole,
    };

    explicit CCurrencyRateListModel(CRootViewController* owner);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    const CRateCellInfo* cellAt(int row) const;

    /// Reads every row again ("reload the table").
    void reload();
    /// Rows 0 to n - 1 are new.
    void insertTopRows(int count);
    void removeRowAt(int row);
    void moveRowTo(int from, int to);
    /// Reads every row again; only rows whose contents changed are reported (all of them when
    /// rows came or went or moved).
    void refreshValues();

private:
    std::vector<CRateCellInfo> readCells() const;

    CRootViewController* owner_;
    std::vector<CRateCellInfo> cells_;
};

/// The rate list screen: the base currency in a first section and every other selected
/// currency with its rate in a second. Refreshes from the active providers on start, on every
/// change of the model, on return to the foreground and on a pull-down; edits the list; opens
/// the converter (conversion mode), the currency picker and the settings screen.
class CRootViewController : public CViewController,
                            public CCurrencyPickerViewDelegate,
                            public CCurrencyConverterViewDelegate {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Screen controllers are made in C++")

    Q_PROPERTY(CCurrencyRateListModel* rates READ rates CONSTANT)
    Q_PROPERTY(CPullToRefreshView* refreshHeaderView READ refreshHeaderView CONSTANT)
    /// The space kept above the list for the refresh header: 65 while shown, else 0.
    Q_PROPERTY(int headerInset READ headerInset NOTIFY headerInsetChanged)

    Q_PROPERTY(QString baseCurrencyCode READ baseCurrencyCode NOTIFY baseRowChanged)
    Q_PROPERTY(QString baseCurrencyName READ baseCurrencyName NOTIFY baseRowChanged)
    Q_PROPERTY(QUrl baseCurrencyFlag READ baseCurrencyFlag NOTIFY baseRowChanged)
    Q_PROPERTY(QString baseDescription READ baseDescription NOTIFY baseRowChanged)
    Q_PROPERTY(QString baseSubscript READ baseSubscript NOTIFY baseRowChanged)

    Q_PROPERTY(bool editing READ isEditing NOTIFY editingChanged)
    Q_PROPERTY(bool isInSwipeToDeleteMode READ isInSwipeToDeleteMode NOTIFY editingChanged)
    Q_PROPERTY(bool isPullToRefreshEnabled READ isPullToRefreshEnabled NOTIFY editingChanged)
    Q_PROPERTY(QString editButtonTitle READ editButtonTitle NOTIFY editingChanged)
    /// Rows can be added and deleted (not in conversion mode).
    Q_PROPERTY(bool canEditRows READ canEditRows NOTIFY buttonsChanged)

    Q_PROPERTY(bool isConversionMode READ isConversionMode NOTIFY buttonsChanged)
    Q_PROPERTY(bool showsInverseRates READ showsInverseRates NOTIFY buttonsChanged)
    /// The left bar button: "settings", "inverse" (titled `leftButtonTitle`) or "" (none).
    Q_PROPERTY(QString leftButton READ leftButton NOTIFY buttonsChanged)
    Q_PROPERTY(QString leftButtonTitle READ leftButtonTitle NOTIFY buttonsChanged)
    /// The right bar button: "edit" (the edit/done button) or "conversionDone".
    Q_PROPERTY(QString rightButton READ rightButton NOTIFY buttonsChanged)
    Q_PROPERTY(bool chartButtonVisible READ isChartButtonVisible NOTIFY buttonsChanged)
    Q_PROPERTY(QString backButtonTitle READ backButtonTitle CONSTANT)

    Q_PROPERTY(bool isDataReloading READ isDataReloading NOTIFY dataReloadingChanged)
    /// The view is hidden (no refresh alerts then).
    Q_PROPERTY(bool viewHidden READ isViewHidden WRITE setViewHidden NOTIFY viewHiddenChanged)
    Q_PROPERTY(CSettingsViewController* settingsViewController READ settingsViewController NOTIFY
                   settingsViewControllerChanged)
    /// Phone: the landscape chart is presented.
    Q_PROPERTY(
        bool isShowingLandscapeView READ isShowingLandscapeView NOTIFY presentedControllerChanged)
    /// Phone in landscape with a source without charts: the notice is on screen.
    Q_PROPERTY(bool chartUnavailableNoticeVisible READ isChartUnavailableNoticeVisible NOTIFY
                   chartUnavailableNoticeChanged)
    Q_PROPERTY(QString chartUnavailableText READ chartUnavailableText CONSTANT)

public:
    /// The pull distance that starts a refresh, in points.
    static constexpr int PullToRefreshThreshold = 65;

    struct Dependencies {
        /// Null: the standard store and the default notification centre.
        UserDefaults* defaults = nullptr;
        NotificationCenter* center = nullptr;
        CRootViewModel::Options modelOptions;
        /// Service hosts of the providers and the base currency selector.
        Endpoints endpoints;
        bool tablet = false;
        /// The wait between the end of editing and the refresh it asks for.
        std::chrono::milliseconds refreshAfterEditingDelay{500};
        /// The start tutorial (not owned); null: the shared one.
        CTutorialView* tutorialView = nullptr;
        /// Whether a data source has charts; absent: the chart data source's answer.
        std::function<bool(const QString&)> chartsSupported;
        /// How long the phone's "no chart for this source" notice stays.
        std::chrono::milliseconds chartUnavailableNoticeDuration{2000};
        /// The moment rates are judged stale at; null: the system clock.
        std::function<QDateTime()> clock;
    };

    explicit CRootViewController(Dependencies dependencies, QObject* parent = nullptr);
    ~CRootViewController() override;

    CRootViewModel& dataModel() { return *dataModel_; }
    CCurrencyDataSource* currencyDataSource() const { return updater_.currencyDataSource(); }
    CCurrencyRateListModel* rates() const { return rates_; }
    CPullToRefreshView* refreshHeaderView() const { return refreshHeaderView_; }
    int headerInset() const { return headerInset_; }

    // Rows.
    int numberOfRowsInRateSection() const;
    CRateCellInfo cellInfoForRow(int row) const;
    QString baseCurrencyCode() const;
    QString baseCurrencyName() const;
    QUrl baseCurrencyFlag() const;
    QString baseDescription() const;
    QString baseSubscript() const;

    // State.
    bool isEditing() const { return editing_.isEditing(); }
    bool isInSwipeToDeleteMode() const { return editing_.isInSwipeToDeleteMode(); }
    bool isPullToRefreshEnabled() const { return editing_.isPullToRefreshEnabled(); }
    QString editButtonTitle() const;
    bool canEditRows() const { return !isConversionMode(); }
    bool isConversionMode() const;
    bool showsInverseRates() const { return showsInverseRates_; }
    QString leftButton() const;
    QString leftButtonTitle() const;
    QString rightButton() const;
    bool isChartButtonVisible() const;
    QString backButtonTitle() const;
    bool isDataReloading() const { return isDataReloading_; }
    bool showErrorMessage() const { return showErrorMessage_; }
    bool updateRatesAfterEditing() const { return editing_.updateRatesAfterEditing(); }
    std::chrono::milliseconds refreshAfterEditingDelay() const { return editing_.refreshDelay(); }
    /// A refresh asked for by the end of editing is waiting for its delay.
    bool isRefreshAfterEditingPending() const { return editing_.isRefreshPending(); }
    bool isViewHidden() const { return viewHidden_; }
    void setViewHidden(bool hidden);
    CSettingsViewController* settingsViewController() const { return settingsViewController_; }
    void setSettingsViewController(CSettingsViewController* controller);
    CNavigationController* navigationController() const { return navigationController_; }
    void setNavigationController(CNavigationController* controller);

    // Life cycle.
    /// Observers, title, buttons, the stored rates at once, then the first refresh.
    Q_INVOKABLE void viewDidLoad();
    /// Title, and the start tutorial when it is still due.
    Q_INVOKABLE void viewDidAppear(int orientation = 1);
    void applicationDidBecomeActive();
    Q_INVOKABLE void startTableDataRefresh();
    /// While held, a refresh shows as started (header, reloading flag) but asks the providers
    /// only when released: the app keeps the network quiet until its first frame is on screen.
    void holdRefreshes(bool hold);
    /// A refresh the user asked for from the keyboard (F5, Ctrl+R): as a pull past the
    /// threshold, so a failure may alert. Nothing while editing or while one is in flight.
    Q_INVOKABLE void onRefreshClick();

    // Pull to refresh; `y` is the list's vertical content offset (negative when pulled down).
    Q_INVOKABLE void scrollViewDidScroll(qreal y, bool dragging);
    Q_INVOKABLE void scrollViewDidEndDragging(qreal y);
    void showPullToRefreshView(bool show);

    // Editing.
    Q_INVOKABLE void setEditing(bool editing, bool animated = true);
    /// A swipe on a rates row: editing for that row only.
    Q_INVOKABLE void beginSwipeToDelete(int row);
    Q_INVOKABLE void endSwipeToDelete();
    /// The add control of the base row: the picker of offered codes not yet listed.
    Q_INVOKABLE void insertCurrencies();
    Q_INVOKABLE bool deleteRow(int row);
    /// Where a row dragged to (`section`, `row`) lands: section 0 means row 0 of the rates.
    Q_INVOKABLE int targetRowForMove(int section, int row) const;
    Q_INVOKABLE bool moveRow(int from, int to);

    // Selection, conversion, copy.
    /// A tap on the base row (section 0) or a rates row (section 1).
    Q_INVOKABLE void selectRow(int section, int row);
    Q_INVOKABLE void onConversionDoneClick();
    Q_INVOKABLE void onInverseRate();
    Q_INVOKABLE void onSettingsClick();
    /// Tablet: the chart screen, modally over the whole window.
    Q_INVOKABLE void onChartClick();
    /// The window turned: 1 portrait, 3 landscape (wider than tall). On a phone, landscape
    /// shows the chart above its settings, portrait closes them again.
    Q_INVOKABLE void deviceOrientationChanged(int orientation);
    bool isShowingLandscapeView() const;
    bool isChartUnavailableNoticeVisible() const { return chartUnavailableNotice_.isActive(); }
    QString chartUnavailableText() const;
    /// The chart screen last opened from here (null when closed).
    CViewController* chartController() const { return chartController_; }
    Q_INVOKABLE bool canCopyRow(int row) const;
    /// Puts the row's value, without blanks, on the pasteboard; returns the text.
    Q_INVOKABLE QString copyRow(int row);
    /// The row as one line: name, code, and the rate as shown with what it is quoted in.
    QString rowText(int row) const;
    /// The entries of a rates row's context menu that apply now, in this order: "copyValue",
    /// "copyRow", "chart" (the active source has charts), "compare" (some source quotes the
    /// row's currency against the base), "remove".
    Q_INVOKABLE QStringList contextMenuActions(int row) const;
    /// Carries out one of `contextMenuActions(row)`; false when it does not apply.
    Q_INVOKABLE bool triggerContextAction(int row, const QString& action);

    // Delegates.
    void currencyPicker(CCurrencyPickerViewController* picker, const QStringList& codes) override;
    void currencyConverter(CCurrencyConverterViewController* converter,
                           const Decimal& value) override;

signals:
    void headerInsetChanged();
    void baseRowChanged();
    void editingChanged();
    void buttonsChanged();
    void dataReloadingChanged();
    void viewHiddenChanged();
    void settingsViewControllerChanged();
    /// The list is to scroll to its first row, animated.
    void scrollToTopRequested();
    /// A refresh cycle ended (the list shows its outcome).
    void refreshFinished(bool succeeded);
    void chartUnavailableNoticeChanged();
    /// A chart screen was made and presented.
    void chartControllerPresented(CViewController* chart);
    /// A "Compare sources" screen was made and presented.
    void compareControllerPresented(CViewController* compare);

private:
    void updateViewTitle();
    void reloadData();
    void ensureDataSource();
    /// The newest date of a row that has a rate; invalid when none has.
    QDateTime latestRateDate() const;
    /// When a refresh last brought rates; before the first, the newest rate's date.
    QDateTime lastUpdateDate() const;
    void finishRefreshHeader();
    /// The end of a refresh cycle: nothing, or the failure text.
    void refreshFinishedWith(const std::optional<QString>& failure);
    CCBRCurrencyInfoPtr elementForRow(int section, int row) const;
    void onCurrencyDataSourceChanged();
    /// Opens the chart of the active source: the full-screen chart screen on a tablet, the chart
    /// above its settings on a phone.
    void presentChart();
    /// Shows a refresh failure, or keeps it until the start tutorial is tapped away (the alert
    /// would cover the hints, and a tap meant for the hints would close it unread).
    void showRefreshAlert(const QString& text);
    /// Looks up the rates of `day` for converting `code`: the rows wait meanwhile.
    void convertAtPastDay(const QString& code, const QDate& day);

    UserDefaults& defaults_;
    NotificationCenter& center_;
    Endpoints endpoints_;
    CTutorialView& tutorialView_;
    std::function<bool(const QString&)> chartsSupported_;
    std::function<QDateTime()> clock_;
    std::unique_ptr<CRootViewModel> dataModel_;
    CRateListUpdater updater_;
    CCurrencyRateListModel* rates_;
    CPullToRefreshView* refreshHeaderView_;
    QPointer<CSettingsViewController> settingsViewController_;
    QPointer<CNavigationController> navigationController_;
    CRateListEditing editing_;
    QTimer chartUnavailableNotice_;
    QPointer<CViewController> chartController_;
    std::optional<QString> alertAfterTutorial_;
    /// Rates of a past day for the converter, made on first use.
    std::unique_ptr<CChartDataStorageManager> chartCache_;
    std::unique_ptr<CPastRateLookup> pastRates_;
    bool pastRatesPending_ = false;

    bool viewLoaded_ = false;
    bool refreshesHeld_ = false;
    bool refreshWaiting_ = false;
    bool isDataReloading_ = false;
    bool showErrorMessage_ = true;
    bool showsInverseRates_ = false;
    bool viewHidden_ = false;
    int headerInset_ = 0;
};
