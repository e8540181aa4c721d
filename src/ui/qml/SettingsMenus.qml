import QtQuick
import QtQuick.Controls
import Numiva

// The settings screen's menus of the further sources.
Item {
    id: menus
    required property SettingsView view
    readonly property alias actions: sourceMenu
    readonly property alias choice: furtherSourceMenu

    // Move up, Move down and Remove for the further source it was opened on.
    Menu {
        id: sourceMenu
        objectName: "furtherSourceActions"
        property int section: -1
        property int row: -1
        property bool canMoveUp: false
        property bool canMoveDown: false
        function openFor(cell) {
            section = cell.sectionNumber
            row = cell.row
            canMoveUp = cell.canMoveUp
            canMoveDown = cell.canMoveDown
            popup(cell, menus.view.groupMargin, cell.height)
        }
        MenuItem {
            text: qsTrId("MoveUp")
            enabled: sourceMenu.canMoveUp
            onTriggered: menus.view.controller.moveFurtherSource(sourceMenu.row, sourceMenu.row - 1)
        }
        MenuItem {
            text: qsTrId("MoveDown")
            enabled: sourceMenu.canMoveDown
            onTriggered: menus.view.controller.moveFurtherSource(sourceMenu.row, sourceMenu.row + 1)
        }
        MenuItem {
            text: qsTrId("RemoveFurtherSource")
            onTriggered: menus.view.controller.deleteRow(sourceMenu.section, sourceMenu.row)
        }
    }

    // The sources that can be added as further ones, by name.
    Menu {
        id: furtherSourceMenu
        objectName: "furtherSourceMenu"
        property var identifiers: []
        property var names: []
        width: Math.min(menus.view.width - 20, 300)
        Repeater {
            model: furtherSourceMenu.names
            delegate: MenuItem {
                required property int index
                required property string modelData
                text: modelData
                onTriggered: menus.view.controller.addFurtherSource(furtherSourceMenu.identifiers[index])
            }
        }
    }
}
