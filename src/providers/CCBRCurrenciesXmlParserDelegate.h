#pragma once

#include "CCBRXmlParserDelegate.h"

#include <QString>

#include <optional>

/// Reads the central bank's GetCursOnDateXML answer: one row per ValuteCursOnDate entry, in
/// document order, and the table's date from ValuteData's "OnDate".
class CCBRCurrenciesXmlParserDelegate : public CCBRXmlParserDelegate {
public:
    CCBRCurrenciesInfoPtr currenciesInfo() const { return currenciesInfo_; }

    void parserDidStartElement(const QString& name, const Attributes& attributes) override;
    void parserDidEndElement(const QString& name) override;

private:
    bool isValueElement(const QString& name) const override;
};
