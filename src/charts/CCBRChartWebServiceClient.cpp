#include "CCBRChartWebServiceClient.h"

#include "CCBRChartXMLParserDelegate.h"
#include "CCBRHelpers.h"
#include "CCBRMetalsChartXMLParserDelegate.h"
#include "Resources.h"
#include "ProviderParsing.h"
#include "XmlParser.h"

#include <QLocale>

using namespace ChartProviderSupport;

namespace {

const QString rouble = QStringLiteral("RUB");
const QString currencySeriesPath = QStringLiteral("/scripts/XML_dynamic.asp");
const QString currencySeriesQuery = QStringLiteral("date_req1=%1&date_req2=%2&VAL_NM_RQ=%3");
const QString metalSeriesPath = QStringLiteral("/scripts/xml_metall.asp");
const QString metalSeriesQuery = QStringLiteral("date_req1=%1&date_req2=%2");

}  // namespace

CCBRChartWebServiceClient::CCBRChartWebServiceClient(const Endpoints& endpoints)
    : CCentralBankChartWebServiceClient(endpoints, logName, PairOrder::AsRequested, rouble,
                                        PeriodCut::AsDelivered),
      clock_([] { return QDateTime::currentDateTimeUtc(); }) {}

CCBRChartWebServiceClient::~CCBRChartWebServiceClient() {
    cancelAllHttpRequests();
    delegate_ = nullptr;
}

QMap<QString, QString> CCBRChartWebServiceClient::loadInternalCodes() {
    QMap<QString, QString> codes;
    const QVariantMap table = Resources::propertyList(QStringLiteral("CBRInternalCodes")).toMap();
    for (auto it = table.begin(); it != table.end(); ++it) {
        if (it.value().typeId() == QMetaType::QString && !it.value().toString().isEmpty()) {
            codes.insert(it.key(), it.value().toString());
        }
    }
    return codes;
}

void CCBRChartWebServiceClient::queryChartForCurrency(const QString& code) {
    requestCurrencyCode_ = code;
    const QDateTime end = clock_ ? clock_() : QDateTime::currentDateTimeUtc();
    const QTimeZone zone = timeZone();
    const QDateTime start = CCurrencyChartInfo::getStartDateForPeriod(chartPeriod(), end, zone);
    const QString pattern = QStringLiteral("dd/MM/yyyy");
    const QString startText = QLocale::c().toString(start.toTimeZone(zone), pattern);
    const QString endText = QLocale::c().toString(end.toTimeZone(zone), pattern);

    QUrl url;
    if (CCBRHelpers::isMetalCurrencyCode(code)) {
        url = endpoints().url(Endpoints::CbrScripts, metalSeriesPath,
                              metalSeriesQuery.arg(startText, endText));
    } else {
        const QString internal = currencyCodesDict_.value(code);
        if (internal.isEmpty()) {
            // The bank does not quote this currency: no data, and no further request.
            deliverLater(emptyRecord());
            return;
        }
        url = endpoints().url(Endpoints::CbrScripts, currencySeriesPath,
                              currencySeriesQuery.arg(startText, endText, urlSafeCode(internal)));
    }
    sendGetRequest(url);
}

CCBRChartWebServiceClient::ParsedSeries CCBRChartWebServiceClient::parseSeries(
    const QByteArray& data, const QString& code, const QTimeZone& zone,
    const CancelCheck& isCancelled) {
    ParsedSeries result;
    XmlParser parser(ProviderParsing::utf8FromWindows1251Document(data));
    bool parsed = false;
    CCurrencyChartPointList points;
    if (CCBRHelpers::isMetalCurrencyCode(code)) {
        CCBRMetalsChartXMLParserDelegate handler(code, zone, &parser, isCancelled);
        parsed = parser.parse(handler);
        points = handler.chartPoints();
    } else {
        CCBRChartXMLParserDelegate handler(zone, &parser, isCancelled);
        parsed = parser.parse(handler);
        points = handler.chartPoints();
    }
    if (isCancelled()) {
        result.cancelled = true;
        return result;
    }
    if (!parsed) {
        result.error = parser.errorString();
        return result;
    }
    result.points = std::move(points);
    return result;
}

CCBRChartWebServiceClient::SeriesParser CCBRChartWebServiceClient::seriesParser(
    const QByteArray& data) const {
    return [data, code = requestCurrencyCode_, zone = timeZone()](const CancelCheck& isCancelled) {
        return parseSeries(data, code, zone, isCancelled);
    };
}

void CCBRChartWebServiceClient::deliver(const CCurrencyChartInfo& record) {
    if (delegate_ != nullptr) {
        delegate_->cbrCurrenciesQueryChartCompletedWithResult(record);
    }
}

void CCBRChartWebServiceClient::fail(const QString& description) {
    if (delegate_ != nullptr) {
        delegate_->cbrCurrenciesQueryFailedWithErrorDescription(description);
    }
}
