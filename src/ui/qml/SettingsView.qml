import QtQuick
import Numiva

// The settings screen: a grouped table of base currency, data sources, conversion fee and
// the request and info rows. Every row comes from the controller's table model. Plain Qt Quick:
// the tablet shows it beside the rate list at start, which loads no Qt Quick Controls; its menus
// and alerts load them when first shown.
Item {
    id: view
    required property CSettingsViewController controller
    property CNavigationController navigation: null
    property bool canGoBack: false
    property string backTitle: ""

    readonly property alias list: list
    /// The alerts and menus, once made.
    readonly property var alert: alertLoader.item
    readonly property var question: questionLoader.item
    readonly property var menus: menusLoader.item
    readonly property alias presentationHost: presentation
    readonly property int groupMargin: 10
    readonly property real pixelScale: Math.max(1, Math.ceil(Screen.devicePixelRatio))

    // The list shows the controller's rows once it has loaded them: rows made before would be
    // laid out twice.
    property bool loaded: false
    Component.onCompleted: {
        controller.viewDidLoad()
        controller.viewWillAppear()
        loaded = true
    }

    BaseBackgroundView {
        anchors.fill: parent
        tablet: view.controller.isTablet
    }

    NavigationBar {
        id: navBar
        width: parent.width
        z: 2
        title: view.controller.title
        leftText: view.canGoBack ? view.backTitle : ""
        leftBack: view.canGoBack
        onLeftClicked: if (view.navigation) view.navigation.popViewController(true)
    }

    ListView {
        id: list
        objectName: "settingsList"
        anchors.top: navBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        clip: true
        model: view.loaded ? view.controller.rows : null
        cacheBuffer: 2000
        // Shown while the list moves.
        Rectangle {
            parent: list
            z: 3
            x: list.width - width - 2
            y: list.visibleArea.yPosition * list.height
            width: 3
            height: Math.max(10, list.visibleArea.heightRatio * list.height)
            radius: 1.5
            color: "#80000000"
            visible: list.visibleArea.heightRatio < 1
            opacity: list.moving ? 1 : 0
            Behavior on opacity { NumberAnimation { duration: 300 * CUISettings.animationScale } }
        }

        section.property: "section"
        section.delegate: Item {
            id: sectionItem
            required property string section
            readonly property int number: parseInt(section)
            // A section's footer stands above the next section.
            readonly property string footer: view.controller.footerAbove(number)
            readonly property string header: view.controller.sectionHeader(number)
            width: list.width
            height: (footerText.visible ? footerText.height + 14 : 0)
                    + (header.length > 0 ? 30 + (number === 0 ? 12 : 6) : 24)

            Text {
                id: footerText
                objectName: sectionItem.footer.length > 0 ? "sectionFooter_" + sectionItem.number : ""
                visible: sectionItem.footer.length > 0
                x: 20
                y: 8
                width: parent.width - 40
                text: sectionItem.footer
                wrapMode: Text.WordWrap
                horizontalAlignment: Text.AlignHCenter
                color: CUISettings.tableHeaderColor
                style: Text.Raised
                styleColor: "white"
                font.family: "Helvetica"
                font.pixelSize: 13
            }
            Text {
                visible: sectionItem.header.length > 0
                x: 20
                width: parent.width - 30
                anchors.bottom: parent.bottom
                anchors.bottomMargin: 6
                text: sectionItem.header
                elide: Text.ElideRight
                color: CUISettings.tableHeaderColor
                font: CUISettings.tableHeaderFont
                style: Text.Raised
                styleColor: "white"
            }
        }

        delegate: SwipeRow {
            id: cell
            required property int index
            required property string section
            required property int row
            required property string kind
            required property string title
            required property string subtitle
            required property url image
            required property bool centered
            required property bool disclosure
            required property bool checkmark
            required property bool switchOn
            required property bool switchEnabled
            required property bool deletable
            required property string identifier
            required property bool canMoveUp
            required property bool canMoveDown

            readonly property int sectionNumber: parseInt(section)
            readonly property bool further: kind === "furtherSource"
            readonly property bool first: row === 0
            readonly property bool last: row === view.controller.rowCount(sectionNumber) - 1
            readonly property bool tall: kind === "subtitle" || kind === "customSource" || further

            objectName: "settingsRow_" + section + "_" + row
            width: list.width
            // Long texts wrap (two lines at most) and the row grows with them.
            height: Math.max(tall ? 60 : 46, texts.implicitHeight + 18)
            // Reached with Tab; Space, Enter or Return act as a tap.
            activeFocusOnTab: cell.kind !== "switch"
            Accessible.role: cell.checkmark ? Accessible.RadioButton : Accessible.Button
            Accessible.name: cell.subtitle.length > 0 ? cell.title + ", " + cell.subtitle : cell.title
            Accessible.checked: cell.checkmark
            swipeEnabled: deletable
            swipeTravel: 90

            onClicked: {
                if (swipePosition !== 0) {
                    closeSwipe()
                    return
                }
                view.controller.didSelectRow(sectionNumber, row)
            }
            // A further source's actions, also by right click or press and hold.
            onPressAndHold: if (further) view.openSourceMenu(cell)
            TapHandler {
                enabled: cell.further
                acceptedButtons: Qt.RightButton
                onTapped: view.openSourceMenu(cell)
            }

            // Delete, under the right end, uncovered as the row slides left: made the first time.
            property Item deleteButton: null
            onSwipePositionChanged: {
                if (swipePosition > 0 && !deleteButton)
                    deleteButton = rowDeleteButton.createObject(cell, { "cell": cell })
            }

            // The card and its content slide left together to uncover Delete.
            Item {
                id: content
                x: view.groupMargin - cell.swipePosition * cell.swipeTravel
                width: parent.width - 2 * view.groupMargin
                height: parent.height

                // Space the accessory at the right edge takes.
                readonly property real accessoryWidth: !accessory ? 10
                    : accessoryKind === "switch" ? accessory.width + 14
                    : accessoryKind === "move" ? accessory.width + 10
                    : accessoryKind === "fee" ? 10 : 34

                GroupCard {
                    width: parent.width
                    height: parent.height
                    first: cell.first
                    last: cell.last
                    radius: 8
                    color: cell.pressed && cell.kind !== "switch" && cell.kind !== "fee"
                           ? "#d4e6fb" : "white"
                    borderColor: "#c8c7cc"
                    // The line between this row and the one above.
                    Rectangle {
                        visible: !cell.first
                        x: 1
                        width: parent.width - 2
                        height: 1
                        color: "#e0e0e4"
                    }
                }

                // A user-added source: its logo fitted into 48 x 42 at the left, texts from x 68.
                Image {
                    id: logo
                    visible: cell.kind === "customSource"
                    x: 10
                    y: (parent.height - 42) / 2
                    width: 48
                    height: 42
                    source: cell.kind === "customSource" ? cell.image : ""
                    fillMode: implicitHeight > height ? Image.PreserveAspectFit : Image.Pad
                    smooth: true
                }
                // A built-in source's logo, or the base currency's flag.
                Image {
                    id: icon
                    visible: (cell.kind === "subtitle" || cell.kind === "plain" || cell.further)
                             && String(cell.image) !== ""
                    x: 10
                    width: cell.kind === "plain" ? 32 : 40
                    height: cell.kind === "plain" ? 24 : 40
                    anchors.verticalCenter: parent.verticalCenter
                    // An SVG is drawn once at the size shown and kept as a PNG.
                    source: visible ? CUISettings.rasterUrl(cell.image, width * view.pixelScale,
                                                            height * view.pixelScale, false) : ""
                    sourceSize.width: width * view.pixelScale
                    sourceSize.height: height * view.pixelScale
                    fillMode: Image.PreserveAspectFit
                    smooth: true
                }

                Column {
                    id: texts
                    visible: cell.kind !== "fee"
                    x: cell.kind === "customSource" ? 68 : (icon.visible ? icon.width + 20 : 12)
                    width: parent.width - x - content.accessoryWidth
                    anchors.verticalCenter: parent.verticalCenter
                    spacing: 2
                    Text {
                        objectName: "rowTitle"
                        width: parent.width
                        text: cell.title
                        elide: Text.ElideRight
                        maximumLineCount: cell.kind === "switch" || cell.further ? 2 : 1
                        wrapMode: cell.kind === "switch" || cell.further ? Text.WordWrap : Text.NoWrap
                        horizontalAlignment: cell.centered ? Text.AlignHCenter : Text.AlignLeft
                        color: cell.kind === "addSource" ? CUISettings.tableHeaderColor : "#1c1c1e"
                        font: CUISettings.tableHeaderFont
                    }
                    Text {
                        objectName: "rowSubtitle"
                        visible: cell.subtitle.length > 0
                        width: parent.width
                        text: cell.subtitle
                        elide: Text.ElideRight
                        wrapMode: Text.WordWrap
                        maximumLineCount: 3
                        color: "#6d6d72"
                        font.family: "Helvetica"
                        font.pixelSize: 13
                    }
                }

                // The accessory of the row's kind, made by `makeAccessory` for the rows that have
                // one: the pane shows its rows at start, and a loader for every kind in every
                // row cost more than the rows' texts.
                readonly property string accessoryKind: cell.kind === "fee" ? "fee"
                    : cell.kind === "switch" ? "switch"
                    : cell.further ? "move"
                    : cell.checkmark ? "checkmark"
                    : cell.disclosure ? "disclosure" : ""
                property Item accessory: null
                property string accessoryMade: ""
                onAccessoryKindChanged: view.makeAccessory(cell, content)
                Component.onCompleted: view.makeAccessory(cell, content)
            }
        }

        footer: Item {
            width: list.width
            height: 30
        }
    }

    Connections {
        target: view.controller
        function onAlertRequested(title, message, button) {
            alertLoader.active = true
            view.alert.show(title, message, button)
        }
        function onQuestionRequested(title, noText, yesText) {
            questionLoader.active = true
            view.question.ask(title, "", noText, yesText)
        }
        function onFurtherSourceChoiceRequested(identifiers, names) {
            const furtherSourceMenu = view.ensureMenus().choice
            furtherSourceMenu.identifiers = identifiers
            furtherSourceMenu.names = names
            // Below the row that asked (the last of the further sources' section).
            const row = list.itemAtIndex(view.controller.rows.indexOf(
                                             4, view.controller.rowCount(4) - 1))
            if (row)
                furtherSourceMenu.popup(row, view.groupMargin, row.height)
            else
                furtherSourceMenu.popup()
        }
    }

    // A row's Delete, under its right end: hidden while the row is closed.
    Component {
        id: rowDeleteButton
        Rectangle {
            id: deleteButton
            property var cell
            z: -1
            visible: deleteButton.cell.swipePosition > 0
            width: 90
            height: deleteButton.cell.height
            anchors.right: parent.right
            color: "#ff3b30"
            Text {
                anchors.centerIn: parent
                text: deleteButton.cell.further ? qsTrId("RemoveFurtherSource") : qsTrId("Delete")
                color: "white"
                font.family: "Helvetica"
                font.pixelSize: 16
                font.bold: true
            }
            TapHandler {
                onTapped: {
                    deleteButton.cell.closeSwipe()
                    view.controller.deleteRow(deleteButton.cell.sectionNumber, deleteButton.cell.row)
                }
            }
        }
    }

    // A row's accessory, made again when its kind changes.
    function makeAccessory(cell, content) {
        if (content.accessoryMade === content.accessoryKind)
            return
        if (content.accessory)
            content.accessory.destroy()
        const kinds = { "checkmark": checkmarkAccessory, "disclosure": disclosureAccessory,
                        "move": moveAccessory, "switch": switchAccessory, "fee": feeAccessory }
        const component = kinds[content.accessoryKind] ?? null
        content.accessoryMade = content.accessoryKind
        content.accessory = component ? component.createObject(content, { "cell": cell }) : null
    }
    Component {
        id: checkmarkAccessory
        Image {
            property var cell
            objectName: "checkmark"
            x: parent.width - 26
            anchors.verticalCenter: parent.verticalCenter
            width: 16
            height: 16
            source: CUISettings.rasterUrl(CUISettings.imageUrl("checkmark"),
                                          width * view.pixelScale,
                                          height * view.pixelScale, false)
        }
    }
    Component {
        id: disclosureAccessory
        Image {
            property var cell
            x: parent.width - 20
            anchors.verticalCenter: parent.verticalCenter
            width: 8
            height: 14
            source: CUISettings.rasterUrl(CUISettings.imageUrl("disclosure"),
                                          width * view.pixelScale,
                                          height * view.pixelScale, false)
        }
    }
    Component {
        id: moveAccessory
        Row {
            id: moveButtons
            property var cell
            anchors.right: parent.right
            anchors.rightMargin: 4
            anchors.verticalCenter: parent.verticalCenter
            spacing: 2
            Repeater {
                model: [{ up: true }, { up: false }]
                delegate: TapButton {
                    id: moveButton
                    required property var modelData
                    objectName: modelData.up ? "moveUp" : "moveDown"
                    width: 36
                    height: 36
                    enabled: modelData.up ? moveButtons.cell.canMoveUp : moveButtons.cell.canMoveDown
                    activeFocusOnTab: true
                    Accessible.role: Accessible.Button
                    Accessible.name: modelData.up ? qsTrId("MoveUp") : qsTrId("MoveDown")
                    Rectangle {
                        anchors.fill: parent
                        radius: 6
                        color: moveButton.pressed ? "#d4e6fb" : "transparent"
                        border.color: moveButton.activeFocus ? "#007aff" : "transparent"
                    }
                    Text {
                        anchors.fill: parent
                        text: moveButton.modelData.up ? "\u25b2" : "\u25bc"
                        color: moveButton.enabled ? "#007aff" : "#c7c7cc"
                        font.pixelSize: 15
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                    }
                    onClicked: view.controller.moveFurtherSource(
                                   moveButtons.cell.row,
                                           modelData.up ? moveButtons.cell.row - 1 : moveButtons.cell.row + 1)
                }
            }
        }
    }
    Component {
        id: switchAccessory
        ToggleSwitch {
            id: rowSwitch
            property var cell
            objectName: "rowSwitch"
            x: parent.width - width - 6
            anchors.verticalCenter: parent.verticalCenter
            checked: rowSwitch.cell.switchOn
            enabled: rowSwitch.cell.switchEnabled
            Accessible.name: rowSwitch.cell.title
            onToggled: {
                view.controller.setSwitch(rowSwitch.cell.sectionNumber, rowSwitch.cell.row, checked)
                // The row's state decides, also when the screen refuses the change.
                checked = Qt.binding(() => rowSwitch.cell.switchOn)
            }
        }
    }
    Component {
        id: feeAccessory
        Item {
            property var cell
            anchors.fill: parent
            TextInput {
                id: feeField
                objectName: "feeField"
                x: 14
                width: parent.width - x - (feeButtons.visible ? feeButtons.width + 8 : 8)
                height: parent.height
                verticalAlignment: TextInput.AlignVCenter
                clip: true
                selectByMouse: true
                activeFocusOnTab: true
                text: view.controller.feeFieldText
                inputMethodHints: Qt.ImhFormattedNumbersOnly
                color: "#1c1c1e"
                selectionColor: "#b3d7ff"
                selectedTextColor: "#1c1c1e"
                font: CUISettings.tableHeaderFont
                Text {
                    anchors.fill: parent
                    verticalAlignment: Text.AlignVCenter
                    visible: feeField.text.length === 0
                    text: "0 %"
                    color: "#c7c7cc"
                    font: CUISettings.tableHeaderFont
                }
                onActiveFocusChanged: {
                    if (activeFocus)
                        view.controller.beginFeeEditing()
                    else if (view.controller.isEditingFee)
                        view.controller.endFeeEditing()
                }
                Keys.onReturnPressed: view.controller.commitFee(text)
                Keys.onEnterPressed: view.controller.commitFee(text)
                Keys.onEscapePressed: view.controller.cancelFeeEditing()
            }
            // What the keyboard's toolbar offers on a device: Cancel, and Done on a phone.
            Row {
                id: feeButtons
                visible: view.controller.isEditingFee
                anchors.right: parent.right
                anchors.rightMargin: 4
                anchors.verticalCenter: parent.verticalCenter
                BarButton {
                    objectName: "feeCancel"
                    text: qsTrId("Cancel")
                    onClicked: view.controller.cancelFeeEditing()
                }
                BarButton {
                    objectName: "feeDone"
                    visible: !view.controller.isTablet
                    text: qsTrId("Done")
                    bold: true
                    onClicked: view.controller.commitFee(feeField.text)
                }
            }
            Connections {
                target: view.controller
                function onFeeEditingEndRequested() {
                    if (feeField.activeFocus)
                        feeField.focus = false
                    else if (view.controller.isEditingFee)
                        view.controller.endFeeEditing()
                }
            }
        }
    }

    // The further sources' menus, made when first opened.
    Loader {
        id: menusLoader
    }
    function ensureMenus() {
        if (!menusLoader.item)
            menusLoader.setSource("SettingsMenus.qml", { "view": view })
        return menusLoader.item
    }
    function openSourceMenu(cell) {
        ensureMenus().actions.openFor(cell)
    }

    PresentationHost {
        id: presentation
        presenter: view.controller
        popoverSize: Qt.size(340, 600)
        anchorRectForRow: function (row) {
            const item = row < 0 ? null : list.itemAtIndex(row)
            if (!item)
                return Qt.rect(view.groupMargin, navBar.height, list.width - 2 * view.groupMargin, 46)
            // The popover points left from the row's right edge, out of the pane.
            const p = item.mapToItem(null, item.width - view.groupMargin - 14, 0)
            return Qt.rect(p.x, p.y, 10, item.height)
        }
    }

    // Made when first needed, as the menus.
    Loader {
        id: alertLoader
        active: false
        source: "AlertDialog.qml"
    }
    Loader {
        id: questionLoader
        active: false
        source: "AlertDialog.qml"
        onLoaded: item.objectName = "questionDialog"
    }
    Connections {
        target: questionLoader.item
        function onAnswered(other) { view.controller.answerBaseCurrencyUnavailable(other) }
    }
}
