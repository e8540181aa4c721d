#include "CBloombergChartWebServiceClient.h"

#include "CChartPeriod.h"
#include "ProviderParsing.h"

using namespace ChartProviderSupport;

namespace {

const QString chartPath = QStringLiteral("/apps/data");
const QString chartQueryTemplate =
    QStringLiteral("pid=webpxta&Securities=%1:CUR&TimePeriod=%2&Outfields=%3");

constexpr qint64 kHalfDaySeconds = 12 * 60 * 60;
constexpr qint64 kDaySeconds = 24 * 60 * 60;

}  // namespace

CBloombergChartWebServiceClient::CBloombergChartWebServiceClient(const Endpoints& endpoints)
    : CChartWebServiceClient(endpoints, logName, PairOrder::Reversed) {}

CBloombergChartWebServiceClient::~CBloombergChartWebServiceClient() {
    cancelAllHttpRequests();
    delegate_ = nullptr;
}

std::optional<QString> CBloombergChartWebServiceClient::timePeriodForPeriod(int period) {
    switch (period) {
        case ChartPeriod1Day:
            return QStringLiteral("1D");
        case ChartPeriod1Week:
            return QStringLiteral("1W");
        case ChartPeriod1Month:
            return QStringLiteral("1M");
        case ChartPeriod3Months:
            return QStringLiteral("3M");
        case ChartPeriod6Months:
            return QStringLiteral("6M");
        case ChartPeriod1Year:
            return QStringLiteral("1Y");
        case ChartPeriod3Years:
            return QStringLiteral("3Y");
        case ChartPeriod5Years:
            return QStringLiteral("5Y");
        default:
            return std::nullopt;
    }
}

QUrl CBloombergChartWebServiceClient::chartUrl(const Endpoints& endpoints,
                                               const QStringList& reversedPair, int period) {
    const QString securities = urlSafeCode(reversedPair.join(QString()));
    const QString outfields = period == ChartPeriod1Day ? QStringLiteral("ITIME,PR005-I")
                                                        : QStringLiteral("HDATE,PR005-H");
    return endpoints.url(
        Endpoints::BloombergChart, chartPath,
        chartQueryTemplate.arg(securities, timePeriodForPeriod(period).value_or(QString()),
                               outfields));
}

QTimeZone CBloombergChartWebServiceClient::easternTimeZone() {
    static const QTimeZone eastern = [] {
        const QTimeZone zone("America/New_York");
        // Without the zone database, standard time all year is the nearest we can do.
        return zone.isValid() ? zone : QTimeZone(-5 * 60 * 60);
    }();
    return eastern;
}

void CBloombergChartWebServiceClient::queryCurrencyChart(const QStringList& pair, int period) {
    if (!beginQuery(pair, period) || !timePeriodForPeriod(period)) {
        deliverEmptyRecordLater(period);
        return;
    }
    sendGetRequest(chartUrl(endpoints(), currencyPair(), period));
}

std::optional<CCurrencyChartInfo> CBloombergChartWebServiceClient::getChartInfo(
    const QByteArray& text, const QStringList& reversedPair, int period, const QTimeZone& zone,
    const CancelCheck& isCancelled) {
    CCurrencyChartInfo record;
    const QStringList lines = QString::fromUtf8(text).split(u'\n');
    if (lines.isEmpty()) {
        return record;
    }
    // The first line names the series: "...<name>=<base>" in its last field.
    const QStringList header = lines.first().split(u'"');
    const QStringList nameAndBase = header.last().split(u'=');
    if (nameAndBase.size() != 2) {
        return record;
    }
    const bool intraday = nameAndBase[0].trimmed() == QLatin1String("UTIME");
    record.chartPeriod = period;
    if (reversedPair.size() == 2) {
        record.firstCurrencyCode = reversedPair[0];
        record.lastCurrencyCode = reversedPair[1];
    }

    // Intraday offsets count from midnight in New York of the base's calendar day.
    QDateTime easternMidnight;
    if (intraday) {
        if (const std::optional<qint64> base = ProviderParsing::wholeInteger(nameAndBase[1])) {
            const QDateTime baseInstant = instantFromUnixSeconds(*base);
            if (baseInstant.isValid()) {
                const QDate day = baseInstant.toTimeZone(zone).date();
                easternMidnight = QDateTime(day, QTime(0, 0), easternTimeZone());
            }
        }
    }

    DayStarts dayStarts(zone);
    CCurrencyChartPointList points;
    points.reserve(lines.size());
    // The last line closes the answer and is never data.
    for (qsizetype i = 1; i < lines.size() - 1; ++i) {
        if (isCancelled()) {
            return std::nullopt;
        }
        const QStringList fields = lines[i].split(u'"');
        if (fields.size() != 2) {
            continue;
        }
        CCurrencyChartPoint point;
        point.value = Decimal::fromString(fields.last());
        if (intraday) {
            std::optional<qint64> offset = ProviderParsing::wholeInteger(fields[0]);
            if (easternMidnight.isValid() && offset && *offset > -kDaySeconds &&
                *offset < 2 * kDaySeconds) {
                // Twelve hours or more count back from midnight: the previous afternoon.
                if (*offset >= kHalfDaySeconds) {
                    *offset -= kDaySeconds;
                }
                point.date = easternMidnight.addSecs(*offset).toUTC();
            }
        } else if (const std::optional<QDate> day =
                       dayFromText(QStringView(fields[0]), DayLayout::YearMonthDay)) {
            point.date = dayStarts.at(*day);
        }
        if (isUsablePoint(point)) {
            points.append(point);
        }
    }
    if (!finishRecord(record, std::move(points), isCancelled)) {
        return std::nullopt;
    }
    return record;
}

void CBloombergChartWebServiceClient::requestSucceeded(CHttpRequest&, const QByteArray& data) {
    readRecordAsync(data, &getChartInfo);
}

void CBloombergChartWebServiceClient::deliver(const CCurrencyChartInfo& record) {
    if (delegate_ != nullptr) {
        delegate_->bloombergQueryChartCompletedWithResult(record);
    }
}

void CBloombergChartWebServiceClient::fail(const QString& description) {
    if (delegate_ != nullptr) {
        delegate_->bloombergQueryFailedWithErrorDescription(description);
    }
}
