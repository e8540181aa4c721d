import QtQuick
import QtQuick.Controls
import Numiva

// The currency picker: a searchable, alphabetically indexed list of currencies.
FocusScope {
    id: view
    required property CCurrencyPickerViewController controller
    readonly property alias list: list
    readonly property alias searchField: searchField
    readonly property alias alert: alert

    // Typing goes to the search field from the start; keys it leaves go to the controller.
    focus: true
    Keys.onPressed: function (event) {
        event.accepted = controller.handleKey(event.key)
    }

    BaseBackgroundView {
        anchors.fill: parent
        tablet: view.controller.isTablet
    }

    NavigationBar {
        id: navBar
        width: parent.width
        prompt: view.controller.prompt
        title: view.controller.title
        leftText: view.controller.showsDoneButton ? qsTrId("Cancel") : ""
        rightText: view.controller.showsDoneButton ? qsTrId("Done") : qsTrId("Cancel")
        rightBold: view.controller.showsDoneButton
        onLeftClicked: view.controller.onCancelClick()
        onRightClicked: {
            if (view.controller.showsDoneButton)
                view.controller.onDoneClick()
            else
                view.controller.onCancelClick()
        }
    }

    Rectangle {
        id: searchBar
        anchors.top: navBar.bottom
        width: parent.width
        height: 52
        color: "#e9e9ee"

        TextField {
            id: searchField
            objectName: "searchField"
            anchors.fill: parent
            anchors.margins: 9
            leftPadding: 12
            rightPadding: clearSearch.visible ? clearSearch.width + 8 : 12
            focus: true
            placeholderText: qsTrId("Search")
            Accessible.name: qsTrId("Search")
            font.family: "Helvetica"
            font.pixelSize: 15
            inputMethodHints: Qt.ImhNoPredictiveText
            background: Rectangle {
                radius: 9
                color: "white"
                border.color: searchField.activeFocus ? "#007aff" : "#d1d1d6"
            }
            onTextChanged: view.controller.searchText = text

            AbstractButton {
                id: clearSearch
                objectName: "clearSearchButton"
                visible: searchField.text.length > 0
                anchors.right: parent.right
                anchors.rightMargin: 6
                anchors.verticalCenter: parent.verticalCenter
                width: 22
                height: 22
                focusPolicy: Qt.TabFocus
                Accessible.role: Accessible.Button
                Accessible.name: qsTrId("ClearSearch")
                background: Rectangle {
                    radius: 11
                    color: clearSearch.down ? "#8e8e93" : "#b4b4b9"
                    border.color: clearSearch.activeFocus ? "#007aff" : "transparent"
                }
                contentItem: Text {
                    text: "\u2715"
                    color: "white"
                    font.pixelSize: 11
                    font.bold: true
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                }
                onClicked: {
                    searchField.clear()
                    searchField.forceActiveFocus()
                }
            }
        }
    }

    ListView {
        id: list
        objectName: "pickerList"
        anchors.top: searchBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.rightMargin: view.controller.isSearching ? 0 : 22
        clip: true
        // Tab from the search field; arrows move, Enter or Space choose the current row.
        activeFocusOnTab: true
        keyNavigationEnabled: true
        Accessible.role: Accessible.List
        Accessible.name: view.controller.title
        onActiveFocusChanged: if (activeFocus && currentIndex < 0 && count > 0) currentIndex = 0
        Keys.onPressed: function (event) {
            if (list.currentIndex >= 0 && (event.key === Qt.Key_Return || event.key === Qt.Key_Enter
                                           || event.key === Qt.Key_Space)) {
                view.controller.didSelectRow(view.controller.isSearching, list.currentIndex)
                event.accepted = true
            }
        }
        model: view.controller.isSearching ? view.controller.searchModel : view.controller.mainModel
        section.property: "section"
        section.delegate: Rectangle {
            required property string section
            width: list.width
            height: 26
            color: "#f0f0f4"
            Text {
                x: 16
                anchors.verticalCenter: parent.verticalCenter
                text: parent.section
                color: CUISettings.tableHeaderColor
                font: CUISettings.tableHeaderFont
            }
        }
        delegate: CurrencyListCell {
            width: list.width
            onClicked: view.controller.didSelectRow(view.controller.isSearching, index)
        }
        ScrollIndicator.vertical: ScrollIndicator {}
    }

    Text {
        visible: view.controller.isSearching && list.count === 0
        anchors.top: searchBar.bottom
        anchors.topMargin: 40
        anchors.horizontalCenter: parent.horizontalCenter
        text: qsTrId("NoSearchResults")
        color: "#8e8e93"
        font.family: "Helvetica"
        font.pixelSize: 16
    }

    // The letter strip: tapping a letter shows its section.
    Item {
        id: indexStrip
        objectName: "sectionIndex"
        visible: !view.controller.isSearching
        anchors.right: parent.right
        anchors.top: searchBar.bottom
        anchors.bottom: parent.bottom
        anchors.topMargin: 4
        anchors.bottomMargin: 4
        width: 22
        readonly property int count: Math.max(1, view.controller.sectionIndexTitles.length)
        readonly property real rowHeight: Math.max(1, height / count)

        Column {
            Repeater {
                model: view.controller.sectionIndexTitles
                delegate: Text {
                    required property string modelData
                    width: 22
                    height: indexStrip.rowHeight
                    text: modelData
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    color: "#007aff"
                    font.family: "Helvetica"
                    font.pixelSize: Math.min(11, indexStrip.rowHeight)
                    font.bold: true
                }
            }
        }
        MouseArea {
            anchors.fill: parent
            function jump(y) {
                const index = Math.max(0, Math.min(Math.floor(y / indexStrip.rowHeight),
                                                   indexStrip.count - 1))
                const row = view.controller.rowForSectionIndexTitle(index)
                if (row >= 0)
                    list.positionViewAtIndex(row, ListView.Beginning)
            }
            onPressed: function (mouse) { jump(mouse.y) }
            onPositionChanged: function (mouse) { jump(mouse.y) }
        }
    }

    Connections {
        target: view.controller
        function onAlertRequested(title, message, button) { alert.show(title, message, button) }
    }

    AlertDialog {
        id: alert
    }
}
