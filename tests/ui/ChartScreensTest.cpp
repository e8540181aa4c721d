#include "CChartDataStorageManager.h"
#include "CChartPlotItem.h"
#include "CChartSettingsViewController.h"
#include "CCurrencyChartSettings.h"
#include "CCurrencyChartViewController.h"
#include "CDocumentInteraction.h"
#include "CPasteboard.h"
#include "CRootViewModel.h"
#include "Localization.h"
#include "Log.h"
#include "RecordingComposers.h"
#include "UiTestSupport.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class RecordingPrinter : public PrintPresenter {
public:
    Result result = Result::Completed;
    QStringList jobs;
    Result present(const QString& jobName, const CCurrencyChartInfo&, QString* errorText) override {
        jobs.append(jobName);
        if (result == Result::Failed) {
            *errorText = QStringLiteral("printer on fire");
        }
        return result;
    }
};

QDateTime day(int d) {
    return QDateTime(QDate(2026, 3, d), QTime(12, 0), QTimeZone::utc());
}

CCurrencyChartInfo record(const QList<double>& values, int period = 5) {
    CCurrencyChartInfo info;
    for (int i = 0; i < values.size(); ++i) {
        info.plotPoints.append({Decimal::fromDouble(values[i]), day(i + 1)});
    }
    info.chartPeriod = period;
    info.firstCurrencyCode = QStringLiteral("USD");
    info.lastCurrencyCode = QStringLiteral("EUR");
    info.updateExtremes();
    return info;
}

/// A chart screen on the rate list model of a fresh data directory; every chart host is
/// unreachable, so only what a test hands the screen arrives.
class ChartScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        Localization::install(QStringLiteral("en"));
        setSource(QStringLiteral("YFinance"));
        model = std::make_unique<CRootViewModel>(UserDefaults::standardUserDefaults(), center);
        chart = makeChart();
    }
    void setSource(const QString& source) {
        UserDefaults::standardUserDefaults().setObject(QStringList{source},
                                                       QStringLiteral("SelectedCurrencySources"));
    }
    std::unique_ptr<CCurrencyChartViewController> makeChart(bool tablet = true) {
        CCurrencyChartViewController::Dependencies dependencies;
        dependencies.endpoints = RateServer().endpoints();
        dependencies.mailComposer = &mail;
        dependencies.documentOpener = &opener;
        dependencies.printPresenter = &printer;
        return std::make_unique<CCurrencyChartViewController>(*model, tablet,
                                                              std::move(dependencies));
    }

    ScopedDataDir dataDir;
    NotificationCenter center;
    std::unique_ptr<CRootViewModel> model;
    RecordingMailComposer mail;
    RecordingOpener opener;
    RecordingPrinter printer;
    std::unique_ptr<CCurrencyChartViewController> chart;
};

TEST_F(ChartScreenTest, OverlayShareAndShownChartFollowEachOutcome) {
    enum Outcome { Points, Empty, Failure };
    struct Case {
        const char* name;
        bool cached;
        Outcome outcome;
        QString overlay;
        bool share;
        double shownLatest;  // 0: no chart
    };
    const Case cases[] = {
        {"first opening, chart arrives", false, Points, "hidden", true, 3},
        {"first opening, no data", false, Empty, "error", false, 0},
        {"first opening, failure", false, Failure, "error", false, 0},
        {"cached, fresh chart replaces it", true, Points, "hidden", true, 3},
        {"cached, failing refresh keeps it", true, Failure, "hidden", true, 9},
        {"cached, empty answer keeps it", true, Empty, "hidden", true, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        chart.reset();
        model.reset();
        ScopedDataDir fresh;
        setSource(QStringLiteral("YFinance"));
        model = std::make_unique<CRootViewModel>(UserDefaults::standardUserDefaults(), center);
        if (c.cached) {
            CChartDataStorageManager().addChartInfo(record({8, 9}, 0), QStringLiteral("YFinance"));
        }
        chart = makeChart();
        chart->viewDidLoad();
        EXPECT_EQ(chart->chartUpdateOverlayView()->state(), c.cached ? "hidden" : "loading");
        EXPECT_EQ(chart->isShareEnabled(), c.cached);

        if (c.outcome == Failure) {
            chart->queryCurrencyChartDataSourceFailedWithErrorDescription(
                "503 Service Unavailable");
        } else {
            chart->queryCurrencyChartDataSourceCompletedWithResult(
                c.outcome == Points ? record({1, 2, 3}, 0) : record({}, 0));
        }
        EXPECT_EQ(chart->chartUpdateOverlayView()->state(), c.overlay);
        EXPECT_EQ(chart->isShareEnabled(), c.share);
        EXPECT_EQ(chart->isTopPaneVisible() ? chart->plotPoints().last().y() : 0, c.shownLatest);
        if (c.overlay == "error") {
            EXPECT_EQ(chart->chartUpdateOverlayView()->statusText(),
                      c.outcome == Empty ? "No chart data for this currency pair"
                                         : "503 Service Unavailable");
        }
        chart.reset();
        model.reset();
    }
}

TEST_F(ChartScreenTest, TitleStatisticsAxesAndSwap) {
    chart->viewDidLoad();
    EXPECT_EQ(chart->title(), "USD/EUR, 1 day");
    // Highest and lowest name the first point with the extreme value.
    CCurrencyChartInfo info = record({2, 5, 1, 5, 1, 3}, 5);
    chart->queryCurrencyChartDataSourceCompletedWithResult(info);
    EXPECT_EQ((QStringList{chart->latestText(), chart->highestText(), chart->lowestText()}),
              (QStringList{"Latest: 3.000 (03.06.26)", "Highest: 5.000 (03.02.26)",
                           "Lowest: 1.000 (03.03.26)"}));
    // One fifth above the highest value, the x range 3% beyond the last date.
    EXPECT_NEAR(chart->yMax(), 1 + (5 - 1) * 1.2, 1e-6);
    EXPECT_EQ(chart->xAxisTicks().size(), 5);
    EXPECT_EQ(chart->xAxisTicks().first().toMap().value("label"), "03.01.26");

    // Small rates keep four significant digits; close ticks get the digits to tell them apart.
    using Chart = CCurrencyChartViewController;
    EXPECT_EQ(
        (QList<int>{Chart::fractionDigitsForValue(Decimal::fromString(u"0.006712"), 3),
                    Chart::fractionDigitsForValue(Decimal::fromString(u"150.2"), 3),
                    Chart::fractionDigitsForStep(0.0002, 3), Chart::fractionDigitsForStep(0.5, 3)}),
        (QList<int>{6, 3, 5, 3}));

    chart->onSwap();
    EXPECT_EQ(CCurrencyChartSettings::getCurrencyPair(), (QStringList{"EUR", "USD"}));
    EXPECT_EQ(chart->title(), "EUR/USD, 1 day");
}

TEST_F(ChartScreenTest, MarkerPicksTheNearestPointByDateAndTheEarlierOnTies) {
    const QList<QPointF> points{{0, 1}, {10, 2}, {20, 3}, {20, 4}, {30, 5}};
    const QList<std::pair<double, int>> cases{{-5, 0}, {4, 0},  {5, 0},  {6, 1},  {15, 1},
                                              {19, 2}, {25, 2}, {26, 4}, {100, 4}};
    for (const auto& [x, index] : cases) {
        EXPECT_EQ(CCurrencyChartViewController::getPointIndexNearestToX(points, x), index) << x;
    }
    // Out of date order the points are searched one by one; the first nearest wins.
    QList<QPointF> shuffled = points;
    shuffled.swapItemsAt(0, 4);
    EXPECT_EQ(CCurrencyChartViewController::getPointIndexNearestToX(shuffled, 5, false), 1);
    EXPECT_EQ(CCurrencyChartViewController::getPointIndexNearestToX(shuffled, 27, false), 0);
    EXPECT_EQ(CCurrencyChartViewController::getPointIndexNearestToX({}, 1), -1);

    // One finger selects and fills the bubble; two fingers or lifting hide the marker.
    chart->queryCurrencyChartDataSourceCompletedWithResult(record({1.234567, 2, 3}));
    EXPECT_FALSE(chart->pointingDeviceDown(chart->plotPoints()[0].x(), 2) ||
                 chart->isMarkerVisible());
    EXPECT_TRUE(chart->pointingDeviceDown(chart->plotPoints()[0].x() + 1000, 1) &&
                chart->isMarkerVisible() && chart->selectedPointIndex() == 0);
    EXPECT_EQ(chart->selectedPointInfoView()->valueText() + " " +
                  chart->selectedPointInfoView()->dateText(),
              "1.23457 03.01.2026 12:00");
    EXPECT_TRUE(chart->pointingDeviceDragged(chart->plotPoints()[2].x(), 1));
    EXPECT_EQ(chart->markerY(), 3);
    EXPECT_FALSE(chart->pointingDeviceDragged(chart->plotPoints()[1].x(), 2) ||
                 chart->isMarkerVisible());
    chart->pointingDeviceDown(chart->plotPoints()[1].x(), 1);
    EXPECT_TRUE(chart->pointingDeviceUp() && !chart->isMarkerVisible());

    // The bubble stays inside its parent's width.
    const QList<std::tuple<qreal, qreal, qreal, qreal>> bubbles{
        {10, 100, 400, 0}, {200, 100, 400, 150}, {390, 100, 400, 300}, {50, 500, 400, 0}};
    for (const auto& [xPoint, width, parent, left] : bubbles) {
        EXPECT_EQ(CChartPointInfoView::leftEdge(xPoint, width, parent), left) << xPoint;
    }
}

TEST_F(ChartScreenTest, PlotThinsToItsWidthAndMapsValuesOntoItsArea) {
    QList<QPointF> points;
    QRandomGenerator random(7);
    for (int i = 0; i < 27000; ++i) {
        points.append({double(i), random.bounded(1000.0)});
    }
    points[13500].setY(-5);
    points[20000].setY(5000);
    const QList<QPointF> thin = CChartPlotItem::thinnedPoints(points, 0, 27000, 300);
    EXPECT_LE(thin.size(), 2 * 300);
    EXPECT_TRUE(std::is_sorted(thin.begin(), thin.end(),
                               [](const QPointF& a, const QPointF& b) { return a.x() < b.x(); }));
    EXPECT_TRUE(thin.contains(points[13500]) && thin.contains(points[20000]));
    EXPECT_EQ(CChartPlotItem::thinnedPoints(points.mid(0, 50), 0, 50, 300).size(), 50);

    // The plot area inside the paddings spans the chart's ranges, both ways.
    CChartPlotItem plot;
    plot.setSize({400, 300});
    plot.setLeftPadding(60);
    plot.setTopPadding(20);
    plot.setRightPadding(40);
    plot.setBottomPadding(30);
    plot.setController(chart.get());
    EXPECT_EQ(plot.drawnPointCount(), 0) << "no chart yet";
    chart->queryCurrencyChartDataSourceCompletedWithResult(record({1.5, 2, 1.75}));
    const qreal xMin = chart->xMin();
    const qreal xMax = chart->xMax();
    const QList<std::tuple<QPointF, QPointF>> mapped{
        {{xMin, chart->yMin()}, {60, 270}},
        {{xMax, chart->yMax()}, {360, 20}},
        {{(xMin + xMax) / 2, (chart->yMin() + chart->yMax()) / 2}, {210, 145}},
        {{xMin - (xMax - xMin), chart->yMin()}, {-240, 270}}};
    for (const auto& [value, position] : mapped) {
        EXPECT_EQ(plot.positionOf(value.x(), value.y()), position) << value.x();
        EXPECT_DOUBLE_EQ(plot.valueAtX(position.x()), value.x());
    }
    // Few points are drawn as they are; the strip fills under each down to the bottom.
    ASSERT_EQ(plot.drawnPointCount(), 3);
    EXPECT_EQ(plot.drawnPath().first(), plot.positionOf(xMin, 1.5));
    const QList<QPointF> strip = CChartPlotItem::areaStrip(plot.drawnPath(), 270);
    ASSERT_EQ(strip.size(), 6);
    EXPECT_EQ(strip[2], plot.drawnPath()[1]);
    EXPECT_EQ(strip[3], QPointF(plot.drawnPath()[1].x(), 270));
    // A narrower plot draws fewer points.
    plot.setWidth(101);
    plot.setLeftPadding(0);
    plot.setRightPadding(100);
    chart->queryCurrencyChartDataSourceCompletedWithResult(record({1, 3, 2, 4, 1, 2, 5}));
    EXPECT_EQ(plot.drawnPointCount(), 2);
}

TEST_F(ChartScreenTest, ShareExportsTheShownRecord) {
    QSignalSpy menus(chart.get(), &CCurrencyChartViewController::shareMenuRequested);
    QSignalSpy alerts(chart.get(), &CViewController::alertRequested);
    chart->onShare();
    EXPECT_EQ(menus.count(), 0) << "nothing to share yet";
    chart->queryCurrencyChartDataSourceCompletedWithResult(record({1.5, 2}));
    chart->onShare();
    EXPECT_EQ(menus.count(), 1);
    EXPECT_EQ(chart->shareMenuButtons(), (QStringList{"Open in…", "Email", "Print"}));

    chart->shareMenuDismissed(0);
    ASSERT_EQ(opener.opened.size(), 1);
    QFile file(opener.opened.first());
    ASSERT_TRUE(opener.opened.first().startsWith(CFileOperations::getDocumentsPath()) &&
                file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("\"USD to EUR."));
    opener.answer = false;
    chart->onOpenIn();
    ASSERT_EQ(alerts.count(), 1);
    EXPECT_TRUE(alerts.last().first().toString().contains("USD-EUR_1 year.csv"));

    // The documents directory is a file: the CSV cannot be written.
    {
        LogCapture log;
        const QString documents = CFileOperations::getDocumentsPath();
        QDir(documents).removeRecursively();
        QFile(documents).open(QIODevice::WriteOnly);
        chart->onOpenIn();
        ASSERT_EQ(log.lines().size(), 1);
        EXPECT_TRUE(log.lines().first().startsWith("Cannot write file: "));
        EXPECT_EQ(opener.opened.size(), 2);
    }

    mail.canSend = false;
    chart->shareMenuDismissed(1);
    EXPECT_EQ(alerts.last().first(), "Mail cannot be sent: no mail program is set up");
    mail.canSend = true;
    chart->shareMenuDismissed(1);
    ASSERT_EQ(mail.messages.size(), 1);
    ASSERT_EQ(mail.messages[0].attachments.size(), 1);
    EXPECT_EQ(mail.messages[0].subject + " " + mail.messages[0].attachments[0].mimeType,
              "USD-EUR_1 year.csv application/octet-stream");
    EXPECT_TRUE(mail.messages[0].attachments[0].data.contains("\r\n2026.03.01 12:00:00,1.5\r\n"));

    LogCapture log;
    chart->shareMenuDismissed(2);
    printer.result = PrintPresenter::Result::Cancelled;
    chart->shareMenuDismissed(2);  // nothing to tell
    printer.result = PrintPresenter::Result::Failed;
    chart->shareMenuDismissed(2);
    EXPECT_EQ(printer.jobs, (QStringList{"USD-EUR_1 year", "USD-EUR_1 year", "USD-EUR_1 year"}));
    EXPECT_EQ(log.lines(), QStringList{"Cannot print chart data: printer on fire"});

    chart->onCopy();
    EXPECT_TRUE(CPasteboard::string().startsWith("\"USD to EUR."));
}

TEST_F(ChartScreenTest, SettingsListTheSourcesPeriodsAndReloadOnlyOnAChange) {
    // The source's own periods: the ECB has no intraday chart.
    chart.reset();
    setSource("ECB");
    model = std::make_unique<CRootViewModel>(UserDefaults::standardUserDefaults(), center);
    chart = makeChart();
    CChartSettingsViewController settings(*model, true);
    EXPECT_EQ(settings.periodRows().size(), 10);
    EXPECT_EQ(settings.periodRows().first().toMap().value("title"), "1 week");
    settings.setChartController(chart.get());
    QSignalSpy reloads(chart->chartUpdateOverlayView(), &CWaitOverlayView::changed);
    CCurrencyChartSettings::setChartPeriod(3);
    EXPECT_TRUE(settings.periodRows()[2].toMap().value("checked").toBool());
    EXPECT_FALSE(settings.periodRows()[1].toMap().value("checked").toBool());

    settings.onPeriodRowSelect(2);  // 3 months, already stored
    EXPECT_EQ(reloads.count(), 0);
    settings.onPeriodRowSelect(4);
    EXPECT_EQ(CCurrencyChartSettings::getChartPeriod(), 5);
    EXPECT_EQ(reloads.count(), 1);

    settings.onPairRowSelect();
    auto* picker = qobject_cast<CCurrencyPickerViewController*>(settings.presentedController());
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->maxSelectedItems(), 2);
    QSignalSpy prompts(picker, &CViewController::alertRequested);
    settings.currencyPicker(picker, {"GBP"});
    ASSERT_EQ(prompts.count(), 1);
    EXPECT_EQ(prompts.first().first(), "Select two currencies");
    EXPECT_EQ(settings.presentedController(), picker);
    settings.currencyPicker(picker, {"USD", "EUR"});
    EXPECT_EQ(reloads.count(), 1) << "the stored pair";
    EXPECT_EQ(settings.presentedController(), nullptr);
    settings.onPairRowSelect();
    picker = qobject_cast<CCurrencyPickerViewController*>(settings.presentedController());
    settings.currencyPicker(picker, {"EUR", "USD"});
    EXPECT_EQ(reloads.count(), 2);
    EXPECT_EQ(settings.pairDetail(), "EUR, USD");
}

TEST(ChartEntriesTest, TabletButtonAndPhoneLandscapePresentTheChart) {
    {
        RootScreen tablet(true);
        tablet.controller().onChartClick();
        auto* chart =
            qobject_cast<CCurrencyChartViewController*>(tablet.controller().presentedController());
        ASSERT_NE(chart, nullptr);
        EXPECT_TRUE(chart->isFullScreen());
    }
    RootScreen phone(false);
    CRootViewController& root = phone.controller();
    root.deviceOrientationChanged(3);
    auto* container = qobject_cast<CSlideDownViewController*>(root.presentedController());
    ASSERT_NE(container, nullptr);
    EXPECT_TRUE(root.isShowingLandscapeView());
    auto* chart = qobject_cast<CCurrencyChartViewController*>(container->topController());
    auto* settings = qobject_cast<CChartSettingsViewController*>(container->bottomController());
    ASSERT_TRUE(chart && settings);
    EXPECT_TRUE(chart->rootController() == container && settings->chartController() == chart);
    chart->onSettings();
    EXPECT_TRUE(container->topControllerHidden());
    chart->onTopPaneTap();
    EXPECT_FALSE(container->topControllerHidden());
    root.deviceOrientationChanged(1);
    EXPECT_FALSE(root.isShowingLandscapeView());

    UserDefaults::standardUserDefaults().setObject(QStringList{"PayPal"},
                                                   QStringLiteral("SelectedCurrencySources"));
    root.deviceOrientationChanged(3);
    EXPECT_EQ(root.presentedController(), nullptr);
    EXPECT_TRUE(root.isChartUnavailableNoticeVisible());
}

// The print dialog runs in numiva-print; the app hears how it ended. --pdf stands in for a
// printer the user picked.
TEST(PrintProgramTest, EachOutcomeOfTheProgramReachesTheApp) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("table.pdf"));
    const struct {
        const char* name;
        QString program;
        QStringList arguments;
        PrintPresenter::Result result;
        const char* error;
    } cases[] = {
        {"printed",
         QStringLiteral(NUMIVA_PRINT_PROGRAM),
         {QStringLiteral("--pdf"), pdf},
         PrintPresenter::Result::Completed,
         ""},
        {"printer failed",
         QStringLiteral(NUMIVA_PRINT_PROGRAM),
         {QStringLiteral("--pdf"), dir.filePath(QStringLiteral("no/such/dir/table.pdf"))},
         PrintPresenter::Result::Failed,
         "table.pdf"},
        {"not installed", QString(), {}, PrintPresenter::Result::Failed, "not installed"},
        {"cannot start",
         dir.filePath(QStringLiteral("numiva-print")),
         {},
         PrintPresenter::Result::Failed,
         "numiva-print"},
    };
    for (const auto& c : cases) {
        HelperPrintPresenter presenter(c.program, c.arguments);
        QString error;
        EXPECT_EQ(
            presenter.present(QStringLiteral("USD-EUR_1 year"), record({1.5, 1.6, 1.4}), &error),
            c.result)
            << c.name << ": " << error.toStdString();
        EXPECT_TRUE(error.contains(QLatin1String(c.error)))
            << c.name << ": " << error.toStdString();
    }
    QFile printed(pdf);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    EXPECT_TRUE(printed.read(5) == "%PDF-") << "the table reached the printer";
}

}  // namespace
