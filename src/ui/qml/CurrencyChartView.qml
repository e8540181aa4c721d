import QtQuick
import QtQuick.Controls
import Numiva

// The chart screen: the statistics above the plot, the plot with its touch marker and bubble,
// the loading/error overlay, and the tools (a tool pane in the bar on a tablet, a bottom
// toolbar on a phone). The plot itself is loaded asynchronously.
Item {
    id: view
    required property CCurrencyChartViewController controller
    property CNavigationController navigation: null
    property bool canGoBack: false
    property string backTitle: ""

    readonly property bool tablet: controller.isTablet
    readonly property alias plotLoader: plotLoader
    readonly property alias presentationHost: presentation
    readonly property alias alert: alert
    readonly property alias shareMenu: shareMenu
    readonly property alias bubble: bubble
    readonly property alias overlay: overlay
    readonly property ChartPlot plot: plotLoader.item as ChartPlot
    /// The plot is loaded and shows the controller's chart (screenshots wait for it).
    readonly property bool plotReady: plotLoader.status === Loader.Ready

    Component.onCompleted: controller.viewDidLoad()

    // The window turning closes the share menu and any popover opened from here.
    readonly property bool windowWide: Window.width > Window.height
    onWindowWideChanged: controller.orientationWillChange()

    BaseBackgroundView {
        anchors.fill: parent
        tablet: view.tablet
    }

    NavigationBar {
        id: navBar
        objectName: "chartNavigationBar"
        width: parent.width
        z: 2
        title: view.controller.title
        // A phone closes its chart by turning upright; opened from a row's menu in an upright
        // window it needs a button for that.
        leftText: view.tablet || view.height > view.width ? view.controller.closeTitle : ""
        rightIcon: view.tablet ? "" : CUISettings.imageUrl("settings")
        onLeftClicked: view.controller.onClose()
        onRightClicked: view.controller.onSettings()
    }

    // Tablet: the tool pane at the right of the bar.
    Row {
        id: toolPane
        visible: view.tablet
        z: 3
        anchors.right: parent.right
        anchors.rightMargin: 8
        height: navBar.height
        BarButton {
            id: tabletShareButton
            objectName: "shareButton"
            iconSource: CUISettings.imageUrl("IcnShare")
            enabled: view.controller.shareEnabled
            opacity: enabled ? 1 : 0.35
            onClicked: view.controller.onShare()
        }
        BarButton {
            objectName: "swapButton"
            iconSource: CUISettings.imageUrl("IcnSwap")
            onClicked: view.controller.onSwap()
        }
        BarButton {
            objectName: "refreshButton"
            iconSource: CUISettings.imageUrl("IcnRefresh")
            onClicked: view.controller.onRefresh()
        }
        BarButton {
            id: tabletSettingsButton
            objectName: "settingsButton"
            iconSource: CUISettings.imageUrl("settings")
            onClicked: view.controller.onSettings()
        }
    }

    // The statistics: latest, highest and lowest.
    Item {
        id: topPane
        objectName: "topPane"
        anchors.top: navBar.bottom
        width: parent.width
        height: view.tablet ? 64 : 26
        visible: view.controller.topPaneVisible
        Row {
            anchors.fill: parent
            anchors.leftMargin: 8
            anchors.rightMargin: 8
            Repeater {
                model: [view.controller.latestText, view.controller.highestText,
                        view.controller.lowestText]
                Text {
                    required property string modelData
                    width: (topPane.width - 16) / 3
                    height: topPane.height
                    text: modelData
                    color: view.controller.statisticsColor
                    font.family: "Helvetica"
                    font.bold: true
                    font.pixelSize: view.tablet ? 15 : 12
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    fontSizeMode: Text.HorizontalFit
                    minimumPixelSize: 9
                    elide: Text.ElideRight
                }
            }
        }
        MouseArea {
            anchors.fill: parent
            onClicked: view.controller.onTopPaneTap()
        }
    }

    Item {
        id: graph
        objectName: "graph"
        anchors.top: view.tablet ? topPane.bottom : (topPane.visible ? topPane.bottom : navBar.bottom)
        anchors.bottom: view.tablet ? parent.bottom : toolbar.top
        anchors.bottomMargin: view.tablet ? 40 : 0
        anchors.left: parent.left
        anchors.leftMargin: view.tablet ? 24 : 0
        anchors.right: parent.right
        opacity: 0
        Component.onCompleted: appear.start()

        NumberAnimation {
            id: appear
            target: graph
            property: "opacity"
            to: 1
            duration: 500 * CUISettings.animationScale
        }
        // Phone: the plot is hidden while the chart is slid away from its settings, and fades in
        // again once it is back.
        SequentialAnimation {
            id: slideBack
            PauseAnimation { duration: 400 * CUISettings.animationScale }
            NumberAnimation { target: graph; property: "opacity"; to: 1; duration: 500 * CUISettings.animationScale }
        }
        Connections {
            target: view.controller.rootController
            function onTopControllerHiddenChanged() {
                appear.stop()
                slideBack.stop()
                graph.opacity = 0
                if (!view.controller.rootController.topControllerHidden)
                    slideBack.start()
            }
        }
        SequentialAnimation {
            id: fade
            NumberAnimation { target: graph; property: "opacity"; to: 0; duration: 100 * CUISettings.animationScale }
            NumberAnimation { target: graph; property: "opacity"; to: 1; duration: 400 * CUISettings.animationScale }
        }

        Loader {
            id: plotLoader
            anchors.fill: parent
            asynchronous: true
            visible: view.controller.hasChart
            Component.onCompleted: setSource("ChartPlot.qml", {
                "controller": view.controller,
                "tablet": view.tablet
            })
        }

        // The marker: a line through the selected point over the whole value range, and a dot.
        Item {
            id: marker
            objectName: "marker"
            anchors.fill: parent
            visible: view.controller.markerVisible && view.plot !== null
            readonly property point lineTop: view.plot && visible
                ? view.plot.positionOf(view.controller.markerX, view.controller.yMax) : Qt.point(0, 0)
            readonly property point lineBottom: view.plot && visible
                ? view.plot.positionOf(view.controller.markerX, view.controller.yMin) : Qt.point(0, 0)
            readonly property point dot: view.plot && visible
                ? view.plot.positionOf(view.controller.markerX, view.controller.markerY) : Qt.point(0, 0)
            Rectangle {
                x: Math.round(marker.lineTop.x)
                y: marker.lineTop.y
                width: 1
                height: marker.lineBottom.y - marker.lineTop.y
                color: view.controller.markerLineColor
            }
            Rectangle {
                width: 11
                height: 11
                radius: 5.5
                x: marker.dot.x - 5.5
                y: marker.dot.y - 5.5
                color: "white"
                border.color: view.controller.markerLineColor
                border.width: 2
            }
            onDotChanged: if (visible) view.placeBubble()
        }

        MultiPointTouchArea {
            id: touches
            anchors.fill: parent
            mouseEnabled: true
            enabled: view.plot !== null && view.controller.hasChart
            property int count: 0
            onPressed: function (points) {
                count += points.length
                view.controller.pointingDeviceDown(view.plot.valueAtX(points[0].x), count)
            }
            onUpdated: function (points) {
                if (points.length > 0)
                    view.controller.pointingDeviceDragged(view.plot.valueAtX(points[0].x), count)
            }
            onReleased: function (points) {
                count = Math.max(0, count - points.length)
                view.controller.pointingDeviceUp()
            }
            onCanceled: function (points) {
                count = 0
                view.controller.pointingDeviceUp()
            }
        }
    }

    // The bubble naming the selected point.
    Rectangle {
        id: bubble
        objectName: "pointInfoBubble"
        readonly property CChartPointInfoView info: view.controller.selectedPointInfoView
        z: 4
        visible: info.visible
        x: info.x
        y: info.y
        width: Math.max(valueLabel.implicitWidth, dateLabel.implicitWidth) + 20
        height: 44
        radius: 6
        color: "#cc27313f"
        onWidthChanged: info.width = width
        Component.onCompleted: info.width = width
        Column {
            anchors.centerIn: parent
            Text {
                id: valueLabel
                anchors.horizontalCenter: parent.horizontalCenter
                text: bubble.info.valueText
                color: "white"
                font.family: "Helvetica"
                font.bold: true
                font.pixelSize: 15
            }
            Text {
                id: dateLabel
                anchors.horizontalCenter: parent.horizontalCenter
                text: bubble.info.dateText
                color: "white"
                font.family: "Helvetica"
                font.pixelSize: 12
            }
        }
    }
    onWidthChanged: controller.selectedPointInfoView.parentWidth = width
    function placeBubble() {
        const p = graph.mapToItem(view, marker.dot.x, 0)
        controller.selectedPointInfoView.parentWidth = view.width
        controller.selectedPointInfoView.showWithYOrigin(topPane.y + topPane.height, p.x)
    }

    // The overlay while loading, or with the reason there is no chart.
    Rectangle {
        id: overlay
        objectName: "chartOverlay"
        readonly property CWaitOverlayView model: view.controller.chartUpdateOverlayView
        anchors.top: navBar.bottom
        anchors.bottom: parent.bottom
        width: parent.width
        z: 5
        color: "#99000000"
        opacity: model.shown ? 1 : 0
        visible: opacity > 0
        Behavior on opacity {
            enabled: overlay.model.animated
            NumberAnimation { duration: 400 * CUISettings.animationScale }
        }
        Text {
            id: statusLabel
            objectName: "overlayStatus"
            anchors.centerIn: parent
            // A failure says which source, why and what is shown: up to four lines.
            width: Math.min(parent.width - 20, 560)
            text: overlay.model.statusText
            color: "white"
            font.bold: true
            font.pixelSize: 13
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            maximumLineCount: 4
            elide: Text.ElideRight
        }
        BusyIndicator {
            anchors.horizontalCenter: statusLabel.horizontalCenter
            anchors.top: statusLabel.bottom
            anchors.topMargin: 20
            running: overlay.model.activityRunning
            visible: running
            palette.dark: "white"
        }
    }

    // Phone: share, swap and refresh at the bottom.
    ToolBar {
        id: toolbar
        visible: !view.tablet
        z: 6
        anchors.bottom: parent.bottom
        width: parent.width
        height: view.tablet ? 0 : 44
        background: Rectangle { color: "#f7f7f8"; Rectangle { width: parent.width; height: 1; color: "#c8c7cc" } }
        Item {
            anchors.fill: parent
            BarButton {
                id: phoneShareButton
                objectName: "phoneShareButton"
                anchors.left: parent.left
                anchors.leftMargin: 8
                iconSource: CUISettings.imageUrl("IcnShare")
                enabled: view.controller.shareEnabled
                opacity: enabled ? 1 : 0.35
                onClicked: view.controller.onShare()
            }
            BarButton {
                anchors.horizontalCenter: parent.horizontalCenter
                iconSource: CUISettings.imageUrl("IcnSwap")
                onClicked: view.controller.onSwap()
            }
            BarButton {
                anchors.right: parent.right
                anchors.rightMargin: 8
                iconSource: CUISettings.imageUrl("IcnRefresh")
                onClicked: view.controller.onRefresh()
            }
        }
    }

    Menu {
        id: shareMenu
        objectName: "shareMenu"
        readonly property Item anchorButton: view.tablet ? tabletShareButton : phoneShareButton
        MenuItem {
            text: view.controller.shareMenuTitle
            enabled: false
        }
        Repeater {
            model: view.controller.shareMenuButtons
            MenuItem {
                required property string modelData
                required property int index
                text: modelData
                onTriggered: view.controller.shareMenuDismissed(index)
            }
        }
        MenuItem {
            text: view.controller.copyTitle
            onTriggered: view.controller.onCopy()
        }
        MenuSeparator {}
        MenuItem {
            text: view.controller.cancelTitle
            onTriggered: view.controller.shareMenuDismissed(-1)
        }
    }

    Connections {
        target: view.controller
        function onAlertRequested(title, message, button) { alert.show(title, message, button) }
        function onShareMenuRequested() {
            const b = shareMenu.anchorButton
            const p = b.mapToItem(view, 0, 0)
            shareMenu.x = Math.min(p.x, view.width - shareMenu.width - 4)
            shareMenu.y = view.tablet ? p.y + b.height : p.y - shareMenu.height
            shareMenu.open()
        }
        function onTransientViewsDismissRequested() { shareMenu.close() }
        function onGraphFadeRequested() { fade.restart() }
    }

    PresentationHost {
        id: presentation
        presenter: view.controller
        popoverSize: Qt.size(340, 560)
        anchorRectForRow: function (row) {
            const p = tabletSettingsButton.mapToItem(null, 0, 0)
            return Qt.rect(p.x, p.y, tabletSettingsButton.width, tabletSettingsButton.height)
        }
    }

    AlertDialog {
        id: alert
    }
}
