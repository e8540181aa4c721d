#include "CECBChartXMLParserDelegate.h"

using namespace ChartProviderSupport;

CECBChartXMLParserDelegate::CECBChartXMLParserDelegate(const QTimeZone& zone, XmlParser* parser,
                                                       CancelCheck isCancelled)
    : CChartXMLParserDelegate(zone, parser, std::move(isCancelled)) {}

void CECBChartXMLParserDelegate::parserDidStartElement(const QString& name,
                                                       const Attributes& attributes) {
    // The element carries no prefix in the bank's files; a prefixed one is the same element.
    if ((name != QLatin1String("Obs") && !name.endsWith(QLatin1String(":Obs"))) ||
        !shouldReadRecord()) {
        return;
    }
    CCurrencyChartPoint point =
        pointOnDay(attributes.value(QStringLiteral("TIME_PERIOD")), DayLayout::IsoDate);
    point.value = Decimal::fromString(attributes.value(QStringLiteral("OBS_VALUE")));
    chartPoints_.append(point);
}
