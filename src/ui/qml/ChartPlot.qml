import QtQuick
import QtCharts

// The plot of the chart screen: the filled rate line with its axes. Loaded on demand so that
// start-up without a chart never pays for Qt Charts. The series is fed once per chart from
// C++, thinned to the plot's pixel width; the marker is drawn over it by the screen.
ChartView {
    id: chart
    required property var controller
    property bool tablet: false
    readonly property alias series: line

    legend.visible: false
    backgroundColor: "transparent"
    backgroundRoundness: 0
    plotAreaColor: "transparent"
    antialiasing: true
    animationOptions: ChartView.NoAnimation
    localizeNumbers: true
    margins.left: tablet ? 8 : 0
    margins.right: tablet ? 40 : 30
    margins.top: 6
    margins.bottom: 0

    CategoryAxis {
        id: xAxis
        min: chart.controller.xMin
        max: chart.controller.xMax
        labelsPosition: CategoryAxis.AxisLabelsPositionOnValue
        labelsFont.family: "Helvetica"
        labelsFont.bold: true
        labelsFont.pixelSize: chart.tablet ? 14 : 12
        labelsColor: "#333333"
        color: "black"
        gridLineColor: chart.controller.gridColor
        minorGridVisible: false
    }
    ValueAxis {
        id: yAxis
        min: chart.controller.yMin
        max: chart.controller.yMax
        tickCount: 5
        labelFormat: "%.3f"
        labelsFont.family: "Helvetica"
        labelsFont.bold: true
        labelsFont.pixelSize: chart.tablet ? 14 : 12
        labelsColor: "#333333"
        color: "black"
        gridLineColor: chart.controller.gridColor
        minorGridVisible: false
    }
    AreaSeries {
        id: area
        axisX: xAxis
        axisY: yAxis
        color: chart.controller.fillColor
        borderColor: chart.controller.lineColor
        borderWidth: 1
        upperSeries: LineSeries { id: line }
    }

    function feed() {
        for (const label of xAxis.categoriesLabels)
            xAxis.remove(label)
        for (const tick of chart.controller.xAxisTicks)
            xAxis.append(tick.label, tick.value)
        chart.controller.feedSeries(line, Math.max(1, Math.round(chart.plotArea.width)))
    }
    /// The position in this item of the plot values (x, y).
    function positionOf(x, y) {
        return chart.mapToPosition(Qt.point(x, y), area)
    }
    /// The plot value x under the horizontal position `px` of this item.
    function valueAtX(px) {
        return chart.mapToValue(Qt.point(px, chart.plotArea.y), area).x
    }

    Connections {
        target: chart.controller
        function onChartChanged() { chart.feed() }
    }
    // Thinning follows the plot's width; the width settles once the axes have their labels.
    onPlotAreaChanged: refeed.restart()
    Timer {
        id: refeed
        interval: 0
        onTriggered: chart.controller.feedSeries(line, Math.max(1, Math.round(chart.plotArea.width)))
    }
    Component.onCompleted: feed()
}
