import QtQuick
import QtQuick.Controls
import Numiva

// The application window: one navigation stack on a phone; on a tablet the settings pane on
// the left and the rate list on the right.
ApplicationWindow {
    id: window

    required property CRootViewController rootController
    required property CNavigationController rootNavigation
    property CNavigationController settingsNavigation: null
    required property bool tablet

    width: tablet ? 1180 : 390
    height: tablet ? 820 : 844
    visible: true
    title: "Numiva"
    color: tablet ? "black" : CUISettings.defaultBackgroundColor

    Loader {
        anchors.fill: parent
        sourceComponent: window.tablet ? splitLayout : stackLayout
    }

    Component {
        id: stackLayout
        NavigationStack {
            navigation: window.rootNavigation
            backTitle: window.rootController.backButtonTitle
        }
    }

    Component {
        id: splitLayout
        Item {
            NavigationStack {
                id: master
                objectName: "settingsPane"
                width: 320
                height: parent.height
                navigation: window.settingsNavigation
                backTitle: window.rootController.backButtonTitle
            }
            NavigationStack {
                objectName: "ratesPane"
                x: master.width + 1
                width: parent.width - x
                height: parent.height
                navigation: window.rootNavigation
                backTitle: window.rootController.backButtonTitle
            }
        }
    }

    TutorialView {
        anchors.fill: parent
        z: 100
        tablet: window.tablet
    }
}
