import QtQuick
import Numiva

// The application window: one navigation stack on a phone; on a tablet the settings pane on
// the left and the rate list on the right. A plain window: the first screen loads no Qt Quick
// Controls; the screens and popups that use them load them when first shown.
Window {
    id: window

    required property CRootViewController rootController
    required property CNavigationController rootNavigation
    property CNavigationController settingsNavigation: null
    required property bool tablet
    property bool landscape: false
    // The size at start, from the idiom it starts in: a later change of layout keeps the size
    // the user gave the window.
    property bool startsAsTablet: tablet

    width: startsAsTablet ? 1180 : (landscape ? 844 : 390)
    height: startsAsTablet ? 820 : (landscape ? 390 : 844)
    minimumWidth: 320
    minimumHeight: 320
    visible: true
    title: "Numiva"
    color: tablet ? "black" : CUISettings.defaultBackgroundColor

    Loader {
        id: layout
        anchors.fill: parent
        sourceComponent: window.tablet ? splitLayout : stackLayout
    }

    // The layout follows the window's size: the split view needs room for the settings pane
    // beside a usable rate list, in both directions. The gap between the two thresholds keeps
    // a window dragged near one of them from flipping back and forth.
    signal layoutRequested(bool tablet)
    readonly property bool roomForSplit: width >= 800 && height >= 560
    readonly property bool tooSmallForSplit: width < 720 || height < 480
    onRoomForSplitChanged: if (roomForSplit && !tablet) layoutRequested(true)
    onTooSmallForSplitChanged: if (tooSmallForSplit && tablet) layoutRequested(false)

    // The delegate's answer to `layoutRequested`: the views of the old stacks go before the
    // new stacks are shown.
    function showLayout(newTablet, newRootNavigation, newSettingsNavigation) {
        layout.active = false
        rootNavigation = newRootNavigation
        settingsNavigation = newSettingsNavigation
        tablet = newTablet
        layout.active = true
    }

    Component {
        id: stackLayout
        NavigationStack {
            navigation: window.rootNavigation
            backTitle: window.rootController.backButtonTitle
        }
    }

    Component {
        id: splitLayout
        Item {
            NavigationStack {
                id: master
                objectName: "settingsPane"
                width: 320
                height: parent.height
                navigation: window.settingsNavigation
                backTitle: window.rootController.backButtonTitle
            }
            NavigationStack {
                objectName: "ratesPane"
                x: master.width + 1
                width: parent.width - x
                height: parent.height
                navigation: window.rootNavigation
                backTitle: window.rootController.backButtonTitle
            }
        }
    }

    // Orientation: landscape when the window is wider than tall (3), else portrait (1).
    readonly property int orientation: width > height ? 3 : 1
    // Reported from the event loop on, so that start-up has connected to what it opens.
    property bool orientationReported: false
    onOrientationChanged: if (orientationReported) rootController.deviceOrientationChanged(orientation)
    Component.onCompleted: {
        startsAsTablet = tablet  // from now on a value, not bound to the layout
        orientationReported = true
        if (orientation === 3)
            reportOrientation.start()
    }
    Timer {
        id: reportOrientation
        interval: 0
        onTriggered: window.rootController.deviceOrientationChanged(window.orientation)
    }

    // Phone: turned to landscape with a source that has no charts.
    // Its text is made when first shown: a start sets up no font it does not show.
    Rectangle {
        objectName: "chartUnavailableNotice"
        z: 99
        anchors.centerIn: parent
        width: Math.min(notice.implicitWidth + 40, parent.width - 40)
        height: notice.implicitHeight + 30
        radius: 10
        color: "#cc000000"
        opacity: window.rootController.chartUnavailableNoticeVisible ? 1 : 0
        visible: opacity > 0
        Behavior on opacity { NumberAnimation { duration: 400 * CUISettings.animationScale } }
        Loader {
            id: notice
            anchors.centerIn: parent
            active: parent.visible
            sourceComponent: noticeText
        }
    }
    Component {
        id: noticeText
        Text {
            width: Math.min(implicitWidth, window.width - 80)
            text: window.rootController.chartUnavailableText
            color: "white"
            wrapMode: Text.WordWrap
            horizontalAlignment: Text.AlignHCenter
            font.bold: true
            font.pixelSize: 15
        }
    }

    // Desktop keys: refresh as a pull does, quit. They work over an open popover too.
    Shortcut {
        sequences: ["F5", "Ctrl+R"]
        context: Qt.ApplicationShortcut
        onActivated: window.rootController.onRefreshClick()
    }
    Shortcut {
        sequence: "Ctrl+Q"
        context: Qt.ApplicationShortcut
        onActivated: Qt.quit()
    }

    // The start tutorial is made when it is first shown (most starts never show it) and then
    // kept for its fade-out.
    Loader {
        id: tutorial
        anchors.fill: parent
        z: 100
        active: false
        // By its file, so that a start that shows no tutorial does not load it.
        source: "TutorialView.qml"
        onLoaded: item.tablet = Qt.binding(() => window.tablet)
        Component.onCompleted: if (CTutorialView.visible) active = true
        Connections {
            target: CTutorialView
            function onVisibleChanged() {
                if (CTutorialView.visible)
                    tutorial.active = true
            }
        }
    }
}
