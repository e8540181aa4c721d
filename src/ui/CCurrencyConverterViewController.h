#pragma once

#include "CCBRCurrencyInfo.h"
#include "CViewController.h"
#include "Decimal.h"

#include <QDate>

#include <functional>

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
    /// True while the amount converts at a past day's rates.
    Q_PROPERTY(bool hasConversionDate READ hasConversionDate NOTIFY conversionDateChanged)
    /// "Today's rates", or the chosen day in the display locale's long form.
    Q_PROPERTY(QString conversionDateText READ conversionDateText NOTIFY conversionDateChanged)
    /// The day the calendar opens on: the chosen day, or today.
    Q_PROPERTY(int shownYear READ shownYear NOTIFY conversionDateChanged)
    Q_PROPERTY(int shownMonth READ shownMonth NOTIFY conversionDateChanged)
    /// The chosen day of the month; 0 for today's rates.
    Q_PROPERTY(int chosenDay READ chosenDay NOTIFY conversionDateChanged)

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

    /// The day chosen for the rates; invalid for today's.
    QDate conversionDate() const { return conversionDate_; }
    bool hasConversionDate() const { return conversionDate_.isValid(); }
    QString conversionDateText() const;
    int chosenDay() const { return conversionDate_.isValid() ? conversionDate_.day() : 0; }
    int shownYear() const { return (conversionDate_.isValid() ? conversionDate_ : today()).year(); }
    int shownMonth() const {
        return (conversionDate_.isValid() ? conversionDate_ : today()).month();
    }
    /// Chooses the day of the rates; today (or a day that is not one) means today's rates.
    /// Returns false, choosing nothing, for a day in the future.
    Q_INVOKABLE bool setConversionDay(int year, int month, int day);
    /// The day row: opens the calendar.
    Q_INVOKABLE void onDateRowClick() { emit dateChoiceRequested(); }
    /// Back to today's rates.
    Q_INVOKABLE void clearConversionDate() { setConversionDay(0, 0, 0); }
    /// Whether a day can be chosen (not after today).
    Q_INVOKABLE bool isSelectableDay(int year, int month, int day) const;
    /// Today's date for the choice (the local date by default).
    void setToday(std::function<QDate()> today) { today_ = std::move(today); }

signals:
    void displayTextChanged();
    void conversionDateChanged();
    void dateChoiceRequested();

private:
    void show(const QString& typed, const QString& shown);

    CCBRCurrencyInfoPtr currencyInfo_;
    CCurrencyConverterViewDelegate* delegate_ = nullptr;
    QString convertedValueText_;
    QString displayText_;
    QString localeSeparator_;
    QDate conversionDate_;
    std::function<QDate()> today_;

    QDate today() const { return today_ ? today_() : QDate::currentDate(); }
};
