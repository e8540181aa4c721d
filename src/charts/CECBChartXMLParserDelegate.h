#pragma once

#include "CChartXMLParserDelegate.h"

/// Reads the European Central Bank's per-currency history (an SDMX CompactData document): every
/// "Obs" element is one point, its "TIME_PERIOD" day ("yyyy-MM-dd") and "OBS_VALUE" rate (units of
/// the currency per euro). Everything else is ignored.
class CECBChartXMLParserDelegate : public CChartXMLParserDelegate {
public:
    /// Days are read in `zone` (the device's by default). When `isCancelled` answers true, the
    /// parse of `parser` is aborted at the next observation.
    explicit CECBChartXMLParserDelegate(
        const QTimeZone& zone = QTimeZone::systemTimeZone(), XmlParser* parser = nullptr,
        ChartProviderSupport::CancelCheck isCancelled = ChartProviderSupport::notCancelled);

    void parserDidStartElement(const QString& name, const Attributes& attributes) override;
    void parserFoundCharacters(const QString&) override {}
};
