import QtQuick
import Numiva

// A currency's flag with softly rounded corners and a hairline edge.
Item {
    id: flag
    property url source

    implicitWidth: 36
    implicitHeight: 27

    Image {
        id: image
        anchors.fill: parent
        source: CUISettings.rasterUrl(flag.source, flag.width * 2, flag.height * 2)
        sourceSize.width: flag.width * 2
        sourceSize.height: flag.height * 2
        fillMode: Image.PreserveAspectCrop
        smooth: true
        asynchronous: false
    }
    Rectangle {
        anchors.fill: parent
        color: "transparent"
        radius: 3
        border.color: "#33000000"
        border.width: 1
    }
}
