// The chart screen with Yahoo's longest series (27,000 points): choosing the point under the
// finger, the first frame of a fresh chart, and each frame while the marker is dragged;
// offscreen with the software renderer. Each figure is also printed as a share of its budget
// (1 microsecond for the choice, 16 ms for a frame).
#include "CCurrencyChartViewController.h"
#include "CFileOperations.h"
#include "CRootViewModel.h"
#include "CUISettings.h"
#include "NotificationCenter.h"
#include "UserDefaults.h"

#include <QtQml/qqmlextensionplugin.h>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

Q_IMPORT_QML_PLUGIN(NumivaPlugin)

namespace {

constexpr int kPoints = 27000;

/// Daily points over 74 years, a random walk.
CCurrencyChartInfo longestRecord() {
    CCurrencyChartInfo info;
    QRandomGenerator random(42);
    const QDateTime start(QDate(1952, 1, 1), QTime(0, 0), QTimeZone::utc());
    double value = 1.0;
    for (int i = 0; i < kPoints; ++i) {
        value = std::max(0.01, value + (random.generateDouble() - 0.5) * 0.01);
        info.plotPoints.append({Decimal::fromDouble(value), start.addDays(i)});
    }
    info.chartPeriod = 10;
    info.firstCurrencyCode = QStringLiteral("USD");
    info.lastCurrencyCode = QStringLiteral("JPY");
    info.updateExtremes();
    return info;
}

/// The chart screen's view in a 1180 x 820 window, showing the longest record.
struct ChartWindow {
    QTemporaryDir dir;
    NotificationCenter center;
    std::unique_ptr<CRootViewModel> model;
    std::unique_ptr<CCurrencyChartViewController> controller;
    QQmlEngine engine;
    QQuickWindow window;
    std::unique_ptr<QQuickItem> view;
    CCurrencyChartInfo record = longestRecord();
    /// The same series a week later: other dates, other axis labels.
    CCurrencyChartInfo nextRecord = [this] {
        CCurrencyChartInfo info = record;
        for (CCurrencyChartPoint& point : info.plotPoints) {
            point.date = point.date.addDays(7);
        }
        info.updateExtremes();
        return info;
    }();

    ChartWindow() {
        CFileOperations::setDataDirectory(dir.path());
        CUISettings::sharedSettings().setAnimationScale(0);
        UserDefaults::standardUserDefaults().setObject(QStringList{QStringLiteral("YFinance")},
                                                       QStringLiteral("SelectedCurrencySources"));
        model = std::make_unique<CRootViewModel>(UserDefaults::standardUserDefaults(), center);
        CCurrencyChartViewController::Dependencies dependencies;
        dependencies.endpoints = Endpoints();
        controller = std::make_unique<CCurrencyChartViewController>(*model, true, dependencies);
        engine.addImportPath(QStringLiteral("qrc:/qt/qml"));
        QQmlComponent component(&engine,
                                QUrl(QStringLiteral("qrc:/qt/qml/Numiva/CurrencyChartView.qml")));
        view.reset(qobject_cast<QQuickItem*>(component.createWithInitialProperties(
            {{QStringLiteral("controller"), QVariant::fromValue(controller.get())}})));
        if (!view) {
            qFatal("%s", qPrintable(component.errorString()));
        }
        window.resize(1180, 820);
        view->setParentItem(window.contentItem());
        view->setSize(QSizeF(1180, 820));
        window.show();
        controller->queryCurrencyChartDataSourceCompletedWithResult(record);
        QElapsedTimer waited;
        waited.start();
        while (!view->property("plotReady").toBool() && waited.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        }
        QCoreApplication::processEvents();
        window.grabWindow();
    }

    /// Renders one frame, as the software renderer does for the screen.
    void frame() {
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(window.grabWindow());
    }
};

/// Made on first use and closed by main() while the application object still exists (its
/// images cannot outlive it).
std::unique_ptr<ChartWindow> sharedWindow;

ChartWindow& chartWindow() {
    if (!sharedWindow) {
        sharedWindow = std::make_unique<ChartWindow>();
    }
    return *sharedWindow;
}

void reportFrame(benchmark::State& state, double totalMs) {
    const double perFrame = totalMs / static_cast<double>(state.iterations());
    state.counters["frame_ms"] = perFrame;
    state.counters["of_16ms"] = perFrame / 16.0;
}

void BM_NearestPointOf27000(benchmark::State& state) {
    const QList<QPointF>& points = chartWindow().controller->plotPoints();
    QRandomGenerator random(1);
    std::vector<qreal> xs(4096);
    for (qreal& x : xs) {
        x = points.first().x() + random.generateDouble() * (points.last().x() - points.first().x());
    }
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(CCurrencyChartViewController::getPointIndexNearestToX(
            points, xs[i++ & (xs.size() - 1)]));
    }
    state.counters["of_1us"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * 1e-6,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_NearestPointOf27000);

/// A fresh chart: the record converted and thinned, the plot and its labels drawn.
void BM_FirstFrameOfAFreshChart(benchmark::State& state) {
    ChartWindow& chart = chartWindow();
    double totalMs = 0;
    bool next = false;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        next = !next;
        chart.controller->queryCurrencyChartDataSourceCompletedWithResult(next ? chart.nextRecord
                                                                               : chart.record);
        chart.frame();
        totalMs += static_cast<double>(timer.nsecsElapsed()) / 1e6;
    }
    reportFrame(state, totalMs);
}
BENCHMARK(BM_FirstFrameOfAFreshChart)->Unit(benchmark::kMillisecond)->Iterations(20);

/// Dragging: each step selects the point under the finger, moves the marker and the bubble,
/// and draws the frame; the plot itself is not drawn again.
void BM_FrameWhileDraggingTheMarker(benchmark::State& state) {
    ChartWindow& chart = chartWindow();
    const QList<QPointF>& points = chart.controller->plotPoints();
    const qreal first = points.first().x();
    const qreal span = points.last().x() - first;
    int step = 0;
    double totalMs = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        chart.controller->pointingDeviceDragged(first + span * ((step++ % 100) / 100.0), 1);
        chart.frame();
        totalMs += static_cast<double>(timer.nsecsElapsed()) / 1e6;
    }
    chart.controller->pointingDeviceUp();
    reportFrame(state, totalMs);
}
BENCHMARK(BM_FrameWhileDraggingTheMarker)->Unit(benchmark::kMillisecond)->Iterations(100);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    // The application object the app runs in.
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    sharedWindow.reset();
    return 0;
}
