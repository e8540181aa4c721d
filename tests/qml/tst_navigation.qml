import QtQuick
import QtTest
import Numiva

// The navigation stack follows its controller: a push slides the new screen over the one
// beneath, which is hidden but kept; a pop shows it again and drops the screen that went. The
// popped controller stays its owner's: JavaScript's collector does not delete it.
TestCase {
    id: testCase
    name: "NavigationStack"
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
}
