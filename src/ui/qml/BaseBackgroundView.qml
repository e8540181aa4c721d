import QtQuick
import Numiva

// The background of the screens: a soft vertical gradient on a tablet, the grouped-table
// colour on a phone.
Rectangle {
    property bool tablet: false

    color: CUISettings.defaultBackgroundColor
    gradient: tablet ? padGradient : null

    Gradient {
        id: padGradient
        GradientStop { position: 0.0; color: CUISettings.padBackgroundColors[0] }
        GradientStop { position: 1.0; color: CUISettings.padBackgroundColors[1] }
    }
}
