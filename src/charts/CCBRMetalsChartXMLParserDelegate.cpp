#include "CCBRMetalsChartXMLParserDelegate.h"

#include "CCBRHelpers.h"

using namespace ChartProviderSupport;

CCBRMetalsChartXMLParserDelegate::CCBRMetalsChartXMLParserDelegate(const QString& currencyCode,
                                                                   const QTimeZone& zone,
                                                                   XmlParser* parser,
                                                                   CancelCheck isCancelled)
    : CChartXMLParserDelegate(zone, parser, std::move(isCancelled)), currencyCode_(currencyCode) {}

void CCBRMetalsChartXMLParserDelegate::parserDidStartElement(const QString& name,
                                                             const Attributes& attributes) {
    currentText_.clear();
    if (name != QLatin1String("Record")) {
        return;
    }
    currentPoint_.reset();
    if (!shouldReadRecord()) {
        return;
    }
    bool isNumber = false;
    const int code = attributes.value(QStringLiteral("Code")).trimmed().toInt(&isNumber);
    const QString isoCode = isNumber ? CCBRHelpers::isoMetalCodeFromInternal(code) : QString();
    if (isoCode.isEmpty() || isoCode != currencyCode_) {
        return;
    }
    currentPoint_ =
        pointOnDay(attributes.value(QStringLiteral("Date")), DayLayout::DayDotMonthYear);
}

void CCBRMetalsChartXMLParserDelegate::parserDidEndElement(const QString& name) {
    if (!currentPoint_) {
        return;
    }
    if (name == QLatin1String("Sell")) {
        currentPoint_->value = Decimal::fromString(currentText_, u',');
    } else if (name == QLatin1String("Record")) {
        chartPoints_.append(*currentPoint_);
        currentPoint_.reset();
    }
}
