import QtQuick
import QtQuick.Controls
import Numiva

// The context menu of a rates row: only the entries the controller offers for it.
Menu {
    id: rowMenu
    objectName: "rowMenu"
    required property RootView view
    property int row: -1
    property var entries: []

    function openFor(row, cell, x, y) {
        entries = rowMenu.view.controller.contextMenuActions(row)
        if (entries.length === 0)
            return
        rowMenu.row = row
        popup(cell, x, y)
    }
    Connections {
        target: rowMenu.view
        function onRowMenuRequested(row, cell, x, y) { rowMenu.openFor(row, cell, x, y) }
    }

    component RowMenuItem: MenuItem {
        required property string entry
        visible: rowMenu.entries.indexOf(entry) >= 0
        height: visible ? implicitHeight : 0
        objectName: entry + "Item"
        onTriggered: rowMenu.view.controller.triggerContextAction(rowMenu.row, entry)
    }
    RowMenuItem { entry: "copyValue"; text: qsTrId("CopyValue") }
    RowMenuItem { entry: "copyRow"; text: qsTrId("CopyRow") }
    RowMenuItem { entry: "chart"; text: qsTrId("ShowChart") }
    RowMenuItem { entry: "compare"; text: qsTrId("CompareSources") }
    RowMenuItem { entry: "remove"; text: qsTrId("RemoveCurrency") }
}
