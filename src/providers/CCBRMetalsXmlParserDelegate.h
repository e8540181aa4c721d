#pragma once

#include "CCBRCurrenciesInfo.h"
#include "XmlParser.h"

#include <QString>

#include <optional>

/// Reads the central bank's DragMetDynamicXML answer: one row per metal, priced per troy
/// ounce. The answer lists a price per day; the one that comes last for a metal remains.
class CCBRMetalsXmlParserDelegate : public XmlParserDelegate {
public:
    CCBRMetalsXmlParserDelegate();

    /// The metals read so far, in order of first appearance. Metals with an unknown number or
    /// without a readable price are left out.
    CCBRCurrenciesInfoPtr currenciesInfo() const;

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
