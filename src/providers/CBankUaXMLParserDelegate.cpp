#include "CBankUaXMLParserDelegate.h"

#include "ProviderParsing.h"

CBankUaXMLParserDelegate::CBankUaXMLParserDelegate()
    : currenciesInfo_(std::make_shared<CCBRCurrenciesInfo>()) {}

QString CBankUaXMLParserDelegate::replaceOutdatedCode(const QString& code) {
    if (code == QLatin1String("TMM")) {
        return QStringLiteral("TMT");
    }
    if (code == QLatin1String("AZM")) {
        return QStringLiteral("AZN");
    }
    if (code == QLatin1String("TRL")) {
        return QStringLiteral("TRY");
    }
    return code;
}

void CBankUaXMLParserDelegate::parserDidStartDocument() {
    currencyInfo_.reset();
    currentValue_.clear();
    currenciesInfo_->addCurrencyInfo(
        ProviderParsing::makeRow(QStringLiteral("UAH"), Decimal::fromInt(1)));
}

void CBankUaXMLParserDelegate::parserDidStartElement(const QString& name, const Attributes&) {
    currentValue_.clear();
    if (name == QLatin1String("item")) {
        currencyInfo_ = std::make_shared<CCBRCurrencyInfo>();
    }
}

void CBankUaXMLParserDelegate::parserFoundCharacters(const QString& text) {
    currentValue_.append(text);
}

void CBankUaXMLParserDelegate::parserDidEndElement(const QString& name) {
    if (!currencyInfo_) {
        return;
    }
    CCBRCurrencyInfo& row = *currencyInfo_;
    if (name == QLatin1String("size")) {
        row.nominalValue = ProviderParsing::integerFromText(currentValue_);
    } else if (name == QLatin1String("rate")) {
        row.saleValue = Decimal::fromString(currentValue_);
    } else if (name == QLatin1String("date")) {
        // "12.03.2013": the day the bank set the rate.
        const QDateTime day = CCBRCurrencyInfo::publishedDay(
            QDate::fromString(currentValue_.trimmed(), QStringLiteral("dd.MM.yyyy")));
        if (day.isValid()) {
            row.actualDate = day;
            if (!latestDay_.isValid() || day > latestDay_) {
                latestDay_ = day;
            }
        }
    } else if (name == QLatin1String("char3")) {
        row.isoTextCode = replaceOutdatedCode(currentValue_);
    } else if (name == QLatin1String("item")) {
        // An item without a unit count (or with 0) has no one-unit value and is left out.
        if (ProviderParsing::isUsableRow(row)) {
            row.saleValue = row.saleValueForCurrency();
            row.nominalValue = 1;
            currenciesInfo_->addCurrencyInfo(currencyInfo_);
        }
        currencyInfo_.reset();
    }
}
