import QtQuick
import QtTest
import Numiva

// The chart screen's view loads its plot asynchronously and feeds it the controller's record;
// a touch selects a point and places the bubble inside the view.
TestCase {
    id: testCase
    name: "ChartView"
    when: windowShown
    visible: true
    width: 844
    height: 390

    Component {
        id: chartView
        CurrencyChartView {
            width: testCase.width
            height: testCase.height
        }
    }

    function test_plotLoadsWithTheRecordAndTheMarkerFollowsATouch() {
        const view = createTemporaryObject(chartView, testCase, { "controller": testChartController })
        tryVerify(() => view.plotReady, 5000)
        const plot = view.plot
        compare(plot.drawnPointCount, 30)
        compare(view.overlay.visible, false)
        verify(testChartController.latestText.length > 0)
        tryVerify(() => plot.plotArea.width > 100)

        mousePress(view, view.width - 5, view.height / 2)
        verify(testChartController.markerVisible)
        compare(testChartController.selectedPointIndex, 29)
        verify(view.bubble.visible)
        verify(view.bubble.x + view.bubble.width <= view.width)
        mouseRelease(view, view.width - 5, view.height / 2)
        verify(!testChartController.markerVisible)
        verify(!view.bubble.visible)
    }
}
