#include "CCBRCurrenciesXmlParserDelegate.h"

#include "ProviderParsing.h"

#include <QDate>
#include <QTime>

bool CCBRCurrenciesXmlParserDelegate::isValueElement(const QString& name) const {
    return name == QLatin1String("Vname") || name == QLatin1String("Vnom") ||
           name == QLatin1String("Vcurs") || name == QLatin1String("Vcode") ||
           name == QLatin1String("VchCode");
}

void CCBRCurrenciesXmlParserDelegate::parserDidStartElement(const QString& name,
                                                            const Attributes& attributes) {
    CCBRXmlParserDelegate::parserDidStartElement(name, attributes);
    if (name == QLatin1String("ValuteData")) {
        const QDate day = QDate::fromString(attributes.value(QStringLiteral("OnDate")),
                                            QStringLiteral("yyyyMMdd"));
        currenciesInfo_->currencyDate = CCBRCurrencyInfo::publishedDay(day);
    } else if (name == QLatin1String("ValuteCursOnDate")) {
        activeCurrencyInfo_ = std::make_shared<CCBRCurrencyInfo>();
    }
}

void CCBRCurrenciesXmlParserDelegate::parserDidEndElement(const QString& name) {
    if (name == QLatin1String("ValuteCursOnDate")) {
        if (activeCurrencyInfo_ && ProviderParsing::isUsableRow(*activeCurrencyInfo_)) {
            currenciesInfo_->addCurrencyInfo(activeCurrencyInfo_);
        }
        activeCurrencyInfo_.reset();
        return;
    }
    if (!isValueElement(name)) {
        return;
    }
    const QString text = takeValueText();
    if (!activeCurrencyInfo_) {
        return;
    }
    CCBRCurrencyInfo& row = *activeCurrencyInfo_;
    if (name == QLatin1String("Vname")) {
        row.displayName = text;
    } else if (name == QLatin1String("Vnom")) {
        row.nominalValue = ProviderParsing::integerFromText(text);
    } else if (name == QLatin1String("Vcurs")) {
        row.saleValue = Decimal::fromString(text);
    } else if (name == QLatin1String("Vcode")) {
        row.isoCode = ProviderParsing::integerFromText(text);
    } else {
        row.isoTextCode = text;
    }
}
