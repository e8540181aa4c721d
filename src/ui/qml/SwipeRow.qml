import QtQuick
import Numiva

// A row that a swipe to the left opens to uncover an action (Delete) under its right end: it
// follows the finger and settles open or closed when let go; a tap on an open row closes it.
TapButton {
    id: row

    /// How far it is open: 0 closed, 1 open.
    readonly property real swipePosition: swipe.position
    property bool swipeEnabled: true
    /// The width of the uncovered action.
    property real swipeTravel: 88

    signal swipeOpened()
    signal swipeClosed()

    function openSwipe() { swipe.settleAt(1) }
    function closeSwipe() { swipe.settleAt(0) }

    QtObject {
        id: swipe
        property real position: 0
        property bool open: false

        function settleAt(target) {
            settle.to = target
            settle.restart()
        }
        function settled() {
            const nowOpen = position === 1
            if (nowOpen === open)
                return
            open = nowOpen
            nowOpen ? row.swipeOpened() : row.swipeClosed()
        }
    }
    NumberAnimation {
        id: settle
        target: swipe
        property: "position"
        duration: 200 * CUISettings.animationScale
        easing.type: Easing.OutCubic
        onFinished: swipe.settled()
    }
    // Horizontal only: the list keeps the vertical drags.
    DragHandler {
        enabled: row.swipeEnabled
        target: null
        yAxis.enabled: false
        property real startPosition: 0
        onActiveChanged: {
            if (active) {
                settle.stop()
                startPosition = swipe.position
            } else {
                swipe.settleAt(swipe.position > 0.5 ? 1 : 0)
            }
        }
        onTranslationChanged: if (active) swipe.position = Math.max(0, Math.min(1, startPosition - translation.x / row.swipeTravel))
    }
}
