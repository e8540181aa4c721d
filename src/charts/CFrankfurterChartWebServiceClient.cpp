#include "CFrankfurterChartWebServiceClient.h"

#include "CChartPeriod.h"
#include "JsonRateAnswers.h"
#include "JsonRateRows.h"

using namespace ChartProviderSupport;

CFrankfurterChartWebServiceClient::CFrankfurterChartWebServiceClient(const Endpoints& endpoints)
    : CChartWebServiceClient(endpoints, logName, PairOrder::Reversed) {}

CFrankfurterChartWebServiceClient::~CFrankfurterChartWebServiceClient() {
    cancelAllHttpRequests();
    delegate_ = nullptr;
}

std::optional<CFrankfurterChartWebServiceClient::Range>
CFrankfurterChartWebServiceClient::rangeForPeriod(int period, const QDate& today) {
    Range range;
    range.to = today;
    switch (period) {
        case ChartPeriod1Week:
            range.from = today.addDays(-7);
            break;
        case ChartPeriod1Month:
            range.from = today.addMonths(-1);
            break;
        case ChartPeriod3Months:
            range.from = today.addMonths(-3);
            break;
        case ChartPeriod6Months:
            range.from = today.addMonths(-6);
            break;
        case ChartPeriod1Year:
            range.from = today.addYears(-1);
            break;
        case ChartPeriod2Years:
            range.from = today.addYears(-2);
            break;
        case ChartPeriod3Years:
            range.from = today.addYears(-3);
            break;
        case ChartPeriod5Years:
            range.from = today.addYears(-5);
            break;
        case ChartPeriod10Years:
            range.from = today.addYears(-10);
            break;
        case ChartPeriodOverall:
            range.from = historyStart;
            break;
        default:
            return std::nullopt;
    }
    if (range.from < historyStart) {
        range.from = historyStart;
    }
    // Up to two years, daily rates stay near 500 points; beyond, weeks (about 1,450 for the
    // whole history today), and months once even weeks would be too many.
    if (period > ChartPeriod2Years) {
        range.group = range.from.daysTo(range.to) / 7 <= maximumPoints ? QStringLiteral("week")
                                                                       : QStringLiteral("month");
    }
    return range;
}

QUrl CFrankfurterChartWebServiceClient::chartUrl(const Endpoints& endpoints,
                                                 const QStringList& reversedPair,
                                                 const Range& range) {
    QString query = QStringLiteral("base=%1&quotes=%2&from=%3&to=%4")
                        .arg(urlSafeCode(reversedPair.value(0)), urlSafeCode(reversedPair.value(1)),
                             range.from.toString(Qt::ISODate), range.to.toString(Qt::ISODate));
    if (!range.group.isEmpty()) {
        query += QStringLiteral("&group=") + range.group;
    }
    const QString providers = endpoints.value(Endpoints::FrankfurterProviders).trimmed();
    if (!providers.isEmpty()) {
        query += QStringLiteral("&providers=") +
                 QString::fromLatin1(QUrl::toPercentEncoding(providers, ","));
    }
    return endpoints.url(Endpoints::Frankfurter, QStringLiteral("/v2/rates"), query);
}

void CFrankfurterChartWebServiceClient::queryCurrencyChart(const QStringList& pair, int period) {
    const bool validPair = beginQuery(pair, period);
    const std::optional<Range> range =
        rangeForPeriod(period, QDateTime::currentDateTimeUtc().toTimeZone(timeZone()).date());
    if (!validPair || !range) {
        deliverEmptyRecordLater(period);
        return;
    }
    sendGetRequest(chartUrl(endpoints(), currencyPair(), *range));
}

std::optional<CCurrencyChartInfo> CFrankfurterChartWebServiceClient::getChartInfo(
    const QByteArray& text, const QStringList& reversedPair, int period, const QTimeZone& zone,
    const CancelCheck& isCancelled) {
    CCurrencyChartInfo record;
    record.chartPeriod = period;
    // The rows are matched by their raw tokens: codes need no escapes, so a row of the pair
    // writes them exactly so, and an escaped form (which may spell another code) is left out.
    const QByteArray base = JsonRateAnswers::plainStringToken(reversedPair.value(0).toLatin1());
    const QByteArray quote = JsonRateAnswers::plainStringToken(reversedPair.value(1).toLatin1());
    if (reversedPair.size() == 2) {
        record.firstCurrencyCode = reversedPair[1];
        record.lastCurrencyCode = reversedPair[0];
    }
    // The whole history is some 1,500 rows, so the record is built in the one walk: points
    // and extremes, without a second pass over the points.
    CCurrencyChartPointList points;
    points.reserve(text.size() / 60 + 1);
    DayStarts dayStarts(zone);
    IsoDayReader days;
    Extremes extremes;
    const std::string_view baseToken(base.constData(), static_cast<size_t>(base.size()));
    const std::string_view quoteToken(quote.constData(), static_cast<size_t>(quote.size()));
    const auto addPoint = [&](const JsonRateAnswers::RawRateRow& row) {
        if (!JsonRateAnswers::rawStringIs(row.base, baseToken) ||
            !JsonRateAnswers::rawStringIs(row.quote, quoteToken)) {
            return;
        }
        // Exactly "YYYY-MM-DD" between the quotes: no white space around the day, and no room
        // for an escape in a valid one.
        const std::string_view date = JsonRateAnswers::detail::withoutTrailingSpace(row.date);
        const qint64 day = date.size() == 12 && date.front() == '"' && date.back() == '"'
                               ? days.julianDay(date.substr(1, 10))
                               : noDay;
        if (day == noDay) {
            return;
        }
        Decimal value;
        double number = 0;
        if (readPlainDecimal(row.rate, value, number)) {
            if (!(number > 0)) {
                return;  // zero: only digits, so never negative
            }
        } else if (const std::optional<Decimal> positive =
                       JsonRateAnswers::positiveValue(row.rate)) {
            value = *positive;
            number = value.toDouble();
        } else {
            return;
        }
        qint64 msecs = 0;
        if (!dayStarts.msecsAt(day, msecs)) {
            return;
        }
        points.emplaceBack(value, msecs);
        extremes.add(msecs, value, number, points.size() - 1);
    };
    JsonRateAnswers::visitRawRateRows(text, addPoint, isCancelled);
    if (isCancelled()) {
        return std::nullopt;
    }
    record.plotPoints = std::move(points);
    extremes.apply(record);
    return record;
}

void CFrankfurterChartWebServiceClient::requestSucceeded(CHttpRequest&, const QByteArray& data) {
    readRecordAsync(data, &getChartInfo);
}

void CFrankfurterChartWebServiceClient::requestFailed(CHttpRequest& request,
                                                      const std::optional<HttpError>& error,
                                                      const std::optional<HttpResponse>& response,
                                                      const std::optional<QByteArray>& data) {
    // A refused query (422) says why in its body; that is what the user should read.
    const std::optional<QString> message =
        response && data ? JsonRateAnswers::serviceMessage(*data) : std::nullopt;
    if (!message) {
        CChartWebServiceClient::requestFailed(request, error, response, data);
        return;
    }
    fail(
        QStringLiteral("%1 (%2)").arg(*message, logRequestFailure(logName, error, response, data)));
}

void CFrankfurterChartWebServiceClient::deliver(const CCurrencyChartInfo& record) {
    if (delegate_ != nullptr) {
        delegate_->frankfurterQueryChartCompletedWithResult(record);
    }
}

void CFrankfurterChartWebServiceClient::fail(const QString& description) {
    if (delegate_ != nullptr) {
        delegate_->frankfurterQueryChartFailedWithErrorDescription(description);
    }
}
