import QtQuick
import Numiva

// The header revealed above the rate list by pulling it down: an arrow that turns when
// releasing would refresh, a spinner while loading, the status and the last update.
Item {
    id: header
    required property CPullToRefreshView model

    Text {
        objectName: "lastUpdateLabel"
        y: header.height - 30
        width: parent.width
        height: 20
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        text: header.model.lastUpdateText
        color: CUISettings.tableHeaderColor
        style: Text.Raised
        styleColor: "white"
        font.family: "Helvetica"
        font.pixelSize: 12
    }
    Text {
        objectName: "statusLabel"
        y: header.height - 48
        width: parent.width
        height: 20
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        text: header.model.statusText
        color: CUISettings.tableHeaderColor
        style: Text.Raised
        styleColor: "white"
        font.family: "Helvetica"
        font.pixelSize: 13
        font.bold: true
    }
    Image {
        objectName: "arrow"
        x: 25
        y: header.height - 65
        width: 34
        height: 56
        source: CUISettings.rasterUrl(CUISettings.imageUrl("rotatingArrow"), 34, 56, false)
        sourceSize.width: 34
        sourceSize.height: 56
        fillMode: Image.PreserveAspectFit
        visible: header.model.arrowVisible
        rotation: header.model.arrowFlipped ? 180 : 0
        Behavior on rotation {
            enabled: header.model.arrowAnimated
            NumberAnimation { duration: 180 * CUISettings.animationScale }
        }
    }
    Spinner {
        objectName: "activity"
        x: 20
        y: header.height - 43
        width: 30
        height: 30
        running: header.model.activityRunning
        visible: running
    }
}
