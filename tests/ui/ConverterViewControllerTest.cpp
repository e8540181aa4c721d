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

struct KeysCase {
    const char* keys;
    const char* shown;
    const char* typed;
};

class Keypad : public ::testing::TestWithParam<KeysCase> {};

TEST_P(Keypad, ShowsTheTypedAmount) {
    CCurrencyConverterViewController keypad(rowFor(QStringLiteral("EUR")), false);
    type(keypad, QString::fromLatin1(GetParam().keys));
    EXPECT_EQ(keypad.displayText(), QString::fromUtf8(GetParam().shown)) << GetParam().keys;
    EXPECT_EQ(keypad.convertedValueText(), QString::fromLatin1(GetParam().typed))
        << GetParam().keys;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Keypad,
    ::testing::Values(
        KeysCase{"", "0", "0"}, KeysCase{"5", "5", "5"}, KeysCase{"0", "0", "0"},
        KeysCase{"00", "0", "0"}, KeysCase{".5", "0.5", "0.5"}, KeysCase{"0.5", "0.5", "0.5"},
        KeysCase{".", "0.", "0."}, KeysCase{"1.2.3", "1.23", "1.23"}, KeysCase{"1..", "1.", "1."},
        KeysCase{"1234567", "1 234 567", "1234567"}, KeysCase{"1234.", "1 234.", "1234."},
        KeysCase{"1.0", "1.", "1.0"}, KeysCase{"1.05", "1.05", "1.05"},
        KeysCase{"1.000", "1.", "1.000"}, KeysCase{"123456789", "123 456 789", "123456789"},
        KeysCase{"1234567890", "1 234 567 890", "1234567890"},
        KeysCase{"12345678901", "1 234 567 890", "1234567890"},
        KeysCase{"1234567890.", "1 234 567 890", "1234567890"},
        KeysCase{"0.12345678", "0.12345678", "0.12345678"}, KeysCase{"12C", "0", "0"},
        KeysCase{"12C3", "3", "3"}, KeysCase{"9999999999", "9 999 999 999", "9999999999"}));

/// A hardware keyboard: "<" Backspace, "#" Delete, "a" a letter; every other character types
/// itself. The keypad's locale writes `separator` as its decimal separator.
struct KeyboardCase {
    const char* separator;
    const char* keys;
    const char* typed;
    bool allTaken;
};

class Keyboard : public ::testing::TestWithParam<KeyboardCase> {};

TEST_P(Keyboard, TypesLikeTheKeypad) {
    const KeyboardCase& c = GetParam();
    CCurrencyConverterViewController keypad(rowFor(QStringLiteral("EUR")), false, nullptr,
                                            QString::fromLatin1(c.separator));
    bool allTaken = true;
    for (const char key : std::string(c.keys)) {
        const int code = key == '<'   ? int(Qt::Key_Backspace)
                         : key == '#' ? int(Qt::Key_Delete)
                                      : int(key);
        const QString text = key == '<' || key == '#' ? QString() : QString(QChar::fromLatin1(key));
        allTaken = keypad.handleKey(code, text) && allTaken;
    }
    EXPECT_EQ(keypad.convertedValueText(), QString::fromLatin1(c.typed)) << c.keys;
    EXPECT_EQ(keypad.displayText(), CCurrencyConverterViewController::getFormattedNumberText(
                                        keypad.convertedValueText()));
    EXPECT_EQ(allTaken, c.allTaken) << c.keys;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, Keyboard,
    ::testing::Values(KeyboardCase{".", "12<", "1", true}, KeyboardCase{".", "1<<", "0", true},
                      KeyboardCase{".", "1.5<", "1.", true}, KeyboardCase{".", "1.<5", "15", true},
                      KeyboardCase{".", "12#3", "3", true}, KeyboardCase{",", "1,5", "1.5", true},
                      KeyboardCase{",", "1.5,", "1.5", true}, KeyboardCase{".", "1,5", "15", false},
                      KeyboardCase{".", "1a2", "12", false}, KeyboardCase{".", "<", "0", true}));

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

}  // namespace
