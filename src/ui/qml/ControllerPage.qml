import QtQuick
import Numiva

// A page of a navigation stack: the view of one screen controller.
Item {
    id: page
    required property CViewController controller
    property CNavigationController navigation: null
    property bool canGoBack: false
    property string backTitle: ""
    readonly property Item view: loader.item as Item

    Loader {
        id: loader
        anchors.fill: parent
        Component.onCompleted: setSource(page.controller.viewName + ".qml", {
            "controller": page.controller,
            "navigation": page.navigation,
            "canGoBack": page.canGoBack,
            "backTitle": page.backTitle
        })
    }
}
