import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Numiva

// The calendar of the converter: a past day for the rates, or today's. Days after today cannot
// be chosen; the year arrows reach far back quickly.
Popup {
    id: popup
    required property CCurrencyConverterViewController controller
    property int shownYear: controller.shownYear
    property int shownMonth: controller.shownMonth  // 1 ... 12

    modal: true
    focus: true
    padding: 12
    width: Math.min(340, (parent ? parent.width : 340) - 24)
    closePolicy: Popup.CloseOnEscape | Popup.CloseOnPressOutside
    onAboutToShow: {
        shownYear = controller.shownYear
        shownMonth = controller.shownMonth
    }

    function moveMonths(count) {
        const index = shownYear * 12 + (shownMonth - 1) + count
        shownYear = Math.floor(index / 12)
        shownMonth = index % 12 + 1
    }
    // Nothing after the current month is shown: no day there can be chosen.
    readonly property bool atLatestMonth: {
        const today = new Date()
        return shownYear * 12 + shownMonth >= today.getFullYear() * 12 + today.getMonth() + 1
    }

    background: Rectangle {
        radius: 12
        color: "white"
        border.color: "#33000000"
    }

    contentItem: ColumnLayout {
        spacing: 8

        RowLayout {
            Layout.fillWidth: true
            spacing: 0
            Repeater {
                model: [
                    { text: "\u00ab", months: -12, name: "PreviousYear" },
                    { text: "\u2039", months: -1, name: "PreviousMonth" }
                ]
                delegate: ToolButton {
                    id: arrow
                    required property var modelData
                    text: modelData.text
                    font.pixelSize: 22
                    implicitWidth: 40
                    background: Rectangle {
                        radius: 8
                        color: arrow.down ? "#e5e5ea" : "transparent"
                    }
                    Accessible.name: qsTrId(modelData.name)
                    onClicked: popup.moveMonths(modelData.months)
                }
            }
            Text {
                objectName: "calendarMonth"
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignHCenter
                text: grid.title
                elide: Text.ElideRight
                font.family: "Helvetica"
                font.pixelSize: 16
                font.bold: true
                color: "#1c1c1e"
            }
            Repeater {
                model: [
                    { text: "\u203a", months: 1, name: "NextMonth" },
                    { text: "\u00bb", months: 12, name: "NextYear" }
                ]
                delegate: ToolButton {
                    id: nextArrow
                    required property var modelData
                    text: modelData.text
                    font.pixelSize: 22
                    implicitWidth: 40
                    background: Rectangle {
                        radius: 8
                        color: nextArrow.down ? "#e5e5ea" : "transparent"
                    }
                    enabled: !popup.atLatestMonth
                    Accessible.name: qsTrId(modelData.name)
                    onClicked: {
                        popup.moveMonths(modelData.months)
                        const today = new Date()
                        const latest = today.getFullYear() * 12 + today.getMonth()
                        if (popup.shownYear * 12 + popup.shownMonth - 1 > latest) {
                            popup.shownYear = today.getFullYear()
                            popup.shownMonth = today.getMonth() + 1
                        }
                    }
                }
            }
        }

        DayOfWeekRow {
            Layout.fillWidth: true
            delegate: Text {
                required property string shortName
                text: shortName
                horizontalAlignment: Text.AlignHCenter
                color: "#8e8e93"
                font.pixelSize: 12
            }
        }

        MonthGrid {
            id: grid
            objectName: "calendarGrid"
            Layout.fillWidth: true
            year: popup.shownYear
            month: popup.shownMonth - 1
            delegate: Text {
                id: dayCell
                required property var model
                readonly property bool selectable: model.month === grid.month
                    && popup.controller.isSelectableDay(model.year, model.month + 1, model.day)
                readonly property bool chosen: popup.controller.chosenDay === model.day
                    && model.year === popup.controller.shownYear
                    && model.month + 1 === popup.controller.shownMonth
                text: model.day
                horizontalAlignment: Text.AlignHCenter
                verticalAlignment: Text.AlignVCenter
                opacity: model.month === grid.month ? 1 : 0
                color: chosen ? "white" : selectable ? "#1c1c1e" : "#c7c7cc"
                font.pixelSize: 15
                font.bold: model.today
                height: 34
                Rectangle {
                    z: -1
                    anchors.centerIn: parent
                    width: 32
                    height: 32
                    radius: 16
                    visible: dayCell.chosen
                    color: CUISettings.convertedValueColor
                }
            }
            onClicked: function (date) {
                if (date.getMonth() !== grid.month)
                    return
                if (popup.controller.setConversionDay(date.getFullYear(), date.getMonth() + 1,
                                                      date.getDate()))
                    popup.close()
            }
        }

        Button {
            id: todayButton
            objectName: "todaysRatesButton"
            Layout.alignment: Qt.AlignHCenter
            text: qsTrId("TodaysRates")
            flat: true
            contentItem: Text {
                text: todayButton.text
                color: "#1a73e8"
                font.family: "Helvetica"
                font.pixelSize: 16
                horizontalAlignment: Text.AlignHCenter
            }
            onClicked: {
                popup.controller.clearConversionDate()
                popup.close()
            }
        }
    }
}
