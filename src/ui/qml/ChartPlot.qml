import QtQuick
import QtCharts

// Qt Charts 6.4 describes its QML types in a way qmllint cannot resolve (every axis reads as
// QAbstractAxis without its properties, ChartView's functions are unknown), so this file is
// checked by the QML smoke test instead.
// qmllint disable

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
    antialiasing: false
    animationOptions: ChartView.NoAnimation
    localizeNumbers: true
    margins.left: tablet ? 8 : 0
    margins.right: tablet ? 40 : 4
    margins.top: 6
    margins.bottom: 22

    // The x axis draws its grid at the controller's equal divisions; the date labels are
    // drawn below it (the axis would print milliseconds).
    // The axes' ranges are set with the points (see feed()), not bound to the controller.
    ValueAxis {
        id: xAxis
        tickCount: chart.controller.xAxisTicks.length
        labelsVisible: false
        // Hidden labels are still measured at every layout; without a number in the format
        // they stay one character instead of thirteen digits that are truncated step by step.
        labelFormat: " "
        color: "black"
        gridLineColor: chart.controller.gridColor
        minorGridVisible: false
    }
    ValueAxis {
        id: yAxis
        tickCount: 5
        labelFormat: chart.controller.yLabelFormat
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
        color: Qt.rgba(0.96, 0.965, 0.97, 1)
        borderColor: chart.controller.lineColor
        borderWidth: 1
        upperSeries: LineSeries { id: line }
    }

    function feed() {
        chart.controller.feedSeries(line, xAxis, yAxis, Math.max(1, Math.round(chart.plotArea.width)))
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
        onTriggered: chart.feed()
    }
    Component.onCompleted: feed()

    Repeater {
        model: chart.controller.xAxisTicks
        Text {
            required property var modelData
            required property int index
            readonly property real at: chart.plotArea.x + chart.plotArea.width
                * (modelData.value - chart.controller.xMin) / (chart.controller.xMax - chart.controller.xMin)
            // Centred under the tick on a tablet, ending at it on a phone; never outside.
            x: Math.max(0, Math.min(chart.tablet ? at - width / 2 : at - width, chart.width - width))
            y: chart.plotArea.y + chart.plotArea.height + 4
            text: modelData.label
            font.family: "Helvetica"
            font.bold: true
            font.pixelSize: chart.tablet ? 14 : 12
            color: "#333333"
        }
    }
}
