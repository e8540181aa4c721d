#include "CCurrencyConverterViewController.h"
#include "CPopoverGlobalHolder.h"
#include "CViewController.h"
#include "Localization.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

CCBRCurrencyInfoPtr rowFor(const QString& code) {
    auto row = std::make_shared<CCBRCurrencyInfo>();
    row->isoTextCode = code;
    return row;
}

/// Records what the keypad hands over.
struct Receiver : CCurrencyConverterViewDelegate {
    void currencyConverter(CCurrencyConverterViewController* converter,
                           const Decimal& value) override {
        from = converter;
        values.append(value);
    }
    CCurrencyConverterViewController* from = nullptr;
    QList<Decimal> values;
};

/// Presses keys: digits, "." for the separator, "C" for clear.
void type(CCurrencyConverterViewController& keypad, const QString& keys) {
    for (QChar key : keys) {
        if (key == u'.') {
            keypad.onDecimalSeparatorClick();
        } else if (key == u'C') {
            keypad.onClearClick();
        } else {
            keypad.onDigitClick(QString(key));
        }
    }
}

TEST(Keypad, ShowsTheTypedAmount) {
    // Keys, the text shown, the amount typed.
    // clang-format off
    const char* const cases[][3] = {
        {"", "0", "0"}, {"5", "5", "5"}, {"0", "0", "0"}, {"00", "0", "0"}, {".5", "0.5", "0.5"},
        {"0.5", "0.5", "0.5"}, {".", "0.", "0."}, {"1.2.3", "1.23", "1.23"}, {"1..", "1.", "1."},
        {"1234567", "1 234 567", "1234567"}, {"1234.", "1 234.", "1234."}, {"1.0", "1.", "1.0"},
        {"1.05", "1.05", "1.05"}, {"1.000", "1.", "1.000"},
        {"1234567890", "1 234 567 890", "1234567890"},
        {"12345678901", "1 234 567 890", "1234567890"},
        {"1234567890.", "1 234 567 890", "1234567890"}, {"0.12345678", "0.12345678", "0.12345678"},
        {"12C", "0", "0"}, {"12C3", "3", "3"}, {"9999999999", "9 999 999 999", "9999999999"}};
    // clang-format on
    for (const auto& [keys, shown, typed] : cases) {
        CCurrencyConverterViewController keypad(rowFor(QStringLiteral("EUR")), false);
        type(keypad, QString::fromLatin1(keys));
        EXPECT_EQ(keypad.displayText() + " / " + keypad.convertedValueText(),
                  QString::fromUtf8(shown) + " / " + QString::fromLatin1(typed))
            << keys;
    }
}

/// A hardware keyboard: "<" Backspace, "#" Delete, "a" a letter; every other character types
/// itself. The keypad's locale writes the first column as its decimal separator.
TEST(Keyboard, TypesLikeTheKeypad) {
    // Separator, keys, the amount typed, whether every key was taken.
    const std::tuple<const char*, const char*, const char*, bool> cases[] = {
        {".", "12<", "1", true},    {".", "1<<", "0", true},   {".", "1.5<", "1.", true},
        {".", "1.<5", "15", true},  {".", "12#3", "3", true},  {",", "1,5", "1.5", true},
        {",", "1.5,", "1.5", true}, {".", "1,5", "15", false}, {".", "1a2", "12", false},
        {".", "<", "0", true}};
    for (const auto& [separator, keys, typed, taken] : cases) {
        CCurrencyConverterViewController keypad(rowFor(QStringLiteral("EUR")), false, nullptr,
                                                QString::fromLatin1(separator));
        bool allTaken = true;
        for (const char key : std::string(keys)) {
            const int code = key == '<'   ? int(Qt::Key_Backspace)
                             : key == '#' ? int(Qt::Key_Delete)
                                          : int(key);
            const QString text =
                key == '<' || key == '#' ? QString() : QString(QChar::fromLatin1(key));
            allTaken = keypad.handleKey(code, text) && allTaken;
        }
        EXPECT_EQ(keypad.convertedValueText(), QString::fromLatin1(typed)) << keys;
        EXPECT_EQ(keypad.displayText(), CCurrencyConverterViewController::getFormattedNumberText(
                                            keypad.convertedValueText()));
        EXPECT_EQ(allTaken, taken) << keys;
    }
}

TEST(Keypad, DoneOrEnterHandsTheTypedAmountOverAndEscapeCancelsWithoutReporting) {
    CViewController presenter(QStringLiteral("RootView"), false);
    auto* keypad = new CCurrencyConverterViewController(rowFor(QStringLiteral("EUR")), false);
    Receiver receiver;
    keypad->setDelegate(&receiver);
    presenter.presentViewController(keypad);
    type(*keypad, QStringLiteral("12.50"));
    keypad->onConvertClick();
    keypad->onClearClick();
    keypad->onConvertClick();  // nothing typed: 0
    type(*keypad, QStringLiteral("7."));
    keypad->onConvertClick();
    keypad->onClearClick();
    keypad->handleKey(Qt::Key_4, QStringLiteral("4"));
    EXPECT_TRUE(keypad->handleKey(Qt::Key_Enter, QStringLiteral("\r")));
    QStringList handed;
    for (const Decimal& value : receiver.values) {
        handed << value.toString();
    }
    EXPECT_EQ(handed, (QStringList{"12.5", "0", "7", "4"}));
    EXPECT_EQ(receiver.from, keypad);
    EXPECT_TRUE(keypad->handleKey(Qt::Key_Escape, QString()));
    EXPECT_EQ(presenter.presentedController(), nullptr);
    EXPECT_EQ(receiver.values.size(), 4);
}

TEST(Keypad, ThePastDayIsChosenNeverInTheFuture) {
    Localization::install(QStringLiteral("en"));
    CCurrencyConverterViewController keypad(rowFor(QStringLiteral("EUR")), false);
    keypad.setToday([] { return QDate(2026, 12, 8); });
    QSignalSpy changed(&keypad, &CCurrencyConverterViewController::conversionDateChanged);
    EXPECT_EQ(keypad.conversionDateText(), QStringLiteral("Today's rates"));
    EXPECT_FALSE(keypad.setConversionDay(2026, 12, 9));
    EXPECT_FALSE(keypad.isSelectableDay(2026, 12, 9));
    EXPECT_TRUE(keypad.setConversionDay(2024, 1, 6));
    EXPECT_EQ(keypad.conversionDate(), QDate(2024, 1, 6));
    EXPECT_EQ(keypad.conversionDateText(), QStringLiteral("Rates of 6 January 2024"));
    EXPECT_EQ(keypad.shownYear() * 100 + keypad.shownMonth(), 202401);
    EXPECT_TRUE(keypad.setConversionDay(2026, 12, 8));  // today: today's rates
    EXPECT_FALSE(keypad.hasConversionDate());
    EXPECT_EQ(changed.count(), 2);
}

}  // namespace
