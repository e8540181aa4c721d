#include "CCBRChartWebServiceClient.h"

#include "CCBRChartXMLParserDelegate.h"
#include "CCBRHelpers.h"
#include "CCBRMetalsChartXMLParserDelegate.h"
#include "Resources.h"
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
    : endpoints_(endpoints), clock_([] { return QDateTime::currentDateTimeUtc(); }) {}

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

void CCBRChartWebServiceClient::queryCurrencyChart(const QStringList& pair, int period) {
    cancelAllHttpRequests();
    firstCurrencyData_.reset();
    secondCurrencyData_.reset();
    shouldRequestBothCurrencies_ = false;
    shouldInvertChartData_ = false;
    currencyPair_ = pair.size() == 2 ? pair : QStringList{};
    chartPeriod_ = period;
    if (currencyPair_.isEmpty()) {
        deliverLater(emptyRecord());
        return;
    }
    const QString& first = pair[0];
    const QString& last = pair[1];
    if (last == rouble) {
        shouldInvertChartData_ = true;
        queryChartForCurrency(first);
        return;
    }
    if (first != rouble) {
        shouldRequestBothCurrencies_ = true;
    }
    queryChartForCurrency(last);
}

void CCBRChartWebServiceClient::queryChartForCurrency(const QString& code) {
    requestCurrencyCode_ = code;
    const QDateTime end = clock_ ? clock_() : QDateTime::currentDateTimeUtc();
    const QDateTime start = CCurrencyChartInfo::getStartDateForPeriod(chartPeriod_, end, timeZone_);
    const QString pattern = QStringLiteral("dd/MM/yyyy");
    const QString startText = QLocale::c().toString(start.toTimeZone(timeZone_), pattern);
    const QString endText = QLocale::c().toString(end.toTimeZone(timeZone_), pattern);

    QUrl url;
    if (CCBRHelpers::isMetalCurrencyCode(code)) {
        url = endpoints_.url(Endpoints::CbrScripts, metalSeriesPath,
                             metalSeriesQuery.arg(startText, endText));
    } else {
        const QString internal = currencyCodesDict_.value(code);
        if (internal.isEmpty()) {
            // The bank does not quote this currency: no data, and no further request.
            deliverLater(emptyRecord());
            return;
        }
        url = endpoints_.url(Endpoints::CbrScripts, currencySeriesPath,
                             currencySeriesQuery.arg(startText, endText, urlSafeCode(internal)));
    }
    auto request = std::make_shared<CHttpRequest>(url);
    request->requestSettings.method = "GET";
    sendAsyncHttpRequest(std::move(request));
}

CCBRChartWebServiceClient::ParsedSeries CCBRChartWebServiceClient::parseSeries(
    const QByteArray& data, const QString& code, const QTimeZone& zone,
    const CancelCheck& isCancelled) {
    ParsedSeries result;
    XmlParser parser(utf8FromWindows1251Document(data));
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

void CCBRChartWebServiceClient::requestSucceeded(CHttpRequest&, const QByteArray& data) {
    operationQueue().addOperation([this, data, code = requestCurrencyCode_,
                                   zone = timeZone_](const Operation& operation) {
        if (operation.isCancelled()) {
            return;
        }
        ParsedSeries series =
            parseSeries(data, code, zone, [&operation] { return operation.isCancelled(); });
        if (series.cancelled || operation.isCancelled()) {
            return;
        }
        if (series.error) {
            performOnMainThread(operation, [this, error = *series.error] { fail(error); });
            return;
        }
        performOnMainThread(
            operation, [this, points = std::move(series.points)] { processParsedData(points); });
    });
}

void CCBRChartWebServiceClient::processParsedData(const CCurrencyChartPointList& points) {
    if (shouldInvertChartData_) {
        firstCurrencyData_ = points;
    } else if (shouldRequestBothCurrencies_) {
        if (!secondCurrencyData_) {
            secondCurrencyData_ = points;
            queryChartForCurrency(currencyPair_[0]);
            return;
        }
        firstCurrencyData_ = points;
    } else {
        secondCurrencyData_ = points;
    }
    makeCurrencyChartInfoAsync();
}

void CCBRChartWebServiceClient::makeCurrencyChartInfoAsync() {
    SeriesCombinationInput input;
    if (shouldInvertChartData_) {
        input.combination = SeriesCombination::Inverted;
        input.series = firstCurrencyData_.value_or(CCurrencyChartPointList());
    } else if (shouldRequestBothCurrencies_) {
        input.combination = SeriesCombination::CrossRate;
        input.series = secondCurrencyData_.value_or(CCurrencyChartPointList());
        input.divisor = firstCurrencyData_.value_or(CCurrencyChartPointList());
    } else {
        input.combination = SeriesCombination::AsDelivered;
        input.series = secondCurrencyData_.value_or(CCurrencyChartPointList());
    }
    // The request already asked for the period's date range.
    input.cutToPeriod = false;
    input.chartPeriod = chartPeriod_;
    input.firstCurrencyCode = currencyPair_.value(0);
    input.lastCurrencyCode = currencyPair_.value(1);
    input.timeZone = timeZone_;
    operationQueue().addOperation([this, input = std::move(input)](const Operation& operation) {
        if (operation.isCancelled()) {
            return;
        }
        std::optional<CCurrencyChartInfo> record =
            combineSeries(input, [&operation] { return operation.isCancelled(); });
        if (!record || operation.isCancelled()) {
            return;
        }
        performOnMainThread(operation, [this, record = std::move(*record)] { deliver(record); });
    });
}

void CCBRChartWebServiceClient::requestFailed(CHttpRequest&, const std::optional<HttpError>& error,
                                              const std::optional<HttpResponse>& response,
                                              const std::optional<QByteArray>& data) {
    fail(logRequestFailure(logName, error, response, data));
}

CCurrencyChartInfo CCBRChartWebServiceClient::emptyRecord() const {
    CCurrencyChartInfo record;
    record.chartPeriod = chartPeriod_;
    record.firstCurrencyCode = currencyPair_.value(0);
    record.lastCurrencyCode = currencyPair_.value(1);
    return record;
}

void CCBRChartWebServiceClient::deliver(const CCurrencyChartInfo& record) {
    if (delegate_ != nullptr) {
        delegate_->cbrCurrenciesQueryChartCompletedWithResult(record);
    }
}

void CCBRChartWebServiceClient::deliverLater(CCurrencyChartInfo record) {
    // Through the queue, so that a newer query cancels this delivery like any other.
    operationQueue().addOperation([this, record = std::move(record)](const Operation& operation) {
        performOnMainThread(operation, [this, record] { deliver(record); });
    });
}

void CCBRChartWebServiceClient::fail(const QString& description) {
    if (delegate_ != nullptr) {
        delegate_->cbrCurrenciesQueryFailedWithErrorDescription(description);
    }
}
