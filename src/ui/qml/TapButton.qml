import QtQuick

// What the app's buttons and rows share: pressed while a finger or the mouse is down on it,
// clicked when released on it, pressAndHold after a long press; Space, Enter and Return click
// it when it has the keyboard. Plain Qt Quick: the first screen loads no Qt Quick Controls.
Item {
    id: button

    property string text
    /// Down on it now; a flick of the list around it cancels the press.
    readonly property bool pressed: area.pressed
    readonly property real pressX: area.mouseX
    readonly property real pressY: area.mouseY
    /// It has the keyboard (it takes it only from Tab), for a focus frame.
    readonly property bool visualFocus: activeFocus

    signal clicked()
    signal pressAndHold()

    function click() {
        if (enabled)
            clicked()
    }

    Keys.onSpacePressed: click()
    Keys.onReturnPressed: click()
    Keys.onEnterPressed: click()
    Accessible.onPressAction: click()

    MouseArea {
        id: area
        anchors.fill: parent
        onClicked: button.clicked()
        onPressAndHold: button.pressAndHold()
    }
}
