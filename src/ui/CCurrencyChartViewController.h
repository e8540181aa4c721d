#pragma once

#include "CChartPointInfoView.h"
#include "CCurrencyChartDataSource.h"
#include "CViewController.h"
#include "CWaitOverlayView.h"
#include "Decimal.h"
#include "Endpoints.h"

#include <QColor>
#include <QDateTime>
#include <QList>
#include <QPointF>
#include <QPointer>
#include <QVariantList>

#include <memory>
#include <optional>

class CChartDataStorageManager;
class CRootViewModel;
#include "CSlideDownViewController.h"
class DocumentOpener;
class MailComposer;
class PrintPresenter;

/// The chart screen: the rate history of the charted pair over the chosen period as a filled
/// line with its latest, highest and lowest values, a marker with a bubble that follows the
/// finger, and swap, refresh, settings and share. It shows the cached chart at once and always
/// asks the chart data source for a fresh one.
///
/// The view plots what this controller decides: the x values are the shown record's dates in
/// milliseconds (already moved to the device's wall-clock time, printed as GMT), the y values
/// its rates; the axis ranges, the x-axis labels and the selected point come from here.
class CCurrencyChartViewController : public CViewController,
                                     public CCurrencyChartDataSourceDelegate {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Screen controllers are made in C++")

    Q_PROPERTY(CWaitOverlayView* chartUpdateOverlayView READ chartUpdateOverlayView CONSTANT)
    Q_PROPERTY(CChartPointInfoView* selectedPointInfoView READ selectedPointInfoView CONSTANT)
    Q_PROPERTY(bool shareEnabled READ isShareEnabled NOTIFY shareEnabledChanged)
    Q_PROPERTY(bool hasChart READ hasChart NOTIFY chartChanged)
    Q_PROPERTY(bool topPaneVisible READ isTopPaneVisible NOTIFY chartChanged)
    Q_PROPERTY(QString latestText READ latestText NOTIFY chartChanged)
    Q_PROPERTY(QString highestText READ highestText NOTIFY chartChanged)
    Q_PROPERTY(QString lowestText READ lowestText NOTIFY chartChanged)
    Q_PROPERTY(qreal xMin READ xMin NOTIFY chartChanged)
    Q_PROPERTY(qreal xMax READ xMax NOTIFY chartChanged)
    Q_PROPERTY(qreal yMin READ yMin NOTIFY chartChanged)
    Q_PROPERTY(qreal yMax READ yMax NOTIFY chartChanged)
    /// printf format of the y-axis labels: three fraction digits, more when the ticks are
    /// closer than that.
    Q_PROPERTY(QString yLabelFormat READ yLabelFormat NOTIFY chartChanged)
    /// The x-axis labels: a list of {"value": x, "label": text}, at equal divisions.
    Q_PROPERTY(QVariantList xAxisTicks READ xAxisTicks NOTIFY chartChanged)
    Q_PROPERTY(int pointCount READ pointCount NOTIFY chartChanged)
    Q_PROPERTY(bool markerVisible READ isMarkerVisible NOTIFY markerChanged)
    /// The selected point in plot values.
    Q_PROPERTY(qreal markerX READ markerX NOTIFY markerChanged)
    Q_PROPERTY(qreal markerY READ markerY NOTIFY markerChanged)
    Q_PROPERTY(int selectedPointIndex READ selectedPointIndex NOTIFY markerChanged)
    /// The slide-down container on a phone (null on a tablet).
    Q_PROPERTY(
        CSlideDownViewController* rootController READ rootController NOTIFY rootControllerChanged)
    Q_PROPERTY(QString shareMenuTitle READ shareMenuTitle CONSTANT)
    /// Open in, Email, Print, in this order; the cancel button is `cancelTitle`.
    Q_PROPERTY(QStringList shareMenuButtons READ shareMenuButtons CONSTANT)
    Q_PROPERTY(QString cancelTitle READ cancelTitle CONSTANT)
    Q_PROPERTY(QString closeTitle READ closeTitle CONSTANT)
    Q_PROPERTY(QString copyTitle READ copyTitle CONSTANT)
    Q_PROPERTY(QColor lineColor READ lineColor CONSTANT)
    Q_PROPERTY(QColor fillColor READ fillColor CONSTANT)
    Q_PROPERTY(QColor gridColor READ gridColor CONSTANT)
    Q_PROPERTY(QColor markerLineColor READ markerLineColor CONSTANT)
    Q_PROPERTY(QColor statisticsColor READ statisticsColor CONSTANT)

public:
    struct Dependencies {
        /// The chart providers' hosts.
        Endpoints endpoints = Endpoints::standard();
        /// Empty: the library directory's chart cache.
        QString cacheFilePath;
        /// Null: the platform's own (mail program, default file handler, print dialog).
        MailComposer* mailComposer = nullptr;
        DocumentOpener* documentOpener = nullptr;
        PrintPresenter* printPresenter = nullptr;
    };

    CCurrencyChartViewController(CRootViewModel& model, bool tablet, Dependencies dependencies,
                                 QObject* parent = nullptr);
    ~CCurrencyChartViewController() override;

    CWaitOverlayView* chartUpdateOverlayView() const { return overlay_; }
    CChartPointInfoView* selectedPointInfoView() const { return pointInfo_; }
    bool isShareEnabled() const { return shareEnabled_; }
    bool hasChart() const { return chartInfo_.has_value(); }
    bool isTopPaneVisible() const { return topPaneVisible_; }
    QString latestText() const { return latestText_; }
    QString highestText() const { return highestText_; }
    QString lowestText() const { return lowestText_; }
    qreal xMin() const { return xMin_; }
    qreal xMax() const { return xMax_; }
    qreal yMin() const { return yMin_; }
    qreal yMax() const { return yMax_; }
    QString yLabelFormat() const { return QStringLiteral("%.%1f").arg(yLabelDigits_); }
    QVariantList xAxisTicks() const { return xAxisTicks_; }
    int pointCount() const { return static_cast<int>(plotPoints_.size()); }
    bool isMarkerVisible() const { return markerVisible_; }
    qreal markerX() const;
    qreal markerY() const;
    int selectedPointIndex() const { return selectedPointIndex_; }
    CSlideDownViewController* rootController() const { return rootController_; }
    void setRootController(CSlideDownViewController* container);
    QString shareMenuTitle() const { return localized(QStringLiteral("ShareChartData")); }
    QStringList shareMenuButtons() const;
    QString cancelTitle() const { return localized(QStringLiteral("Cancel")); }
    QString closeTitle() const { return localized(QStringLiteral("Close")); }
    QString copyTitle() const { return localized(QStringLiteral("Copy")); }
    QColor lineColor() const;
    QColor fillColor() const;
    QColor gridColor() const;
    QColor markerLineColor() const;
    QColor statisticsColor() const;

    /// The shown record as the provider gave it; nothing yet.
    const std::optional<CCurrencyChartInfo>& chartInfo() const { return chartInfo_; }
    /// Every point as plotted (x: milliseconds of the wall-clock time read as GMT, y: rate).
    const QList<QPointF>& plotPoints() const { return plotPoints_; }
    CCurrencyChartDataSource& chartDataSource() { return *chartDataSource_; }
    CChartDataStorageManager& chartStorageManager() { return *chartStorageManager_; }

    // Life cycle and actions.
    /// The overlay (transparent, with the loading text), then the first load.
    Q_INVOKABLE void viewDidLoad();
    /// The cached chart at once (or the loading overlay), then a query for a fresh one.
    Q_INVOKABLE void reloadCurrencyChartData();
    Q_INVOKABLE void onSwap();
    Q_INVOKABLE void onRefresh() { reloadCurrencyChartData(); }
    /// Tablet: the chart settings in a popover; phone: slides the chart away from (or back
    /// over) the settings underneath.
    Q_INVOKABLE void onSettings();
    Q_INVOKABLE void onTopPaneTap();
    Q_INVOKABLE void onClose();
    Q_INVOKABLE void onShare();
    /// The share menu closed with button `index` (0 Open in, 1 Email, 2 Print; -1 cancelled).
    Q_INVOKABLE void shareMenuDismissed(int index);
    Q_INVOKABLE void onOpenIn();
    Q_INVOKABLE void onCopy();
    Q_INVOKABLE void onEmail();
    Q_INVOKABLE void onPrint();
    /// The window is about to turn: menus and dialogs opened from here close.
    Q_INVOKABLE void orientationWillChange();

    // Touches on the plot, `x` in plot values. Each returns whether the plot may handle it.
    Q_INVOKABLE bool pointingDeviceDown(qreal x, int touches);
    Q_INVOKABLE bool pointingDeviceDragged(qreal x, int touches);
    Q_INVOKABLE bool pointingDeviceUp();
    /// Selects the point nearest to `x` by date, shows the marker and fills the bubble.
    Q_INVOKABLE void handleSelectedPointChange(qreal x);
    Q_INVOKABLE void hideMarker();

    // CCurrencyChartDataSourceDelegate
    void queryCurrencyChartDataSourceCompletedWithResult(const CCurrencyChartInfo& result) override;
    void queryCurrencyChartDataSourceFailedWithErrorDescription(
        const QString& description) override;

    /// The first point with the smallest distance to `x` (an earlier point wins a tie); -1
    /// for no points. Binary search when `points` are in date order.
    static int getPointIndexNearestToX(const QList<QPointF>& points, qreal x, bool sorted = true);
    /// The date patterns of the x axis and of the statistic labels for a period.
    static QString xAxisPattern(int period);
    static QString statisticPattern(int period);
    /// `date` printed with `pattern` as GMT, in the display locale.
    static QString formatDate(const QDateTime& date, const QString& pattern);
    /// The fraction digits that tell apart values `step` apart: at least `minimum`.
    static int fractionDigitsForStep(double step, int minimum);
    /// The fraction digits of a shown value: at least `minimum`, and four significant digits
    /// for values below one.
    static int fractionDigitsForValue(const Decimal& value, int minimum);
    /// `value` with exactly `fractionDigits` fraction digits, without grouping.
    static QString formatValue(const Decimal& value, int fractionDigits);
    /// The record as shown: every date moved to wall-clock time in `zone`.
    static CCurrencyChartInfo convertedForDisplay(CCurrencyChartInfo info, const QTimeZone& zone);

signals:
    void shareEnabledChanged();
    void chartChanged();
    void markerChanged();
    void rootControllerChanged();
    /// The view shows the share menu from the share button.
    void shareMenuRequested();
    /// The view closes the share menu and whatever it opened.
    void transientViewsDismissRequested();
    /// The graph fades out and back in (swap).
    void graphFadeRequested();
    /// A query ended: with a chart on screen or not.
    void queryFinished(bool succeeded);

private:
    void updateCurrencyChart();
    void updateStatisticLabels();
    void updateTitle();
    void setShareEnabled(bool enabled);
    /// The CSV text and its file name for the shown record.
    std::optional<std::pair<QString, QString>> exportedCsv() const;

    CRootViewModel& dataModel_;
    Dependencies dependencies_;
    std::unique_ptr<CChartDataStorageManager> chartStorageManager_;
    std::unique_ptr<CCurrencyChartDataSource> chartDataSource_;
    CWaitOverlayView* overlay_;
    CChartPointInfoView* pointInfo_;
    QPointer<CSlideDownViewController> rootController_;

    std::optional<CCurrencyChartInfo> chartInfo_;
    QList<QPointF> plotPoints_;
    bool pointsSorted_ = true;
    bool shareEnabled_ = false;
    bool topPaneVisible_ = false;
    QString latestText_;
    QString highestText_;
    QString lowestText_;
    qreal xMin_ = 0;
    qreal xMax_ = 1;
    qreal yMin_ = 0;
    qreal yMax_ = 1;
    int yLabelDigits_ = 3;
    QVariantList xAxisTicks_;
    bool markerVisible_ = false;
    int selectedPointIndex_ = -1;
};
