#include "CCurrencyChartViewController.h"

#include "CChartDataStorageManager.h"
#include "CChartSettingsViewController.h"
#include "CCurrencyChartDataExporter.h"
#include "CCurrencyChartSettings.h"
#include "CDocumentInteraction.h"
#include "CFileOperations.h"
#include "CPasteboard.h"
#include "CPopoverGlobalHolder.h"
#include "CRootViewModel.h"
#include "CSlideDownViewController.h"
#include "CUISettings.h"
#include "Log.h"
#include "MailComposer.h"
#include "NumberFormatter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

/// The x axis is labelled at this many equal divisions (both ends included).
constexpr int kXAxisTicks = 5;

}  // namespace

CCurrencyChartViewController::CCurrencyChartViewController(CRootViewModel& model, bool tablet,
                                                           Dependencies dependencies,
                                                           QObject* parent)
    : CViewController(QStringLiteral("CurrencyChartView"), tablet, parent),
      dataModel_(model),
      dependencies_(std::move(dependencies)),
      chartStorageManager_(std::make_unique<CChartDataStorageManager>(dependencies_.cacheFilePath)),
      chartDataSource_(std::make_unique<CCurrencyChartDataSource>(model, chartStorageManager_.get(),
                                                                  dependencies_.endpoints)),
      overlay_(new CWaitOverlayView(this)),
      pointInfo_(new CChartPointInfoView(this)) {
    chartDataSource_->setDelegate(this);
    updateTitle();
}

CCurrencyChartViewController::~CCurrencyChartViewController() {
    chartDataSource_->setDelegate(nullptr);
    chartDataSource_->cancelQuery();
}

void CCurrencyChartViewController::setRootController(CSlideDownViewController* container) {
    if (container == rootController_) {
        return;
    }
    rootController_ = container;
    emit rootControllerChanged();
}

QStringList CCurrencyChartViewController::shareMenuButtons() const {
    return {localized(QStringLiteral("OpenIn")), localized(QStringLiteral("Email")),
            localized(QStringLiteral("Print"))};
}

QColor CCurrencyChartViewController::lineColor() const {
    return CUISettings::chartLineColor(isTablet());
}
QColor CCurrencyChartViewController::fillColor() const {
    return CUISettings::chartFillColor();
}
QColor CCurrencyChartViewController::gridColor() const {
    return CUISettings::chartGridColor();
}
QColor CCurrencyChartViewController::markerLineColor() const {
    return CUISettings::chartMarkerLineColor();
}
QColor CCurrencyChartViewController::statisticsColor() const {
    return CUISettings::chartStatisticsColor();
}

qreal CCurrencyChartViewController::markerX() const {
    return selectedPointIndex_ >= 0 && selectedPointIndex_ < plotPoints_.size()
               ? plotPoints_[selectedPointIndex_].x()
               : 0;
}

qreal CCurrencyChartViewController::markerY() const {
    return selectedPointIndex_ >= 0 && selectedPointIndex_ < plotPoints_.size()
               ? plotPoints_[selectedPointIndex_].y()
               : 0;
}

// Loading -------------------------------------------------------------------------------------

void CCurrencyChartViewController::viewDidLoad() {
    overlay_->show(false, false, localized(QStringLiteral("LoadingChartData")));
    reloadCurrencyChartData();
}

void CCurrencyChartViewController::reloadCurrencyChartData() {
    std::optional<CCurrencyChartInfo> cached = chartDataSource_->getCachedChartInfo();
    setShareEnabled(cached.has_value());
    if (cached) {
        chartInfo_ = std::move(cached);
        updateCurrencyChart();
        overlay_->show(false, true, localized(QStringLiteral("LoadingChartData")));
    } else {
        overlay_->show(true, true, localized(QStringLiteral("LoadingChartData")));
    }
    chartDataSource_->queryCharts();
    updateTitle();
}

void CCurrencyChartViewController::queryCurrencyChartDataSourceCompletedWithResult(
    const CCurrencyChartInfo& result) {
    if (!result.hasData()) {
        overlay_->showError(localized(QStringLiteral("NoChartDataForCurrencyPair")));
        emit queryFinished(chartInfo_.has_value());
        return;
    }
    setShareEnabled(true);
    overlay_->show(false, true, localized(QStringLiteral("LoadingChartData")));
    // The data source has labelled the record with the charted pair and cached it as the
    // provider gave it; only the copy on screen is converted.
    chartInfo_ = result;
    updateCurrencyChart();
    emit queryFinished(true);
}

void CCurrencyChartViewController::queryCurrencyChartDataSourceFailedWithErrorDescription(
    const QString& description) {
    overlay_->showError(description);
    emit queryFinished(chartInfo_.has_value());
}

CCurrencyChartInfo CCurrencyChartViewController::convertedForDisplay(CCurrencyChartInfo info,
                                                                     const QTimeZone& zone) {
    for (CCurrencyChartPoint& point : info.plotPoints) {
        point.date = CCurrencyChartInfo::toLocalTime(point.date, zone);
    }
    info.minDate = CCurrencyChartInfo::toLocalTime(info.minDate, zone);
    info.maxDate = CCurrencyChartInfo::toLocalTime(info.maxDate, zone);
    return info;
}

namespace {

/// The offset of a time zone from GMT at a run of instants in date order, asked of the zone
/// only when an instant crosses one of its transitions.
class ZoneOffsets {
public:
    explicit ZoneOffsets(QTimeZone zone) : zone_(std::move(zone)) {}

    qint64 offsetMSecsAt(qint64 msecs) {
        if (msecs < validFrom_ || msecs >= validTo_) {
            const QDateTime instant = QDateTime::fromMSecsSinceEpoch(msecs, QTimeZone::utc());
            offset_ = qint64(zone_.offsetFromUtc(instant)) * 1000;
            const QTimeZone::OffsetData previous = zone_.previousTransition(instant.addMSecs(1));
            const QTimeZone::OffsetData next = zone_.nextTransition(instant);
            validFrom_ = previous.atUtc.isValid() ? previous.atUtc.toMSecsSinceEpoch()
                                                  : std::numeric_limits<qint64>::min();
            validTo_ = next.atUtc.isValid() ? next.atUtc.toMSecsSinceEpoch()
                                            : std::numeric_limits<qint64>::max();
        }
        return offset_;
    }

private:
    QTimeZone zone_;
    qint64 validFrom_ = 0;
    qint64 validTo_ = 0;
    qint64 offset_ = 0;
};

}  // namespace

void CCurrencyChartViewController::updateCurrencyChart() {
    // The related-currency multiplier is applied by the data source before the record is
    // cached, so a record from either place is already in the pair's own units. The record
    // keeps the provider's instants; what is shown is moved to wall-clock time.
    const CCurrencyChartInfo& info = *chartInfo_;
    ZoneOffsets offsets(QTimeZone::systemTimeZone());
    plotPoints_.clear();
    plotPoints_.reserve(info.plotPoints.size());
    pointsSorted_ = true;
    for (const CCurrencyChartPoint& point : info.plotPoints) {
        const qint64 msecs = point.date.toMSecsSinceEpoch();
        const QPointF p(static_cast<qreal>(msecs + offsets.offsetMSecsAt(msecs)),
                        point.value.toDouble());
        if (!plotPoints_.isEmpty() && p.x() < plotPoints_.last().x()) {
            pointsSorted_ = false;
        }
        plotPoints_.append(p);
    }

    if (const auto range = info.getDateRange()) {
        const qint64 location = range->location.toMSecsSinceEpoch();
        xMin_ = static_cast<qreal>(location + offsets.offsetMSecsAt(location));
        xMax_ = xMin_ + static_cast<qreal>(range->lengthMSecs);
    }
    if (const auto range = info.getValueRange()) {
        yMin_ = range->location.toDouble();
        yMax_ = yMin_ + range->length.toDouble();
    }
    // Rates of a few thousandths (yen, rouble pairs) would give five equal labels at three
    // digits.
    yLabelDigits_ = fractionDigitsForStep((yMax_ - yMin_) / 4, 3);
    xAxisTicks_.clear();
    const QString pattern = xAxisPattern(info.chartPeriod);
    QStringList labels;
    for (int i = 0; i < kXAxisTicks; ++i) {
        const qreal x = xMin_ + (xMax_ - xMin_) * i / (kXAxisTicks - 1);
        const QString label = formatDate(
            QDateTime::fromMSecsSinceEpoch(static_cast<qint64>(std::llround(x)), QTimeZone::utc()),
            pattern);
        xAxisTicks_.append(
            QVariantMap{{QStringLiteral("value"), x}, {QStringLiteral("label"), label}});
    }

    topPaneVisible_ = true;
    hideMarker();
    updateStatisticLabels();
    emit chartChanged();
}

void CCurrencyChartViewController::updateStatisticLabels() {
    const CCurrencyChartInfo& info = *chartInfo_;
    const QString pattern = statisticPattern(info.chartPeriod);
    auto text = [&pattern](const QString& key, const CCurrencyChartPoint& point) {
        return localized(key).arg(formatDate(CCurrencyChartInfo::toLocalTime(point.date), pattern),
                                  formatValue(point.value, fractionDigitsForValue(point.value, 3)));
    };
    auto firstWithValue = [&info](const Decimal& value) -> const CCurrencyChartPoint* {
        for (const CCurrencyChartPoint& point : info.plotPoints) {
            if (!point.value.isNaN() && point.value == value) {
                return &point;
            }
        }
        return nullptr;
    };
    latestText_ = text(QStringLiteral("LatestDateAValueB"), info.plotPoints.last());
    const CCurrencyChartPoint* highest = firstWithValue(info.maxCurrencyValue);
    const CCurrencyChartPoint* lowest = firstWithValue(info.minCurrencyValue);
    highestText_ = highest ? text(QStringLiteral("HighestDateAValueB"), *highest) : QString();
    lowestText_ = lowest ? text(QStringLiteral("LowestDateAValueB"), *lowest) : QString();
}

void CCurrencyChartViewController::updateTitle() {
    UserDefaults& defaults = dataModel_.userDefaults();
    const QStringList pair =
        CCurrencyChartSettings::getCurrencyPair(defaults).value_or(QStringList());
    const QString period =
        CUISettings::getDisplayNameForChartPeriod(CCurrencyChartSettings::getChartPeriod(defaults))
            .value_or(QString());
    setTitle(localized(QStringLiteral("CurrencyAPerBPeriodN"))
                 .arg(pair.value(0), pair.value(1), period));
}

void CCurrencyChartViewController::setShareEnabled(bool enabled) {
    if (enabled == shareEnabled_) {
        return;
    }
    shareEnabled_ = enabled;
    emit shareEnabledChanged();
}

// Actions -------------------------------------------------------------------------------------

void CCurrencyChartViewController::onSwap() {
    chartDataSource_->cancelQuery();
    UserDefaults& defaults = dataModel_.userDefaults();
    const std::optional<QStringList> pair = CCurrencyChartSettings::getCurrencyPair(defaults);
    if (pair) {
        CCurrencyChartSettings::setCurrencyPair({pair->at(1), pair->at(0)}, defaults);
    }
    emit graphFadeRequested();
    reloadCurrencyChartData();
}

void CCurrencyChartViewController::onSettings() {
    if (isTablet()) {
        auto* settings = new CChartSettingsViewController(dataModel_, true);
        settings->setChartController(this);
        presentViewController(settings, -1, QStringLiteral("right"));
        return;
    }
    if (rootController_) {
        rootController_->slideTopController(!rootController_->topControllerHidden(), true);
    }
}

void CCurrencyChartViewController::onTopPaneTap() {
    if (rootController_ && rootController_->topControllerHidden()) {
        rootController_->slideTopController(false, true);
    }
}

void CCurrencyChartViewController::onClose() {
    chartDataSource_->cancelQuery();
    // On a phone the chart sits in its slide-down container, which is what was presented.
    if (rootController_) {
        rootController_->dismissSelf(true);
    } else {
        dismissSelf(true);
    }
}

void CCurrencyChartViewController::onShare() {
    if (shareEnabled_) {
        emit shareMenuRequested();
    }
}

void CCurrencyChartViewController::shareMenuDismissed(int index) {
    switch (index) {
        case 0:
            onOpenIn();
            break;
        case 1:
            onEmail();
            break;
        case 2:
            onPrint();
            break;
        default:
            break;
    }
}

std::optional<std::pair<QString, QString>> CCurrencyChartViewController::exportedCsv() const {
    if (!chartInfo_) {
        return std::nullopt;
    }
    // Exported dates read as the device's wall-clock times, as on screen.
    const CCurrencyChartDataExporter exporter(
        convertedForDisplay(*chartInfo_, QTimeZone::systemTimeZone()), &dataModel_.userDefaults());
    return std::pair{exporter.exportToCsv(), exporter.getCsvFileName()};
}

void CCurrencyChartViewController::onOpenIn() {
    const auto csv = exportedCsv();
    if (!csv) {
        return;
    }
    const QString directory = CFileOperations::getDocumentsPath();
    const QString path = QDir(directory).filePath(csv->second);
    QFile file(path);
    if (directory.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(csv->first.toUtf8()) < 0 || !file.flush()) {
        nlog(QStringLiteral("Cannot write file: %1")
                 .arg(directory.isEmpty() ? QStringLiteral("no documents directory")
                                          : file.errorString()));
        return;
    }
    file.close();
    DocumentOpener& opener = dependencies_.documentOpener != nullptr
                                 ? *dependencies_.documentOpener
                                 : DocumentOpener::platformDefault();
    if (!opener.openFile(path)) {
        // Nothing on this desktop opens the file: say where it was saved.
        showMessage(localized(QStringLiteral("NoProgramOpensFileA")).arg(path));
    }
}

void CCurrencyChartViewController::onCopy() {
    if (const auto csv = exportedCsv()) {
        CPasteboard::setString(csv->first);
    }
}

void CCurrencyChartViewController::onEmail() {
    const auto csv = exportedCsv();
    if (!csv) {
        return;
    }
    MailMessage message;
    message.subject = csv->second;
    message.attachments.append(MailAttachment{
        csv->first.toUtf8(), QStringLiteral("application/octet-stream"), csv->second});
    composeMail(dependencies_.mailComposer, message);
}

void CCurrencyChartViewController::onPrint() {
    const auto csv = exportedCsv();
    if (!csv) {
        return;
    }
    PrintPresenter& presenter = dependencies_.printPresenter != nullptr
                                    ? *dependencies_.printPresenter
                                    : PrintPresenter::platformDefault();
    QString errorText;
    const PrintPresenter::Result result = presenter.present(
        QFileInfo(csv->second).completeBaseName(),
        convertedForDisplay(*chartInfo_, QTimeZone::systemTimeZone()), &errorText);
    if (result == PrintPresenter::Result::Failed) {
        nlog(QStringLiteral("Cannot print chart data: %1").arg(errorText));
    }
}

void CCurrencyChartViewController::orientationWillChange() {
    CPopoverGlobalHolder::sharedInstance().dismissActivePopover(false);
    emit transientViewsDismissRequested();
}

// Touches ---------------------------------------------------------------------------------------

bool CCurrencyChartViewController::pointingDeviceDown(qreal x, int touches) {
    if (touches > 1) {
        return false;
    }
    handleSelectedPointChange(x);
    return true;
}

bool CCurrencyChartViewController::pointingDeviceDragged(qreal x, int touches) {
    if (touches >= 2) {
        hideMarker();
        return false;
    }
    handleSelectedPointChange(x);
    return true;
}

bool CCurrencyChartViewController::pointingDeviceUp() {
    hideMarker();
    return true;
}

void CCurrencyChartViewController::handleSelectedPointChange(qreal x) {
    const int index = getPointIndexNearestToX(plotPoints_, x, pointsSorted_);
    if (index < 0 || !chartInfo_) {
        return;
    }
    const CCurrencyChartPoint& point = chartInfo_->plotPoints[index];
    pointInfo_->setTexts(formatValue(point.value, fractionDigitsForValue(point.value, 5)),
                         formatDate(CCurrencyChartInfo::toLocalTime(point.date),
                                    QStringLiteral("MM.dd.yyyy HH:mm")));
    if (index != selectedPointIndex_ || !markerVisible_) {
        selectedPointIndex_ = index;
        markerVisible_ = true;
        emit markerChanged();
    }
}

void CCurrencyChartViewController::hideMarker() {
    pointInfo_->hide();
    if (markerVisible_) {
        markerVisible_ = false;
        emit markerChanged();
    }
}

int CCurrencyChartViewController::getPointIndexNearestToX(const QList<QPointF>& points, qreal x,
                                                          bool sorted) {
    if (points.isEmpty()) {
        return -1;
    }
    if (!sorted) {
        int best = 0;
        for (int i = 1; i < points.size(); ++i) {
            if (std::abs(points[i].x() - x) < std::abs(points[best].x() - x)) {
                best = i;
            }
        }
        return best;
    }
    auto byX = [](const QPointF& p, qreal value) { return p.x() < value; };
    const auto after = std::lower_bound(points.cbegin(), points.cend(), x, byX);
    auto best = after;
    if (after == points.cend() ||
        (after != points.cbegin() && std::abs(x - (after - 1)->x()) <= std::abs(after->x() - x))) {
        best = after - 1;
    }
    // The first of several points on the same date.
    best = std::lower_bound(points.cbegin(), best, best->x(), byX);
    return static_cast<int>(best - points.cbegin());
}

// Formats ---------------------------------------------------------------------------------------

QString CCurrencyChartViewController::xAxisPattern(int period) {
    if (period <= 1) {
        return QStringLiteral("ddd HH:mm");
    }
    if (period <= 4) {
        return QStringLiteral("MM.dd");
    }
    if (period <= 7) {
        return QStringLiteral("MM.dd.yy");
    }
    return QStringLiteral("yyyy");
}

QString CCurrencyChartViewController::statisticPattern(int period) {
    return period <= 1 ? QStringLiteral("ddd HH:mm") : QStringLiteral("MM.dd.yy");
}

QString CCurrencyChartViewController::formatDate(const QDateTime& date, const QString& pattern) {
    return CUISettings::displayLocale().toString(date.toTimeZone(QTimeZone::utc()), pattern);
}

int CCurrencyChartViewController::fractionDigitsForStep(double step, int minimum) {
    if (!(step > 0) || !std::isfinite(step)) {
        return minimum;
    }
    return std::clamp(static_cast<int>(std::ceil(-std::log10(step))) + 1, minimum, 10);
}

int CCurrencyChartViewController::fractionDigitsForValue(const Decimal& value, int minimum) {
    const double v = std::abs(value.toDouble());
    if (!(v > 0) || v >= 1 || !std::isfinite(v)) {
        return minimum;
    }
    return std::clamp(3 - static_cast<int>(std::floor(std::log10(v))), minimum, 10);
}

QString CCurrencyChartViewController::formatValue(const Decimal& value, int fractionDigits) {
    NumberFormatter::Options options;
    options.useGrouping = false;
    options.minimumFractionDigits = fractionDigits;
    options.maximumFractionDigits = fractionDigits;
    return NumberFormatter(options, CUISettings::displayLocale().name()).format(value);
}
