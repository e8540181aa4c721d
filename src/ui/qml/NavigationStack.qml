import QtQuick
import Numiva

// The view of a navigation stack: the top screen, sliding in from the right when pushed and
// out to the right when popped while the screen beneath moves a third of the way. Plain Qt
// Quick: the first screen loads no Qt Quick Controls.
FocusScope {
    id: stack
    required property CNavigationController navigation
    property string backTitle: ""

    /// The pages, bottom first; the ones beneath the top are kept, hidden.
    property var pages: []
    readonly property int depth: pages.length
    readonly property Item currentItem: pages.length > 0 ? pages[pages.length - 1] : null
    readonly property bool busy: slide.running

    clip: true

    Component {
        id: pageComponent
        ControllerPage {}
    }

    Component.onCompleted: {
        const controllers = navigation.viewControllers
        for (let i = 0; i < controllers.length; ++i)
            push(controllers[i], i > 0, false)
    }

    function push(controller, canGoBack, animated) {
        slide.complete()
        const below = currentItem
        const page = pageComponent.createObject(stack, {
            "controller": controller,
            "navigation": navigation,
            "canGoBack": canGoBack,
            "backTitle": backTitle,
            "x": animated && below ? stack.width : 0
        })
        page.width = Qt.binding(() => stack.width)
        page.height = Qt.binding(() => stack.height)
        pages = pages.concat([page])
        page.focus = true
        if (!below)
            return
        if (animated) {
            slide.start(page, below, stack.width, 0, 0, -stack.width / 3, true, false)
        } else {
            below.visible = false
        }
    }

    function pop(animated) {
        if (pages.length < 2)
            return
        slide.complete()
        const top = pages[pages.length - 1]
        pages = pages.slice(0, -1)
        const below = currentItem
        below.visible = true
        below.focus = true
        if (animated) {
            slide.start(top, below, 0, stack.width, -stack.width / 3, 0, false, true)
        } else {
            below.x = 0
            top.destroy()
        }
    }

    // One transition: the moving page (in or out) over the page beneath.
    ParallelAnimation {
        id: slide
        property Item moving: null
        property Item beneath: null
        property bool hideBeneath: false
        property bool destroyMoving: false

        function start(movingPage, beneathPage, fromX, toX, beneathFrom, beneathTo, hide, destroy) {
            moving = movingPage
            beneath = beneathPage
            hideBeneath = hide
            destroyMoving = destroy
            movingAnimation.from = fromX
            movingAnimation.to = toX
            beneathAnimation.from = beneathFrom
            beneathAnimation.to = beneathTo
            restart()
        }

        NumberAnimation {
            id: movingAnimation
            target: slide.moving
            property: "x"
            duration: 300 * CUISettings.animationScale
            easing.type: Easing.OutCubic
        }
        NumberAnimation {
            id: beneathAnimation
            target: slide.beneath
            property: "x"
            duration: 300 * CUISettings.animationScale
            easing.type: Easing.OutCubic
        }
        onFinished: {
            if (hideBeneath && beneath) {
                beneath.visible = false
                beneath.x = 0
            }
            if (destroyMoving && moving)
                moving.destroy()
            moving = null
            beneath = null
        }
    }

    Connections {
        target: stack.navigation
        function onPushed(controller, animated) { stack.push(controller, true, animated) }
        function onPopped(animated) { stack.pop(animated) }
    }
}
