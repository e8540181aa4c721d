#pragma once

#include "CChartXMLParserDelegate.h"

/// Reads the Central Bank of Russia's daily series of one currency ("XML_dynamic"): each
/// "Record" (attribute "Date", "dd.MM.yyyy") holds a "Nominal" and a "Value" in roubles for that
/// many units, written with a decimal comma. A point is the rate for one unit.
class CCBRChartXMLParserDelegate : public CChartXMLParserDelegate {
public:
    /// Days are read in `zone`. When `isCancelled` answers true, the parse of `parser` is aborted
    /// at the next record. A value that cannot be computed (no nominal yet, a nominal of zero,
    /// unreadable text) is NaN.
    explicit CCBRChartXMLParserDelegate(
        const QTimeZone& zone = QTimeZone::systemTimeZone(), XmlParser* parser = nullptr,
        ChartProviderSupport::CancelCheck isCancelled = ChartProviderSupport::notCancelled);

    void parserDidStartElement(const QString& name, const Attributes& attributes) override;
    void parserDidEndElement(const QString& name) override;

private:
    /// Kept from the last "Nominal" seen, not reset per record.
    Decimal currentNominal_ = Decimal::nan();
};
