#include "CCBRChartXMLParserDelegate.h"

using namespace ChartProviderSupport;

CCBRChartXMLParserDelegate::CCBRChartXMLParserDelegate(const QTimeZone& zone, XmlParser* parser,
                                                       CancelCheck isCancelled)
    : dayStarts_(zone), parser_(parser), isCancelled_(std::move(isCancelled)) {}

void CCBRChartXMLParserDelegate::parserDidStartElement(const QString& name,
                                                       const Attributes& attributes) {
    currentText_.clear();
    if (name != QLatin1String("Record")) {
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
            QStringView(attributes.value(QStringLiteral("Date"))), DayLayout::DayDotMonthYear)) {
        point.date = dayStarts_.at(*day);
    }
    currentPoint_ = point;
}

void CCBRChartXMLParserDelegate::parserFoundCharacters(const QString& text) {
    currentText_ += text;
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
