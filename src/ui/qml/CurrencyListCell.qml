import QtQuick
import QtQuick.Controls
import Numiva

// A row of the currency picker: flag, name and code, or a checkmark once chosen.
ItemDelegate {
    id: cell
    required property int index
    required property string code
    required property string name
    required property url flag
    required property string codeText
    required property bool chosen
    // Which further source offers the currency; empty when the active one does.
    required property string detail

    implicitHeight: 48
    padding: 0
    hoverEnabled: false
    // The list takes the keyboard and moves its current row (CurrencyPickerView).
    focusPolicy: Qt.NoFocus
    Accessible.role: Accessible.ListItem
    Accessible.name: name + ", " + code + (detail.length > 0 ? ", " + detail : "")
    Accessible.checkable: true
    Accessible.checked: chosen

    background: Rectangle {
        color: cell.down || (cell.ListView.isCurrentItem && cell.ListView.view.activeFocus) ? "#d4e6fb" : "white"
        Rectangle {
            x: 60
            width: parent.width - 60
            height: 1
            anchors.bottom: parent.bottom
            color: "#1f000000"
        }
    }

    contentItem: Item {
        FlagImage {
            x: 14
            width: 32
            height: 24
            anchors.verticalCenter: parent.verticalCenter
            source: cell.flag
        }
        Column {
            x: 60
            width: (cell.chosen ? check.x : codeLabel.x) - 8 - x
            anchors.verticalCenter: parent.verticalCenter
            Text {
                width: parent.width
                text: cell.name
                elide: Text.ElideRight
                color: "#1c1c1e"
                font: CUISettings.cellTextFont
            }
            Text {
                objectName: "pickerDetail"
                visible: cell.detail.length > 0
                width: parent.width
                text: cell.detail
                elide: Text.ElideRight
                color: "#8e8e93"
                font.family: "Helvetica"
                font.pixelSize: 12
            }
        }
        Text {
            id: codeLabel
            objectName: "pickerCode"
            x: parent.width - 30 - width
            anchors.verticalCenter: parent.verticalCenter
            text: cell.codeText
            color: "#8e8e93"
            font: CUISettings.detailCellTextFont
        }
        Text {
            id: check
            objectName: "checkmark"
            visible: cell.chosen
            x: parent.width - 30 - width
            anchors.verticalCenter: parent.verticalCenter
            text: "\u2713"
            color: "#007aff"
            font.pixelSize: 20
            font.bold: true
        }
    }
}
