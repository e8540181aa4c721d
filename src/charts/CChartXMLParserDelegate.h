#pragma once

#include "CCurrencyChartInfo.h"
#include "ChartProviderSupport.h"
#include "XmlParser.h"

#include <QString>
#include <QTimeZone>

#include <optional>

/// What the banks' chart series readers share: one point per record in document order, days
/// read in a time zone, the element text collected between tags, and a parse that stops at the
/// next record once its query is cancelled.
class CChartXMLParserDelegate : public XmlParserDelegate {
public:
    /// In document order; a value that cannot be read is NaN, a day that cannot be read an
    /// invalid date.
    const CCurrencyChartPointList& chartPoints() const { return chartPoints_; }

    void parserFoundCharacters(const QString& text) override { currentText_ += text; }

protected:
    CChartXMLParserDelegate(const QTimeZone& zone, XmlParser* parser,
                            ChartProviderSupport::CancelCheck isCancelled);

    /// At the start of a record: false (and the parse aborted) once the query is cancelled.
    bool shouldReadRecord();
    /// A point on the day written in `dayText`, without a value yet.
    CCurrencyChartPoint pointOnDay(QStringView dayText, ChartProviderSupport::DayLayout layout);

    CCurrencyChartPointList chartPoints_;
    /// The record being read; nothing outside one (or inside one that is skipped).
    std::optional<CCurrencyChartPoint> currentPoint_;
    QString currentText_;

private:
    ChartProviderSupport::DayStarts dayStarts_;
    XmlParser* parser_;
    ChartProviderSupport::CancelCheck isCancelled_;
};
