#include "CCurrencyPickerViewController.h"
#include "CPopoverGlobalHolder.h"
#include "Localization.h"

#include <QAbstractItemModelTester>
#include <QLocale>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

/// Records every report of the picker.
struct Receiver : CCurrencyPickerViewDelegate {
    void currencyPicker(CCurrencyPickerViewController*, const QStringList& codes) override {
        reports.append(codes);
    }
    QList<QStringList> reports;
};

/// The codes of a list model's rows, in order.
QStringList codesOf(CCurrencyPickerListModel* model) {
    QStringList codes;
    for (int row = 0; row < model->rowCount(); ++row) {
        codes << model->index(row).data(CCurrencyPickerListModel::CodeRole).toString();
    }
    return codes;
}

const QStringList kCodes{"USD", "EUR", "GBP", "JPY", "CHF", "RUB", "SEK", "NOK", "XAU", "QQQ"};

class PickerTest : public ::testing::Test {
protected:
    void SetUp() override {
        Localization::install(QStringLiteral("en"));
        picker = std::make_unique<CCurrencyPickerViewController>(kCodes, false, nullptr,
                                                                 QStringLiteral("en_US"));
        picker->setDelegate(&receiver);
        mainTester = std::make_unique<QAbstractItemModelTester>(
            picker->mainModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
        searchTester = std::make_unique<QAbstractItemModelTester>(
            picker->searchModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    }

    /// Taps the row of `code` in the table now shown.
    void tap(const QString& code) {
        CCurrencyPickerListModel* model =
            picker->isSearching() ? picker->searchModel() : picker->mainModel();
        const int row = model->rowOfCode(code);
        ASSERT_GE(row, 0) << code.toStdString();
        picker->didSelectRow(picker->isSearching(), row);
    }

    bool checked(CCurrencyPickerListModel* model, const QString& code) {
        return model->index(model->rowOfCode(code))
            .data(CCurrencyPickerListModel::CheckedRole)
            .toBool();
    }

    Receiver receiver;
    std::unique_ptr<CCurrencyPickerViewController> picker;
    std::unique_ptr<QAbstractItemModelTester> mainTester;
    std::unique_ptr<QAbstractItemModelTester> searchTester;
};

TEST_F(PickerTest, SectionsFollowTheLocalesAlphabetAndSortByName) {
    const QStringList titles = picker->sectionTitles();
    ASSERT_GE(titles.size(), 27);
    EXPECT_TRUE(titles.contains(QStringLiteral("A")) && titles.contains(QStringLiteral("Z")));
    EXPECT_EQ(picker->sectionIndexTitles(), titles);
    const auto& sections = picker->originalDataSource();
    ASSERT_EQ(sections.size(), titles.size());

    // "Swedish Krona" and "Swiss Franc" share S, in collation order.
    const int s = static_cast<int>(titles.indexOf(QStringLiteral("S")));
    QStringList inS;
    for (const CCurrencyPickerItemInfo& item : sections[s]) {
        inS << item.currencyCode;
    }
    EXPECT_EQ(inS, (QStringList{"SEK", "CHF"}));
    EXPECT_EQ(picker->titleForHeaderInSection(s, false), QStringLiteral("S"));
    const int q = static_cast<int>(titles.indexOf(QStringLiteral("Q")));
    EXPECT_EQ(picker->titleForHeaderInSection(q, false), QStringLiteral("Q")) << "QQQ is named QQQ";
    const int z = static_cast<int>(titles.indexOf(QStringLiteral("Z")));
    EXPECT_TRUE(sections[z].isEmpty());
    EXPECT_EQ(picker->titleForHeaderInSection(z, false), QString()) << "no header when empty";

    EXPECT_EQ(picker->mainModel()->rowCount(), kCodes.size()) << "every code once";
    const QModelIndex first = picker->mainModel()->index(0);
    QStringList texts;
    for (const int role :
         {CCurrencyPickerListModel::NameRole, CCurrencyPickerListModel::SectionRole,
          CCurrencyPickerListModel::CodeTextRole}) {
        texts << first.data(role).toString();
    }
    EXPECT_EQ(texts, (QStringList{"British Pound", "B", "GBP"}));
}

TEST_F(PickerTest, SingleSelectionReportsOneCodeAtOnceWithoutDone) {
    EXPECT_EQ(picker->title() + " / " + picker->prompt(),
              QStringLiteral("Select currency / Currencies available: 10"));
    EXPECT_FALSE(picker->showsDoneButton());
    tap(QStringLiteral("JPY"));
    EXPECT_EQ(receiver.reports, QList<QStringList>{{"JPY"}});
    EXPECT_TRUE(picker->selectedCurrencies().isEmpty());
}

TEST_F(PickerTest, ALimitOfTwoReportsBothCodesInTapOrder) {
    picker->setAllowsMultipleSelection(true);
    picker->setMaxSelectedItems(2);
    EXPECT_FALSE(picker->showsDoneButton()) << "with a limit only Cancel";
    tap(QStringLiteral("RUB"));
    EXPECT_TRUE(receiver.reports.isEmpty());
    EXPECT_TRUE(checked(picker->mainModel(), QStringLiteral("RUB")));
    tap(QStringLiteral("RUB"));  // unmarks
    EXPECT_FALSE(checked(picker->mainModel(), QStringLiteral("RUB")));
    EXPECT_TRUE(receiver.reports.isEmpty());
    tap(QStringLiteral("GBP"));
    tap(QStringLiteral("EUR"));
    EXPECT_EQ(receiver.reports, (QList<QStringList>{{"GBP", "EUR"}}));
}

TEST_F(PickerTest, MultipleSelectionWithoutLimitReportsOnDoneAndRefusesAnEmptyDone) {
    picker->setAllowsMultipleSelection(true);
    EXPECT_EQ(picker->title(), QStringLiteral("Select currencies"));
    EXPECT_TRUE(picker->showsDoneButton());
    QSignalSpy alerts(picker.get(), &CViewController::alertRequested);
    picker->onDoneClick();
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts[0][0].toString(), QStringLiteral("No currency is selected"));
    EXPECT_TRUE(receiver.reports.isEmpty());

    QSignalSpy changed(picker->mainModel(), &QAbstractItemModel::dataChanged);
    tap(QStringLiteral("CHF"));
    tap(QStringLiteral("XAU"));
    tap(QStringLiteral("USD"));
    EXPECT_EQ(changed.size(), 3);
    const QModelIndex chf =
        picker->mainModel()->index(picker->mainModel()->rowOfCode(QStringLiteral("CHF")));
    EXPECT_EQ(chf.data(CCurrencyPickerListModel::CodeTextRole).toString(), QString())
        << "a checkmark instead";
    EXPECT_TRUE(receiver.reports.isEmpty());
    picker->onDoneClick();
    EXPECT_EQ(receiver.reports, (QList<QStringList>{{"CHF", "XAU", "USD"}}));
}

TEST_F(PickerTest, SearchFindsByCodeOrNameInAnyCaseAndKeepsEverySection) {
    picker->setSearchText(QStringLiteral("eur"));
    EXPECT_TRUE(picker->isSearching());
    EXPECT_EQ(codesOf(picker->searchModel()), QStringList{"EUR"});
    EXPECT_EQ(picker->filteredDataSource().size(), picker->sectionTitles().size());

    picker->setSearchText(QStringLiteral("KRONA"));
    EXPECT_EQ(codesOf(picker->searchModel()), QStringList{"SEK"});
    const int n = static_cast<int>(picker->sectionTitles().indexOf(QStringLiteral("N")));
    EXPECT_EQ(picker->titleForHeaderInSection(n, true), QString())
        << "Norwegian Krone does not match";

    picker->setSearchText(QStringLiteral("zzz"));
    EXPECT_EQ(picker->searchModel()->rowCount(), 0);
    picker->setSearchText(QString());
    EXPECT_FALSE(picker->isSearching());
}

TEST(PickerKeys, KeysTheSearchFieldLeavesCancelOrChooseOnlyWhatIsUnambiguous) {
    struct Case {
        bool multiple;
        const char* search;
        int key;
        bool taken;
        QStringList report;
    };
    const Case cases[] = {
        {false, "", Qt::Key_Escape, true, {}},     {false, "krona", Qt::Key_Return, true, {"SEK"}},
        {false, "kr", Qt::Key_Enter, false, {}},   {false, "", Qt::Key_Return, false, {}},
        {true, "krona", Qt::Key_Return, true, {}}, {false, "krona", Qt::Key_A, false, {}},
    };
    for (const Case& c : cases) {
        CCurrencyPickerViewController keyed(kCodes, false, nullptr, QStringLiteral("en_US"));
        Receiver heard;
        keyed.setDelegate(&heard);
        keyed.setAllowsMultipleSelection(c.multiple);
        keyed.setSearchText(QString::fromLatin1(c.search));
        EXPECT_EQ(keyed.handleKey(c.key), c.taken) << c.search << " " << c.key;
        EXPECT_EQ(heard.reports.value(0), c.report) << c.search << " " << c.key;
    }
}

TEST(PickerLocale, RussianNamesFallIntoCyrillicSections) {
    Localization::install(QStringLiteral("ru"));
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    CCurrencyPickerViewController picker({"USD", "EUR", "RUB"}, false);
    QLocale::setDefault(QLocale::c());
    const QStringList titles = picker.sectionTitles();
    EXPECT_TRUE(titles.contains(QStringLiteral("Д")) && titles.contains(QStringLiteral("Я")));
    // Доллар США, Евро, Российский рубль.
    EXPECT_EQ(codesOf(picker.mainModel()), (QStringList{"USD", "EUR", "RUB"}));
    EXPECT_EQ(picker.mainModel()->index(0).data(CCurrencyPickerListModel::SectionRole).toString(),
              QStringLiteral("Д"));
    EXPECT_EQ(picker.mainModel()->index(0).data(CCurrencyPickerListModel::NameRole).toString(),
              QStringLiteral("Доллар США"))
        << "names start with a capital in lists";
    Localization::install(QStringLiteral("en"));
}

}  // namespace
