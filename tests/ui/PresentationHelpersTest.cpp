#include "CNavigationController.h"
#include "CPopoverGlobalHolder.h"
#include "CRateRows.h"
#include "CSlideDownViewController.h"
#include "CTutorialView.h"
#include "CUILabelExt.h"
#include "CUISettings.h"
#include "CViewController.h"
#include "Resources.h"
#include "TestSupport.h"
#include "UserDefaults.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(FlagRegion, TheCountryThatUsesTheCurrency) {
    const std::pair<const char*, const char*> cases[] = {
        {"EUR", "eu"}, {"XAF", "cf"}, {"ANG", "cw"}, {"XAU", ""}, {"usd", "us"}, {"EURO", ""}};
    for (const auto& [code, region] : cases) {
        EXPECT_EQ(CUISettings::flagRegionForCurrency(QString::fromLatin1(code)),
                  QString::fromLatin1(region))
            << code;
    }
}

TEST(CurrencyImages, ABundledImageFirstThenTheCountryFlagThenTheUnknownFlag) {
    QTemporaryDir flags;
    QFile us(flags.filePath(QStringLiteral("us.svg")));
    ASSERT_TRUE(us.open(QIODevice::WriteOnly));
    us.write("<svg xmlns='http://www.w3.org/2000/svg' width='4' height='3'/>");
    us.close();
    Resources::addImageDirectory(flags.path());
    EXPECT_EQ(CUISettings::getImageForCurrency(QStringLiteral("USD")), us.fileName());
    EXPECT_EQ(CUISettings::getImageForCurrency(QStringLiteral("XAU")),
              QStringLiteral(":/images/XAU.svg"));
    const QString unknown = CUISettings::getImageForCurrency(QStringLiteral("unknownCurrencyFlag"));
    EXPECT_EQ(unknown, QStringLiteral(":/images/unknownCurrencyFlag.svg"));
    EXPECT_EQ(CUISettings::getImageForCurrency(QStringLiteral("XDR")), unknown);
    EXPECT_EQ(CUISettings::urlForImagePath(unknown),
              QUrl(QStringLiteral("qrc:/images/unknownCurrencyFlag.svg")));
    EXPECT_EQ(CUISettings::urlForImagePath(us.fileName()), QUrl::fromLocalFile(us.fileName()));
    EXPECT_TRUE(CUISettings::urlForImagePath(QString()).isEmpty());
}

TEST(Tutorial, ShownUntilTappedAwayOnceThenNeverAgain) {
    ScopedDataDir dir;
    UserDefaults defaults(dir.filePath(QStringLiteral("prefs.plist")));
    CTutorialView& tutorial = CTutorialView::tutorialView();
    tutorial.setUserDefaults(&defaults);
    EXPECT_TRUE(CTutorialView::showStartTutorial(defaults)) << "registered as true";

    tutorial.showStartTutorialForOrientation(CTutorialView::LandscapeLeft, true);
    EXPECT_TRUE(tutorial.isVisible() && tutorial.showsPadContent());
    tutorial.dismissAnimated(true);  // a rotation begins
    EXPECT_FALSE(tutorial.isVisible());
    tutorial.showStartTutorialForOrientation(CTutorialView::Portrait, false);
    EXPECT_TRUE(tutorial.isVisible() && !tutorial.showsPadContent());

    tutorial.onTapGesture();
    EXPECT_TRUE(!tutorial.isVisible() && tutorial.isAnimated());
    UserDefaults reopened(defaults.filePath());
    EXPECT_FALSE(CTutorialView::showStartTutorial(reopened)) << "a restart does not show it";
    tutorial.setUserDefaults(&reopened);
    tutorial.showStartTutorialForOrientation(CTutorialView::Portrait, false);
    EXPECT_FALSE(tutorial.isVisible());
    tutorial.setUserDefaults(nullptr);
}

TEST(Navigation, APushIsOnceAndTheRootStays) {
    CViewController root(QStringLiteral("RootView"), false);
    CViewController pushed(QStringLiteral("SettingsView"), false);
    CRootNavigationController phone(&root, false);
    QSignalSpy pushes(&phone, &CNavigationController::pushed);
    phone.pushViewController(&pushed);
    phone.pushViewController(&pushed);  // already there
    EXPECT_EQ(pushes.size(), 1);
    EXPECT_EQ(phone.viewControllers(), (QList<CViewController*>{&root, &pushed}));
    EXPECT_EQ(phone.popViewController(), &pushed);
    EXPECT_EQ(phone.popViewController(), nullptr);  // the root stays
    EXPECT_EQ(phone.topViewController(), &root);
}

TEST(PopoverHolder, ANewPopoverClosesTheOneShownBeforeWithoutAnimation) {
    CPopoverGlobalHolder& holder = CPopoverGlobalHolder::sharedInstance();
    CViewController left(QStringLiteral("SettingsView"), true);
    CViewController right(QStringLiteral("RootView"), true);
    QSignalSpy leftDismissed(&left, &CViewController::dismissAnimationRequested);

    auto* first = new CViewController(QStringLiteral("CurrencyPickerView"), true);
    left.presentViewController(first);
    EXPECT_EQ(holder.activePopover(), first);
    auto* second = new CViewController(QStringLiteral("CurrencyConverterView"), true);
    right.presentViewController(second);
    EXPECT_EQ(holder.activePopover(), second);
    EXPECT_EQ(left.presentedController(), nullptr);
    ASSERT_EQ(leftDismissed.size(), 1);
    EXPECT_FALSE(leftDismissed[0][0].toBool());

    holder.dismissActivePopover(true);
    EXPECT_EQ(right.presentedController(), nullptr);
    EXPECT_EQ(holder.activePopover(), nullptr);
    holder.dismissActivePopover(true);  // nothing held: nothing happens

    // A presenter that goes away takes its popover with it.
    {
        CViewController presenter(QStringLiteral("RootView"), true);
        presenter.presentViewController(new CViewController(QStringLiteral("X"), true));
        EXPECT_NE(holder.activePopover(), nullptr);
    }
    EXPECT_EQ(holder.activePopover(), nullptr);
}

}  // namespace
