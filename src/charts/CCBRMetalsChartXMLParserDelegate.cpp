#include "CCBRMetalsChartXMLParserDelegate.h"

#include "CCBRHelpers.h"

using namespace ChartProviderSupport;

CCBRMetalsChartXMLParserDelegate::CCBRMetalsChartXMLParserDelegate(const QString& currencyCode,
                                                                   const QTimeZone& zone,
                                                                   XmlParser* parser,
                                                                   CancelCheck isCancelled)
    : currencyCode_(currencyCode),
      dayStarts_(zone),
      parser_(parser),
      isCancelled_(std::move(isCancelled)) {}

void CCBRMetalsChartXMLParserDelegate::parserDidStartElement(const QString& name,
                                                             const Attributes& attributes) {
    currentText_.clear();
    if (name != QLatin1String("Record")) {
        return;
    }
    currentPoint_.reset();
    if (isCancelled_()) {
        if (parser_ != nullptr) {
            parser_->abortParsing();
        }
        return;
    }
    bool isNumber = false;
    const int code = attributes.value(QStringLiteral("Code")).trimmed().toInt(&isNumber);
    const QString isoCode = isNumber ? CCBRHelpers::isoMetalCodeFromInternal(code) : QString();
    if (isoCode.isEmpty() || isoCode != currencyCode_) {
        return;
    }
    CCurrencyChartPoint point;
    if (const std::optional<QDate> day = dayFromText(
            QStringView(attributes.value(QStringLiteral("Date"))), DayLayout::DayDotMonthYear)) {
        point.date = dayStarts_.at(*day);
    }
    currentPoint_ = point;
}

void CCBRMetalsChartXMLParserDelegate::parserFoundCharacters(const QString& text) {
    currentText_ += text;
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
