import QtQuick
import Numiva

// One row of the rates section: flag, name and the detail line (the rate's date, an orange mark
// and "stale" for a stale rate, and where it comes from when that is not the active source's
// answer) on the left; the rate and the code it is quoted in on the right. Swipe left to
// delete; while editing, a delete control on the left and a reorder handle on the right.
SwipeRow {
    id: cell

    required property CRootViewController controller
    required property int index
    required property string code
    required property string name
    required property url flag
    required property string rateText
    required property string codeText
    required property string dateText
    required property string detailText
    required property bool stale
    required property bool selectable
    required property bool copyable
    required property bool pending

    property real sideMargin: 16
    property bool isFirst: index === 0
    property bool isLast: index === ListView.view.count - 1

    /// The context menu, at (x, y) of the cell.
    signal contextMenuRequested(int row, Item cell, real x, real y)
    signal reorderStarted(int row)
    signal reorderMoved(int row, real sceneX, real sceneY)
    signal reorderFinished(int row)

    readonly property bool editingList: controller.editing && !controller.isInSwipeToDeleteMode
    // The flag, the detail line and the rate fade out together while the list is edited.
    property real detailOpacity: editingList ? 0 : 1
    Behavior on detailOpacity { NumberAnimation { duration: 200 * CUISettings.animationScale } }
    // A swipe to the left narrows the card (the name elided) to uncover Delete beside it, so
    // that the user sees what goes.
    readonly property real cardWidth: width - 2 * sideMargin - swipePosition * swipeTravel

    implicitHeight: 60
    // The list takes the keyboard and moves its current row (RootView).
    Accessible.role: Accessible.ListItem
    Accessible.name: qsTrId("AccessibleRateRowABC").arg(name).arg(rateText).arg(codeText).trim()
    Accessible.description: stale ? qsTrId("AccessibleRateStale") + ", " + detailText : detailText

    swipeEnabled: controller.canEditRows
    onSwipeOpened: if (!controller.editing) controller.beginSwipeToDelete(index)
    onSwipeClosed: controller.endSwipeToDelete()

    onClicked: {
        if (swipePosition !== 0) {
            closeSwipe()
        } else if (!controller.editing) {
            controller.selectRow(1, index)
        }
    }
    onPressAndHold: contextMenuRequested(index, cell, pressX, pressY)

    // A right click (a mouse, a touchpad) opens the same menu as a long press.
    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: function (eventPoint) {
            cell.contextMenuRequested(cell.index, cell, eventPoint.position.x, eventPoint.position.y)
        }
    }

    // Delete, under the card's right end: uncovered as the card narrows, and made only then.
    Loader {
        active: cell.swipePosition > 0
        x: cell.width - cell.sideMargin - width
        width: cell.swipeTravel
        height: cell.height
        sourceComponent: Rectangle {
            objectName: "deleteButton"
            color: deleteArea.pressed ? "#d70015" : "#ff3b30"
            radius: cell.isLast || cell.isFirst ? 10 : 0
            Text {
                anchors.centerIn: parent
                text: qsTrId("Delete")
                color: "white"
                font.family: "Helvetica"
                font.pixelSize: 15
                font.bold: true
            }
            MouseArea {
                id: deleteArea
                anchors.fill: parent
                onClicked: {
                    cell.closeSwipe()
                    cell.controller.deleteRow(cell.index)
                }
            }
        }
    }

    GroupCard {
        x: cell.sideMargin
        width: cell.cardWidth
        height: cell.height
        first: cell.isFirst
        last: cell.isLast
        radius: 10
        color: cell.pressed && cell.selectable && !cell.controller.editing ? "#d4e6fb" : "white"
        borderColor: cell.ListView.isCurrentItem && cell.ListView.view.activeFocus ? "#4da3ff" : "transparent"
        borderWidth: 2
        Rectangle {
            visible: !cell.isLast
            x: 60
            width: parent.width - 60
            height: 1
            y: parent.height - 1
            color: Qt.rgba(CUISettings.cellSeparatorColor.r, CUISettings.cellSeparatorColor.g,
                           CUISettings.cellSeparatorColor.b, 0.3)
        }
    }

    Item {
        id: content
        anchors.fill: parent
        clip: true

        Item {
            id: frame
            x: cell.sideMargin
            width: cell.cardWidth
            height: cell.height

            // The editing controls and the busy indicator are made when needed: a start makes
            // every row, and most rows never show them.
            Loader {
                active: cell.editingList && cell.controller.canEditRows
                x: 12
                anchors.verticalCenter: parent.verticalCenter
                sourceComponent: TapButton {
                    objectName: "deleteControl"
                    width: 24
                    height: 24
                    Rectangle { anchors.fill: parent; radius: 12; color: "#ff3b30" }
                    Item {
                        anchors.fill: parent
                        Rectangle {
                            width: 12
                            height: 3
                            radius: 1
                            color: "white"
                            anchors.centerIn: parent
                        }
                    }
                    onClicked: cell.openSwipe()
                }
            }

            FlagImage {
                id: flagImage
                x: 12
                width: 36
                height: 27
                anchors.verticalCenter: parent.verticalCenter
                source: cell.flag
                opacity: cell.detailOpacity
            }

            Text {
                id: nameLabel
                objectName: "nameLabel"
                x: cell.editingList ? 46 : 60
                y: cell.detailText.length > 0 && !cell.editingList ? 11 : (cell.height - height) / 2
                width: (cell.editingList ? handle.x - 8 : rateColumn.x - 8) - x
                text: cell.name
                elide: Text.ElideRight
                color: "#1c1c1e"
                font: CUISettings.cellTextFont
            }
            Rectangle {
                id: staleMark
                objectName: "staleMark"
                x: nameLabel.x
                y: dateLabel.y + (dateLabel.height - height) / 2
                width: visible ? 7 : 0
                height: 7
                radius: 3.5
                visible: cell.stale && dateLabel.visible
                color: "#ff9500"
                opacity: dateLabel.opacity
            }
            Text {
                id: dateLabel
                objectName: "dateLabel"
                x: nameLabel.x + (staleMark.visible ? staleMark.width + 5 : 0)
                y: 34
                // The line may run under the rate, up to the code it is quoted in.
                width: (cell.editingList ? handle.x - 8 : rateColumn.x + rateColumn.width
                        - codeLabel.implicitWidth - 8) - x
                visible: text.length > 0
                text: cell.detailText
                elide: Text.ElideRight
                color: cell.stale ? "#c93400" : "#8e8e93"
                font.family: "Helvetica"
                font.pixelSize: 12
                opacity: cell.detailOpacity
            }

            Column {
                id: rateColumn
                x: frame.width - 14 - width
                y: codeLabel.text.length > 0 ? 11 : (cell.height - height) / 2
                opacity: cell.detailOpacity

                Text {
                    id: rateLabel
                    objectName: "rateLabel"
                    anchors.right: parent.right
                    visible: !cell.pending
                    text: cell.rateText
                    color: cell.codeText.length > 0 ? "#1c1c1e" : "#8e8e93"
                    font: CUISettings.detailCellTextFont
                    Behavior on text {
                        SequentialAnimation {
                            NumberAnimation { targets: [rateLabel, codeLabel]; property: "opacity"; to: 0; duration: 200 * CUISettings.animationScale }
                            PropertyAction {}
                            NumberAnimation { targets: [rateLabel, codeLabel]; property: "opacity"; to: 1; duration: 200 * CUISettings.animationScale }
                        }
                    }
                }
                Loader {
                    anchors.right: parent.right
                    active: cell.pending
                    visible: active
                    // By its file: a start loads no spinner type.
                    source: "Spinner.qml"
                    onLoaded: {
                        item.objectName = "pendingIndicator"
                        item.width = 22
                        item.height = 22
                        item.running = true
                    }
                }
                Text {
                    id: codeLabel
                    objectName: "codeLabel"
                    anchors.right: parent.right
                    visible: text.length > 0
                    topPadding: 3
                    text: cell.codeText
                    color: "#8e8e93"
                    font.family: "Helvetica"
                    font.pixelSize: 12
                }
            }

            Loader {
                id: handle
                active: cell.editingList && cell.controller.canEditRows
                x: frame.width - width - 14
                anchors.verticalCenter: parent.verticalCenter
                sourceComponent: Text {
                    objectName: "reorderHandle"
                    text: "\u2261"
                    color: "#a0a0a6"
                    font.pixelSize: 26
                    MouseArea {
                        anchors.fill: parent
                        anchors.margins: -12
                        preventStealing: true
                        onPressed: cell.reorderStarted(cell.index)
                        onPositionChanged: function (mouse) {
                            const p = mapToItem(null, mouse.x, mouse.y)
                            cell.reorderMoved(cell.index, p.x, p.y)
                        }
                        onReleased: cell.reorderFinished(cell.index)
                    }
                }
            }
        }
    }
}
