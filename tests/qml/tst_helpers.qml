import QtQuick
import QtQuick.Controls
import QtTest
import Numiva

// Presentation helpers on real items: localization of loaded views and the spaced label.
TestCase {
    id: testCase
    name: "PresentationHelpers"
    when: windowShown
    visible: true
    width: 400
    height: 400

    component DerivedLabel: Label {}

    Component {
        id: tree
        Item {
            property alias plain: plain
            property alias derived: derived
            property alias button: button
            property alias bar: bar
            property alias nested: nested
            Label { id: plain; text: "NoData" }
            DerivedLabel {
                id: derived
                text: "BaseCurrency"
                Label { id: nested; text: "NeverUpdated" }
            }
            Button { id: button; text: "AddNewCurrency" }
            NavigationBar { id: bar; title: "CurrencyInfoViewTitle" }
        }
    }

    function test_localizeViewLocalizesLabelsButtonsAndBars() {
        const view = createTemporaryObject(tree, testCase)
        CUIHelpers.localize(view)
        compare(view.plain.text, "No data")
        compare(view.derived.text, "Base currency")
        compare(view.nested.text, "NeverUpdated", "a label is not walked")
        compare(view.button.text, "Add currencies")
        compare(view.bar.title, "Exchange rates")
    }

    function test_localizeExactlyWalksIntoDerivedLabels() {
        const view = createTemporaryObject(tree, testCase)
        CUIHelpers.localizeExactly(view)
        compare(view.plain.text, "No data")
        compare(view.derived.text, "BaseCurrency", "a derived label is walked, not localized")
        compare(view.nested.text, "Never updated")
        compare(view.button.text, "Add currencies")
        compare(view.bar.title, "CurrencyInfoViewTitle", "a bar of a derived class is walked")
    }

    Component {
        id: spaced
        CUILabelExt {
            width: 60
            // As the base row sizes it: the height follows the lines.
            height: lines.length * lineSpacing
            font.pixelSize: 14
            lineSpacing: 11
        }
    }

    function test_labelBreaksLinesWhereTheyNoLongerFit() {
        failOnWarning(/Binding loop/)
        const label = createTemporaryObject(spaced, testCase, { text: "Base currency" })
        compare(label.lines, ["Base", "currency"])
        tryCompare(label, "height", 22)
        label.width = 300
        compare(label.lines, ["Base currency"])
        label.text = ""
        compare(label.lines, [])
    }
}
