import QtQuick
import Numiva

// The settings screen: its title bar over the grouped background.
Item {
    id: view
    required property CSettingsViewController controller
    property CNavigationController navigation: null
    property bool canGoBack: false
    property string backTitle: ""

    BaseBackgroundView {
        anchors.fill: parent
        tablet: view.controller.isTablet
    }
    NavigationBar {
        id: navBar
        width: parent.width
        title: view.controller.title
        leftText: view.canGoBack ? view.backTitle : ""
        leftBack: view.canGoBack
        onLeftClicked: if (view.navigation) view.navigation.popViewController(true)
    }
}
