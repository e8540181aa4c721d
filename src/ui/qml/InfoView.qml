import QtQuick
import QtQuick.Controls
import Numiva

// The info screen: a grouped table of about, rating, support and products; sharing and
// invitations; the product's pages. The about screen is pushed onto the screen's own stack.
Item {
    id: view
    required property CInfoViewController controller
    property CNavigationController navigation: null
    property bool canGoBack: false
    property string backTitle: ""

    readonly property alias alert: alert
    readonly property alias stack: stack

    Component {
        id: pageComponent
        ControllerPage {}
    }

    StackView {
        id: stack
        anchors.fill: parent
        initialItem: tablePage
    }

    Connections {
        target: view.controller.navigation
        function onPushed(controller, animated) {
            stack.push(pageComponent, {
                "controller": controller,
                "navigation": view.controller.navigation,
                "canGoBack": true,
                "backTitle": view.controller.title
            }, animated && CUISettings.animationScale > 0 ? StackView.PushTransition
                                                          : StackView.Immediate)
        }
        function onPopped(animated) {
            stack.pop(animated && CUISettings.animationScale > 0 ? StackView.PopTransition
                                                                 : StackView.Immediate)
        }
    }

    Component {
        id: tablePage
        Item {
            BaseBackgroundView {
                anchors.fill: parent
                tablet: view.controller.isTablet
            }

            NavigationBar {
                id: navBar
                width: parent.width
                z: 2
                title: view.controller.title
                rightText: qsTrId("Done")
                rightBold: true
                onRightClicked: view.controller.onDone()
            }

            Flickable {
                id: flick
                objectName: "infoList"
                anchors.top: navBar.bottom
                anchors.left: parent.left
                anchors.right: parent.right
                anchors.bottom: parent.bottom
                contentHeight: column.height + 30
                clip: true
                ScrollIndicator.vertical: ScrollIndicator {}

                Column {
                    id: column
                    width: flick.width

                    Repeater {
                        model: view.controller.rows
                        delegate: Column {
                            id: rowItem
                            required property var modelData
                            readonly property int section: modelData.section
                            readonly property int row: modelData.row
                            readonly property bool last:
                                row === view.controller.rowCount(section) - 1
                            width: column.width

                            // The section's header above its first row: at least 22 high.
                            Item {
                                visible: rowItem.row === 0
                                width: parent.width
                                height: Math.max(headerText.implicitHeight + 4, 22)
                                        + (rowItem.section === 0 ? 8 : 10)
                                Text {
                                    id: headerText
                                    x: CUIHelpers.margin(view.controller.isTablet)
                                    anchors.bottom: parent.bottom
                                    anchors.bottomMargin: 4
                                    text: view.controller.sectionHeader(rowItem.section)
                                    color: CUISettings.tableHeaderColor
                                    font: CUISettings.tableHeaderFont
                                    style: Text.Raised
                                    styleColor: "white"
                                }
                            }

                            ItemDelegate {
                                id: cell
                                objectName: "infoRow_" + rowItem.section + "_" + rowItem.row
                                x: 10
                                width: parent.width - 20
                                height: 46
                                padding: 0
                                hoverEnabled: false
                                focusPolicy: Qt.NoFocus
                                onClicked: view.controller.didSelectRow(rowItem.section, rowItem.row)

                                background: Rectangle {
                                    radius: 8
                                    color: cell.down ? "#d4e6fb" : "white"
                                    border.color: "#c8c7cc"
                                    // Rounded corners only at the ends of a section.
                                    Rectangle {
                                        visible: rowItem.row > 0
                                        x: 1
                                        y: 0
                                        width: parent.width - 2
                                        height: 10
                                        color: parent.color
                                    }
                                    Rectangle {
                                        visible: !rowItem.last
                                        x: 1
                                        y: parent.height - 10
                                        width: parent.width - 2
                                        height: 10
                                        color: parent.color
                                    }
                                    Rectangle {
                                        visible: rowItem.row > 0
                                        x: 1
                                        width: parent.width - 2
                                        height: 1
                                        color: "#e0e0e4"
                                    }
                                }

                                contentItem: Item {
                                    // The image centred in the first 48 points, the title at 52.
                                    Image {
                                        id: icon
                                        readonly property int side: 24
                                        x: Math.floor((48 - side) * 0.5)
                                        width: side
                                        height: side
                                        anchors.verticalCenter: parent.verticalCenter
                                        source: rowItem.modelData.image
                                        sourceSize.width: side * 2
                                        sourceSize.height: side * 2
                                        fillMode: Image.PreserveAspectFit
                                        smooth: true
                                    }
                                    Text {
                                        objectName: "rowTitle"
                                        x: 52
                                        width: parent.width - x - (rowItem.modelData.disclosure ? 30 : 10)
                                        anchors.verticalCenter: parent.verticalCenter
                                        text: rowItem.modelData.title
                                        elide: Text.ElideRight
                                        color: "#1c1c1e"
                                        font: CUISettings.tableHeaderFont
                                    }
                                    Text {
                                        visible: rowItem.modelData.disclosure
                                        x: parent.width - 24
                                        anchors.verticalCenter: parent.verticalCenter
                                        text: "\u203a"
                                        color: "#c7c7cc"
                                        font.pixelSize: 28
                                    }
                                }
                            }
                        }
                    }
                }
            }

            // A post on its way.
            BusyIndicator {
                objectName: "postingIndicator"
                anchors.centerIn: parent
                running: view.controller.isPosting
                visible: running
            }
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
