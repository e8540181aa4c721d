import QtQuick
import Numiva

// A table section header: a label 20 points in on a phone, 40 on a tablet.
Item {
    id: header
    property string text
    property bool tablet: false

    implicitHeight: 30
    Text {
        x: CUIHelpers.margin(header.tablet)
        y: 6
        text: header.text
        color: CUISettings.tableHeaderColor
        font: CUISettings.tableHeaderFont
        style: Text.Raised
        styleColor: "white"
    }
}
