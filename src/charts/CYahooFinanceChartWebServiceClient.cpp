#include "CYahooFinanceChartWebServiceClient.h"

#include "CChartPeriod.h"
#include "ProviderParsing.h"

#include <simdjson.h>

#include <cmath>
#include <string_view>
#include <vector>

using namespace ChartProviderSupport;

namespace {

const QString chartPathTemplate =
    QStringLiteral("/instrument/1.0/%1=X/chartdata;type=close;range=%2/json/");

/// One entry of "series" as written: the texts of its close and time fields.
struct RawSample {
    std::optional<std::string_view> close;
    std::optional<std::string_view> date;
    std::optional<std::string_view> timestamp;
};

/// What the answer holds, as far as the chart needs it.
struct RawSeries {
    bool hasTimestamp = false;
    bool hasSeries = false;
    std::vector<RawSample> samples;
};

/// The text of a scalar that should be a number: a number's own characters (never through
/// binary floating point) or a string's contents.
std::optional<std::string_view> scalarText(simdjson::ondemand::value value) {
    simdjson::ondemand::json_type type;
    if (value.type().get(type) != simdjson::SUCCESS) {
        return std::nullopt;
    }
    if (type == simdjson::ondemand::json_type::number) {
        std::string_view token = value.raw_json_token();
        while (!token.empty() && (token.back() == ' ' || token.back() == '\n' ||
                                  token.back() == '\r' || token.back() == '\t')) {
            token.remove_suffix(1);
        }
        return token;
    }
    if (type == simdjson::ondemand::json_type::string) {
        std::string_view text;
        if (value.get_string().get(text) != simdjson::SUCCESS) {
            return std::nullopt;
        }
        return text;
    }
    return std::nullopt;
}

/// The JSON-P wrapper and the "meta" block (whose texts may hold parentheses) taken away: the
/// text after the end of "meta", every ")" and the callback name removed, "{" put in front.
QByteArray cleanedJson(const QByteArray& text) {
    static const QByteArray metaEnd = QByteArrayLiteral("\"\n }\n ,");
    static const QByteArray fieldSeparator = QByteArrayLiteral(" ,\n ");
    QByteArray json = text;
    qsizetype at = json.indexOf(metaEnd);
    qsizetype length = metaEnd.size();
    if (at < 0) {
        at = json.indexOf(fieldSeparator);
        length = fieldSeparator.size();
    }
    if (at >= 0) {
        json = json.mid(at + length);
    }
    json.replace(QByteArrayView("finance_charts_json_callback("), QByteArrayView());
    json.replace(QByteArrayView(")"), QByteArrayView());
    json.prepend('{');
    return json;
}

/// Walks the whole document; false when it does not parse (anywhere) or the walk was cancelled.
/// The texts in `series` point into `json` and `parser`, which must outlive them.
bool readSeries(simdjson::ondemand::parser& parser, const simdjson::padded_string& json,
                RawSeries& series, const CancelCheck& isCancelled) {
    using namespace simdjson;
    ondemand::document document;
    ondemand::object root;
    if (parser.iterate(json).get(document) != SUCCESS ||
        document.get_object().get(root) != SUCCESS) {
        return false;
    }
    for (auto rootField : root) {
        ondemand::field field;
        std::string_view key;
        if (std::move(rootField).get(field) != SUCCESS ||
            field.unescaped_key().get(key) != SUCCESS) {
            return false;
        }
        if (key == "Timestamp") {
            series.hasTimestamp = true;
            continue;  // its min and max are skipped with the value
        }
        if (key != "series") {
            continue;
        }
        ondemand::array samples;
        if (field.value().get_array().get(samples) != SUCCESS) {
            return false;
        }
        series.hasSeries = true;
        for (auto element : samples) {
            if (isCancelled()) {
                return false;
            }
            ondemand::object object;
            if (element.get_object().get(object) != SUCCESS) {
                return false;
            }
            RawSample sample;
            for (auto sampleField : object) {
                ondemand::field entry;
                std::string_view name;
                if (std::move(sampleField).get(entry) != SUCCESS ||
                    entry.unescaped_key().get(name) != SUCCESS) {
                    return false;
                }
                if (name == "close") {
                    sample.close = scalarText(entry.value());
                } else if (name == "Date") {
                    sample.date = scalarText(entry.value());
                } else if (name == "Timestamp") {
                    sample.timestamp = scalarText(entry.value());
                }
            }
            series.samples.push_back(sample);
        }
    }
    // Nothing may follow the object: the walk has to end where the text does.
    return document.current_location().error() == OUT_OF_BOUNDS;
}

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CYahooFinanceChartWebServiceClient::CYahooFinanceChartWebServiceClient(const Endpoints& endpoints)
    : CChartWebServiceClient(endpoints, logName, PairOrder::Reversed) {}

CYahooFinanceChartWebServiceClient::~CYahooFinanceChartWebServiceClient() {
    cancelAllHttpRequests();
    delegate_ = nullptr;
}

std::optional<QString> CYahooFinanceChartWebServiceClient::rangeForPeriod(int period) {
    switch (period) {
        case ChartPeriod1Day:
            return QStringLiteral("1d");
        case ChartPeriod1Week:
            return QStringLiteral("7d");
        case ChartPeriod1Month:
            return QStringLiteral("1m");
        case ChartPeriod3Months:
            return QStringLiteral("3m");
        case ChartPeriod6Months:
            return QStringLiteral("6m");
        case ChartPeriod1Year:
            return QStringLiteral("1y");
        case ChartPeriod2Years:
            return QStringLiteral("2y");
        case ChartPeriod3Years:
            // The service reads years as "<n>y"; three years is offered for this source too.
            return QStringLiteral("3y");
        case ChartPeriod5Years:
            return QStringLiteral("5y");
        case ChartPeriod10Years:
            return QStringLiteral("10y");
        case ChartPeriodOverall:
            return QStringLiteral("100y");
        default:
            return std::nullopt;
    }
}

QUrl CYahooFinanceChartWebServiceClient::chartUrl(const Endpoints& endpoints,
                                                  const QStringList& reversedPair,
                                                  const QString& range) {
    const QString symbol = urlSafeCode(reversedPair.join(QString()).toUpper());
    return endpoints.url(Endpoints::YahooChart, chartPathTemplate.arg(symbol, range));
}

void CYahooFinanceChartWebServiceClient::queryCurrencyChart(const QStringList& pair, int period) {
    const bool validPair = beginQuery(pair, period);
    const std::optional<QString> range = rangeForPeriod(period);
    if (!validPair || !range) {
        deliverEmptyRecordLater(period);
        return;
    }
    sendGetRequest(chartUrl(endpoints(), currencyPair(), *range));
}

std::optional<CCurrencyChartInfo> CYahooFinanceChartWebServiceClient::getChartInfo(
    const QByteArray& text, const QStringList& reversedPair, int period, const QTimeZone& zone,
    const CancelCheck& isCancelled) {
    const QByteArray json = cleanedJson(text);
    if (isCancelled()) {
        return std::nullopt;
    }
    simdjson::ondemand::parser parser;
    const simdjson::padded_string padded(json.constData(), static_cast<size_t>(json.size()));
    RawSeries series;
    const bool parsed = readSeries(parser, padded, series, isCancelled);
    if (isCancelled()) {
        return std::nullopt;
    }

    CCurrencyChartInfo record;
    record.chartPeriod = period;
    if (reversedPair.size() == 2) {
        record.firstCurrencyCode = reversedPair[0];
        record.lastCurrencyCode = reversedPair[1];
    }
    CCurrencyChartPointList points;
    if (parsed && series.hasSeries) {
        points.reserve(static_cast<qsizetype>(series.samples.size()));
        DayStarts dayStarts(zone);
        std::optional<double> previousClose;
        for (const RawSample& sample : series.samples) {
            if (isCancelled()) {
                return std::nullopt;
            }
            // A sample without a usable close (missing, zero, negative, beyond the range of a
            // double) would poison the jump filter below: it is skipped, not charted as zero.
            if (!sample.close) {
                continue;
            }
            const Decimal close = Decimal::fromString(latin1(*sample.close));
            const double closeValue = close.toDouble();
            if (close.isNaN() || !std::isfinite(closeValue) || !(closeValue > 0)) {
                continue;
            }
            QDateTime date;
            if (series.hasTimestamp) {
                if (sample.timestamp) {
                    if (const std::optional<qint64> seconds =
                            ProviderParsing::wholeInteger(latin1(*sample.timestamp))) {
                        date = instantFromUnixSeconds(*seconds);
                    }
                }
            } else if (sample.date) {
                if (const std::optional<QDate> day =
                        dayFromText(*sample.date, DayLayout::YearMonthDay)) {
                    date = dayStarts.at(*day);
                }
            }
            if (!date.isValid()) {
                continue;
            }
            if (previousClose) {
                // A jump by a factor of two or more either way is a bad tick; it does not
                // become the new reference either.
                const double ratio = *previousClose / closeValue;
                if (ratio <= 0.5 || ratio >= 2) {
                    continue;
                }
            }
            previousClose = closeValue;
            points.append(CCurrencyChartPoint(close, date));
        }
    }
    if (!finishRecord(record, std::move(points), isCancelled)) {
        return std::nullopt;
    }
    return record;
}

void CYahooFinanceChartWebServiceClient::requestSucceeded(CHttpRequest&, const QByteArray& data) {
    readRecordAsync(data, &getChartInfo);
}

void CYahooFinanceChartWebServiceClient::deliver(const CCurrencyChartInfo& record) {
    if (delegate_ != nullptr) {
        delegate_->yahooFinanceQueryChartCompletedWithResult(record);
    }
}

void CYahooFinanceChartWebServiceClient::fail(const QString& description) {
    if (delegate_ != nullptr) {
        delegate_->yahooFinanceQueryFailedWithErrorDescription(description);
    }
}
