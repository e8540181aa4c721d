import QtQuick
import Numiva

// Two screens, one above the other: the top one slides down to leave a strip of itself over
// the bottom one.
Item {
    id: view
    required property CSlideDownViewController controller

    Loader {
        id: bottom
        width: view.width
        height: view.controller.bottomViewHeight(view.height)
        Component.onCompleted: if (view.controller.bottomController)
            setSource(view.controller.bottomController.viewName + ".qml",
                      { "controller": view.controller.bottomController })
    }
    Loader {
        id: top
        width: view.width
        height: view.height
        y: view.controller.topControllerHidden ? view.controller.topViewY(view.height) : 0
        Behavior on y {
            enabled: view.controller.slideAnimated
            NumberAnimation { duration: 400 * CUISettings.animationScale }
        }
        Component.onCompleted: if (view.controller.topController)
            setSource(view.controller.topController.viewName + ".qml",
                      { "controller": view.controller.topController })
    }
}
