#include "CCBRMetalsXmlParserDelegate.h"

#include "CCBRHelpers.h"
#include "ProviderParsing.h"

bool CCBRMetalsXmlParserDelegate::isValueElement(const QString& name) const {
    return name == QLatin1String("CodMet") || name == QLatin1String("price") ||
           name == QLatin1String("DateMet");
}

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

void CCBRMetalsXmlParserDelegate::parserDidEndElement(const QString& name) {
    if (name == QLatin1String("DrgMet")) {
        day_ = QDateTime();  // each price names its own day
    }
    if (!isValueElement(name)) {
        return;
    }
    const QString text = takeValueText();
    if (name == QLatin1String("DateMet")) {
        // "2013-03-12T00:00:00+04:00": the bank's own day.
        day_ =
            CCBRCurrencyInfo::publishedDay(QDate::fromString(text.trimmed().left(10), Qt::ISODate));
        return;
    }
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
            if (day_.isValid()) {
                activeCurrencyInfo_->actualDate = day_;
            }
        }
    }
}
