import QtQuick
import QtQuick.Controls
import QtTest
import Numiva

// The main window as start-up makes it: one stack on a phone, two panes on a tablet, and the
// start tutorial until tapped away.
TestCase {
    id: testCase
    name: "Main"
    when: windowShown

    property var window: null

    function init_data() {
        return [{ tag: "phone", tablet: false }, { tag: "tablet", tablet: true }]
    }

    function open(tablet, tutorial) {
        const properties = harness.launch(tablet, tutorial)
        const component = Qt.createComponent("qrc:/qt/qml/Numiva/Main.qml")
        compare(component.status, Component.Ready, component.errorString())
        window = component.createObject(null, properties)
        verify(window)
        tryCompare(window, "visible", true)
        waitForRendering(window.contentItem)
        return window
    }

    function cleanup() {
        if (window)
            window.destroy()
        window = null
        wait(0)
        harness.reset()
    }

    function test_layout(data) {
        const w = open(data.tablet, false)
        compare(w.width, data.tablet ? 1180 : 390)
        compare(w.height, data.tablet ? 820 : 844)
        const settingsPane = findChild(w.contentItem, "settingsPane")
        const ratesPane = findChild(w.contentItem, "ratesPane")
        if (data.tablet) {
            verify(settingsPane)
            verify(ratesPane)
            compare(settingsPane.currentItem.controller.title, "Settings")
            compare(ratesPane.currentItem.controller, w.rootController)
            compare(String(w.color), "#000000")
        } else {
            verify(!settingsPane)
            verify(findChild(w.contentItem, "rootNavigationBar"))
        }
        tryCompare(w.rootController, "isDataReloading", false, 10000)
    }

    function test_settingsButtonPushesSettingsOnAPhone() {
        const w = open(false, false)
        const bar = findChild(w.contentItem, "rootNavigationBar")
        mouseClick(findChild(bar, "leftButton"))
        const stack = w.rootNavigation
        compare(stack.viewControllers.length, 2)
        compare(stack.topViewController.title, "Settings")
        tryVerify(() => findChild(w.contentItem, "leftButton") !== null)
    }

    function test_tutorialUntilTapped(data) {
        const w = open(data.tablet, true)
        const root = w.rootController
        tryCompare(CTutorialView, "visible", true)
        mouseClick(w.contentItem, w.width / 2, w.height / 2)
        tryCompare(CTutorialView, "visible", false)
        root.viewDidAppear(1)
        verify(!CTutorialView.visible, "tapped away once, it stays away")
    }
}
