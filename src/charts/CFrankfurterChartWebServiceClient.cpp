#include "CFrankfurterChartWebServiceClient.h"

#include "CChartPeriod.h"
#include "JsonRateAnswers.h"

#include <limits>

using namespace ChartProviderSupport;

namespace {

bool equals(std::string_view text, const QByteArray& code) {
    return text == std::string_view(code.constData(), static_cast<size_t>(code.size()));
}

/// "YYYY-MM-DD" exactly, checked against the calendar; read without building texts.
std::optional<QDate> isoDay(std::string_view text) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') {
        return std::nullopt;
    }
    int parts[3] = {0, 0, 0};
    const int starts[3] = {0, 5, 8};
    const int lengths[3] = {4, 2, 2};
    for (int p = 0; p < 3; ++p) {
        for (int i = 0; i < lengths[p]; ++i) {
            const char c = text[static_cast<size_t>(starts[p] + i)];
            if (c < '0' || c > '9') {
                return std::nullopt;
            }
            parts[p] = parts[p] * 10 + (c - '0');
        }
    }
    static constexpr int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const int year = parts[0];
    const int month = parts[1];
    const int day = parts[2];
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    if (year < 1 || month < 1 || month > 12 || day < 1 ||
        day > monthDays[month - 1] + (month == 2 && leap ? 1 : 0)) {
        return std::nullopt;
    }
    // The Julian day number of a Gregorian date (Fliegel and Van Flandern).
    const qint64 a = (14 - month) / 12;
    const qint64 y = year + 4800 - a;
    const qint64 m = month + 12 * a - 3;
    return QDate::fromJulianDay(day + (153 * m + 2) / 5 + 365 * y + y / 4 - y / 100 + y / 400 -
                                32045);
}

}  // namespace

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
    const QByteArray base = reversedPair.value(0).toLatin1();
    const QByteArray quote = reversedPair.value(1).toLatin1();
    if (reversedPair.size() == 2) {
        record.firstCurrencyCode = reversedPair[1];
        record.lastCurrencyCode = reversedPair[0];
    }
    // The whole history is some 1,500 rows, so the record is built in the one walk: points,
    // extremes and the first and last day, without a second pass over the points.
    CCurrencyChartPointList points;
    points.reserve(text.size() / 60 + 1);
    DayStarts dayStarts(zone);
    qsizetype lowest = -1;
    qsizetype highest = -1;
    qint64 firstDay = std::numeric_limits<qint64>::max();
    qint64 lastDay = std::numeric_limits<qint64>::min();
    qsizetype first = -1;
    qsizetype last = -1;
    const auto addPoint = [&](const JsonRateAnswers::RateRow& row) {
        if (!equals(row.base, base) || !equals(row.quote, quote)) {
            return;
        }
        const std::optional<QDate> day = isoDay(row.date);
        if (!day) {
            return;
        }
        const std::optional<Decimal> value = JsonRateAnswers::positiveValue(row.rate);
        if (!value) {
            return;
        }
        const QDateTime start = dayStarts.at(*day);
        if (!start.isValid()) {
            return;
        }
        const qsizetype index = points.size();
        points.append(CCurrencyChartPoint(*value, start));
        if (highest < 0) {
            highest = lowest = index;
        } else if (*value > points.at(highest).value) {
            highest = index;
        } else if (*value < points.at(lowest).value) {
            lowest = index;
        }
        const qint64 julian = day->toJulianDay();
        if (julian < firstDay) {
            firstDay = julian;
            first = index;
        }
        if (julian > lastDay) {
            lastDay = julian;
            last = index;
        }
    };
    JsonRateAnswers::forEachRateRow(text, addPoint, isCancelled);
    if (isCancelled()) {
        return std::nullopt;
    }
    if (points.isEmpty()) {
        // The same extremes an empty record gets everywhere else.
        if (!finishRecord(record, std::move(points), isCancelled)) {
            return std::nullopt;
        }
        return record;
    }
    record.minCurrencyValue = points[lowest].value;
    record.maxCurrencyValue = points[highest].value;
    record.minDate = points[first].date;
    record.maxDate = points[last].date;
    record.plotPoints = std::move(points);
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
