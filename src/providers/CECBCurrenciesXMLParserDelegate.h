#pragma once

#include "CCBRCurrenciesInfo.h"
#include "XmlParser.h"

/// Reads the ECB's daily reference-rate file: "EUR" first, then one row per Cube entry that
/// names a currency, priced in euros (one over the entry's rate), dated with the day the
/// enclosing Cube's "time" names.
class CECBCurrenciesXMLParserDelegate : public XmlParserDelegate {
public:
    CECBCurrenciesXMLParserDelegate();

    CCBRCurrenciesInfoPtr currenciesInfo() const { return currenciesInfo_; }

    void parserDidStartDocument() override;
    void parserDidStartElement(const QString& name, const Attributes& attributes) override;
    void parserDidEndDocument() override;

private:
    CCBRCurrenciesInfoPtr currenciesInfo_;
    QDateTime publishedDate_;
};
