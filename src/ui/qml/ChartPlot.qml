import QtQuick
import Numiva

// The plot of the chart screen: the filled rate line with its grid and axes, drawn by
// CChartPlotItem, and the axis labels placed from its plot area. Loaded on demand; the marker
// and the bubble are drawn over it by the screen.
CChartPlotItem {
    id: chart
    required controller
    property bool tablet: false

    readonly property font labelFont: Qt.font({ family: "Helvetica", bold: true,
                                                pixelSize: chart.tablet ? 14 : 12 })
    readonly property color labelColor: "#333333"
    /// The y-axis labels from the bottom up, in the display locale.
    readonly property list<string> yLabels: {
        const c = chart.controller
        // The format is "%.Nf": N fraction digits.
        const digits = Number(c.yLabelFormat.replace(/[^0-9]/g, ""))
        const labels = []
        for (let i = 0; i < chart.yTickCount; ++i) {
            const value = c.yMin + (c.yMax - c.yMin) * i / (chart.yTickCount - 1)
            labels.push(value.toLocaleString(Qt.locale(), "f", digits))
        }
        return labels
    }

    // Left of the axis: the widest y label and the tick marks. Above the plot, room for half a
    // y label; below it, for the x labels.
    leftPadding: (tablet ? 18 : 10) + Math.ceil(widestYLabel.advanceWidth) + tickLength + 1
    rightPadding: tablet ? 50 : 14
    topPadding: tablet ? 24 : 23
    bottomPadding: tablet ? 41 : 40
    lineColor: controller.lineColor
    fillColor: Qt.rgba(0.96, 0.965, 0.97, 1)
    gridColor: controller.gridColor
    axisColor: "black"

    TextMetrics {
        id: widestYLabel
        font: chart.labelFont
        text: {
            let widest = ""
            for (const label of chart.yLabels) {
                if (label.length > widest.length)
                    widest = label
            }
            return widest
        }
    }

    Repeater {
        model: chart.yLabels
        Text {
            required property string modelData
            required property int index
            x: chart.plotArea.x - chart.tickLength - width
            y: chart.plotArea.y + chart.plotArea.height * (1 - index / (chart.yTickCount - 1))
               - height / 2
            text: modelData
            font: chart.labelFont
            color: chart.labelColor
        }
    }

    Repeater {
        model: chart.controller.xAxisTicks
        Text {
            required property var modelData
            readonly property real at: chart.plotArea.x + chart.plotArea.width
                * (modelData.value - chart.controller.xMin) / (chart.controller.xMax - chart.controller.xMin)
            // Centred under the tick on a tablet, ending at it on a phone; never outside.
            x: Math.max(0, Math.min(chart.tablet ? at - width / 2 : at - width, chart.width - width))
            y: chart.plotArea.y + chart.plotArea.height + 4
            text: modelData.label
            font: chart.labelFont
            color: chart.labelColor
        }
    }
}
