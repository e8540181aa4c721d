import QtQuick

// The activity indicator: twelve fading spokes turning while it runs.
Item {
    id: spinner

    property bool running: false
    property color color: "#8e8e93"

    implicitWidth: 20
    implicitHeight: 20

    Item {
        id: wheel
        anchors.centerIn: parent
        width: Math.min(spinner.width, spinner.height)
        height: width

        Repeater {
            model: 12
            Rectangle {
                required property int index
                x: (wheel.width - width) / 2
                width: Math.max(2, wheel.width / 10)
                height: wheel.height * 0.28
                radius: width / 2
                color: spinner.color
                opacity: 0.2 + 0.8 * index / 11
                transform: Rotation {
                    origin.x: width / 2
                    origin.y: wheel.height / 2
                    angle: index * 30
                }
            }
        }

        RotationAnimator on rotation {
            from: 0
            to: 360
            duration: 1000
            loops: Animation.Infinite
            running: spinner.running && spinner.visible
        }
    }
}
