import QtQuick
import QtQuick.Controls
import Numiva

// The add data source screen: the feed's address, a tip naming the sample feed, and a row
// that fills the sample address in. Done acts only while the field holds text.
Item {
    id: view
    required property CDataSourcePickerViewController controller
    readonly property alias urlField: urlField
    readonly property alias alert: alert

    BaseBackgroundView {
        anchors.fill: parent
        tablet: view.controller.isTablet
    }

    NavigationBar {
        id: navBar
        width: parent.width
        z: 2
        title: view.controller.title
        leftText: qsTrId("Cancel")
        rightText: qsTrId("Done")
        rightBold: true
        rightEnabled: view.controller.doneEnabled
        onLeftClicked: view.controller.onCancel()
        onRightClicked: view.controller.onDone()
    }

    Flickable {
        anchors.top: navBar.bottom
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        contentHeight: column.height + 30
        clip: true

        Column {
            id: column
            width: parent.width

            Item {
                width: parent.width
                height: 48
                SectionHeader {
                    y: 12
                    width: parent.width
                    tablet: view.controller.isTablet
                    text: view.controller.headerText
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
                    id: urlField
                    objectName: "urlField"
                    anchors.fill: parent
                    anchors.leftMargin: 6
                    anchors.rightMargin: 6
                    placeholderText: "https://"
                    text: view.controller.text
                    font: CUISettings.cellTextFont
                    inputMethodHints: Qt.ImhUrlCharactersOnly | Qt.ImhNoAutoUppercase
                                      | Qt.ImhNoPredictiveText
                    background: Item {}
                    onTextEdited: view.controller.text = text
                    onAccepted: view.controller.onDone()
                }
            }

            SectionFooter {
                objectName: "sampleTip"
                width: parent.width
                tablet: view.controller.isTablet
                text: view.controller.footerText
            }

            Item { width: 1; height: 14 }

            ItemDelegate {
                id: sampleRow
                objectName: "sampleRow"
                x: 10
                width: parent.width - 20
                height: 46
                hoverEnabled: false
                focusPolicy: Qt.NoFocus
                background: Rectangle {
                    radius: 8
                    color: sampleRow.down ? "#d4e6fb" : "white"
                    border.color: "#c8c7cc"
                }
                contentItem: Text {
                    text: qsTrId("PasteSampleAddress")
                    horizontalAlignment: Text.AlignHCenter
                    verticalAlignment: Text.AlignVCenter
                    elide: Text.ElideRight
                    color: CUISettings.tableHeaderColor
                    font: CUISettings.tableHeaderFont
                }
                onClicked: {
                    view.controller.onSampleRowSelect()
                    urlField.forceActiveFocus()
                }
            }
        }
    }

    Component.onCompleted: urlField.forceActiveFocus()

    Connections {
        target: view.controller
        function onAlertRequested(title, message, button) { alert.show(title, message, button) }
    }

    AlertDialog {
        id: alert
    }
}
