import QtQuick
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

    readonly property color tint: Qt.rgba(225 / 255, 180 / 255, 80 / 255, 1)

    // One hint: a glyph showing where it points (the bar's corners, the list) and its text.
    component Hint: Row {
        id: hint
        property string key
        property string glyph
        spacing: 10
        Text {
            width: 28
            text: hint.glyph
            horizontalAlignment: Text.AlignHCenter
            color: overlay.tint
            font.pixelSize: 22
            font.bold: true
        }
        Text {
            width: hint.width - 38
            text: hint.key
            wrapMode: Text.Wrap
            color: overlay.tint
            font.family: "Helvetica"
            font.pixelSize: 17
            font.bold: true
        }
    }

    component Pointer: Text {
        text: "\u2191"
        color: overlay.tint
        font.pixelSize: 24
        font.bold: true
    }

    Rectangle {
        anchors.fill: parent
        color: Qt.rgba(0, 0, 0, 0.6)
    }

    // The hints sit together at the bottom, where they cover no row they speak of (the bar's
    // buttons and the first rows are at the top); only thin arrows point at the buttons.
    Item {
        id: content
        objectName: "tutorialContent"
        anchors.fill: parent
        rotation: CTutorialView.rotation

        Pointer {
            visible: !overlay.tablet
            x: 14
            y: 40
        }
        Pointer {
            anchors.right: parent.right
            anchors.rightMargin: 22
            y: 40
        }

        Rectangle {
            objectName: "tutorialHints"
            readonly property real paneWidth: overlay.tablet ? overlay.width - 321 : overlay.width
            width: Math.min(paneWidth - 32, 460)
            height: hints.implicitHeight + 32
            x: overlay.width - paneWidth + (paneWidth - width) / 2
            anchors.bottom: parent.bottom
            anchors.bottomMargin: 24
            radius: 14
            color: Qt.rgba(0, 0, 0, 0.55)
            border.color: Qt.rgba(225 / 255, 180 / 255, 80 / 255, 0.5)

            Column {
                id: hints
                x: 16
                y: 16
                width: parent.width - 32
                spacing: 14
                Hint {
                    width: parent.width
                    visible: !overlay.tablet
                    glyph: "\u2196"
                    key: "TutorialSettings"
                }
                Hint {
                    width: parent.width
                    glyph: "\u2197"
                    key: "TutorialEditList"
                }
                Hint {
                    width: parent.width
                    glyph: "\u2193"
                    key: "TutorialPullToRefresh"
                }
                Hint {
                    width: parent.width
                    glyph: "\u261d"
                    key: "TutorialTapToConvert"
                }
                Text {
                    width: parent.width
                    topPadding: 4
                    text: "TutorialTapToClose"
                    wrapMode: Text.Wrap
                    horizontalAlignment: Text.AlignHCenter
                    color: "white"
                    font.family: "Helvetica"
                    font.pixelSize: 15
                }
            }
        }
        Component.onCompleted: CUIHelpers.localize(content)
    }

    MouseArea {
        anchors.fill: parent
        enabled: CTutorialView.visible
        Accessible.role: Accessible.Button
        Accessible.name: qsTrId("TutorialTapToClose")
        onClicked: CTutorialView.onTapGesture()
    }

    // From the keyboard: Escape, Enter or Space as the tap.
    Shortcut {
        sequences: ["Escape", "Return", "Enter", "Space"]
        enabled: CTutorialView.visible
        onActivated: CTutorialView.onTapGesture()
    }
}
