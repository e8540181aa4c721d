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

    /// A whole history is thousands of observations: they are read straight from the reader,
    /// without an attribute map or a copy of any text per element.
    void readerDidStartElement(QStringView name, const QXmlStreamAttributes& attributes) override;
    void readerFoundCharacters(QStringView) override {}
    void readerDidEndElement(QStringView) override {}

private:
    void readObservation(QStringView name, QStringView day, QStringView value);
};
