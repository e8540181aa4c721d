#include "CCurrencyConverterViewController.h"

#include "NumberFormatter.h"

CCurrencyConverterViewController::CCurrencyConverterViewController(CCBRCurrencyInfoPtr currencyInfo,
                                                                   bool tablet, QObject* parent)
    : CViewController(QStringLiteral("CurrencyConverterView"), tablet, parent),
      currencyInfo_(std::move(currencyInfo)) {
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
