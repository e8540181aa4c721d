#include "CCBRCurrenciesXmlParserDelegate.h"

#include "ProviderParsing.h"

#include <QDate>
#include <QTime>

namespace {

bool isValueElement(const QString& name) {
    return name == QLatin1String("Vname") || name == QLatin1String("Vnom") ||
           name == QLatin1String("Vcurs") || name == QLatin1String("Vcode") ||
           name == QLatin1String("VchCode");
}

}  // namespace

CCBRCurrenciesXmlParserDelegate::CCBRCurrenciesXmlParserDelegate()
    : currenciesInfo_(std::make_shared<CCBRCurrenciesInfo>()) {}

void CCBRCurrenciesXmlParserDelegate::parserDidStartDocument() {
    currenciesInfo_ = std::make_shared<CCBRCurrenciesInfo>();
    activeCurrencyInfo_.reset();
    currentTextValue_.reset();
    currentElementName_.clear();
}

void CCBRCurrenciesXmlParserDelegate::parserDidStartElement(const QString& name,
                                                            const Attributes& attributes) {
    currentElementName_ = name;
    if (name == QLatin1String("ValuteData")) {
        const QDate day = QDate::fromString(attributes.value(QStringLiteral("OnDate")),
                                            QStringLiteral("yyyyMMdd"));
        currenciesInfo_->currencyDate = day.isValid() ? QDateTime(day, QTime(0, 0)) : QDateTime();
    } else if (name == QLatin1String("ValuteCursOnDate")) {
        activeCurrencyInfo_ = std::make_shared<CCBRCurrencyInfo>();
    } else if (isValueElement(name)) {
        // White space between entries would otherwise lead the next value (a name would
        // start with a line break in an indented answer).
        currentTextValue_.reset();
    }
}

void CCBRCurrenciesXmlParserDelegate::parserFoundCharacters(const QString& text) {
    if (!isValueElement(currentElementName_)) {
        return;
    }
    if (currentTextValue_) {
        currentTextValue_->append(text);
    } else {
        currentTextValue_ = text;
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
    const QString text = currentTextValue_.value_or(QString());
    currentTextValue_.reset();
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
