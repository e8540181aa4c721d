import QtQuick
import Numiva

// A navigation bar button: a text, an icon, or a back button (chevron and text).
TapButton {
    id: button

    property url iconSource
    property bool bold: false
    property bool back: false
    property color tint: "#007aff"
    /// What a screen reader says: the text, or a name for an icon-only button.
    property string accessibleName: text

    implicitWidth: content.implicitWidth + 16
    implicitHeight: 44
    // Reached with Tab; Space, Enter or Return press it.
    activeFocusOnTab: true
    Accessible.role: Accessible.Button
    Accessible.name: accessibleName

    Rectangle {
        anchors.fill: parent
        visible: button.visualFocus
        color: "transparent"
        radius: 6
        border.color: button.tint
        border.width: 2
    }

    Item {
        id: content
        anchors.fill: parent
        implicitWidth: row.implicitWidth
        Row {
            id: row
            anchors.centerIn: parent
            spacing: 4
            // Made only for a back button: a start sets up no font it does not show.
            Loader {
                active: button.back
                visible: active
                anchors.verticalCenter: parent.verticalCenter
                anchors.verticalCenterOffset: -2
                sourceComponent: Text {
                    text: "\u2039"
                    color: button.tint
                    font.pixelSize: 30
                }
            }
            Image {
                visible: String(button.iconSource) !== ""
                source: CUISettings.rasterUrl(button.iconSource, 24, 24, false)
                sourceSize.width: 24
                sourceSize.height: 24
                width: 24
                height: 24
                anchors.verticalCenter: parent.verticalCenter
            }
            Text {
                visible: button.text.length > 0
                text: button.text
                color: button.enabled ? button.tint : "#b0b0b5"
                font.family: "Helvetica"
                font.pixelSize: 17
                font.bold: button.bold
                anchors.verticalCenter: parent.verticalCenter
            }
        }
    }
    opacity: pressed ? 0.4 : 1.0
}
