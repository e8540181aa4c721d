import QtQuick
import QtQuick.Controls
import QtTest
import Numiva

// The rate list screen in both idioms: pull to refresh, open the keypad from a row, type,
// Done, conversion mode, Inverse, Done; editing; the failure alert.
TestCase {
    id: testCase
    name: "RootView"
    when: windowShown
    visible: true
    width: 1180
    height: 820

    Component {
        id: rootView
        RootView {}
    }

    SignalSpy {
        id: refreshes
        signalName: "refreshFinished"
    }

    property var view: null
    property CRootViewController controller: null

    function init_data() {
        return [{ tag: "phone", tablet: false, width: 390, height: 844 },
                { tag: "tablet", tablet: true, width: 860, height: 820 }]
    }

    function load(data) {
        controller = harness.rootScreen(data.tablet)
        refreshes.clear()
        refreshes.target = controller
        view = createTemporaryObject(rootView, testCase,
                                     { controller: controller, width: data.width, height: data.height })
        verify(view)
        refreshes.wait(10000)
        compare(controller.isDataReloading, false)
        waitForRendering(view)
    }

    function cleanup() {
        if (view)
            view.destroy()
        view = null
        controller = null
        wait(0)
        harness.reset()
    }

    function findByName(parent, name) {
        const found = findChild(parent, name)
        verify(found, "no item named " + name)
        return found
    }

    function pressKeys(keypad, keys) {
        for (const key of keys)
            mouseClick(findByName(keypad, key === "." ? "keySeparator" : "key" + key))
    }

    function test_loadsWithRatesFlagsAndDates(data) {
        load(data)
        const list = view.list
        compare(list.count, 4)
        const first = list.itemAtIndex(0)
        verify(first)
        compare(findByName(first, "nameLabel").text, "Euro")
        compare(findByName(first, "rateLabel").text, "1.0842")
        compare(findByName(first, "codeLabel").text, "USD")
        verify(findByName(first, "dateLabel").text.length > 0)
        compare(findByName(list.headerItem, "baseName").text, "US Dollar")
        compare(findByName(view, "title").text, "Yahoo Finance")
        compare(findByName(view, "leftButton").visible, !data.tablet)
    }

    function test_pullToRefresh(data) {
        load(data)
        const list = view.list
        const header = controller.refreshHeaderView
        const before = refreshes.count
        // Drag the list down well past the threshold, in small steps, and let go.
        mousePress(list, list.width / 2, 60)
        for (let y = 60; y <= 260; y += 10) {
            mouseMove(list, list.width / 2, y, -1, Qt.LeftButton)
            wait(5)
        }
        compare(header.state, CPullToRefreshView.ReleaseToRefresh)
        mouseRelease(list, list.width / 2, 260)
        tryVerify(() => refreshes.count > before, 10000)
        compare(header.state, CPullToRefreshView.Normal)
        tryCompare(controller, "headerInset", 0)
        verify(header.lastUpdateText.indexOf("Last updated") === 0)
    }

    function test_keypadConversionInverseDone(data) {
        load(data)
        const list = view.list
        mouseClick(list.itemAtIndex(1))  // GBP
        const host = view.presentationHost
        tryVerify(() => host.contentItem !== null)
        const keypad = host.contentItem
        compare(keypad.controller.currencyCode, "GBP")
        pressKeys(keypad, "1234.5")
        compare(findByName(keypad, "converterAmount").text, "1 234.5")
        mouseClick(findByName(keypad, "rightButton"))  // Done

        verify(controller.isConversionMode)
        compare(controller.title, "Conversion")
        tryVerify(() => host.contentItem === null)
        refreshes.wait(10000)
        compare(findByName(list.headerItem, "baseAmount").text, "1 234.5")
        compare(findByName(list.headerItem, "baseSubscript").text, "GBP")
        const usd = list.itemAtIndex(0)
        compare(findByName(usd, "nameLabel").text, "US Dollar")
        compare(findByName(usd, "rateLabel").text, "1 564.23495")
        compare(findByName(usd, "codeLabel").text, "USD")

        const left = findByName(view, "leftButton")
        compare(left.text, "Inverse")
        mouseClick(left)
        verify(controller.showsInverseRates)
        compare(left.text, "Direct")
        tryCompare(findByName(list.itemAtIndex(0), "codeLabel"), "text", "GBP")
        tryCompare(findByName(list.itemAtIndex(0), "rateLabel"), "text", "974.27196")

        mouseClick(findByName(view, "rightButton"))  // Done
        verify(!controller.isConversionMode)
        verify(!controller.showsInverseRates)
        compare(controller.title, "Yahoo Finance")
    }

    function test_keypadCancelChangesNothing(data) {
        load(data)
        mouseClick(view.list.headerItem)  // the base row opens the keypad as well
        const host = view.presentationHost
        tryVerify(() => host.contentItem !== null)
        compare(host.contentItem.controller.currencyCode, "USD")
        mouseClick(findByName(host.contentItem, "leftButton"))  // Cancel
        tryVerify(() => host.contentItem === null)
        verify(!controller.isConversionMode)
    }

    function test_editingDeletesAndAdds(data) {
        load(data)
        const list = view.list
        mouseClick(findByName(view, "rightButton"))  // Edit
        verify(controller.editing)
        compare(findByName(view, "rightButton").text, "Done")
        compare(findByName(list.headerItem, "baseName").text, "Add currencies")

        // Delete the first rate row: its control, then the confirming button.
        const cell = list.itemAtIndex(0)
        mouseClick(findByName(cell, "deleteControl"))
        tryCompare(cell.swipe, "complete", true)
        mouseClick(cell.swipe.rightItem, 40, cell.height / 2)
        tryCompare(list, "count", 3)

        // Add through the picker.
        mouseClick(findByName(list.headerItem, "addButton"))
        const host = view.presentationHost
        tryVerify(() => host.contentItem !== null)
        const picker = host.contentItem
        picker.searchField.text = "swedish"
        tryCompare(picker.list, "count", 1)
        mouseClick(picker.list.itemAtIndex(0))
        mouseClick(findByName(picker, "rightButton"))  // Done
        tryVerify(() => host.contentItem === null)
        tryCompare(list, "count", 4)
        mouseClick(findByName(view, "rightButton"))  // leaving editing refreshes shortly after
        refreshes.wait(10000)
        compare(findByName(list.itemAtIndex(0), "nameLabel").text, "Swedish Krona")
    }

    function test_reorderIntoTheBaseSectionLandsFirstInTheRates(data) {
        load(data)
        const list = view.list
        mouseClick(findByName(view, "rightButton"))  // Edit
        compare(list.itemAtIndex(2).name, "Japanese Yen")
        const handle = findByName(list.itemAtIndex(2), "reorderHandle")
        mousePress(handle, handle.width / 2, handle.height / 2)
        // Up over the base row, in steps.
        const start = handle.mapToItem(list, handle.width / 2, handle.height / 2)
        for (let y = start.y; y >= 40; y -= 20) {
            const p = list.mapToItem(handle, start.x, y)
            mouseMove(handle, p.x, p.y, -1, Qt.LeftButton)
        }
        const end = list.mapToItem(handle, start.x, 40)
        mouseRelease(handle, end.x, end.y)
        tryVerify(() => list.itemAtIndex(0).name === "Japanese Yen")
        compare(list.itemAtIndex(1).name, "Euro")
        compare(findByName(list.headerItem, "baseName").text, "Add currencies")
    }

    function test_failingPullShowsOneAlert(data) {
        load(data)
        harness.setRatesFailing(true)
        const list = view.list
        const before = refreshes.count
        mousePress(list, list.width / 2, 60)
        for (let y = 60; y <= 260; y += 10) {
            mouseMove(list, list.width / 2, y, -1, Qt.LeftButton)
            wait(5)
        }
        mouseRelease(list, list.width / 2, 260)
        tryVerify(() => refreshes.count > before, 10000)
        tryVerify(() => view.alert.opened)
        compare(view.alert.title, "503 Service Unavailable")
        mouseClick(findByName(view.alert.contentItem, "alertButton"))
        tryVerify(() => !view.alert.visible)
        compare(findByName(list.itemAtIndex(0), "rateLabel").text, "1.0842")
    }
}
