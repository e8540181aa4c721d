#include "CECBChartXMLParserDelegate.h"

using namespace ChartProviderSupport;

CECBChartXMLParserDelegate::CECBChartXMLParserDelegate(const QTimeZone& zone, XmlParser* parser,
                                                       CancelCheck isCancelled)
    : dayStarts_(zone), parser_(parser), isCancelled_(std::move(isCancelled)) {}

void CECBChartXMLParserDelegate::parserDidStartElement(const QString& name,
                                                       const Attributes& attributes) {
    // The element carries no prefix in the bank's files; a prefixed one is the same element.
    if (name != QLatin1String("Obs") && !name.endsWith(QLatin1String(":Obs"))) {
        return;
    }
    if (isCancelled_()) {
        if (parser_ != nullptr) {
            parser_->abortParsing();
        }
        return;
    }
    CCurrencyChartPoint point;
    if (const std::optional<QDate> day = dayFromText(
            QStringView(attributes.value(QStringLiteral("TIME_PERIOD"))), DayLayout::IsoDate)) {
        point.date = dayStarts_.at(*day);
    }
    point.value = Decimal::fromString(attributes.value(QStringLiteral("OBS_VALUE")));
    chartPoints_.append(point);
}
