#include "CCustomCurrenciesXMLParserDelegate.h"

namespace {

std::optional<QString> attribute(const XmlParserDelegate::Attributes& attributes,
                                 const QString& name) {
    auto it = attributes.constFind(name);
    return it == attributes.constEnd() ? std::nullopt : std::optional<QString>(*it);
}

}  // namespace

void CCustomCurrenciesXMLParserDelegate::parserDidStartDocument() {
    currenciesInfo = std::make_shared<CCBRCurrenciesInfo>();
    dataSourceDisplayName.reset();
    logoUrl.reset();
    inverseRates_ = false;
    publishedDate_ = QDateTime();
}

void CCustomCurrenciesXMLParserDelegate::parserDidEndDocument() {
    currenciesInfo->setPublishedDate(publishedDate_);
}

QDateTime CCustomCurrenciesXMLParserDelegate::dateFromText(const QString& text) {
    const QString trimmed = trimText(text);
    if (trimmed.size() == 10) {
        return CCBRCurrencyInfo::publishedDay(QDate::fromString(trimmed, Qt::ISODate));
    }
    // A moment needs its offset: a local time of an unknown place is no date.
    const QDateTime moment = QDateTime::fromString(trimmed, Qt::ISODateWithMs);
    return moment.isValid() && moment.timeSpec() != Qt::LocalTime ? moment.toUTC() : QDateTime();
}

void CCustomCurrenciesXMLParserDelegate::parserDidStartElement(const QString& name,
                                                               const Attributes& attributes) {
    if (name == u"DataSource") {
        dataSourceDisplayName = attribute(attributes, QStringLiteral("name"));
        logoUrl = attribute(attributes, QStringLiteral("logo"));
        inverseRates_ =
            trimText(attribute(attributes, QStringLiteral("inverse")).value_or(QString())) ==
            u"true";
        if (const auto date = attribute(attributes, QStringLiteral("date"))) {
            publishedDate_ = dateFromText(*date);
        }
        const QString base =
            trimText(attribute(attributes, QStringLiteral("baseCurrency")).value_or(QString()));
        if (!base.isEmpty()) {
            auto row = std::make_shared<CCBRCurrencyInfo>();
            row->isoTextCode = base;
            row->nominalValue = 1;
            row->saleValue = Decimal::fromInt(1);
            currenciesInfo->addCurrencyInfo(row);
        }
        return;
    }
    if (name != u"Currency") {
        return;
    }
    const QString code =
        trimText(attribute(attributes, QStringLiteral("code")).value_or(QString()));
    const auto value = Decimal::parse(
        trimText(attribute(attributes, QStringLiteral("value")).value_or(QString())));
    if (code.isEmpty() || !value || *value <= Decimal()) {
        return;
    }
    auto row = std::make_shared<CCBRCurrencyInfo>();
    row->isoTextCode = code;
    row->nominalValue = 1;
    // Direct values count units per one base unit; the table wants the price of one unit.
    row->saleValue = inverseRates_ ? *value : Decimal::fromInt(1) / *value;
    currenciesInfo->addCurrencyInfo(row);
}
