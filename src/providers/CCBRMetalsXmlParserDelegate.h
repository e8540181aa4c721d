#pragma once

#include "CCBRXmlParserDelegate.h"

/// Reads the central bank's DragMetDynamicXML answer: one row per metal, priced per troy
/// ounce. The answer lists a price per day; the one that comes last for a metal remains, dated
/// with its "DateMet" day.
class CCBRMetalsXmlParserDelegate : public CCBRXmlParserDelegate {
public:
    /// The metals read so far, in order of first appearance. Metals with an unknown number or
    /// without a readable price are left out.
    CCBRCurrenciesInfoPtr currenciesInfo() const;

    void parserDidEndElement(const QString& name) override;

private:
    bool isValueElement(const QString& name) const override;

    QDateTime day_;
};
