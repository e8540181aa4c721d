import QtQuick
import Numiva

// A table section footer: centred, wrapped small text within the section's margins.
Item {
    id: footer
    property string text
    property bool tablet: false
    readonly property int margin: CUIHelpers.margin(tablet)

    implicitHeight: label.implicitHeight + 14
    Text {
        id: label
        x: footer.margin
        y: 14
        width: footer.width - 2 * footer.margin
        text: footer.text
        wrapMode: Text.WordWrap
        horizontalAlignment: Text.AlignHCenter
        color: CUISettings.tableHeaderColor
        style: Text.Raised
        styleColor: "white"
        font.family: "Helvetica"
        font.pixelSize: 13
    }
}
