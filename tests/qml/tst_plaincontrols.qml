import QtQuick
import QtTest
import Numiva

// The first screen's own controls. The navigation stack follows its controller: a push slides
// the new screen over the one beneath, which is hidden but kept; a pop shows it again and drops
// the screen that went; the popped controller stays its owner's (JavaScript's collector does not
// delete it). A swipe row opens past half its travel and closes otherwise or on a tap; a switch
// flips on a tap or a key.
TestCase {
    id: testCase
    name: "PlainControls"
    when: windowShown
    visible: true
    width: 390
    height: 600

    Component {
        id: stackView
        NavigationStack {
            width: testCase.width
            height: testCase.height
            navigation: testNavigation
        }
    }

    function test_pushAndPopFollowTheController_data() {
        return [{ tag: "animated", animated: true }, { tag: "at once", animated: false }]
    }

    function test_pushAndPopFollowTheController(data) {
        const stack = createTemporaryObject(stackView, testCase)
        compare(stack.depth, 1)
        const root = stack.currentItem
        verify(root.view !== null, "the root screen's view is loaded")
        compare(root.canGoBack, false)

        testNavigation.pushViewController(testPushedController, data.animated)
        compare(stack.depth, 2)
        const top = stack.currentItem
        verify(top !== root)
        compare(top.canGoBack, true)
        tryCompare(root, "visible", false)
        tryCompare(top, "x", 0)
        compare(root.x, 0, "the page beneath is back in place for the pop")

        compare(testNavigation.popViewController(data.animated), testPushedController)
        compare(stack.depth, 1)
        compare(stack.currentItem, root)
        verify(root.visible)
        tryVerify(() => Array.from(stack.children).indexOf(top) < 0, 1000,
                  "the popped page is gone")
        tryCompare(root, "x", 0)
        gc()
        compare(testPushedController.viewName, "InfoView")
    }

    Component {
        id: swipeRow
        SwipeRow {
            width: 300
            height: 60
            property int opened: 0
            property int closed: 0
            property int clicks: 0
            onSwipeOpened: opened++
            onSwipeClosed: closed++
            onClicked: clicks++
        }
    }

    function test_swipeRowOpensPastHalfItsTravel_data() {
        return [
            { tag: "short swipe springs back", dx: -30, open: false },
            { tag: "long swipe opens", dx: -70, open: true },
            { tag: "swipe right does nothing", dx: 70, open: false }
        ]
    }

    function test_swipeRowOpensPastHalfItsTravel(data) {
        const row = createTemporaryObject(swipeRow, testCase)
        mouseDrag(row, 200, 30, data.dx, 0)
        tryCompare(row, "swipePosition", data.open ? 1 : 0)
        compare(row.opened, data.open ? 1 : 0)
        compare(row.clicks, 0, "a swipe is not a tap")
        if (data.open) {
            row.closeSwipe()
            tryCompare(row, "swipePosition", 0)
            compare(row.closed, 1)
        }
    }

    function test_swipeRowDisabledStaysClosed() {
        const row = createTemporaryObject(swipeRow, testCase, { "swipeEnabled": false })
        mouseDrag(row, 200, 30, -90, 0)
        wait(0)
        compare(row.swipePosition, 0)
        compare(row.opened, 0)
    }

    Component {
        id: toggle
        ToggleSwitch {}
    }

    function test_switchFlipsOnTapAndKeys() {
        const control = createTemporaryObject(toggle, testCase)
        let toggles = 0
        control.toggled.connect(() => toggles++)
        mouseClick(control)
        verify(control.checked)
        control.forceActiveFocus()
        keyClick(Qt.Key_Space)
        verify(!control.checked)
        compare(toggles, 2)
        control.enabled = false
        mouseClick(control)
        keyClick(Qt.Key_Return)
        verify(!control.checked, "a disabled switch stays")
        compare(toggles, 2)
    }
}
