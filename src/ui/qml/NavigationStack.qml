import QtQuick
import QtQuick.Controls
import Numiva

// The view of a navigation stack: the top screen, sliding in when pushed and out when popped.
StackView {
    id: stack
    required property CNavigationController navigation
    property string backTitle: ""

    Component {
        id: pageComponent
        ControllerPage {}
    }

    Component.onCompleted: {
        const controllers = navigation.viewControllers
        for (let i = 0; i < controllers.length; ++i) {
            push(pageComponent, {
                "controller": controllers[i],
                "navigation": navigation,
                "canGoBack": i > 0,
                "backTitle": backTitle
            }, StackView.Immediate)
        }
    }

    Connections {
        target: stack.navigation
        function onPushed(controller, animated) {
            stack.push(pageComponent, {
                "controller": controller,
                "navigation": stack.navigation,
                "canGoBack": true,
                "backTitle": stack.backTitle
            }, animated ? StackView.PushTransition : StackView.Immediate)
        }
        function onPopped(animated) {
            stack.pop(animated ? StackView.PopTransition : StackView.Immediate)
        }
    }
}
