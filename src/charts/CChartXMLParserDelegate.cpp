#include "CChartXMLParserDelegate.h"

using namespace ChartProviderSupport;

CChartXMLParserDelegate::CChartXMLParserDelegate(const QTimeZone& zone, XmlParser* parser,
                                                 CancelCheck isCancelled)
    : dayStarts_(zone), parser_(parser), isCancelled_(std::move(isCancelled)) {}

bool CChartXMLParserDelegate::shouldReadRecord() {
    if (!isCancelled_()) {
        return true;
    }
    if (parser_ != nullptr) {
        parser_->abortParsing();
    }
    return false;
}

CCurrencyChartPoint CChartXMLParserDelegate::pointOnDay(QStringView dayText, DayLayout layout) {
    CCurrencyChartPoint point;
    if (const std::optional<QDate> day = dayFromText(dayText, layout)) {
        point.date = dayStarts_.at(*day);
    }
    return point;
}
