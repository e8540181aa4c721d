import QtQuick

// The card of one row of a grouped list: rounded where the group begins and ends. Where the row
// meets a neighbour the card reaches past that edge, and its rounding and border are clipped off.
// A row in the middle is a plain rectangle: a rounded one costs the software renderer a drawing
// of its corners, which the clip would throw away.
Item {
    id: card

    property bool first: true
    property bool last: true
    property real radius: 0
    property alias color: shape.color
    property color borderColor: "transparent"
    property real borderWidth: 1

    // How far the shape reaches past an edge shared with a neighbour.
    readonly property real overhang: first || last ? radius : borderWidth

    clip: !(first && last)

    Rectangle {
        id: shape
        radius: card.first || card.last ? card.radius : 0
        y: card.first ? 0 : -card.overhang
        width: card.width
        height: card.height + (card.first ? 0 : card.overhang) + (card.last ? 0 : card.overhang)
        border.color: card.borderColor
        border.width: card.borderWidth
    }
}
