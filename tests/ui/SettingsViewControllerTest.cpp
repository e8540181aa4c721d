#include "CBaseCurrencySelector.h"
#include "CCustomDataSourceMetadataUpdater.h"
#include "CRootViewModel.h"
#include "CSettingsViewController.h"
#include "CurrencyNames.h"
#include "FakeHttpServer.h"
#include "Localization.h"
#include "NotificationCenter.h"
#include "RecordingComposers.h"
#include "Resources.h"
#include "TestSupport.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace {

/// A location service that is available (or refused) as the test says.
class TestLocation : public LocationService {
public:
    AuthorizationStatus status = AuthorizationStatus::Authorized;
    AuthorizationStatus authorizationStatus() const override { return status; }
    bool locationServicesEnabled() const override { return true; }
    void startUpdatingLocation() override {}
    void stopUpdatingLocation() override {}
    void stopMonitoringSignificantLocationChanges() override {}
};

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Localization::install(QStringLiteral("en"));
        UserDefaults::standardUserDefaults().setObject(false,
                                                       QStringLiteral("BaseCurrencyAutoSelect"));
        CRootViewModel::Options options;
        options.location = &location;
        // The bundled sources without the two broad ones, so that some codes stay unoffered
        // for the currency request.
        options.builtInCatalogue =
            Resources::propertyList(QStringLiteral("CurrencyDataSources")).toMap();
        options.builtInCatalogue.remove(QStringLiteral("CurrencyApi"));
        options.builtInCatalogue.remove(QStringLiteral("Frankfurter"));
        UserDefaults::standardUserDefaults().setObject(QStringList{QStringLiteral("YFinance")},
                                                       QStringLiteral("SelectedCurrencySources"));
        model = std::make_unique<CRootViewModel>(UserDefaults::standardUserDefaults(), center,
                                                 std::move(options));
        center.addObserver(this, CRootViewModel::CurrencyDataSourceChanged, nullptr,
                           [this](const QString&, const void*) { ++changes; });
        screen = std::make_unique<CSettingsViewController>(*model, false, nullptr, &mail);
        tester = std::make_unique<QAbstractItemModelTester>(
            screen->rows(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        screen->viewDidLoad();
        alerts = std::make_unique<QSignalSpy>(screen.get(), &CViewController::alertRequested);
        questions =
            std::make_unique<QSignalSpy>(screen.get(), &CSettingsViewController::questionRequested);
    }
    void TearDown() override { center.removeObserver(this); }

    const CSettingsRow& row(int section, int r) const {
        const int i = screen->rows()->indexOf(section, r);
        EXPECT_GE(i, 0) << section << "/" << r;
        return screen->rows()->rows().at(static_cast<size_t>(std::max(i, 0)));
    }
    QStringList kinds(int section) const {
        QStringList result;
        for (const CSettingsRow& r : screen->rows()->rows()) {
            if (r.section == section) {
                result << QString::number(r.kind);
            }
        }
        return result;
    }
    QString lastAlert() const {
        return alerts->isEmpty() ? QString() : alerts->last().at(0).toString();
    }
    int rowOf(const QString& id) const {
        return static_cast<int>(screen->availableCurrencyDataSources().indexOf(id));
    }
    QStringList checkedSources() const {
        QStringList ids;
        for (const CSettingsRow& r : screen->rows()->rows()) {
            if (r.section == CSettingsViewController::DataSourceSection && r.checked) {
                ids << r.identifier;
            }
        }
        return ids;
    }

    ScopedDataDir dataDir;
    /// Outlives the model, so the model's connections close before the server stops.
    FakeHttpServer feeds;
    NotificationCenter center;
    TestLocation location;
    RecordingMailComposer mail;
    std::unique_ptr<CRootViewModel> model;
    std::unique_ptr<CSettingsViewController> screen;
    std::unique_ptr<QAbstractItemModelTester> tester;
    std::unique_ptr<QSignalSpy> alerts;
    std::unique_ptr<QSignalSpy> questions;
    int changes = 0;
};

TEST_F(SettingsTest, RowsFollowTheSwitchesAndSourcesAreInNameOrder) {
    const QString sw = QString::number(CSettingsRow::Switch);
    const QString plain = QString::number(CSettingsRow::Plain);
    const QString fee = QString::number(CSettingsRow::Fee);
    struct Case {
        bool autoSelect, feeOn;
        QStringList section0, section2;
    } cases[] = {
        {false, false, {sw, plain}, {sw}},
        {true, true, {sw}, {sw, fee, plain}},
    };
    for (const Case& c : cases) {
        screen->setSwitch(0, 0, c.autoSelect);
        screen->setSwitch(2, 0, c.feeOn);
        EXPECT_EQ(kinds(0), c.section0) << c.autoSelect;
        EXPECT_EQ(kinds(2), c.section2) << c.feeOn;
        EXPECT_EQ(screen->rowCount(0), c.section0.size());
    }
    screen->setSwitch(0, 0, false);
    EXPECT_EQ(row(0, 1).title, QStringLiteral("US Dollar"));
    EXPECT_TRUE(row(0, 1).disclosure);

    // Display-name order, the add row last, the one checkmark on the selected source, the
    // built-in sources described by what they need and offer.
    const QStringList& ids = screen->availableCurrencyDataSources();
    ASSERT_GE(ids.size(), 7);
    QStringList names;
    for (int i = 0; i < ids.size(); ++i) {
        names << row(1, i).title;
        EXPECT_FALSE(row(1, i).deletable) << ids[i].toStdString();
    }
    QStringList sorted = names;
    std::sort(sorted.begin(), sorted.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    EXPECT_EQ(names, sorted);
    EXPECT_EQ(row(1, static_cast<int>(ids.size())).kind, CSettingsRow::AddSource);
    EXPECT_EQ(checkedSources(), QStringList{QStringLiteral("YFinance")});
}

TEST_F(SettingsTest, AutoSelectSwitchIsFixedWhenLocationIsRefused) {
    screen->setSwitch(0, 0, true);
    ASSERT_EQ(screen->rowCount(0), 1);
    location.status = LocationService::AuthorizationStatus::Denied;
    center.post(CBaseCurrencySelector::BaseCurrencyAutoselectDisabled, nullptr);
    EXPECT_EQ(screen->rowCount(0), 2) << "the base currency row is back";
    EXPECT_FALSE(row(0, 0).switchOn || row(0, 0).switchEnabled);
    screen->setSwitch(0, 0, true);
    EXPECT_FALSE(model->isBaseCurrencyAutoSelectEnabled());
}

TEST_F(SettingsTest, ChoosingASourceKeepsOneSelectedAndAsksAboutAMissingBase) {
    model->setBaseCurrencyCode(QStringLiteral("UAH"));
    changes = 0;
    screen->didSelectRow(1, rowOf(QStringLiteral("CBR")));
    EXPECT_EQ(model->getAllSelectedDataSources(), QStringList{QStringLiteral("CBR")});
    EXPECT_EQ(changes, 1) << "one change, never a moment without a source";
    EXPECT_EQ(questions->count(), 0) << "CBR offers UAH";

    // ECB lacks UAH: asked once; No leaves the base, Yes opens the picker on the offered codes.
    for (bool yes : {false, true}) {
        screen->didSelectRow(1, rowOf(QStringLiteral("ECB")));
        ASSERT_EQ(questions->count(), yes ? 2 : 1);
        EXPECT_EQ(questions->last().at(1).toString(), QStringLiteral("No"));
        screen->answerBaseCurrencyUnavailable(yes);
    }
    EXPECT_EQ(checkedSources(), QStringList{QStringLiteral("ECB")});
    EXPECT_EQ(model->getBaseCurrencyCode(), QStringLiteral("UAH"));
    auto* picker = qobject_cast<CCurrencyPickerViewController*>(screen->presentedController());
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->totalCount(), model->getAvailableCurrencyCodes().size());
    EXPECT_FALSE(picker->allowsMultipleSelection());
    picker->didSelectCurrency(QStringLiteral("EUR"));
    EXPECT_EQ(model->getBaseCurrencyCode(), QStringLiteral("EUR"));
    EXPECT_EQ(screen->presentedController(), nullptr);
    EXPECT_EQ(row(0, 1).title, QStringLiteral("Euro"));
    EXPECT_EQ(questions->count(), 2);
}

TEST_F(SettingsTest, FeeIsStoredOnlyWithinZeroToHundred) {
    screen->setSwitch(2, 0, true);
    struct Case {
        const char* typed;
        bool accepted;
        const char* shown;
    } cases[] = {
        {"2,5", true, "2.5 %"},    {"2.5", true, "2.5 %"},    {"0", true, "0 %"},
        {"100", true, "100 %"},    {"100.5", false, "100 %"}, {"-1", false, "100 %"},
        {"abc", false, "100 %"},   {"", false, "100 %"},      {"NaN", false, "100 %"},
        {"2,5.1", false, "100 %"}, {"5%", false, "100 %"},    {" 1,75 ", true, "1.75 %"},
    };
    for (const Case& c : cases) {
        alerts->clear();
        screen->beginFeeEditing();
        EXPECT_EQ(screen->commitFee(QString::fromLatin1(c.typed)), c.accepted) << c.typed;
        EXPECT_EQ(lastAlert(),
                  c.accepted ? QString() : QStringLiteral("Enter a percentage from 0 to 100"))
            << c.typed;
        EXPECT_EQ(screen->feeFieldText(), QString::fromLatin1(c.typed)) << "the entry stays";
        screen->endFeeEditing();
        EXPECT_EQ(screen->feeFieldText(), QString::fromLatin1(c.shown)) << c.typed;
    }
    screen->commitFee(QStringLiteral("2,5"));
    screen->endFeeEditing();
    screen->beginFeeEditing();
    EXPECT_EQ(screen->feeFieldText(), QStringLiteral("2.5")) << "edited without \" %\"";
    QSignalSpy end(screen.get(), &CSettingsViewController::feeEditingEndRequested);
    screen->cancelFeeEditing();
    EXPECT_EQ(end.count(), 1);
    screen->endFeeEditing();
    EXPECT_EQ(model->getConversionFee()->toString(), QStringLiteral("2.5"));

    screen->didSelectRow(2, 2);
    EXPECT_TRUE(model->isSubtractFeeEnabled() && row(2, 2).checked);
}

TEST_F(SettingsTest, UserAddedSourcesAreAddedOnceAndDeletedWithTheSelection) {
    feeds.answer(QStringLiteral("/feed.xml"),
                 FakeHttpServer::Answer::file(QStringLiteral("custom/feed-nologo.xml")));
    const QString url = feeds.url(QStringLiteral("/feed.xml"));

    screen->didSelectRow(1, static_cast<int>(screen->availableCurrencyDataSources().size()));
    auto* picker = qobject_cast<CDataSourcePickerViewController*>(screen->presentedController());
    ASSERT_NE(picker, nullptr);
    QSignalSpy pickerAlerts(picker, &CViewController::alertRequested);
    EXPECT_TRUE(picker->tryProcessEnteredUrl(QStringLiteral("  ") + url + QStringLiteral("\n")));
    EXPECT_EQ(screen->presentedController(), nullptr) << "accepted: the add screen closes";
    ASSERT_GE(rowOf(url), 0);
    EXPECT_FALSE(model->isDataSourceSelected(url));
    EXPECT_TRUE(row(1, rowOf(url)).kind == CSettingsRow::CustomSource &&
                row(1, rowOf(url)).deletable);
    // The metadata refresh names the new source.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return row(1, rowOf(url)).title.trimmed() == QStringLiteral("Spaced name"); },
        10000));
    EXPECT_EQ(row(1, rowOf(url)).subtitle, QStringLiteral("Currencies available: 2"));

    // The same address again: refused, the add screen stays open.
    screen->onAddDataSourceCellSelect();
    picker = qobject_cast<CDataSourcePickerViewController*>(screen->presentedController());
    ASSERT_NE(picker, nullptr);
    QSignalSpy again(picker, &CViewController::alertRequested);
    picker->tryProcessEnteredUrl(url);
    ASSERT_EQ(again.count(), 1);
    EXPECT_EQ(again.first().at(0).toString(), QStringLiteral("This source has been added already"));
    EXPECT_EQ(screen->presentedController(), picker);
    picker->onCancel();

    // Built-in sources cannot be deleted; the selected user-added one hands over to the first.
    const int cbr = rowOf(QStringLiteral("CBR"));
    screen->deleteRow(1, cbr);
    EXPECT_EQ(rowOf(QStringLiteral("CBR")), cbr);
    screen->didSelectRow(1, rowOf(url));
    EXPECT_EQ(checkedSources(), QStringList{url});
    screen->deleteRow(1, rowOf(url));
    EXPECT_EQ(rowOf(url), -1);
    EXPECT_FALSE(CCustomDataSourceStorageManager::sharedInstance().getDataSourceWithUrl(url));
    EXPECT_EQ(checkedSources(), QStringList{screen->availableCurrencyDataSources().first()});
    EXPECT_EQ(model->getAllSelectedDataSources().size(), 1);
}

// The mail program's absence or failure is told by the screens' shared mail path (the info
// screen's tests).
TEST_F(SettingsTest, CurrencyRequestIsMailedToSupportOneCodePerLine) {
    // Two codes no source offers, whatever the catalogue holds.
    QStringList unoffered = CurrencyNames::isoCurrencyCodes();
    const CCurrencyDataSourceInfo& info = model->currencyDataSourceInfo();
    for (const QString& id : info.getAllDataSourceIds()) {
        for (const QString& code : info.getAvailableCurrencyCodes(id)) {
            unoffered.removeAll(code);
        }
    }
    ASSERT_GE(unoffered.size(), 2);
    screen->didSelectRow(3, 0);
    auto* request = qobject_cast<CRequestCurrencyViewController*>(screen->presentedController());
    ASSERT_NE(request, nullptr);
    ASSERT_TRUE(request->enterCode(unoffered[0].toLower()));
    ASSERT_TRUE(request->enterCode(unoffered[1]));
    request->onDoneClick();
    EXPECT_EQ(screen->presentedController(), nullptr) << "the request screen closes first";
    ASSERT_EQ(mail.messages.size(), 1);
    const MailMessage& m = mail.messages.first();
    EXPECT_EQ((QStringList{m.subject, m.recipients.join(u','), m.body}),
              (QStringList{"Numiva Pro currency request", "support@numiva.app",
                           unoffered[0] + "\r\n" + unoffered[1]}));
    EXPECT_EQ(lastAlert(), QString());
}

}  // namespace
