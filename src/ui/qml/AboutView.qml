import QtQuick
import Numiva

// The about screen: the application's name, what it does and its version.
Item {
    id: view
    required property CAboutViewController controller
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
        z: 2
        title: view.controller.title
        leftText: view.canGoBack ? view.backTitle : ""
        leftBack: view.canGoBack
        onLeftClicked: if (view.navigation) view.navigation.popViewController(true)
    }

    Column {
        anchors.top: navBar.bottom
        anchors.topMargin: 40
        anchors.horizontalCenter: parent.horizontalCenter
        width: Math.min(parent.width - 40, 420)
        spacing: 12

        Image {
            anchors.horizontalCenter: parent.horizontalCenter
            width: 64
            height: 64
            source: CUISettings.tintedImageUrl("currency-exchange", CUISettings.tableHeaderColor)
            sourceSize.width: 128
            sourceSize.height: 128
            fillMode: Image.PreserveAspectFit
        }
        Text {
            objectName: "applicationName"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: view.controller.applicationName
            color: "#1c1c1e"
            font.family: "Helvetica"
            font.pixelSize: 28
            font.bold: true
        }
        Text {
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.WordWrap
            text: qsTrId("AboutDescription")
            color: CUISettings.tableHeaderColor
            font: CUISettings.cellTextFont
        }
        Text {
            objectName: "versionLabel"
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            text: qsTrId("VersionFormat").arg(view.controller.versionLabel)
            color: "#6d6d72"
            font.family: "Helvetica"
            font.pixelSize: 15
        }
    }
}
