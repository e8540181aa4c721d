import QtQuick
import QtQuick.Controls
import Numiva

// The chart settings: the charted pair (opens the picker) and the periods of the selected
// data source with a check mark on the chosen one.
Item {
    id: view
    required property CChartSettingsViewController controller
    property CNavigationController navigation: null
    property bool canGoBack: false
    property string backTitle: ""

    readonly property alias presentationHost: presentation
    readonly property alias alert: alert
    readonly property int margin: 10

    Component.onCompleted: controller.viewWillAppear()

    BaseBackgroundView {
        anchors.fill: parent
        tablet: false
    }

    NavigationBar {
        id: navBar
        width: parent.width
        z: 2
        title: view.controller.title
    }

    component Cell: Rectangle {
        id: cell
        property string title
        property string detail
        property bool disclosure: false
        property bool checked: false
        signal clicked()
        height: 44
        color: area.pressed ? "#d9d9d9" : "white"
        Text {
            anchors.left: parent.left
            anchors.leftMargin: 15
            anchors.right: detailText.left
            anchors.rightMargin: 8
            anchors.verticalCenter: parent.verticalCenter
            text: cell.title
            elide: Text.ElideRight
            font: CUISettings.cellTextFont
            color: cell.checked ? "#385487" : "black"
        }
        Text {
            id: detailText
            anchors.right: mark.left
            anchors.rightMargin: 6
            anchors.verticalCenter: parent.verticalCenter
            text: cell.detail
            color: "#385487"
            font.family: "Helvetica"
            font.pixelSize: 16
        }
        Text {
            id: mark
            anchors.right: parent.right
            anchors.rightMargin: 12
            anchors.verticalCenter: parent.verticalCenter
            width: cell.disclosure || cell.checked ? implicitWidth : 0
            text: cell.disclosure ? "\u203a" : (cell.checked ? "\u2713" : "")
            color: cell.disclosure ? "#c7c7cc" : "#007aff"
            font.pixelSize: cell.disclosure ? 26 : 18
            font.bold: cell.checked
        }
        Rectangle {
            anchors.bottom: parent.bottom
            x: 15
            width: parent.width - 15
            height: 1
            color: "#e0e0e0"
        }
        MouseArea {
            id: area
            anchors.fill: parent
            onClicked: cell.clicked()
        }
    }

    ListView {
        id: list
        objectName: "chartSettingsList"
        anchors.top: navBar.bottom
        anchors.bottom: parent.bottom
        width: parent.width
        clip: true
        topMargin: 20
        bottomMargin: 30
        ScrollIndicator.vertical: ScrollIndicator {}
        model: view.controller.periodRows

        header: Item {
            width: list.width
            height: 44 + 24
            Cell {
                objectName: "pairRow"
                x: view.margin
                width: parent.width - 2 * view.margin
                radius: 8
                title: view.controller.pairTitle
                detail: view.controller.pairDetail
                disclosure: true
                onClicked: view.controller.onPairRowSelect()
            }
        }
        delegate: Cell {
            required property var modelData
            required property int index
            objectName: "periodRow" + index
            x: view.margin
            width: list.width - 2 * view.margin
            title: modelData.title
            checked: modelData.checked
            onClicked: view.controller.onPeriodRowSelect(index)
        }
    }

    Connections {
        target: view.controller
        function onAlertRequested(title, message, button) { alert.show(title, message, button) }
    }

    PresentationHost {
        id: presentation
        presenter: view.controller
    }

    AlertDialog {
        id: alert
    }
}
