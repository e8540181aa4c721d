import QtQuick
import QtQuick.Controls
import Numiva

// "Compare sources": one currency's rate from every source that quotes it, the median, the
// spread, and the sources far from the median; a failing source shows its failure instead.
Item {
    id: view
    required property CCompareSourcesViewController controller
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
        leftText: view.controller.busy ? "" : qsTrId("CompareAgain")
        onLeftClicked: view.controller.refresh()
        rightText: qsTrId("Done")
        rightBold: true
        onRightClicked: view.controller.onDoneClick()
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
            spacing: 0

            Item {
                width: parent.width
                height: 52
                Text {
                    objectName: "compareHeading"
                    x: view.margin
                    y: 22
                    width: parent.width - 2 * x
                    text: view.controller.heading
                    elide: Text.ElideRight
                    color: CUISettings.tableHeaderColor
                    font.family: CUISettings.tableHeaderFont.family
                    font.bold: true
                    font.pixelSize: 15
                }
            }

            // While asking: a spinner and how many sources have answered.
            Row {
                x: view.margin
                height: view.controller.busy ? 40 : 0
                visible: view.controller.busy
                spacing: 10
                BusyIndicator {
                    objectName: "compareBusy"
                    width: 28
                    height: 28
                    running: view.controller.busy
                    anchors.verticalCenter: parent.verticalCenter
                }
                Text {
                    objectName: "compareProgress"
                    anchors.verticalCenter: parent.verticalCenter
                    text: view.controller.progressText
                    color: "#8e8e93"
                    font: CUISettings.detailCellTextFont
                }
            }

            Repeater {
                model: view.controller.rows
                delegate: Rectangle {
                    id: sourceRow
                    required property int index
                    required property var modelData
                    readonly property bool failed: modelData.failure.length > 0
                    objectName: "sourceRow_" + index
                    x: 10
                    width: column.width - 20
                    height: failed ? 58 : 46
                    color: "white"
                    border.color: "#c8c7cc"
                    Text {
                        id: nameText
                        x: sourceRow.modelData.institution ? 28 : 12
                        y: sourceRow.failed ? 8 : (parent.height - height) / 2
                        width: (sourceRow.failed ? parent.width - 12 : valueColumn.x - 8) - x
                        text: sourceRow.modelData.name
                        elide: Text.ElideRight
                        // An institution inside Frankfurter's blend: indented, in smaller type.
                        color: sourceRow.modelData.institution ? "#3a3a3c" : "#1c1c1e"
                        font.family: CUISettings.cellTextFont.family
                        font.pixelSize: sourceRow.modelData.institution
                                        ? CUISettings.cellTextFont.pixelSize - 2
                                        : CUISettings.cellTextFont.pixelSize
                    }
                    Text {
                        objectName: "failureText"
                        visible: sourceRow.failed
                        x: nameText.x
                        y: 32
                        width: parent.width - x - 12
                        text: sourceRow.modelData.failure
                        elide: Text.ElideRight
                        color: "#c0392b"
                        font.family: "Helvetica"
                        font.pixelSize: 12
                    }
                    Column {
                        id: valueColumn
                        visible: !sourceRow.failed
                        x: parent.width - width - 12
                        anchors.verticalCenter: parent.verticalCenter
                        Text {
                            anchors.right: parent.right
                            text: sourceRow.modelData.valueText
                            color: sourceRow.modelData.outlier ? "#c0392b" : "#1c1c1e"
                            font: CUISettings.detailCellTextFont
                        }
                        Text {
                            anchors.right: parent.right
                            text: sourceRow.modelData.deviationText
                            color: sourceRow.modelData.outlier ? "#c0392b" : "#8e8e93"
                            font.family: "Helvetica"
                            font.pixelSize: 11
                            font.bold: sourceRow.modelData.outlier
                        }
                    }
                }
            }

            Item { width: 1; height: 16 }

            Repeater {
                model: view.controller.busy || view.controller.medianText.length === 0 ? []
                       : [[qsTrId("CompareMedian"), view.controller.medianText],
                          [qsTrId("CompareSpread"), view.controller.spreadText]]
                delegate: Rectangle {
                    id: statRow
                    required property var modelData
                    x: 10
                    width: column.width - 20
                    height: 40
                    color: "#f9f9fb"
                    border.color: "#c8c7cc"
                    Text {
                        x: 12
                        anchors.verticalCenter: parent.verticalCenter
                        text: statRow.modelData[0]
                        color: "#1c1c1e"
                        font: CUISettings.cellTextFont
                    }
                    Text {
                        x: parent.width - width - 12
                        anchors.verticalCenter: parent.verticalCenter
                        text: statRow.modelData[1]
                        color: "#1c1c1e"
                        font: CUISettings.detailCellTextFont
                    }
                }
            }

            SectionFooter {
                objectName: "compareSummary"
                width: parent.width
                tablet: view.controller.isTablet
                text: view.controller.summaryText
            }
        }
    }
}
