import QtQuick
import Numiva

// The base currency row (section 0): flag, name and, on the right, "Base currency" or, in
// conversion mode, the amount being converted with its code underneath. While editing it is
// the row that adds currencies.
TapButton {
    id: cell
    required property CRootViewController controller
    property real sideMargin: 16

    signal addClicked()

    readonly property bool editingList: controller.editing && !controller.isInSwipeToDeleteMode
    readonly property bool hasSubscript: controller.baseSubscript.length > 0

    implicitHeight: 64
    // The first row of the list for the keyboard: reached with the up arrow from the first rate
    // row (RootView); Space, Enter or Return open it.
    Accessible.role: Accessible.Button
    Accessible.name: (controller.baseCurrencyName + ", " + controller.baseDescription + " "
                      + controller.baseSubscript).trim()

    readonly property bool keyboardFocus: activeFocus && !pressed

    Item {
        anchors.fill: parent
        Rectangle {
            x: cell.sideMargin
            width: cell.width - 2 * cell.sideMargin
            height: cell.height
            radius: 10
            color: "white"
            border.color: cell.keyboardFocus ? "#4da3ff" : "#14000000"
            border.width: cell.keyboardFocus ? 2 : 1
        }
    }

    Item {
        anchors.fill: parent
        Item {
            id: frame
            x: cell.sideMargin
            width: cell.width - 2 * cell.sideMargin
            height: cell.height

            TapButton {
                id: addButton
                objectName: "addButton"
                visible: cell.editingList && cell.controller.canEditRows
                x: 12
                width: 24
                height: 24
                anchors.verticalCenter: parent.verticalCenter
                Accessible.role: Accessible.Button
                Accessible.name: qsTrId("AddNewCurrency")
                Rectangle { anchors.fill: parent; radius: 12; color: "#34c759" }
                // Made when shown: a start sets up no font it does not show.
                Loader {
                    anchors.fill: parent
                    active: addButton.visible
                    sourceComponent: addGlyph
                }
                Component {
                    id: addGlyph
                    Text {
                        text: "+"
                        color: "white"
                        font.pixelSize: 20
                        font.bold: true
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                    }
                }
                onClicked: cell.addClicked()
            }

            FlagImage {
                id: flag
                x: 12
                width: 44
                height: 33
                anchors.verticalCenter: parent.verticalCenter
                source: cell.controller.baseCurrencyFlag
                opacity: cell.editingList ? 0 : 1
                Behavior on opacity { NumberAnimation { duration: 200 * CUISettings.animationScale } }
            }

            Text {
                id: name
                objectName: "baseName"
                x: cell.editingList ? 46 : 68
                anchors.verticalCenter: parent.verticalCenter
                width: (cell.editingList ? frame.width : description.x - 8) - x
                text: cell.controller.baseCurrencyName
                elide: Text.ElideRight
                color: "#1c1c1e"
                font.family: CUISettings.cellTextFont.family
                font.pixelSize: 17
                font.bold: true
            }

            Column {
                id: description
                x: frame.width - 14 - width
                anchors.verticalCenter: parent.verticalCenter
                opacity: cell.editingList ? 0 : 1
                Behavior on opacity { NumberAnimation { duration: 200 * CUISettings.animationScale } }

                // The amount being converted, on one line.
                // Made in conversion mode only: a start sets up no font it does not show.
                Loader {
                    active: cell.hasSubscript
                    visible: active
                    anchors.right: parent.right
                    sourceComponent: Text {
                        objectName: "baseAmount"
                        text: cell.controller.baseDescription
                        color: CUISettings.convertedValueColor
                        font.family: CUISettings.detailCellTextFont.family
                        font.pixelSize: 20
                        font.bold: true
                    }
                }
                Text {
                    objectName: "baseSubscript"
                    visible: cell.hasSubscript
                    anchors.right: parent.right
                    text: cell.controller.baseSubscript
                    color: CUISettings.currencyCodeColor
                    font.family: "Helvetica"
                    font.pixelSize: 12
                }
                // "Base currency", broken into lines with their own spacing.
                CUILabelExt {
                    objectName: "baseDescription"
                    visible: !cell.hasSubscript
                    anchors.right: parent.right
                    width: 96
                    height: lines.length * lineSpacing
                    text: cell.controller.baseDescription
                    font: Qt.font({ family: "Helvetica", pixelSize: 12, bold: true })
                    color: CUISettings.tableHeaderColor
                    lineSpacing: 15
                    horizontalAlignment: Text.AlignRight
                }
            }
        }
    }
}
