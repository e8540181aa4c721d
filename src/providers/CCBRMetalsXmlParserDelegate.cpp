#include "CCBRMetalsXmlParserDelegate.h"

#include "CCBRHelpers.h"
#include "ProviderParsing.h"

namespace {

bool isValueElement(const QString& name) {
    return name == QLatin1String("CodMet") || name == QLatin1String("price");
}

}  // namespace

CCBRMetalsXmlParserDelegate::CCBRMetalsXmlParserDelegate()
    : currenciesInfo_(std::make_shared<CCBRCurrenciesInfo>()) {}

CCBRCurrenciesInfoPtr CCBRMetalsXmlParserDelegate::currenciesInfo() const {
    auto table = std::make_shared<CCBRCurrenciesInfo>();
    table->currencyDate = currenciesInfo_->currencyDate;
    for (const CCBRCurrencyInfoPtr& row : currenciesInfo_->currenciesInfo) {
        if (ProviderParsing::isUsableRow(*row)) {
            table->addCurrencyInfo(row);
        }
    }
    return table;
}

void CCBRMetalsXmlParserDelegate::parserDidStartDocument() {
    currenciesInfo_ = std::make_shared<CCBRCurrenciesInfo>();
    activeCurrencyInfo_.reset();
    currentTextValue_.reset();
    currentElementName_.clear();
}

void CCBRMetalsXmlParserDelegate::parserDidStartElement(const QString& name, const Attributes&) {
    currentElementName_ = name;
    if (isValueElement(name)) {
        currentTextValue_.reset();
    }
}

void CCBRMetalsXmlParserDelegate::parserFoundCharacters(const QString& text) {
    if (!isValueElement(currentElementName_)) {
        return;
    }
    if (currentTextValue_) {
        currentTextValue_->append(text);
    } else {
        currentTextValue_ = text;
    }
}

void CCBRMetalsXmlParserDelegate::parserDidEndElement(const QString& name) {
    if (!isValueElement(name)) {
        return;
    }
    const QString text = currentTextValue_.value_or(QString());
    currentTextValue_.reset();
    if (name == QLatin1String("CodMet")) {
        const QString code =
            CCBRHelpers::isoMetalCodeFromInternal(ProviderParsing::integerFromText(text));
        CCBRCurrencyInfoPtr row;
        if (!code.isEmpty()) {
            row = currenciesInfo_->findCurrencyInfoWithTextCode(code);
        }
        if (!row) {
            // An unknown metal gets a row of its own, which never leaves the handler: it has
            // no code to be found by.
            row = std::make_shared<CCBRCurrencyInfo>();
            row->isoTextCode = code;
            row->nominalValue = 1;
            currenciesInfo_->addCurrencyInfo(row);
        }
        activeCurrencyInfo_ = row;
    } else if (activeCurrencyInfo_) {
        // A price that cannot be read keeps the metal's earlier one.
        const Decimal perGram = Decimal::fromString(text);
        if (ProviderParsing::isUsableValue(perGram)) {
            activeCurrencyInfo_->saleValue = CCBRHelpers::convertGrammToOunce(perGram);
        }
    }
}
