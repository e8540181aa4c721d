#include "CCompareSourcesViewController.h"
#include "CCurrencyChartSettings.h"
#include "CCurrencyChartViewController.h"
#include "CCurrencyConverterViewController.h"
#include "CCurrencyPickerViewController.h"
#include "CNavigationController.h"
#include "CPasteboard.h"
#include "CPullToRefreshView.h"
#include "CRateRows.h"
#include "CRootViewController.h"
#include "CTutorialView.h"
#include "Localization.h"
#include "UiTestSupport.h"
#include "UserDefaults.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

Decimal d(const char* text) {
    return Decimal::fromString(QString::fromLatin1(text));
}

QStringList codes(CRootViewModel& model) {
    return model.getSelectedCurrencyCodes();
}

/// The list as the settings file holds it.
QStringList stored() {
    return UserDefaults(UserDefaults::standardUserDefaults().filePath())
        .stringArrayForKey(QStringLiteral("SelectedCurrencies"));
}

QString rateText(CRootViewController& root, int row) {
    return root.rates()->index(row).data(CCurrencyRateListModel::RateTextRole).toString();
}

/// A rate row's code, name, rate and the unit shown after the rate.
QStringList rowTexts(CRootViewController& root, int row) {
    QStringList texts;
    for (const int role :
         {CCurrencyRateListModel::CodeRole, CCurrencyRateListModel::NameRole,
          CCurrencyRateListModel::RateTextRole, CCurrencyRateListModel::CodeTextRole}) {
        texts << root.rates()->index(row).data(role).toString();
    }
    return texts;
}

/// The bar and the base row: title, buttons, base code, name, description and subscript.
QStringList bar(CRootViewController& root) {
    return {root.title(),           root.leftButton(),       root.leftButtonTitle(),
            root.rightButton(),     root.baseCurrencyCode(), root.baseCurrencyName(),
            root.baseDescription(), root.baseSubscript()};
}

/// The rate service holds its answer (EUR 1.2) until the gate opens.
std::shared_ptr<FakeHttpServer::Gate> holdAnswers(RootScreen& screen) {
    auto gate = std::make_shared<FakeHttpServer::Gate>();
    screen.rates.http.setHandler([gate](const FakeHttpServer::Request&) {
        FakeHttpServer::Answer held = FakeHttpServer::Answer::text("1\r\n1.2\r\n");
        held.gate = gate;
        return held;
    });
    return gate;
}

/// Enters editing and opens the picker for adding currencies.
CCurrencyPickerViewController* openPicker(CRootViewController& root) {
    root.setEditing(true);
    root.insertCurrencies();
    return qobject_cast<CCurrencyPickerViewController*>(root.presentedController());
}

class RootScreenTest : public ::testing::Test {
protected:
    explicit RootScreenTest(const QStringList& selectedCurrencies = {})
        : screen(false, std::chrono::milliseconds(500), selectedCurrencies) {}
    void SetUp() override { Localization::install(QStringLiteral("en")); }

    RootScreen screen;
    QAbstractItemModelTester tester{screen.controller().rates(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal};
};

TEST(RateText, FiveFractionDigitsOrSevenWhereFiveShowZero) {
    const std::pair<const char*, const char*> cases[] = {{"0.0000004", "0.0000004"},
                                                         {"0.00000004", "0"},
                                                         {"0.000012345", "0.00001"},
                                                         {"1234.5", "1 234.5"},
                                                         {"1234567.123456", "1 234 567.12346"},
                                                         {"0.5", "0.5"},
                                                         {"12", "12"}};
    for (const auto& [rate, shown] : cases) {
        EXPECT_EQ(CRateRows::getFormattedCurrencyRate(d(rate)), QString::fromUtf8(shown)) << rate;
    }
}

TEST_F(RootScreenTest, PullHeaderTurnsPastSixtyFiveAndAReleaseAtSixtyFiveRefreshes) {
    ASSERT_TRUE(screen.loadAndWaitForFirstRefresh());
    CRootViewController& root = screen.controller();
    CPullToRefreshView& header = *root.refreshHeaderView();
    EXPECT_EQ(header.state(), CPullToRefreshView::Normal);
    EXPECT_EQ(header.statusText(), QStringLiteral("Pull down to refresh…"));

    root.scrollViewDidScroll(-65, true);
    EXPECT_EQ(header.state(), CPullToRefreshView::Normal);
    root.scrollViewDidScroll(-66, true);
    EXPECT_EQ(header.state(), CPullToRefreshView::ReleaseToRefresh);
    EXPECT_EQ(header.statusText(), QStringLiteral("Release to refresh…"));
    EXPECT_TRUE(header.arrowFlipped());
    root.scrollViewDidScroll(-120, false);  // a bounce, not a drag, changes nothing
    EXPECT_EQ(header.state(), CPullToRefreshView::ReleaseToRefresh);
    root.scrollViewDidScroll(-65, true);
    EXPECT_EQ(header.state(), CPullToRefreshView::Normal);
    EXPECT_TRUE(header.arrowAnimated()) << "turning back out of state 0 is animated";

    root.scrollViewDidEndDragging(-64);
    EXPECT_FALSE(root.isDataReloading() || root.headerInset() != 0);

    root.scrollViewDidEndDragging(-65);
    EXPECT_TRUE(root.isDataReloading() && header.activityRunning() && root.headerInset() == 65);
    EXPECT_EQ(header.state(), CPullToRefreshView::Loading);
    // While loading, dragging does not move the header.
    root.scrollViewDidScroll(-100, true);
    EXPECT_EQ(header.state(), CPullToRefreshView::Loading);

    ASSERT_TRUE(screen.waitForRefresh());
    EXPECT_TRUE(header.state() == CPullToRefreshView::Normal && root.headerInset() == 0);
    EXPECT_TRUE(header.lastUpdateText().startsWith(QStringLiteral("Last updated: ")));
}

TEST_F(RootScreenTest, OneAlertForAFailingPullNoneForAnAutomaticFailureOrAHiddenView) {
    ASSERT_TRUE(screen.loadAndWaitForFirstRefresh());
    CRootViewController& root = screen.controller();
    QSignalSpy alerts(&root, &CViewController::alertRequested);
    screen.rates.setFailing(true);

    root.scrollViewDidScroll(-80, true);
    root.scrollViewDidEndDragging(-80);
    ASSERT_TRUE(screen.waitForRefresh());
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_TRUE(alerts[0][0].toString().endsWith(
        u"The service answered 503 (Service Unavailable). The last stored rates are shown."))
        << alerts[0][0].toString().toStdString();
    EXPECT_EQ(alerts[0][1].toString(), QString());
    EXPECT_EQ(alerts[0][2].toString(), QStringLiteral("OK"));
    // The row says its rate is the stored one of the source that failed.
    EXPECT_TRUE(root.rates()
                    ->index(0)
                    .data(CCurrencyRateListModel::DetailTextRole)
                    .toString()
                    .endsWith(u" \u00b7 cached, Yahoo failed"));

    root.applicationDidBecomeActive();
    ASSERT_TRUE(screen.waitForRefresh());
    // The cached rate stays on screen; a hidden view never alerts, not even for a pull.
    EXPECT_EQ(rateText(root, 0), QStringLiteral("1.0842"));
    root.setViewHidden(true);
    root.scrollViewDidScroll(-80, true);
    root.scrollViewDidEndDragging(-80);
    ASSERT_TRUE(screen.waitForRefresh());
    EXPECT_EQ(alerts.size(), 1);
}

TEST_F(RootScreenTest, TheFirstRefreshsFailureAlertsOnceTheStartHintsAreTappedAway) {
    UserDefaults hints(screen.dataDir.filePath(QStringLiteral("hints.plist")));
    CTutorialView& tutorial = CTutorialView::tutorialView();
    tutorial.setUserDefaults(&hints);
    screen.rates.setFailing(true);
    QSignalSpy alerts(&screen.controller(), &CViewController::alertRequested);
    screen.controller().viewDidAppear(1);
    ASSERT_TRUE(tutorial.isVisible());
    ASSERT_TRUE(screen.loadAndWaitForFirstRefresh());
    EXPECT_EQ(alerts.size(), 0) << "not over the hints";
    tutorial.onTapGesture();
    EXPECT_EQ(alerts.size(), 1);
    tutorial.setUserDefaults(nullptr);
}

TEST_F(RootScreenTest, TwoElementsGiveOneRateRowAndAtLaunchTheStoredRatesShowAtOnce) {
    ASSERT_TRUE(screen.loadAndWaitForFirstRefresh());
    CRootViewController& root = screen.controller();
    EXPECT_EQ(codes(screen.model()), (QStringList{"USD", "EUR"}));
    ASSERT_EQ(root.rates()->rowCount(), 1);
    EXPECT_EQ(rowTexts(root, 0), (QStringList{"EUR", "Euro", "1.0842", "USD"}));
    EXPECT_FALSE(
        root.rates()->index(0).data(CCurrencyRateListModel::DateTextRole).toString().isEmpty());
    EXPECT_EQ(bar(root), (QStringList{"Yahoo Finance", "settings", "", "edit", "USD", "US Dollar",
                                      "Base currency", ""}));

    screen.model().currencyDataStorageManager().waitForPendingWrites();
    const QString shownBefore = root.refreshHeaderView()->lastUpdateText();

    // A second launch on the same data directory, with the service holding its answer.
    auto gate = holdAnswers(screen);
    CRootViewController::Dependencies dependencies;
    dependencies.center = &screen.center;
    dependencies.endpoints = screen.rates.endpoints();
    CRootViewController relaunched(std::move(dependencies));
    QAbstractItemModelTester relaunchedTester(relaunched.rates());
    relaunched.viewDidLoad();
    EXPECT_TRUE(relaunched.isDataReloading());
    EXPECT_EQ(rateText(relaunched, 0), QStringLiteral("1.0842"));
    EXPECT_FALSE(relaunched.rates()->index(0).data(CCurrencyRateListModel::PendingRole).toBool());
    EXPECT_EQ(relaunched.refreshHeaderView()->lastUpdateText(), shownBefore);

    QSignalSpy finished(&relaunched, &CRootViewController::refreshFinished);
    gate->release();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(rateText(relaunched, 0), QStringLiteral("1.2"));
}

TEST_F(RootScreenTest, AddingAThenBListsBThenAAndRefreshesAfterEditingEnds) {
    ASSERT_TRUE(screen.loadAndWaitForFirstRefresh());
    CRootViewController& root = screen.controller();
    QSignalSpy inserted(root.rates(), &QAbstractItemModel::rowsInserted);

    auto* picker = openPicker(root);
    EXPECT_EQ(root.baseCurrencyName(), QStringLiteral("Add currencies"));
    EXPECT_FALSE(root.isPullToRefreshEnabled());
    ASSERT_NE(picker, nullptr);
    EXPECT_TRUE(picker->allowsMultipleSelection());
    picker->didSelectCurrency(QStringLiteral("GBP"));
    picker->didSelectCurrency(QStringLiteral("JPY"));
    picker->onDoneClick();

    EXPECT_EQ(root.presentedController(), nullptr);
    EXPECT_EQ(codes(screen.model()), (QStringList{"USD", "JPY", "GBP", "EUR"}));
    ASSERT_EQ(inserted.size(), 1);
    EXPECT_EQ(inserted[0].mid(1), (QVariantList{0, 1})) << "one insert of the two rows at the top";
    EXPECT_TRUE(root.updateRatesAfterEditing());

    root.setEditing(false);
    EXPECT_FALSE(root.isDataReloading()) << "the refresh waits for the delay";
    EXPECT_TRUE(root.isRefreshAfterEditingPending());
    EXPECT_FALSE(root.updateRatesAfterEditing());
    EXPECT_EQ(stored(), (QStringList{"USD", "JPY", "GBP", "EUR"}));
}

class ListedScreenTest : public RootScreenTest {
protected:
    ListedScreenTest() : RootScreenTest({"EUR", "GBP", "JPY", "RUB"}) {}
    void SetUp() override {
        RootScreenTest::SetUp();
        ASSERT_TRUE(screen.loadAndWaitForFirstRefresh());
    }
};

TEST_F(ListedScreenTest, AMoveIntoTheBaseSectionLandsAtTheTopOfTheRates) {
    CRootViewController& root = screen.controller();
    EXPECT_EQ(codes(screen.model()), (QStringList{"USD", "EUR", "GBP", "JPY", "RUB"}));
    root.setEditing(true);
    const int target = root.targetRowForMove(0, 0);
    EXPECT_EQ(target, 0);
    QSignalSpy moved(root.rates(), &QAbstractItemModel::rowsMoved);
    ASSERT_TRUE(root.moveRow(2, target));
    EXPECT_EQ(codes(screen.model()), (QStringList{"USD", "JPY", "EUR", "GBP", "RUB"}));
    EXPECT_EQ(moved.size(), 1);
    EXPECT_EQ(root.rates()->index(0).data(CCurrencyRateListModel::CodeRole).toString(),
              QStringLiteral("JPY"));
    ASSERT_TRUE(root.moveRow(0, root.targetRowForMove(1, 3)));
    EXPECT_EQ(codes(screen.model()), (QStringList{"USD", "EUR", "GBP", "RUB", "JPY"}));
    EXPECT_EQ(root.targetRowForMove(1, 99), 3);
    EXPECT_FALSE(root.moveRow(-1, 0) || root.moveRow(0, 4));
    root.setEditing(false);
    EXPECT_EQ(stored(), (QStringList{"USD", "EUR", "GBP", "RUB", "JPY"}));
}

TEST_F(ListedScreenTest, DeletingARowRemovesItsElementAndSavesTheList) {
    CRootViewController& root = screen.controller();
    QSignalSpy removed(root.rates(), &QAbstractItemModel::rowsRemoved);
    root.beginSwipeToDelete(1);
    EXPECT_TRUE(root.isEditing() && root.isInSwipeToDeleteMode());
    EXPECT_EQ(root.baseCurrencyName(), QStringLiteral("US Dollar")) << "a swipe keeps the name";
    ASSERT_TRUE(root.deleteRow(1));
    EXPECT_EQ(removed.size(), 1);
    EXPECT_EQ(codes(screen.model()), (QStringList{"USD", "EUR", "JPY", "RUB"}));
    EXPECT_EQ(stored(), (QStringList{"USD", "EUR", "JPY", "RUB"}));
    root.endSwipeToDelete();
    EXPECT_FALSE(root.isEditing() || root.isInSwipeToDeleteMode());
    EXPECT_FALSE(root.deleteRow(3)) << "past the last row";
    EXPECT_FALSE(root.deleteRow(-1)) << "the base row is not deletable";
}

TEST_F(ListedScreenTest, ConversionModeFromTheKeypadAndBack) {
    CRootViewController& root = screen.controller();
    root.selectRow(1, 1);  // GBP
    auto* converter = qobject_cast<CCurrencyConverterViewController*>(root.presentedController());
    ASSERT_NE(converter, nullptr);
    EXPECT_EQ(converter->currencyCode(), QStringLiteral("GBP"));
    EXPECT_EQ(root.presentationAnchorRow(), 1);
    EXPECT_EQ(root.presentationArrow(), QStringLiteral("right"));
    QSignalSpy scrolled(&root, &CRootViewController::scrollToTopRequested);
    converter->onDigitClick(QStringLiteral("1"));
    converter->onDigitClick(QStringLiteral("0"));
    converter->onDigitClick(QStringLiteral("0"));
    converter->onConvertClick();

    EXPECT_EQ(root.presentedController(), nullptr);
    EXPECT_TRUE(root.isConversionMode());
    EXPECT_EQ(scrolled.size(), 1);
    EXPECT_EQ(bar(root), (QStringList{"Conversion", "inverse", "Inverse", "conversionDone", "GBP",
                                      "British Pound", "100", "GBP"}));
    EXPECT_EQ(codes(screen.model()), (QStringList{"GBP", "USD", "EUR", "JPY", "RUB"}));

    // 100 GBP in US dollars; inverted, 100 US dollars in GBP.
    ASSERT_TRUE(screen.waitForRefresh());
    EXPECT_EQ(rowTexts(root, 0).mid(2), (QStringList{"126.71", "USD"}));
    QSignalSpy changed(root.rates(), &QAbstractItemModel::dataChanged);
    root.onInverseRate();
    EXPECT_EQ(root.leftButtonTitle(), QStringLiteral("Direct"));
    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(rowTexts(root, 0).mid(2), (QStringList{"78.92037", "GBP"}));

    // No insert, delete or move while converting.
    root.setEditing(true);
    EXPECT_FALSE(root.canEditRows() || root.deleteRow(0) || root.moveRow(0, 1));
    root.insertCurrencies();
    EXPECT_EQ(root.presentedController(), nullptr);
    root.setEditing(false);
    EXPECT_EQ(codes(screen.model()), (QStringList{"GBP", "USD", "EUR", "JPY", "RUB"}));

    root.onConversionDoneClick();
    EXPECT_FALSE(root.isConversionMode() || root.showsInverseRates());
    EXPECT_EQ(bar(root), (QStringList{"Yahoo Finance", "settings", "", "edit", "USD", "US Dollar",
                                      "Base currency", ""}));

    // At a past day whose history cannot be reached: the rows wait, then the list comes back
    // with the reason.
    root.selectRow(1, 1);
    converter = qobject_cast<CCurrencyConverterViewController*>(root.presentedController());
    ASSERT_TRUE(converter && converter->setConversionDay(2024, 1, 5));
    QSignalSpy alerts(&root, &CRootViewController::alertRequested);
    converter->onConvertClick();
    EXPECT_TRUE(root.isConversionMode());
    EXPECT_TRUE(root.rates()->index(0).data(CCurrencyRateListModel::PendingRole).toBool());
    ASSERT_TRUE(alerts.wait(10000));
    EXPECT_FALSE(root.isConversionMode());
    EXPECT_TRUE(alerts.first().first().toString().contains("could not give the rates of that day"));
}

TEST_F(ListedScreenTest, ChangesOfTheModelRefreshTheListAndRenameIt) {
    CRootViewController& root = screen.controller();
    QSignalSpy reloading(&root, &CRootViewController::dataReloadingChanged);
    screen.model().setDataSource(QStringLiteral("YFinance"), false);
    EXPECT_EQ(root.title(), QStringLiteral("Exchange rates"));
    EXPECT_GE(reloading.size(), 1);
    ASSERT_TRUE(screen.waitForRefresh());
    EXPECT_EQ(rateText(root, 0), QStringLiteral("No data")) << "no source offers the euro now";
    screen.model().setDataSource(QStringLiteral("YFinance"), true);
    EXPECT_EQ(root.title(), QStringLiteral("Yahoo Finance"));
    ASSERT_TRUE(screen.waitForRefresh());
    EXPECT_EQ(rateText(root, 0), QStringLiteral("1.0842"));
}

TEST_F(ListedScreenTest, RowMenuOffersWhatAppliesAndTheChartOnlyWhereTheSourceHasCharts) {
    CRootViewController& root = screen.controller();
    const QStringList all{"copyValue", "copyRow", "chart", "compare", "remove"};
    EXPECT_EQ(root.contextMenuActions(0), all) << "Yahoo Finance has charts";
    ASSERT_TRUE(root.triggerContextAction(0, QStringLiteral("copyRow")));
    EXPECT_EQ(CPasteboard::string(), QStringLiteral("Euro (EUR): 1.0842 USD"));
    root.setEditing(true);
    EXPECT_EQ(root.contextMenuActions(0), QStringList{"remove"});
    EXPECT_FALSE(root.triggerContextAction(0, QStringLiteral("copyValue")));
    root.setEditing(false);
    for (const char* source : {"PayPal", "OCBC"}) {
        screen.model().selectSingleDataSource(QString::fromLatin1(source));
        ASSERT_TRUE(screen.waitForRefresh());
        EXPECT_FALSE(root.contextMenuActions(0).contains(QStringLiteral("chart"))) << source;
    }
    screen.model().selectSingleDataSource(QStringLiteral("ECB"));
    ASSERT_TRUE(screen.waitForRefresh());
    EXPECT_TRUE(root.contextMenuActions(0).contains(QStringLiteral("chart")));
    ASSERT_TRUE(root.triggerContextAction(0, QStringLiteral("chart")));
    EXPECT_TRUE(root.isShowingLandscapeView()) << "a phone's chart, in an upright window too";
    EXPECT_EQ(CCurrencyChartSettings::getCurrencyPair(), (QStringList{"EUR", "USD"}));
    qobject_cast<CCurrencyChartViewController*>(root.chartController())->onClose();
    EXPECT_EQ(root.presentedController(), nullptr);

    // Compare: only Yahoo Finance is reachable here; every other source is listed as failed.
    ASSERT_TRUE(root.triggerContextAction(0, QStringLiteral("compare")));
    auto* compare = qobject_cast<CCompareSourcesViewController*>(root.presentedController());
    ASSERT_NE(compare, nullptr);
    EXPECT_TRUE(compare->isBusy() && !compare->progressText().isEmpty());
    QSignalSpy finished(compare, &CCompareSourcesViewController::comparisonFinished);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(compare->heading(), QStringLiteral("1 EUR in USD"));
    const QVariantList rows = compare->rows();
    ASSERT_EQ(rows.size(), 9);
    EXPECT_EQ(rows[1].toMap().value("valueText").toString(), QStringLiteral("1.0842"));
    EXPECT_FALSE(rows[0].toMap().value("failure").toString().isEmpty());
    EXPECT_EQ(compare->spreadText(), QStringLiteral("0.00 %"));
    EXPECT_EQ(compare->summaryText(),
              QStringLiteral("No source is more than 2 % from the median."));
    compare->onDoneClick();
    EXPECT_EQ(root.presentedController(), nullptr);
    ASSERT_TRUE(root.triggerContextAction(0, QStringLiteral("remove")));
    EXPECT_EQ(codes(screen.model()), (QStringList{"USD", "GBP", "JPY", "RUB"}));
}

}  // namespace
