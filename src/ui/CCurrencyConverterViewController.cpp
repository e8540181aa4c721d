#include "CCurrencyConverterViewController.h"

#include "CUISettings.h"
#include "NumberFormatter.h"

CCurrencyConverterViewController::CCurrencyConverterViewController(CCBRCurrencyInfoPtr currencyInfo,
                                                                   bool tablet, QObject* parent,
                                                                   const QString& decimalSeparator)
    : CViewController(QStringLiteral("CurrencyConverterView"), tablet, parent),
      currencyInfo_(std::move(currencyInfo)),
      localeSeparator_(decimalSeparator.isEmpty() ? CUISettings::displayLocale().decimalPoint()
                                                  : decimalSeparator) {
    setTitle(localized(QStringLiteral("Converter")));
    resetConverter();
}

QString CCurrencyConverterViewController::currencyCode() const {
    return currencyInfo_ ? currencyInfo_->isoTextCode : QString();
}

QString CCurrencyConverterViewController::getFormattedNumberText(const QString& text) {
    NumberFormatter::Options options;
    options.groupingSeparator = QStringLiteral(" ");
    options.decimalSeparator = QStringLiteral(".");
    options.minimumFractionDigits = 0;
    options.maximumFractionDigits = 12;
    options.alwaysShowDecimalSeparator = text.contains(u'.');
    const Decimal value = Decimal::fromString(text.isEmpty() ? QStringLiteral("0") : text);
    return NumberFormatter(options).format(value);
}

void CCurrencyConverterViewController::show(const QString& typed, const QString& shown) {
    if (typed == convertedValueText_ && shown == displayText_) {
        return;
    }
    convertedValueText_ = typed;
    displayText_ = shown;
    emit displayTextChanged();
}

void CCurrencyConverterViewController::resetConverter() {
    show(QStringLiteral("0"), QStringLiteral("0"));
}

void CCurrencyConverterViewController::onDigitClick(const QString& digit) {
    if (displayText_.size() > MaximumDisplayLength) {
        return;
    }
    // Keys are the digits only; anything else is not ours to type.
    if (digit.size() != 1 || digit.front() < u'0' || digit.front() > u'9') {
        return;
    }
    QString typed = convertedValueText_ == u"0" ? QString() : convertedValueText_;
    typed += digit;
    show(typed, getFormattedNumberText(typed));
}

void CCurrencyConverterViewController::onDecimalSeparatorClick() {
    if (displayText_.size() > MaximumDisplayLength || convertedValueText_.contains(u'.')) {
        return;
    }
    const QString typed = convertedValueText_ + QLatin1Char('.');
    show(typed, getFormattedNumberText(typed));
}

void CCurrencyConverterViewController::onConvertClick() {
    if (delegate_ != nullptr) {
        delegate_->currencyConverter(this, Decimal::fromString(convertedValueText_));
    }
}

void CCurrencyConverterViewController::onBackspaceClick() {
    QString typed = convertedValueText_;
    typed.chop(1);
    if (typed.isEmpty()) {
        resetConverter();
        return;
    }
    show(typed, getFormattedNumberText(typed));
}

bool CCurrencyConverterViewController::handleKey(int key, const QString& text) {
    switch (key) {
        case Qt::Key_Backspace:
            onBackspaceClick();
            return true;
        case Qt::Key_Delete:
            onClearClick();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            onConvertClick();
            return true;
        case Qt::Key_Escape:
            onCancelClick();
            return true;
        default:
            break;
    }
    if (text.size() == 1 && text.front() >= u'0' && text.front() <= u'9') {
        onDigitClick(text);
        return true;
    }
    // A comma is taken only where the locale writes it as the decimal separator: elsewhere
    // it would be a digit group, and guessing would change the amount.
    if (!text.isEmpty() && (text == u"." || text == localeSeparator_)) {
        onDecimalSeparatorClick();
        return true;
    }
    return false;
}

QString CCurrencyConverterViewController::conversionDateText() const {
    if (!conversionDate_.isValid()) {
        return localized(QStringLiteral("TodaysRates"));
    }
    return localized(QStringLiteral("RatesOfDay"))
        .arg(CUISettings::displayLocale().toString(conversionDate_, QStringLiteral("d MMMM yyyy")));
}

bool CCurrencyConverterViewController::isSelectableDay(int year, int month, int day) const {
    const QDate date(year, month, day);
    return date.isValid() && date <= today();
}

bool CCurrencyConverterViewController::setConversionDay(int year, int month, int day) {
    QDate date(year, month, day);
    if (date.isValid() && date > today()) {
        return false;
    }
    if (date == today()) {
        date = QDate();
    }
    if (date != conversionDate_) {
        conversionDate_ = date;
        emit conversionDateChanged();
    }
    return true;
}
