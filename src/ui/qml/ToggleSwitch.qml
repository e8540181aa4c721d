import QtQuick
import Numiva

// An on/off switch: a tap, Space, Enter or Return flips it, and `toggled` tells of a change
// the user made.
TapButton {
    id: toggle

    property bool checked: false
    signal toggled()

    implicitWidth: 51
    implicitHeight: 31
    activeFocusOnTab: true
    Accessible.role: Accessible.CheckBox
    Accessible.checkable: true
    Accessible.checked: checked
    onClicked: {
        checked = !checked
        toggled()
    }

    Rectangle {
        anchors.fill: parent
        radius: height / 2
        color: toggle.checked ? "#34c759" : "#e9e9eb"
        border.color: toggle.visualFocus ? "#007aff" : "transparent"
        border.width: 2
        opacity: toggle.enabled ? 1 : 0.5
        Behavior on color { ColorAnimation { duration: 150 * CUISettings.animationScale } }
    }
    Rectangle {
        width: toggle.height - 4
        height: width
        radius: width / 2
        y: 2
        x: toggle.checked ? toggle.width - width - 2 : 2
        color: "white"
        border.color: "#26000000"
        Behavior on x { NumberAnimation { duration: 150 * CUISettings.animationScale } }
    }
}
