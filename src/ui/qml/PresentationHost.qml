import QtQuick
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
    /// The sheet (a PresentationSheet), made when a screen is first presented: most runs
    /// present none, and a start without it loads no Qt Quick Controls.
    readonly property var sheet: sheetLoader.item

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
        if (sheetLoader.item)
            showRequested()
        else if (presented)
            sheetLoader.setSource("PresentationSheet.qml", { "host": host })  // it shows it
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
    }
}
