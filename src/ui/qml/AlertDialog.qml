import QtQuick
import QtQuick.Controls
import Numiva

// An alert with a title, an optional message and one button, two side by side (a question), or
// any number one under the other (a choice).
Popup {
    id: alert

    property string title
    property string message
    property string buttonText
    /// A second button (a question); empty for a plain alert.
    property string otherButtonText

    /// The buttons of a choice, top to bottom; empty otherwise.
    property var choiceTexts: []

    /// `other` is true when the second button was pressed.
    signal answered(bool other)
    /// The index of the pressed button of a choice; -1 when closed without one.
    signal chosen(int index)

    function show(title, message, button) {
        ask(title, message, button, "")
    }
    function ask(title, message, button, otherButton) {
        alert.title = title
        alert.message = message
        alert.buttonText = button
        alert.otherButtonText = otherButton
        alert.choiceTexts = []
        alert.awaiting = true
        open()
    }
    function choose(title, message, texts) {
        alert.title = title
        alert.message = message
        alert.buttonText = ""
        alert.otherButtonText = ""
        alert.choiceTexts = texts
        alert.awaiting = true
        open()
    }
    function answer(other) {
        alert.awaiting = false
        alert.close()
        alert.answered(other)
    }
    function choice(index) {
        alert.awaiting = false
        alert.close()
        alert.chosen(index)
    }

    // Closed without a button (Escape): the first button's answer, or no choice (-1).
    property bool awaiting: false
    onClosed: if (awaiting) {
        if (choiceTexts.length > 0)
            choice(-1)
        else
            answer(false)
    }

    component AlertButton: AbstractButton {
        id: button
        property bool bold: false
        height: 44
        Accessible.role: Accessible.Button
        Accessible.name: text
        Keys.onReturnPressed: click()
        Keys.onEnterPressed: click()
        contentItem: Text {
            text: button.text
            color: "#007aff"
            font.family: "Helvetica"
            font.pixelSize: 17
            font.bold: button.bold
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            elide: Text.ElideRight
        }
        background: Rectangle {
            color: button.pressed ? "#e0e0e4" : "transparent"
            radius: 14
        }
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
        Repeater {
            model: alert.choiceTexts
            delegate: Column {
                id: choiceRow
                required property int index
                required property string modelData
                width: alert.width
                Rectangle { visible: choiceRow.index > 0; width: parent.width; height: 1; color: "#d1d1d6" }
                AlertButton {
                    objectName: "choiceButton_" + choiceRow.index
                    width: parent.width
                    text: choiceRow.modelData
                    bold: choiceRow.index === 0
                    onClicked: alert.choice(choiceRow.index)
                }
            }
        }
        Row {
            visible: alert.choiceTexts.length === 0
            width: parent.width
            AlertButton {
                objectName: "alertButton"
                width: alert.otherButtonText.length > 0 ? parent.width / 2 : parent.width
                text: alert.buttonText
                bold: alert.otherButtonText.length === 0
                onClicked: alert.answer(false)
            }
            Rectangle {
                visible: alert.otherButtonText.length > 0
                width: 1
                height: 44
                color: "#d1d1d6"
            }
            AlertButton {
                objectName: "alertOtherButton"
                visible: alert.otherButtonText.length > 0
                width: parent.width / 2 - 1
                text: alert.otherButtonText
                bold: true
                onClicked: alert.answer(true)
            }
        }
    }
}

