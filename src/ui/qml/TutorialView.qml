import QtQuick
import QtQuick.Controls
import Numiva

// The first-start tutorial: hints over a dimmed window until tapped away.
Item {
    id: overlay
    property bool tablet: false

    visible: opacity > 0
    opacity: CTutorialView.visible ? 1 : 0
    Behavior on opacity {
        enabled: CTutorialView.animated
        NumberAnimation { duration: (CTutorialView.visible ? 600 : 300) * CUISettings.animationScale }
    }

    component Hint: Column {
        id: hint
        property string key
        property string arrow: ""
        /// Where the arrow and the text lean: Text.AlignLeft, AlignHCenter or AlignRight.
        property int align: Text.AlignHCenter
        property real maximumWidth: overlay.width - 48
        readonly property color tint: Qt.rgba(225 / 255, 180 / 255, 80 / 255, 1)
        spacing: 4
        width: label.width
        Text {
            visible: hint.arrow === "up"
            width: parent.width
            horizontalAlignment: hint.align
            leftPadding: 8
            rightPadding: 8
            text: "\u2191"
            color: hint.tint
            font.pixelSize: 28
            font.bold: true
        }
        Label {
            id: label
            width: Math.min(implicitWidth, hint.maximumWidth)
            text: hint.key
            wrapMode: Text.Wrap
            horizontalAlignment: hint.align
            color: hint.tint
            font.family: "Helvetica"
            font.pixelSize: 17
            font.bold: true
        }
        Text {
            visible: hint.arrow === "down"
            width: parent.width
            horizontalAlignment: hint.align
            text: "\u2193"
            color: hint.tint
            font.pixelSize: 28
            font.bold: true
        }
    }

    Rectangle {
        anchors.fill: parent
        color: Qt.rgba(0, 0, 0, 0.6)
    }

    Item {
        id: content
        objectName: "tutorialContent"
        anchors.fill: parent
        rotation: CTutorialView.rotation

        Hint {
            key: "TutorialSettings"
            arrow: "up"
            visible: !overlay.tablet
            maximumWidth: overlay.width * 0.42
            align: Text.AlignLeft
            x: 8
            y: 46
        }
        Hint {
            key: "TutorialEditList"
            arrow: "up"
            maximumWidth: overlay.tablet ? 260 : overlay.width * 0.42
            align: Text.AlignRight
            anchors.right: parent.right
            anchors.rightMargin: 8
            y: 46
        }
        Hint {
            key: "TutorialPullToRefresh"
            arrow: "down"
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.horizontalCenterOffset: overlay.tablet ? 160 : 0
            y: overlay.height * 0.22
        }
        Hint {
            key: "TutorialTapToConvert"
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.horizontalCenterOffset: overlay.tablet ? 160 : 0
            y: overlay.height * 0.45
        }
        Hint {
            key: "TutorialTapToClose"
            anchors.horizontalCenter: parent.horizontalCenter
            anchors.horizontalCenterOffset: overlay.tablet ? 160 : 0
            y: overlay.height * 0.78
        }
        Component.onCompleted: CUIHelpers.localize(content)
    }

    MouseArea {
        anchors.fill: parent
        enabled: CTutorialView.visible
        onClicked: CTutorialView.onTapGesture()
    }
}
