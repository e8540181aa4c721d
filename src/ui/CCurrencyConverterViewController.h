#pragma once

#include "CCBRCurrencyInfo.h"
#include "CViewController.h"
#include "Decimal.h"

class CCurrencyConverterViewController;

/// Receives the amount typed on the keypad.
class CCurrencyConverterViewDelegate {
public:
    virtual ~CCurrencyConverterViewDelegate() = default;
    virtual void currencyConverter(CCurrencyConverterViewController* converter,
                                   const Decimal& value) = 0;
};

/// The converter keypad: collects an amount digit by digit for one currency and hands it to
/// its delegate on Done. It converts nothing itself.
class CCurrencyConverterViewController : public CViewController {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Screen controllers are made in C++")

    /// The code shown on the left of the amount.
    Q_PROPERTY(QString currencyCode READ currencyCode CONSTANT)
    /// The amount as shown: grouped with blanks, at most one ".".
    Q_PROPERTY(QString displayText READ displayText NOTIFY displayTextChanged)
    /// The amount exactly as typed; "0" when nothing is typed.
    Q_PROPERTY(QString convertedValueText READ convertedValueText NOTIFY displayTextChanged)

public:
    /// Longer shown amounts accept no more keys.
    static constexpr int MaximumDisplayLength = 11;

    /// `decimalSeparator` empty: the display locale's.
    CCurrencyConverterViewController(CCBRCurrencyInfoPtr currencyInfo, bool tablet,
                                     QObject* parent = nullptr,
                                     const QString& decimalSeparator = {});

    CCBRCurrencyInfoPtr currencyInfo() const { return currencyInfo_; }
    CCurrencyConverterViewDelegate* delegate() const { return delegate_; }
    void setDelegate(CCurrencyConverterViewDelegate* delegate) { delegate_ = delegate; }

    QString currencyCode() const;
    QString displayText() const { return displayText_; }
    QString convertedValueText() const { return convertedValueText_; }

    /// The display form of a typed amount: blanks between groups of three digits, "." as
    /// separator and shown whenever typed, up to 12 fraction digits, trailing zeros hidden.
    static QString getFormattedNumberText(const QString& text);

    Q_INVOKABLE void resetConverter();
    /// The view is about to appear: the keypad starts again from "0".
    Q_INVOKABLE void viewWillAppear() { resetConverter(); }
    Q_INVOKABLE void onDigitClick(const QString& digit);
    Q_INVOKABLE void onDecimalSeparatorClick();
    Q_INVOKABLE void onClearClick() { resetConverter(); }
    /// Takes back the last typed character; nothing typed left gives "0".
    Q_INVOKABLE void onBackspaceClick();
    /// A key of a hardware keyboard (`key` a Qt::Key, `text` what it types): digits, "." or
    /// the locale's decimal separator, Backspace, Delete (clear), Enter/Return (Done) and
    /// Escape (Cancel). Returns whether the key was one of these.
    Q_INVOKABLE bool handleKey(int key, const QString& text);
    /// Done: hands the typed amount to the delegate, which closes the keypad.
    Q_INVOKABLE void onConvertClick();
    /// Cancel: closes the keypad; the delegate hears nothing.
    Q_INVOKABLE void onCancelClick() { dismissSelf(true); }

signals:
    void displayTextChanged();

private:
    void show(const QString& typed, const QString& shown);

    CCBRCurrencyInfoPtr currencyInfo_;
    CCurrencyConverterViewDelegate* delegate_ = nullptr;
    QString convertedValueText_;
    QString displayText_;
    QString localeSeparator_;
};
