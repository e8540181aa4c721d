#include "CECBCurrenciesXMLParserDelegate.h"

#include "ProviderParsing.h"

CECBCurrenciesXMLParserDelegate::CECBCurrenciesXMLParserDelegate()
    : currenciesInfo_(std::make_shared<CCBRCurrenciesInfo>()) {}

void CECBCurrenciesXMLParserDelegate::parserDidStartDocument() {
    currenciesInfo_ = std::make_shared<CCBRCurrenciesInfo>();
    publishedDate_ = QDateTime();
    currenciesInfo_->addCurrencyInfo(
        ProviderParsing::makeRow(QStringLiteral("EUR"), Decimal::fromInt(1)));
}

void CECBCurrenciesXMLParserDelegate::parserDidStartElement(const QString& name,
                                                            const Attributes& attributes) {
    if (name != QLatin1String("Cube")) {
        return;
    }
    const auto currency = attributes.constFind(QStringLiteral("currency"));
    if (currency == attributes.constEnd()) {
        const auto time = attributes.constFind(QStringLiteral("time"));
        if (time != attributes.constEnd()) {
            publishedDate_ =
                CCBRCurrencyInfo::publishedDay(QDate::fromString(time->trimmed(), Qt::ISODate));
        }
        return;
    }
    // The rate is what one euro buys; a rate of 0 or one that cannot be read prices nothing.
    const Decimal rate = Decimal::fromString(attributes.value(QStringLiteral("rate")));
    if (!ProviderParsing::isUsableValue(rate)) {
        return;
    }
    CCBRCurrencyInfoPtr row = ProviderParsing::makeRow(*currency, Decimal::fromInt(1) / rate);
    if (ProviderParsing::isUsableRow(*row)) {
        currenciesInfo_->addCurrencyInfo(row);
    }
}

void CECBCurrenciesXMLParserDelegate::parserDidEndDocument() {
    currenciesInfo_->setPublishedDate(publishedDate_);
}
