#include "CRelatedCurrenciesInfo.h"

#include "Resources.h"

CRelatedCurrenciesInfo::CRelatedCurrenciesInfo()
    : CRelatedCurrenciesInfo(Resources::propertyList(QStringLiteral("RelatedCurrencies")).toMap()) {
}

CRelatedCurrenciesInfo::CRelatedCurrenciesInfo(QVariantMap entries)
    : entries_(std::move(entries)) {}

bool CRelatedCurrenciesInfo::hasRelatedCurrencyForCode(const QString& code) const {
    return entries_.contains(code);
}

QString CRelatedCurrenciesInfo::getRelatedCurrencyForCode(const QString& code) const {
    return entries_.value(code).toMap().value(QStringLiteral("relatedCurrency")).toString();
}

Decimal CRelatedCurrenciesInfo::getMultiplierForCode(const QString& code) const {
    const QVariant m = entries_.value(code).toMap().value(QStringLiteral("multiplier"));
    switch (m.typeId()) {
        case QMetaType::Double:
            return Decimal::fromDouble(m.toDouble());
        case QMetaType::LongLong:
        case QMetaType::Int:
            return Decimal::fromInt(m.toLongLong());
        case QMetaType::QString:
            return Decimal::parse(m.toString()).value_or(Decimal());
        default:
            return Decimal();
    }
}
