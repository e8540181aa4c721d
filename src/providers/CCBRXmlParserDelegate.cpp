#include "CCBRXmlParserDelegate.h"

CCBRXmlParserDelegate::CCBRXmlParserDelegate()
    : currenciesInfo_(std::make_shared<CCBRCurrenciesInfo>()) {}

void CCBRXmlParserDelegate::parserDidStartDocument() {
    currenciesInfo_ = std::make_shared<CCBRCurrenciesInfo>();
    activeCurrencyInfo_.reset();
    currentTextValue_.reset();
    currentElementName_.clear();
}

void CCBRXmlParserDelegate::parserDidStartElement(const QString& name, const Attributes&) {
    currentElementName_ = name;
    if (isValueElement(name)) {
        // White space between entries would otherwise lead the next value (a name would
        // start with a line break in an indented answer).
        currentTextValue_.reset();
    }
}

void CCBRXmlParserDelegate::parserFoundCharacters(const QString& text) {
    if (!isValueElement(currentElementName_)) {
        return;
    }
    if (currentTextValue_) {
        currentTextValue_->append(text);
    } else {
        currentTextValue_ = text;
    }
}

QString CCBRXmlParserDelegate::takeValueText() {
    const QString text = currentTextValue_.value_or(QString());
    currentTextValue_.reset();
    return text;
}
