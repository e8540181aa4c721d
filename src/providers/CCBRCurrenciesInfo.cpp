#include "CCBRCurrenciesInfo.h"

#include "Log.h"

CCBRCurrenciesInfo::CCBRCurrenciesInfo() : currencyDate(QDateTime::currentDateTimeUtc()) {}

void CCBRCurrenciesInfo::addCurrencyInfo(CCBRCurrencyInfoPtr info) {
    currenciesInfo.append(std::move(info));
}

void CCBRCurrenciesInfo::removeAllCurrenciesInfo() {
    currenciesInfo.clear();
}

void CCBRCurrenciesInfo::setPublishedDate(const QDateTime& date) {
    if (!date.isValid()) {
        return;
    }
    currencyDate = date;
    for (const CCBRCurrencyInfoPtr& row : currenciesInfo) {
        if (row && !CCBRCurrencyInfo::isPublishedDay(row->actualDate)) {
            row->actualDate = date;
        }
    }
}

CCBRCurrencyInfoPtr CCBRCurrenciesInfo::findCurrencyInfoWithPredicate(
    const std::function<bool(const CCBRCurrencyInfo&)>& filter) const {
    const QList<CCBRCurrencyInfoPtr> copy = currenciesInfo;  // the filter may not change the list
    for (const CCBRCurrencyInfoPtr& row : copy) {
        if (row && filter(*row)) {
            return row;
        }
    }
    return nullptr;
}

CCBRCurrencyInfoPtr CCBRCurrenciesInfo::findCurrencyInfoWithTextCode(const QString& code) const {
    return findCurrencyInfoWithPredicate([&code](const CCBRCurrencyInfo& row) {
        return !row.isoTextCode.isNull() && row.isoTextCode == code;
    });
}

Decimal CCBRCurrenciesInfo::saleValueForCurrencyWithTextCode(const QString& code) const {
    const CCBRCurrencyInfoPtr row = findCurrencyInfoWithTextCode(code);
    return row ? row->saleValueForCurrency() : Decimal::nan();
}

Decimal CCBRCurrenciesInfo::saleValueForCurrency(qint32 isoCode) const {
    const CCBRCurrencyInfoPtr row = findCurrencyInfoWithPredicate(
        [isoCode](const CCBRCurrencyInfo& r) { return r.isoCode == isoCode; });
    if (!row) {
        nlog(QStringLiteral("Inconsistent currencies information"));
        return Decimal::nan();
    }
    return row->saleValueForCurrency();
}
