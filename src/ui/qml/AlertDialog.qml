import QtQuick
import QtQuick.Controls
import Numiva

// An alert with a title, an optional message and one button.
Popup {
    id: alert

    property string title
    property string message
    property string buttonText

    function show(title, message, button) {
        alert.title = title
        alert.message = message
        alert.buttonText = button
        open()
    }

    parent: Overlay.overlay
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    anchors.centerIn: parent
    width: 280
    padding: 0

    Overlay.modal: Rectangle { color: "#66000000" }

    enter: Transition {
        NumberAnimation { property: "opacity"; from: 0; to: 1; duration: 150 * CUISettings.animationScale }
        NumberAnimation { property: "scale"; from: 1.1; to: 1; duration: 150 * CUISettings.animationScale }
    }
    exit: Transition {
        NumberAnimation { property: "opacity"; from: 1; to: 0; duration: 120 * CUISettings.animationScale }
    }

    background: Rectangle {
        radius: 14
        color: "#f4f4f6"
    }

    contentItem: Column {
        width: alert.width
        Item { width: 1; height: 20 }
        Text {
            objectName: "alertTitle"
            width: parent.width - 32
            anchors.horizontalCenter: parent.horizontalCenter
            text: alert.title
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            font.family: "Helvetica"
            font.pixelSize: 17
            font.bold: true
        }
        Text {
            visible: alert.message.length > 0
            width: parent.width - 32
            anchors.horizontalCenter: parent.horizontalCenter
            topPadding: 6
            text: alert.message
            wrapMode: Text.Wrap
            horizontalAlignment: Text.AlignHCenter
            font.family: "Helvetica"
            font.pixelSize: 13
        }
        Item { width: 1; height: 20 }
        Rectangle { width: parent.width; height: 1; color: "#d1d1d6" }
        AbstractButton {
            id: alertButton
            objectName: "alertButton"
            width: parent.width
            height: 44
            contentItem: Text {
                text: alert.buttonText
                color: "#007aff"
                font.family: "Helvetica"
                font.pixelSize: 17
                font.bold: true
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
            }
            background: Rectangle {
                color: alertButton.pressed ? "#e0e0e4" : "transparent"
                radius: 14
            }
            onClicked: alert.close()
        }
    }
}
