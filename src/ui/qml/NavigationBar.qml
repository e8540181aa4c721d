import QtQuick
import Numiva

// The bar over every screen: a centred title (with an optional prompt above it), a button or
// a back button on the left and up to two buttons on the right.
Item {
    id: bar

    property string title
    property string prompt
    property string leftText
    property url leftIcon
    property bool leftBack: false
    property bool leftBold: false
    property string rightText
    property url rightIcon
    property bool rightBold: false
    property bool rightEnabled: true
    property url secondRightIcon
    /// What a screen reader says for the icon-only buttons.
    property string leftIconName
    property string secondRightIconName

    signal leftClicked()
    signal rightClicked()
    signal secondRightClicked()

    implicitHeight: prompt.length > 0 ? 74 : 44

    Rectangle {
        anchors.fill: parent
        color: "#f7f7f8"
        Rectangle {
            anchors.bottom: parent.bottom
            width: parent.width
            height: 1
            color: "#c8c7cc"
        }
    }

    // Made only with a prompt: a start sets up no font it does not show.
    Loader {
        active: bar.prompt.length > 0
        anchors.top: parent.top
        anchors.topMargin: 8
        anchors.horizontalCenter: parent.horizontalCenter
        sourceComponent: Text {
            id: promptText
            text: bar.prompt
            width: Math.min(implicitWidth, bar.width - 24)
            elide: Text.ElideRight
            color: "#6d6d72"
            font.family: "Helvetica"
            font.pixelSize: 13
        }
    }

    Item {
        id: strip
        anchors.left: parent.left
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        height: 44

        // A button is made only when the bar shows it: the tablet's two bars at start show two
        // of their six.
        Loader {
            id: left
            active: bar.leftText.length > 0 || String(bar.leftIcon) !== ""
            anchors.left: parent.left
            anchors.leftMargin: 4
            anchors.verticalCenter: parent.verticalCenter
            sourceComponent: BarButton {
                objectName: "leftButton"
                text: bar.leftText
                iconSource: bar.leftIcon
                accessibleName: text.length > 0 ? text : bar.leftIconName
                back: bar.leftBack
                bold: bar.leftBold
                onClicked: bar.leftClicked()
            }
        }

        Row {
            id: rightRow
            anchors.right: parent.right
            anchors.rightMargin: 4
            anchors.verticalCenter: parent.verticalCenter
            Loader {
                active: String(bar.secondRightIcon) !== ""
                anchors.verticalCenter: parent.verticalCenter
                sourceComponent: BarButton {
                    objectName: "secondRightButton"
                    iconSource: bar.secondRightIcon
                    accessibleName: bar.secondRightIconName
                    onClicked: bar.secondRightClicked()
                }
            }
            Loader {
                active: bar.rightText.length > 0 || String(bar.rightIcon) !== ""
                anchors.verticalCenter: parent.verticalCenter
                sourceComponent: BarButton {
                    objectName: "rightButton"
                    text: bar.rightText
                    iconSource: bar.rightIcon
                    bold: bar.rightBold
                    enabled: bar.rightEnabled
                    onClicked: bar.rightClicked()
                }
            }
        }

        Text {
            objectName: "title"
            Accessible.role: Accessible.StaticText
            Accessible.name: text
            text: bar.title
            anchors.centerIn: parent
            // Never under the buttons: as wide as the space between the wider side allows.
            width: Math.min(implicitWidth,
                            parent.width - 2 * Math.max(left.item ? left.width + 12 : 12,
                                                        rightRow.width + 12))
            horizontalAlignment: Text.AlignHCenter
            elide: Text.ElideRight
            color: "#000000"
            font.family: "Helvetica"
            font.pixelSize: 17
            font.bold: true
        }
    }
}
