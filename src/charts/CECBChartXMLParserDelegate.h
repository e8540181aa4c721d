#pragma once

#include "CCurrencyChartInfo.h"
#include "ChartProviderSupport.h"
#include "XmlParser.h"

#include <QTimeZone>

/// Reads the European Central Bank's per-currency history (an SDMX CompactData document): every
/// "Obs" element is one point, its "TIME_PERIOD" day ("yyyy-MM-dd") and "OBS_VALUE" rate (units of
/// the currency per euro). Everything else is ignored.
class CECBChartXMLParserDelegate : public XmlParserDelegate {
public:
    /// Days are read in `zone` (the device's by default). When `isCancelled` answers true, the
    /// parse of `parser` is aborted at the next observation.
    explicit CECBChartXMLParserDelegate(
        const QTimeZone& zone = QTimeZone::systemTimeZone(), XmlParser* parser = nullptr,
        ChartProviderSupport::CancelCheck isCancelled = ChartProviderSupport::notCancelled);

    /// In document order; a value that is not a number is NaN, a day that cannot be read gives
    /// an invalid date.
    const CCurrencyChartPointList& chartPoints() const { return chartPoints_; }

    void parserDidStartElement(const QString& name, const Attributes& attributes) override;

private:
    CCurrencyChartPointList chartPoints_;
    ChartProviderSupport::DayStarts dayStarts_;
    XmlParser* parser_;
    ChartProviderSupport::CancelCheck isCancelled_;
};
