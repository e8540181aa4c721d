#include "CECBChartXMLParserDelegate.h"

using namespace ChartProviderSupport;

CECBChartXMLParserDelegate::CECBChartXMLParserDelegate(const QTimeZone& zone, XmlParser* parser,
                                                       CancelCheck isCancelled)
    : CChartXMLParserDelegate(zone, parser, std::move(isCancelled)) {}

void CECBChartXMLParserDelegate::parserDidStartElement(const QString& name,
                                                       const Attributes& attributes) {
    readObservation(name, attributes.value(QStringLiteral("TIME_PERIOD")),
                    attributes.value(QStringLiteral("OBS_VALUE")));
}

void CECBChartXMLParserDelegate::readerDidStartElement(QStringView name,
                                                       const QXmlStreamAttributes& attributes) {
    QStringView day;
    QStringView value;
    for (const QXmlStreamAttribute& attribute : attributes) {
        const QStringView attributeName = attribute.qualifiedName();
        if (attributeName == u"TIME_PERIOD") {
            day = attribute.value();
        } else if (attributeName == u"OBS_VALUE") {
            value = attribute.value();
        }
    }
    readObservation(name, day, value);
}

void CECBChartXMLParserDelegate::readObservation(QStringView name, QStringView day,
                                                 QStringView value) {
    // The element carries no prefix in the bank's files; a prefixed one is the same element.
    if ((name != u"Obs" && !name.endsWith(u":Obs")) || !shouldReadRecord()) {
        return;
    }
    CCurrencyChartPoint point = pointOnDay(day, DayLayout::IsoDate);
    point.value = Decimal::fromString(value);
    chartPoints_.append(point);
}
