import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Numiva

// The converter keypad: the currency code and the typed amount over a keypad of digits, the
// separator and the clear key.
Item {
    id: view
    required property CCurrencyConverterViewController controller
    readonly property bool tablet: controller.isTablet

    focus: true
    Component.onCompleted: {
        controller.viewWillAppear()
        forceActiveFocus()
    }

    // A hardware keyboard types as well; the controller decides what a key does.
    Keys.onPressed: function (event) {
        event.accepted = controller.handleKey(event.key, event.text)
    }

    BaseBackgroundView {
        anchors.fill: parent
        tablet: view.tablet
    }

    NavigationBar {
        id: navBar
        width: parent.width
        title: view.controller.title
        leftText: qsTrId("Cancel")
        rightText: qsTrId("Done")
        rightBold: true
        onLeftClicked: view.controller.onCancelClick()
        onRightClicked: view.controller.onConvertClick()
    }

    // The one-row table showing the amount, 40 points below the bar.
    Rectangle {
        id: valueCell
        objectName: "valueCell"
        anchors.top: navBar.bottom
        anchors.topMargin: 40
        x: 16
        width: parent.width - 32
        height: 80
        radius: 10
        color: "white"
        border.color: "#14000000"

        Text {
            id: codeLabel
            objectName: "converterCode"
            x: 16
            y: 30
            text: view.controller.currencyCode
            color: CUISettings.currencyCodeColor
            font.family: "Helvetica"
            font.pixelSize: 16
        }
        Accessible.role: Accessible.StaticText
        Accessible.name: view.controller.currencyCode + " " + view.controller.displayText
        Text {
            objectName: "converterAmount"
            anchors.right: parent.right
            anchors.rightMargin: 16
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width - codeLabel.width - 48
            horizontalAlignment: Text.AlignRight
            fontSizeMode: Text.HorizontalFit
            minimumPixelSize: 18
            text: view.controller.displayText
            color: CUISettings.convertedValueColor
            font.family: "Helvetica"
            font.pixelSize: 30
        }
    }

    // The day of the rates: today's, or a past day chosen on the calendar.
    AbstractButton {
        id: dateRow
        objectName: "conversionDateRow"
        anchors.top: valueCell.bottom
        anchors.topMargin: 10
        x: 16
        width: parent.width - 32
        height: 44
        focusPolicy: Qt.TabFocus
        Accessible.role: Accessible.Button
        Accessible.name: qsTrId("ChooseConversionDay") + ": " + view.controller.conversionDateText
        background: Rectangle {
            radius: 10
            color: dateRow.down ? "#e5e5ea" : "white"
            border.color: dateRow.visualFocus ? "#4da3ff" : "#14000000"
            border.width: dateRow.visualFocus ? 2 : 1
        }
        contentItem: Item {
            Text {
                objectName: "conversionDateText"
                x: 16
                width: parent.width - 48
                anchors.verticalCenter: parent.verticalCenter
                text: view.controller.conversionDateText
                elide: Text.ElideRight
                color: view.controller.hasConversionDate ? CUISettings.convertedValueColor
                                                         : "#1c1c1e"
                font.family: "Helvetica"
                font.pixelSize: 16
            }
            Text {
                anchors.right: parent.right
                anchors.rightMargin: 14
                anchors.verticalCenter: parent.verticalCenter
                text: "\u203a"
                color: "#c7c7cc"
                font.pixelSize: 24
            }
        }
        onClicked: view.controller.onDateRowClick()
    }

    Connections {
        target: view.controller
        function onDateChoiceRequested() { calendar.open() }
    }

    // Over the whole window: the tablet's keypad popover is narrower than a month.
    ConversionDatePopup {
        id: calendar
        controller: view.controller
        parent: Overlay.overlay
        anchors.centerIn: parent
    }

    // The keypad area.
    Rectangle {
        id: keypad
        anchors.bottom: parent.bottom
        width: parent.width
        // Never over the amount and the day: a short window gets smaller keys.
        height: Math.min(view.tablet ? 280 : Math.min(parent.height * 0.5, 380),
                         parent.height - dateRow.y - dateRow.height - 12)
        gradient: Gradient {
            GradientStop { position: 0; color: "#3a3f47" }
            GradientStop { position: 1; color: "#2a2e34" }
        }

        GridLayout {
            anchors.fill: parent
            anchors.margins: 6
            anchors.bottomMargin: view.tablet ? 6 : 22
            columns: 3
            rowSpacing: 6
            columnSpacing: 6

            Repeater {
                model: ["1", "2", "3", "4", "5", "6", "7", "8", "9", ".", "0", "\u232b", "C"]
                delegate: AbstractButton {
                    id: key
                    required property string modelData
                    readonly property bool clearKey: modelData === "C"
                    readonly property bool backspaceKey: modelData === "\u232b"
                    objectName: clearKey ? "keyClear" : backspaceKey ? "keyBackspace"
                              : modelData === "." ? "keySeparator" : "key" + modelData
                    // The clear key takes the whole last row.
                    Layout.columnSpan: clearKey ? 3 : 1
                    // Equal keys: the same preferred size, stretched alike.
                    Layout.preferredWidth: 10
                    Layout.preferredHeight: 10
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    // Reached with Tab; typed keys still go on to the view's handler.
                    focusPolicy: Qt.TabFocus
                    text: modelData
                    Accessible.role: Accessible.Button
                    Accessible.name: clearKey ? qsTrId("ClearAmount")
                                   : backspaceKey ? qsTrId("DeleteLastDigit")
                                   : modelData === "." ? qsTrId("DecimalSeparatorKey") : modelData
                    background: Rectangle {
                        radius: 6
                        gradient: Gradient {
                            GradientStop {
                                position: 0
                                color: key.clearKey ? (key.down ? "#b9bdc3" : "#e9ebee")
                                                    : (key.down ? "#7b828c" : "#5d636c")
                            }
                            GradientStop {
                                position: 1
                                color: key.clearKey ? (key.down ? "#a4a8af" : "#cfd2d7")
                                                    : (key.down ? "#69707a" : "#4a4f57")
                            }
                        }
                        Rectangle {
                            anchors.fill: parent
                            radius: 6
                            color: "transparent"
                            border.color: key.visualFocus ? "#4da3ff" : "#66000000"
                            border.width: key.visualFocus ? 2 : 1
                        }
                    }
                    contentItem: Text {
                        text: key.text
                        color: key.clearKey ? "#2a2e34" : "white"
                        font.family: "Helvetica"
                        font.pixelSize: 28
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                    }
                    onClicked: {
                        if (clearKey)
                            view.controller.onClearClick()
                        else if (backspaceKey)
                            view.controller.onBackspaceClick()
                        else if (modelData === ".")
                            view.controller.onDecimalSeparatorClick()
                        else
                            view.controller.onDigitClick(modelData)
                    }
                }
            }
        }
    }
}
