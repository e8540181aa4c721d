#pragma once

#include "CCurrencyChartInfo.h"
#include "ChartProviderSupport.h"
#include "XmlParser.h"

#include <QTimeZone>

#include <optional>

/// Reads the Central Bank of Russia's daily series of one currency ("XML_dynamic"): each
/// "Record" (attribute "Date", "dd.MM.yyyy") holds a "Nominal" and a "Value" in roubles for that
/// many units, written with a decimal comma. A point is the rate for one unit.
class CCBRChartXMLParserDelegate : public XmlParserDelegate {
public:
    /// Days are read in `zone`. When `isCancelled` answers true, the parse of `parser` is aborted
    /// at the next record.
    explicit CCBRChartXMLParserDelegate(
        const QTimeZone& zone = QTimeZone::systemTimeZone(), XmlParser* parser = nullptr,
        ChartProviderSupport::CancelCheck isCancelled = ChartProviderSupport::notCancelled);

    /// In document order; a value that cannot be computed (no nominal yet, a nominal of zero,
    /// unreadable text) is NaN, an unreadable day an invalid date.
    const CCurrencyChartPointList& chartPoints() const { return chartPoints_; }

    void parserDidStartElement(const QString& name, const Attributes& attributes) override;
    void parserFoundCharacters(const QString& text) override;
    void parserDidEndElement(const QString& name) override;

private:
    CCurrencyChartPointList chartPoints_;
    std::optional<CCurrencyChartPoint> currentPoint_;
    /// Kept from the last "Nominal" seen, not reset per record.
    Decimal currentNominal_ = Decimal::nan();
    QString currentText_;
    ChartProviderSupport::DayStarts dayStarts_;
    XmlParser* parser_;
    ChartProviderSupport::CancelCheck isCancelled_;
};
