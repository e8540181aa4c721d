import QtQuick
import QtQuick.Controls
import Numiva

// Shows the screen a controller presents: in a popover pointing at a row on a tablet, as a
// modal sheet over the whole window on a phone. The controller decides when it opens and
// closes; a tap outside a popover closes it through the popover holder.
Item {
    id: host

    required property CViewController presenter
    /// Returns the rectangle (in window coordinates) of the row the popover points at.
    property var anchorRectForRow: function (row) { return Qt.rect(0, 0, 0, 0) }
    property size popoverSize: Qt.size(320, 480)

    readonly property CViewController presented: presenter ? presenter.presentedController : null
    readonly property bool tablet: presenter ? presenter.isTablet : false
    /// The sheet, made when a screen is first presented: most runs present none, and a start
    /// without it is quicker.
    readonly property Popup sheet: sheetLoader.item as Popup

    // A screen presented before this view existed opens as soon as it does.
    Component.onCompleted: if (presented) openLater.start()
    Timer {
        id: openLater
        interval: 0
        onTriggered: host.showPresented()
    }
    onPresentedChanged: showPresented()

    /// Heard by the sheet once it exists.
    signal showRequested()
    signal placeRequested()

    function showPresented() {
        if (sheetLoader.active)
            showRequested()
        else if (presented)
            sheetLoader.active = true  // the new sheet shows it
    }

    function place() {
        placeRequested()
    }

    // A resized window keeps the popover on screen, pointing at its row again.
    Connections {
        target: host.sheet ? host.sheet.parent : null
        enabled: host.sheet !== null && host.sheet.visible
        function onWidthChanged() { placeLater.restart() }
        function onHeightChanged() { placeLater.restart() }
    }
    // Once the views have laid out for the new size.
    Timer {
        id: placeLater
        interval: 0
        onTriggered: host.place()
    }

    Loader {
        id: sheetLoader
        active: false
        sourceComponent: Popup {
            id: sheet
            objectName: "presentationSheet"
            parent: Overlay.overlay
            modal: true
            dim: true
            // The presented screen takes the keyboard; Escape goes through it (below).
            focus: true
            closePolicy: host.tablet && !(host.presented && host.presented.isFullScreen) ? Popup.CloseOnPressOutside : Popup.NoAutoClose

            Component.onCompleted: sheet.showPresented()
            Connections {
                target: host
                function onShowRequested() { sheet.showPresented() }
                function onPlaceRequested() { sheet.place() }
            }

            function showPresented() {
                if (host.presented) {
                    loader.setSource(host.presented.viewName + ".qml", { "controller": host.presented })
                    sheet.place()
                    sheet.open()
                } else {
                    sheet.close()
                }
            }

            function place() {
                const overlay = sheet.parent
                if (!overlay || !host.presented)
                    return
                if (!host.tablet || host.presented.isFullScreen) {
                    arrow.visible = false
                    sheet.x = 0
                    sheet.y = 0
                    sheet.width = overlay.width
                    sheet.height = overlay.height
                    return
                }
                arrow.visible = !host.presented.isFormSheet
                if (host.presented.isFormSheet) {
                    // A form sheet: centred over the whole window, no arrow.
                    sheet.width = Math.min(540, overlay.width - 40)
                    sheet.height = Math.min(620, overlay.height - 80)
                    sheet.x = (overlay.width - sheet.width) / 2
                    sheet.y = (overlay.height - sheet.height) / 2
                    return
                }
                const r = host.anchorRectForRow(host.presenter.presentationAnchorRow)
                const w = host.popoverSize.width
                const h = Math.min(host.popoverSize.height, overlay.height - 40)
                const pointsLeft = host.presenter.presentationArrow === "left"
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

            Overlay.modal: Rectangle { color: host.tablet ? "#33000000" : "#55000000" }

            enter: Transition {
                NumberAnimation {
                    property: host.tablet ? "opacity" : "y"
                    from: host.tablet ? 0 : sheet.parent.height
                    to: host.tablet ? 1 : 0
                    duration: 250 * CUISettings.animationScale
                    easing.type: Easing.OutCubic
                }
            }
            exit: Transition {
                NumberAnimation {
                    property: host.tablet ? "opacity" : "y"
                    to: host.tablet ? 0 : sheet.parent.height
                    duration: 200 * CUISettings.animationScale
                    easing.type: Easing.InCubic
                }
            }

            // On a host.tablet a dark rounded frame around the screen, with its arrow.
            readonly property bool framed: host.tablet && !(host.presented && host.presented.isFullScreen)
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
                    if (host.presented && !(wide && host.presented.viewName === "SlideDownView"))
                        host.presented.dismissSelf(true)
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
                // Closed by a tap outside while still host.presented: the holder tells the presenter.
                if (host.presented && host.tablet && CPopoverGlobalHolder.activePopover === host.presented)
                    CPopoverGlobalHolder.dismissActivePopover(true)
                if (host.presented) {
                    // Another screen took its place meanwhile: show that one.
                    sheet.open()
                    return
                }
                loader.source = ""
                if (host.presenter)
                    host.presenter.releaseDismissedControllers()
            }
        }
    }
}
