#include "CCBRChartXMLParserDelegate.h"

using namespace ChartProviderSupport;

CCBRChartXMLParserDelegate::CCBRChartXMLParserDelegate(const QTimeZone& zone, XmlParser* parser,
                                                       CancelCheck isCancelled)
    : CChartXMLParserDelegate(zone, parser, std::move(isCancelled)) {}

void CCBRChartXMLParserDelegate::parserDidStartElement(const QString& name,
                                                       const Attributes& attributes) {
    currentText_.clear();
    if (name != QLatin1String("Record") || !shouldReadRecord()) {
        return;
    }
    currentPoint_ =
        pointOnDay(attributes.value(QStringLiteral("Date")), DayLayout::DayDotMonthYear);
}

void CCBRChartXMLParserDelegate::parserDidEndElement(const QString& name) {
    if (name == QLatin1String("Nominal")) {
        currentNominal_ = Decimal::fromString(currentText_, u',');
    } else if (name == QLatin1String("Value")) {
        if (currentPoint_) {
            currentPoint_->value = Decimal::fromString(currentText_, u',') / currentNominal_;
        }
    } else if (name == QLatin1String("Record")) {
        if (currentPoint_) {
            chartPoints_.append(*currentPoint_);
            currentPoint_.reset();
        }
    }
}
