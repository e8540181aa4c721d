import QtQuick
import QtQuick.Controls
import Numiva

// The settings screen: a grouped table of base currency, data sources, conversion fee and
// the request and info rows. Every row comes from the controller's table model.
Item {
    id: view
    required property CSettingsViewController controller
    property CNavigationController navigation: null
    property bool canGoBack: false
    property string backTitle: ""

    readonly property alias list: list
    readonly property alias alert: alert
    readonly property alias presentationHost: presentation
    readonly property int groupMargin: 10

    Component.onCompleted: {
        controller.viewDidLoad()
        controller.viewWillAppear()
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
        model: view.controller.rows
        cacheBuffer: 2000
        ScrollIndicator.vertical: ScrollIndicator {}

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

        delegate: SwipeDelegate {
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
            padding: 0
            leftPadding: view.groupMargin
            rightPadding: view.groupMargin
            hoverEnabled: false
            // Reached with Tab; Space, Enter or Return act as a tap.
            focusPolicy: cell.kind === "switch" ? Qt.NoFocus : Qt.TabFocus
            Accessible.role: cell.checkmark ? Accessible.RadioButton : Accessible.Button
            Accessible.name: cell.subtitle.length > 0 ? cell.title + ", " + cell.subtitle : cell.title
            Accessible.checked: cell.checkmark
            Keys.onReturnPressed: click()
            Keys.onEnterPressed: click()
            swipe.enabled: deletable

            onClicked: {
                if (swipe.position !== 0) {
                    swipe.close()
                    return
                }
                view.controller.didSelectRow(sectionNumber, row)
            }
            // A further source's actions, also by right click or press and hold.
            onPressAndHold: if (further) sourceMenu.openFor(cell)
            TapHandler {
                enabled: cell.further
                acceptedButtons: Qt.RightButton
                onTapped: sourceMenu.openFor(cell)
            }

            swipe.right: Rectangle {
                width: 90
                height: cell.height
                anchors.right: parent.right
                color: "#ff3b30"
                Text {
                    anchors.centerIn: parent
                    text: cell.further ? qsTrId("RemoveFurtherSource") : qsTrId("Delete")
                    color: "white"
                    font.family: "Helvetica"
                    font.pixelSize: 16
                    font.bold: true
                }
                TapHandler {
                    onTapped: {
                        cell.swipe.close()
                        view.controller.deleteRow(cell.sectionNumber, cell.row)
                    }
                }
            }

            background: Item {
                Rectangle {
                    x: view.groupMargin
                    width: parent.width - 2 * view.groupMargin
                    height: parent.height
                    radius: 8
                    color: cell.down && cell.kind !== "switch" && cell.kind !== "fee"
                           ? "#d4e6fb" : "white"
                    border.color: "#c8c7cc"
                    // Only the first and last rows of a section show rounded corners.
                    Rectangle {
                        visible: !cell.first
                        x: 1
                        width: parent.width - 2
                        height: 10
                        color: parent.color
                    }
                    Rectangle {
                        visible: !cell.last
                        x: 1
                        y: parent.height - 10
                        width: parent.width - 2
                        height: 10
                        color: parent.color
                    }
                    Rectangle {
                        visible: !cell.first
                        x: 0
                        width: 1
                        height: parent.height
                        color: "#c8c7cc"
                    }
                    Rectangle {
                        visible: !cell.first
                        x: parent.width - 1
                        width: 1
                        height: parent.height
                        color: "#c8c7cc"
                    }
                    Rectangle {
                        visible: !cell.last
                        x: 0
                        width: 1
                        height: parent.height
                        color: "#c8c7cc"
                    }
                    Rectangle {
                        visible: !cell.last
                        x: parent.width - 1
                        width: 1
                        height: parent.height
                        color: "#c8c7cc"
                    }
                    Rectangle {
                        visible: !cell.first
                        x: 1
                        width: parent.width - 2
                        height: 1
                        color: "#e0e0e4"
                    }
                }
            }

            contentItem: Item {
                id: content
                // Space the accessory at the right edge takes.
                readonly property real accessoryWidth: cell.kind === "switch" ? rowSwitch.width + 14
                    : cell.further ? moveButtons.width + 10
                    : (cell.checkmark || cell.disclosure ? 34 : 10)

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
                    source: visible ? cell.image : ""
                    sourceSize.width: width * 2
                    sourceSize.height: height * 2
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

                Text {
                    objectName: "checkmark"
                    visible: cell.checkmark
                    x: parent.width - 28
                    anchors.verticalCenter: parent.verticalCenter
                    text: "\u2713"
                    color: "#007aff"
                    font.pixelSize: 20
                    font.bold: true
                }
                Text {
                    visible: cell.disclosure
                    x: parent.width - 24
                    anchors.verticalCenter: parent.verticalCenter
                    text: "\u203a"
                    color: "#c7c7cc"
                    font.pixelSize: 28
                }
                // Move up / Move down: the order in which the further sources are asked.
                Row {
                    id: moveButtons
                    visible: cell.further
                    anchors.right: parent.right
                    anchors.rightMargin: 4
                    anchors.verticalCenter: parent.verticalCenter
                    spacing: 2
                    Repeater {
                        model: [{ up: true }, { up: false }]
                        delegate: AbstractButton {
                            id: moveButton
                            required property var modelData
                            objectName: modelData.up ? "moveUp" : "moveDown"
                            width: 36
                            height: 36
                            enabled: modelData.up ? cell.canMoveUp : cell.canMoveDown
                            focusPolicy: Qt.TabFocus
                            Accessible.role: Accessible.Button
                            Accessible.name: modelData.up ? qsTrId("MoveUp") : qsTrId("MoveDown")
                            background: Rectangle {
                                radius: 6
                                color: moveButton.down ? "#d4e6fb" : "transparent"
                                border.color: moveButton.activeFocus ? "#007aff" : "transparent"
                            }
                            contentItem: Text {
                                text: moveButton.modelData.up ? "\u25b2" : "\u25bc"
                                color: moveButton.enabled ? "#007aff" : "#c7c7cc"
                                font.pixelSize: 15
                                horizontalAlignment: Text.AlignHCenter
                                verticalAlignment: Text.AlignVCenter
                            }
                            onClicked: view.controller.moveFurtherSource(
                                           cell.row, modelData.up ? cell.row - 1 : cell.row + 1)
                        }
                    }
                }
                Switch {
                    id: rowSwitch
                    objectName: "rowSwitch"
                    visible: cell.kind === "switch"
                    x: parent.width - width - 6
                    anchors.verticalCenter: parent.verticalCenter
                    checked: cell.switchOn
                    enabled: cell.switchEnabled
                    Accessible.name: cell.title
                    onToggled: view.controller.setSwitch(cell.sectionNumber, cell.row, checked)
                }

                // The fee field: "2.5 %" at rest, the bare number while edited.
                Item {
                    visible: cell.kind === "fee"
                    anchors.fill: parent
                    TextField {
                        id: feeField
                        objectName: "feeField"
                        x: 8
                        width: parent.width - x - (feeButtons.visible ? feeButtons.width + 8 : 8)
                        anchors.verticalCenter: parent.verticalCenter
                        placeholderText: "0 %"
                        text: view.controller.feeFieldText
                        inputMethodHints: Qt.ImhFormattedNumbersOnly
                        font: CUISettings.tableHeaderFont
                        background: Item {}
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
        }

        footer: Item {
            width: list.width
            height: 30
        }
    }

    Connections {
        target: view.controller
        function onAlertRequested(title, message, button) { alert.show(title, message, button) }
        function onQuestionRequested(title, noText, yesText) { question.ask(title, "", noText, yesText) }
        function onFurtherSourceChoiceRequested(identifiers, names) {
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
            popup(cell, view.groupMargin, cell.height)
        }
        MenuItem {
            text: qsTrId("MoveUp")
            enabled: sourceMenu.canMoveUp
            onTriggered: view.controller.moveFurtherSource(sourceMenu.row, sourceMenu.row - 1)
        }
        MenuItem {
            text: qsTrId("MoveDown")
            enabled: sourceMenu.canMoveDown
            onTriggered: view.controller.moveFurtherSource(sourceMenu.row, sourceMenu.row + 1)
        }
        MenuItem {
            text: qsTrId("RemoveFurtherSource")
            onTriggered: view.controller.deleteRow(sourceMenu.section, sourceMenu.row)
        }
    }

    // The sources that can be added as further ones, by name.
    Menu {
        id: furtherSourceMenu
        objectName: "furtherSourceMenu"
        property var identifiers: []
        property var names: []
        width: Math.min(view.width - 20, 300)
        Repeater {
            model: furtherSourceMenu.names
            delegate: MenuItem {
                required property int index
                required property string modelData
                text: modelData
                onTriggered: view.controller.addFurtherSource(furtherSourceMenu.identifiers[index])
            }
        }
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

    AlertDialog {
        id: alert
    }
    AlertDialog {
        id: question
        objectName: "questionDialog"
        onAnswered: function (other) { view.controller.answerBaseCurrencyUnavailable(other) }
    }
}
