import QtQuick

// The card of one row of a grouped list: rounded where the group begins and ends. Where the row
// meets a neighbour the card reaches past that edge, and its rounding and border are clipped off.
Item {
    id: card

    property bool first: true
    property bool last: true
    property alias radius: shape.radius
    property alias color: shape.color
    property color borderColor: "transparent"
    property real borderWidth: 1

    clip: !(first && last)

    Rectangle {
        id: shape
        y: card.first ? 0 : -radius
        width: card.width
        height: card.height + (card.first ? 0 : radius) + (card.last ? 0 : radius)
        border.color: card.borderColor
        border.width: card.borderWidth
    }
}
