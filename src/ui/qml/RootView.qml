import QtQuick
import Numiva

// The rate list screen: the base currency, then every other selected currency with its rate;
// pull down to refresh, tap to convert, edit to add, delete and reorder.
Item {
    id: view

    required property CRootViewController controller
    property CNavigationController navigation: null
    property bool canGoBack: false
    property string backTitle: ""

    readonly property real sideMargin: controller.isTablet ? 40 : 16
    /// The base row, for the keyboard: above the first rate row.
    property Item baseRow: null
    readonly property alias list: list
    readonly property alias presentationHost: presentation
    /// The alerts, once made.
    readonly property var alert: alertLoader.item
    readonly property var choice: choiceLoader.item

    // The list shows the controller's rows once it has loaded them (the stored rates): rows made
    // before would be laid out twice.
    property bool loaded: false
    Component.onCompleted: {
        controller.viewDidLoad()
        loaded = true
        controller.viewDidAppear(1)
    }

    BaseBackgroundView {
        anchors.fill: parent
        tablet: view.controller.isTablet
    }

    NavigationBar {
        id: navBar
        objectName: "rootNavigationBar"
        width: parent.width
        z: 2
        title: view.controller.title
        leftText: view.controller.leftButton === "inverse" ? view.controller.leftButtonTitle : ""
        leftIcon: view.controller.leftButton === "settings" ? CUISettings.imageUrl("settings") : ""
        rightText: view.controller.rightButton === "edit" ? view.controller.editButtonTitle
                                                          : qsTrId("Done")
        rightBold: view.controller.editing || view.controller.rightButton === "conversionDone"
        secondRightIcon: view.controller.chartButtonVisible ? CUISettings.imageUrl("IcnDynamic") : ""
        leftIconName: qsTrId("Settings")
        secondRightIconName: qsTrId("ChartButton")
        onLeftClicked: {
            if (view.controller.leftButton === "inverse")
                view.controller.onInverseRate()
            else
                view.controller.onSettingsClick()
        }
        onRightClicked: {
            if (view.controller.rightButton === "edit")
                view.controller.setEditing(!view.controller.editing, true)
            else
                view.controller.onConversionDoneClick()
        }
        onSecondRightClicked: view.controller.onChartClick()
    }

    Item {
        id: listArea
        anchors.top: navBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        clip: true

        // Made the first time the list's content moves down to uncover it (a pull, or the inset
        // of a refresh), then kept. Named by its file, so that a start does not even load its
        // type.
        Loader {
            id: refreshHeader
            width: listArea.width
            height: listArea.height
            // Its bottom edge follows the top of the list's content.
            y: -list.offsetY - height
        }

        ListView {
            id: list
            objectName: "rateList"
            anchors.fill: parent
            model: view.loaded ? view.controller.rates : null
            topMargin: view.controller.headerInset
            boundsBehavior: Flickable.DragAndOvershootBounds
            cacheBuffer: 600

            // Tab reaches the list; arrows move the current row (up from the first reaches the
            // base row), Enter or Space opens the converter for it, the menu key (or Shift+F10)
            // its context menu.
            activeFocusOnTab: true
            keyNavigationEnabled: true
            currentIndex: -1
            Accessible.role: Accessible.List
            Accessible.name: qsTrId("RateList")
            onActiveFocusChanged: if (activeFocus && currentIndex < 0 && count > 0) currentIndex = 0
            Keys.onPressed: function (event) {
                const row = list.currentIndex
                if (event.key === Qt.Key_Up && row <= 0 && view.baseRow) {
                    view.baseRow.forceActiveFocus()
                } else if (row < 0) {
                    return
                } else if (event.key === Qt.Key_Return || event.key === Qt.Key_Enter || event.key === Qt.Key_Space) {
                    view.controller.selectRow(1, row)
                } else if (event.key === Qt.Key_Menu || (event.key === Qt.Key_F10 && (event.modifiers & Qt.ShiftModifier))) {
                    const item = list.itemAtIndex(row)
                    if (item)
                        view.openRowMenu(row, item, item.width / 2, item.height / 2)
                } else {
                    return
                }
                event.accepted = true
            }

            /// The content offset as the screen reasons about it: negative when pulled down.
            readonly property real offsetY: contentY - originY
            onOffsetYChanged: {
                if (offsetY < 0 && !refreshHeader.item)
                    refreshHeader.setSource("PullToRefreshView.qml", {
                        "objectName": "refreshHeader",
                        "model": view.controller.refreshHeaderView
                    })
            }

            onContentYChanged: if (dragging) view.controller.scrollViewDidScroll(offsetY, true)
            onDraggingChanged: if (!dragging) view.controller.scrollViewDidEndDragging(offsetY)

            Behavior on topMargin {
                NumberAnimation { duration: 200 * CUISettings.animationScale }
            }
            onTopMarginChanged: if (!dragging && !flicking) returnToBounds()

            header: Item {
                width: list.width
                height: baseCell.height + 44
                BaseCategoryCell {
                    id: baseCell
                    objectName: "baseCell"
                    Component.onCompleted: view.baseRow = baseCell
                    Keys.onDownPressed: {
                        list.currentIndex = 0
                        list.forceActiveFocus()
                    }
                    y: 20
                    width: parent.width
                    controller: view.controller
                    sideMargin: view.sideMargin
                    onClicked: {
                        if (view.controller.editing)
                            view.controller.insertCurrencies()
                        else
                            view.controller.selectRow(0, 0)
                    }
                    onAddClicked: view.controller.insertCurrencies()
                }
            }

            footer: Item {
                width: list.width
                height: 30
            }

            delegate: CurrencyRateCell {
                width: list.width
                controller: view.controller
                sideMargin: view.sideMargin
                onContextMenuRequested: function (row, cell, x, y) { view.openRowMenu(row, cell, x, y) }
                onReorderStarted: function (row) { reorder.start(row) }
                onReorderMoved: function (row, sceneX, sceneY) { reorder.move(sceneX, sceneY) }
                onReorderFinished: function (row) { reorder.finish() }
            }

            add: Transition {
                NumberAnimation { property: "y"; from: 0; duration: 250 * CUISettings.animationScale }
            }
            addDisplaced: Transition {
                NumberAnimation { property: "y"; duration: 250 * CUISettings.animationScale }
            }
            remove: Transition {
                NumberAnimation { property: "opacity"; to: 0; duration: 200 * CUISettings.animationScale }
            }
            removeDisplaced: Transition {
                NumberAnimation { property: "y"; duration: 200 * CUISettings.animationScale }
            }
            moveDisplaced: Transition {
                NumberAnimation { property: "y"; duration: 200 * CUISettings.animationScale }
            }
        }

        // Where a dragged row would land.
        Rectangle {
            id: dropIndicator
            visible: reorder.active
            x: view.sideMargin
            width: listArea.width - 2 * view.sideMargin
            height: 3
            radius: 1.5
            color: "#007aff"
        }
    }

    QtObject {
        id: reorder
        property bool active: false
        property int from: -1
        property int to: -1

        function start(row) {
            from = row
            to = row
            active = true
            move(-1, -1)
        }
        function move(sceneX, sceneY) {
            if (sceneY >= 0) {
                const p = list.mapFromItem(null, sceneX, sceneY)
                const contentY = p.y + list.contentY
                const headerBottom = list.originY + list.headerItem.height - 24
                if (contentY < headerBottom) {
                    to = view.controller.targetRowForMove(0, 0)
                } else {
                    let row = list.indexAt(10, contentY)
                    if (row < 0)
                        row = list.count - 1
                    to = view.controller.targetRowForMove(1, row)
                }
            }
            const item = list.itemAtIndex(to)
            if (item)
                dropIndicator.y = item.y - list.contentY + (to > from ? item.height : 0) - 1
        }
        function finish() {
            active = false
            if (from >= 0 && to >= 0 && from !== to)
                view.controller.moveRow(from, to)
            from = -1
        }
    }

    // The context menu of a rates row, made when first opened: most runs open none, and it is
    // the list's only use of Qt Quick Controls, which a start need not load.
    Loader {
        id: rowMenuLoader
    }

    signal rowMenuRequested(int row, Item cell, real x, real y)
    function openRowMenu(row, cell, x, y) {
        if (!rowMenuLoader.item)
            rowMenuLoader.setSource("RowMenu.qml", { "view": view })
        rowMenuRequested(row, cell, x, y)
    }

    Connections {
        target: view.controller
        function onScrollToTopRequested() { list.positionViewAtBeginning() }
        function onAlertRequested(title, message, button) {
            alertLoader.active = true
            view.alert.show(title, message, button)
        }
        function onChoiceRequested(title, message, buttons) {
            choiceLoader.active = true
            view.choice.choose(title, message, buttons)
        }
    }

    PresentationHost {
        id: presentation
        presenter: view.controller
        popoverSize: !view.controller.presentedController ? Qt.size(320, 480)
                     : view.controller.presentedController.viewName === "CurrencyPickerView"
                     ? Qt.size(340, 600)
                     : view.controller.presentedController.viewName === "CompareSourcesView"
                     ? Qt.size(440, 700) : Qt.size(320, 480)
        anchorRectForRow: function (row) {
            const item = row < 0 ? list.headerItem : list.itemAtIndex(row)
            if (!item)
                return Qt.rect(view.sideMargin, navBar.height, list.width - 2 * view.sideMargin, 60)
            const p = item.mapToItem(null, view.sideMargin, row < 0 ? 20 : 0)
            return Qt.rect(p.x, p.y, item.width - 2 * view.sideMargin, row < 0 ? 64 : item.height)
        }
    }

    // Made when first needed, as the menu.
    Loader {
        id: alertLoader
        active: false
        source: "AlertDialog.qml"
    }
    Loader {
        id: choiceLoader
        active: false
        source: "AlertDialog.qml"
        onLoaded: item.objectName = "choiceDialog"
    }
    Connections {
        target: choiceLoader.item
        function onChosen(index) { view.controller.answerChoice(index) }
    }
}
