#pragma once

#include "CCBRCurrenciesInfo.h"
#include "XmlParser.h"

#include <QString>

#include <optional>

/// Reads the central bank's GetCursOnDateXML answer: one row per ValuteCursOnDate entry, in
/// document order, and the table's date from ValuteData's "OnDate".
class CCBRCurrenciesXmlParserDelegate : public XmlParserDelegate {
public:
    CCBRCurrenciesXmlParserDelegate();

    CCBRCurrenciesInfoPtr currenciesInfo() const { return currenciesInfo_; }

    void parserDidStartDocument() override;
    void parserDidStartElement(const QString& name, const Attributes& attributes) override;
    void parserFoundCharacters(const QString& text) override;
    void parserDidEndElement(const QString& name) override;

private:
    CCBRCurrenciesInfoPtr currenciesInfo_;
    QString currentElementName_;
    CCBRCurrencyInfoPtr activeCurrencyInfo_;
    std::optional<QString> currentTextValue_;
};
