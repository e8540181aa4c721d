#pragma once

#include "CChartXMLParserDelegate.h"

/// Reads the Central Bank of Russia's precious-metal series ("xml_metall"), keeping the records of
/// one metal: each "Record" names the metal by the bank's number in "Code" and its day in "Date"
/// ("dd.MM.yyyy"); the point's value is its "Sell" price in roubles, with a decimal comma.
class CCBRMetalsChartXMLParserDelegate : public CChartXMLParserDelegate {
public:
    /// `currencyCode` is the ISO code of the metal wanted ("XAU", "XAG", "XPT", "XPD").
    explicit CCBRMetalsChartXMLParserDelegate(
        const QString& currencyCode, const QTimeZone& zone = QTimeZone::systemTimeZone(),
        XmlParser* parser = nullptr,
        ChartProviderSupport::CancelCheck isCancelled = ChartProviderSupport::notCancelled);

    const QString& currencyCode() const { return currencyCode_; }

    void parserDidStartElement(const QString& name, const Attributes& attributes) override;
    void parserDidEndElement(const QString& name) override;

private:
    QString currencyCode_;
};
