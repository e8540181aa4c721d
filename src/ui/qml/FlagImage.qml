import QtQuick
import Numiva

// A currency's flag with softly rounded corners and a hairline edge, both drawn into the cached
// picture.
Item {
    id: flag
    property url source

    implicitWidth: 36
    implicitHeight: 27

    // Drawn and decoded at the size shown on this screen, no larger.
    readonly property real scale_: Math.max(1, Math.ceil(Screen.devicePixelRatio))

    Image {
        id: image
        anchors.fill: parent
        source: CUISettings.rasterUrl(flag.source, flag.width * flag.scale_,
                                      flag.height * flag.scale_, true, 3 * flag.scale_)
        sourceSize.width: flag.width * flag.scale_
        sourceSize.height: flag.height * flag.scale_
        fillMode: Image.PreserveAspectCrop
        smooth: true
        asynchronous: false
    }
}
