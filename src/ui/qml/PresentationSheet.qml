import QtQuick
import QtQuick.Controls
import Numiva

// The sheet or popover a PresentationHost shows its presented screen in.
Popup {
    id: sheet
    objectName: "presentationSheet"
    required property PresentationHost host
    parent: Overlay.overlay
    modal: true
    dim: true
    // The presented screen takes the keyboard; Escape goes through it (below).
    focus: true
    closePolicy: sheet.host.tablet && !(sheet.host.presented && sheet.host.presented.isFullScreen) ? Popup.CloseOnPressOutside : Popup.NoAutoClose

    Component.onCompleted: sheet.showPresented()
    Connections {
        target: sheet.host
        function onShowRequested() { sheet.showPresented() }
        function onPlaceRequested() { sheet.place() }
    }

    function showPresented() {
        if (sheet.host.presented) {
            loader.setSource(sheet.host.presented.viewName + ".qml", { "controller": sheet.host.presented })
            sheet.place()
            sheet.open()
        } else {
            sheet.close()
        }
    }

    function place() {
        const overlay = sheet.parent
        if (!overlay || !sheet.host.presented)
            return
        if (!sheet.host.tablet || sheet.host.presented.isFullScreen) {
            arrow.visible = false
            sheet.x = 0
            sheet.y = 0
            sheet.width = overlay.width
            sheet.height = overlay.height
            return
        }
        arrow.visible = !sheet.host.presented.isFormSheet
        if (sheet.host.presented.isFormSheet) {
            // A form sheet: centred over the whole window, no arrow.
            sheet.width = Math.min(540, overlay.width - 40)
            sheet.height = Math.min(620, overlay.height - 80)
            sheet.x = (overlay.width - sheet.width) / 2
            sheet.y = (overlay.height - sheet.height) / 2
            return
        }
        const r = sheet.host.anchorRectForRow(sheet.host.presenter.presentationAnchorRow)
        const w = sheet.host.popoverSize.width
        const h = Math.min(sheet.host.popoverSize.height, overlay.height - 40)
        const pointsLeft = sheet.host.presenter.presentationArrow === "left"
        // The arrow (12 points) points at the row, 14 points in from its edge.
        let x = pointsLeft ? r.x + 14 + 12 : r.x + r.width - 14 - 12 - w
        x = Math.max(10, Math.min(x, overlay.width - w - 10))
        const anchorY = r.y + Math.min(r.height / 2, 30)
        const y = Math.max(20, Math.min(anchorY - 60, overlay.height - h - 20))
        sheet.width = w
        sheet.height = h
        sheet.x = x
        sheet.y = y
        arrow.pointsLeft = pointsLeft
        arrow.anchorY = anchorY - y
    }

    Overlay.modal: Rectangle { color: sheet.host.tablet ? "#33000000" : "#55000000" }

    enter: Transition {
        NumberAnimation {
            property: sheet.host.tablet ? "opacity" : "y"
            from: sheet.host.tablet ? 0 : sheet.parent.height
            to: sheet.host.tablet ? 1 : 0
            duration: 250 * CUISettings.animationScale
            easing.type: Easing.OutCubic
        }
    }
    exit: Transition {
        NumberAnimation {
            property: sheet.host.tablet ? "opacity" : "y"
            to: sheet.host.tablet ? 0 : sheet.parent.height
            duration: 200 * CUISettings.animationScale
            easing.type: Easing.InCubic
        }
    }

    // On a tablet a dark rounded frame around the screen, with its arrow.
    readonly property bool framed: sheet.host.tablet && !(sheet.host.presented && sheet.host.presented.isFullScreen)
    padding: framed ? 6 : 0
    background: Item {
        Rectangle {
            id: arrow
            property bool pointsLeft: true
            property real anchorY: 40
            width: 20
            height: 20
            rotation: 45
            color: "#27313f"
            x: pointsLeft ? -9 : parent.width - 11
            y: Math.max(14, Math.min(anchorY - 10, parent.height - 34))
        }
        Rectangle {
            anchors.fill: parent
            radius: sheet.framed ? 10 : 0
            color: sheet.framed ? "#27313f" : "white"
        }
    }

    contentItem: Item {
        clip: true
        // Escape that the screen did not take closes it, as its Cancel would (the phone's
        // chart stays while the window is wider than tall: it belongs to that shape).
        Keys.onEscapePressed: function (event) {
            const wide = sheet.parent && sheet.parent.width > sheet.parent.height
            if (sheet.host.presented && !(wide && sheet.host.presented.viewName === "SlideDownView"))
                sheet.host.presented.dismissSelf(true)
            else
                event.accepted = false
        }
        Loader {
            id: loader
            anchors.fill: parent
            focus: true
        }
    }

    onClosed: {
        // Closed by a tap outside while still presented: the holder tells the presenter.
        if (sheet.host.presented && sheet.host.tablet && CPopoverGlobalHolder.activePopover === sheet.host.presented)
            CPopoverGlobalHolder.dismissActivePopover(true)
        if (sheet.host.presented) {
            // Another screen took its place meanwhile: show that one.
            sheet.open()
            return
        }
        loader.source = ""
        if (sheet.host.presenter)
            sheet.host.presenter.releaseDismissedControllers()
    }
}
