import QtQuick
import QtQuick.Controls
import Numiva

// The currency request screen: type ISO 4217 codes that no source offers, then submit the
// list (it is mailed to support). The list is always in editing mode: every code can be deleted.
Item {
    id: view
    required property CRequestCurrencyViewController controller
    readonly property alias codeField: codeField
    readonly property alias alert: alert
    readonly property int margin: CUIHelpers.margin(controller.isTablet)

    Rectangle {
        anchors.fill: parent
        color: CUISettings.defaultBackgroundColor
    }

    NavigationBar {
        id: navBar
        width: parent.width
        z: 2
        title: view.controller.title
        leftText: qsTrId("Cancel")
        onLeftClicked: view.controller.onCancelClick()
    }

    Flickable {
        id: flick
        anchors.top: navBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        contentHeight: column.height + 30
        clip: true

        Column {
            id: column
            width: flick.width

            Item {
                width: parent.width
                height: 60
                Text {
                    objectName: "requestHeader"
                    x: view.margin
                    y: 30
                    width: parent.width - x - 10
                    text: view.controller.headerText
                    elide: Text.ElideRight
                    color: CUISettings.tableHeaderColor
                    font.family: CUISettings.tableHeaderFont.family
                    font.bold: true
                    font.pixelSize: 15
                    style: Text.Raised
                    styleColor: "white"
                }
            }

            Rectangle {
                x: 10
                width: parent.width - 20
                height: 46
                radius: 8
                color: "white"
                border.color: "#c8c7cc"
                TextField {
                    id: codeField
                    objectName: "codeField"
                    anchors.fill: parent
                    anchors.leftMargin: 6
                    placeholderText: "XXX"
                    font: CUISettings.tableHeaderFont
                    inputMethodHints: Qt.ImhUppercaseOnly | Qt.ImhNoPredictiveText
                    maximumLength: 3
                    background: Item {}
                    onAccepted: {
                        if (view.controller.enterCode(text))
                            text = ""
                    }
                }
            }

            SectionFooter {
                objectName: "requestHint"
                width: parent.width
                tablet: view.controller.isTablet
                text: qsTrId("RequestCurrencyHint")
            }

            Item { width: 1; height: 20 }

            Repeater {
                model: view.controller.requestedRows
                delegate: Rectangle {
                    id: codeRow
                    required property int index
                    required property var modelData
                    objectName: "requestedRow_" + index
                    x: 10
                    width: column.width - 20
                    height: 46
                    color: "white"
                    border.color: "#c8c7cc"
                    // The delete control of a table in editing mode.
                    AbstractButton {
                        objectName: "deleteCode"
                        x: 8
                        width: 30
                        height: parent.height
                        focusPolicy: Qt.NoFocus
                        contentItem: Item {
                            Rectangle {
                                anchors.centerIn: parent
                                width: 22
                                height: 22
                                radius: 11
                                color: "#ff3b30"
                                Rectangle {
                                    anchors.centerIn: parent
                                    width: 10
                                    height: 2
                                    color: "white"
                                }
                            }
                        }
                        onClicked: view.controller.deleteCode(codeRow.index)
                    }
                    Text {
                        x: 46
                        width: codeText.x - x - 8
                        anchors.verticalCenter: parent.verticalCenter
                        text: codeRow.modelData.name
                        elide: Text.ElideRight
                        color: "#1c1c1e"
                        font: CUISettings.cellTextFont
                    }
                    Text {
                        id: codeText
                        x: parent.width - width - 14
                        anchors.verticalCenter: parent.verticalCenter
                        text: codeRow.modelData.code
                        color: "#8e8e93"
                        font: CUISettings.detailCellTextFont
                    }
                }
            }

            Item { width: 1; height: 20; visible: view.controller.canSubmit }

            ItemDelegate {
                id: submitRow
                objectName: "submitRow"
                visible: view.controller.canSubmit
                x: 10
                width: parent.width - 20
                height: 46
                hoverEnabled: false
                focusPolicy: Qt.NoFocus
                background: Rectangle {
                    radius: 8
                    color: submitRow.down ? "#d4e6fb" : "white"
                    border.color: "#c8c7cc"
                }
                contentItem: Text {
                    text: qsTrId("Submit")
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    color: CUISettings.tableHeaderColor
                    font: CUISettings.tableHeaderFont
                }
                onClicked: view.controller.onDoneClick()
            }
        }
    }

    Component.onCompleted: codeField.forceActiveFocus()

    Connections {
        target: view.controller
        function onAlertRequested(title, message, button) { alert.show(title, message, button) }
    }

    AlertDialog {
        id: alert
    }
}
