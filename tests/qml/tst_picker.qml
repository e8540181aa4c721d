import QtQuick
import QtQuick.Controls
import QtTest
import Numiva

// The currency picker view in both idioms: sections, search, marks, Done and Cancel.
TestCase {
    id: testCase
    name: "CurrencyPickerView"
    when: windowShown
    visible: true
    width: 400
    height: 700

    Component {
        id: pickerView
        CurrencyPickerView {}
    }

    function init_data() {
        return [{ tag: "phone", tablet: false }, { tag: "tablet", tablet: true }]
    }

    function make(data, multiple, limit) {
        const controller = harness.picker(["USD", "EUR", "GBP", "JPY", "CHF", "SEK", "XAU"],
                                          multiple, limit, data.tablet)
        const view = createTemporaryObject(pickerView, testCase,
                                           { controller: controller, width: 340, height: 600 })
        verify(view)
        waitForRendering(view)
        return view
    }

    function row(view, code) {
        const model = view.list.model
        const index = model.rowOfCode(code)
        verify(index >= 0, code)
        view.list.positionViewAtIndex(index, ListView.Contain)
        const item = view.list.itemAtIndex(index)
        verify(item, code)
        return item
    }

    function test_listsByNameWithSectionsAndTheIndex(data) {
        const view = make(data, false, 0)
        compare(view.list.count, 7)
        const first = view.list.itemAtIndex(0)
        compare(first.name, "British Pound")
        compare(findChild(first, "pickerCode").text, "GBP")
        verify(findChild(view, "sectionIndex").visible)
        compare(view.controller.prompt, "Currencies available: 7")
        compare(findChild(view, "rightButton").text, "Cancel")
        verify(!findChild(view, "leftButton").visible)
    }

    function test_searchMarksAndDone(data) {
        const view = make(data, true, 0)
        const spy = createTemporaryObject(signalSpy, testCase, { target: view.controller,
                                                                 signalName: "selectionChanged" })
        compare(findChild(view, "leftButton").text, "Cancel")
        compare(findChild(view, "rightButton").text, "Done")
        view.searchField.forceActiveFocus()
        keyClick(Qt.Key_E)
        keyClick(Qt.Key_U)
        keyClick(Qt.Key_R)
        compare(view.controller.searchText, "eur")
        tryCompare(view.list, "count", 1)
        verify(!findChild(view, "sectionIndex").visible)
        mouseClick(view.list.itemAtIndex(0))
        compare(spy.count, 1)
        verify(view.list.itemAtIndex(0).chosen)
        view.searchField.text = ""
        tryCompare(view.list, "count", 7)
        const euro = row(view, "EUR")
        verify(euro.chosen)
        compare(findChild(euro, "pickerCode").text, "")
        verify(findChild(euro, "checkmark").visible)
        mouseClick(row(view, "XAU"))
        compare(view.controller.selectedCurrencies, ["EUR", "XAU"])
    }

    function test_emptyDoneAsksForAChoice(data) {
        const view = make(data, true, 0)
        mouseClick(findChild(view, "rightButton"))
        tryVerify(() => view.alert.opened)
        compare(view.alert.title, "No currency is selected")
    }

    Component {
        id: signalSpy
        SignalSpy {}
    }
}
