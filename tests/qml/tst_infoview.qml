import QtQuick
import QtTest
import Numiva

// The info screen keeps a stack of its own: the About row pushes the about screen, whose back
// button returns to the table.
TestCase {
    id: testCase
    name: "InfoView"
    when: windowShown
    visible: true
    width: 390
    height: 844

    Component {
        id: infoView
        InfoView {
            width: testCase.width
            height: testCase.height
        }
    }

    function test_aboutIsPushedAndPoppedOnTheScreensOwnStack() {
        const view = createTemporaryObject(infoView, testCase, { "controller": testInfoController })
        const about = findChild(view, "infoRow_0_0")
        verify(about)
        verify(findChild(view, "infoRow_1_3"), "four invitation rows on a desktop")
        // Tapped once the rows are laid out: the last one far below the first.
        const last = findChild(view, "infoRow_2_1")
        tryVerify(() => last.mapToItem(about, 0, 0).y > 400)
        mouseClick(about)
        tryCompare(view.stack, "depth", 2)
        tryVerify(() => findChild(view.stack.currentItem, "versionLabel") !== null)
        verify(findChild(view.stack.currentItem, "versionLabel").text.indexOf("0.") >= 0)
        testInfoController.navigation.popViewController(true)
        tryCompare(view.stack, "depth", 1)
    }
}
