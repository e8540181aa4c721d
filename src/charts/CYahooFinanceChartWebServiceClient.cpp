#include "CYahooFinanceChartWebServiceClient.h"

#include "CChartPeriod.h"
#include "JsonRateRows.h"
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

/// What the walk found besides the samples.
struct WalkResult {
    /// The whole text parsed and the walk was not cancelled.
    bool parsed = false;
    bool hasSeries = false;
    /// A root "Timestamp" key came before "series" (the samples were read as such) ...
    bool timestampBeforeSeries = false;
    /// ... or only after it, when the samples were read as "Date" ones and must be read again.
    bool timestampAfterSeries = false;
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

enum class SampleMember { Close, Date, Timestamp, Other };

/// Which member of a sample `field` is; false for a name that cannot be unescaped.
bool sampleMember(simdjson::ondemand::field& field, SampleMember& member) {
    using JsonRateAnswers::rawNameIs;
    const char* raw = field.key().raw();
    if (rawNameIs(raw, "close")) {
        member = SampleMember::Close;
    } else if (rawNameIs(raw, "Date")) {
        member = SampleMember::Date;
    } else if (rawNameIs(raw, "Timestamp")) {
        member = SampleMember::Timestamp;
    } else if (!JsonRateAnswers::nameHasEscape(raw)) {
        member = SampleMember::Other;
    } else {
        std::string_view name;
        if (field.unescaped_key().get(name) != simdjson::SUCCESS) {
            return false;
        }
        member = name == "close"       ? SampleMember::Close
                 : name == "Date"      ? SampleMember::Date
                 : name == "Timestamp" ? SampleMember::Timestamp
                                       : SampleMember::Other;
    }
    return true;
}

/// The JSON-P wrapper and the "meta" block (whose texts may hold parentheses) taken away: the
/// text after the end of "meta", every ")" and the callback name removed, "{" put in front.
/// Made in one pass straight into `json`, with the parser's padding behind it.
void cleanJson(const QByteArray& text, std::string& json) {
    static constexpr std::string_view metaEnd = "\"\n }\n ,";
    static constexpr std::string_view fieldSeparator = " ,\n ";
    static constexpr std::string_view callback = "finance_charts_json_callback(";
    std::string_view rest(text.constData(), static_cast<size_t>(text.size()));
    size_t at = rest.find(metaEnd);
    size_t length = metaEnd.size();
    if (at == std::string_view::npos) {
        at = rest.find(fieldSeparator);
        length = fieldSeparator.size();
    }
    if (at != std::string_view::npos) {
        rest.remove_prefix(at + length);
    }
    json.clear();
    json.reserve(rest.size() + 1 + simdjson::SIMDJSON_PADDING);
    json.push_back('{');
    // Left to right, as a replace-all would: a callback name, then any ")" left.
    while (!rest.empty()) {
        const size_t paren = rest.find(')');
        const size_t name = rest.substr(0, paren).find(callback);
        if (name != std::string_view::npos) {
            json.append(rest.substr(0, name));
            rest.remove_prefix(name + callback.size());
        } else if (paren != std::string_view::npos) {
            json.append(rest.substr(0, paren));
            rest.remove_prefix(paren + 1);
        } else {
            json.append(rest);
            rest = {};
        }
    }
}

/// Walks the whole document and hands every sample of "series" to `visit` as it goes, without
/// keeping them; the texts are valid during the call only.
template <class Visit>
WalkResult walkSeries(simdjson::ondemand::parser& parser, const std::string& json,
                      const CancelCheck& isCancelled, Visit&& visit) {
    using namespace simdjson;
    WalkResult result;
    ondemand::document document;
    ondemand::object root;
    if (parser.iterate(padded_string_view(json.data(), json.size(), json.capacity()))
                .get(document) != SUCCESS ||
        document.get_object().get(root) != SUCCESS) {
        return result;
    }
    for (auto rootField : root) {
        ondemand::field field;
        std::string_view key;
        if (std::move(rootField).get(field) != SUCCESS ||
            field.unescaped_key().get(key) != SUCCESS) {
            return result;
        }
        if (key == "Timestamp") {
            (result.hasSeries ? result.timestampAfterSeries : result.timestampBeforeSeries) = true;
            continue;  // its min and max are skipped with the value
        }
        if (key != "series") {
            continue;
        }
        ondemand::array samples;
        if (field.value().get_array().get(samples) != SUCCESS) {
            return result;
        }
        result.hasSeries = true;
        for (auto element : samples) {
            if (isCancelled()) {
                return result;
            }
            ondemand::object object;
            if (element.get_object().get(object) != SUCCESS) {
                return result;
            }
            RawSample sample;
            for (auto sampleField : object) {
                ondemand::field entry;
                if (std::move(sampleField).get(entry) != SUCCESS) {
                    return result;
                }
                SampleMember member = SampleMember::Other;
                if (!sampleMember(entry, member)) {
                    return result;
                }
                if (member == SampleMember::Close) {
                    sample.close = scalarText(entry.value());
                } else if (member == SampleMember::Date) {
                    sample.date = scalarText(entry.value());
                } else if (member == SampleMember::Timestamp) {
                    sample.timestamp = scalarText(entry.value());
                }
            }
            visit(sample, result.timestampBeforeSeries);
        }
    }
    // Nothing may follow the object: the walk has to end where the text does.
    result.parsed = document.current_location().error() == OUT_OF_BOUNDS;
    return result;
}

QString latin1(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

/// The close as written; a number token is read straight from its characters, anything the
/// quick reader refuses (a string with odd white space) by the general one.
Decimal closeValue(std::string_view text) {
    const Decimal value = Decimal::fromString(text);
    return value.isNaN() ? Decimal::fromString(latin1(text)) : value;
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
    // Kept per thread like the parser's buffers: a long answer's text is not copied into fresh
    // memory every time.
    thread_local std::string json;
    cleanJson(text, json);
    if (isCancelled()) {
        return std::nullopt;
    }
    CCurrencyChartInfo record;
    record.chartPeriod = period;
    if (reversedPair.size() == 2) {
        record.firstCurrencyCode = reversedPair[0];
        record.lastCurrencyCode = reversedPair[1];
    }
    // The points are made during the walk, so the samples are never stored; a root
    // "Timestamp" key after "series" changes how every sample's time reads, and takes a
    // second walk.
    CCurrencyChartPointList points;
    Extremes extremes;
    DayStarts dayStarts(zone);
    IsoDayReader days(DayLayout::YearMonthDay);
    std::optional<double> previousClose;
    bool timestampsOnly = false;
    const auto addSample = [&](const RawSample& sample, bool timestampsBefore) {
        // A sample without a usable close (missing, zero, negative, beyond the range of a
        // double) would poison the jump filter below: it is skipped, not charted as zero.
        if (!sample.close) {
            return;
        }
        Decimal close;
        double closeNumber = 0;
        if (!readPlainDecimal(*sample.close, close, closeNumber)) {
            close = closeValue(*sample.close);
            closeNumber = close.toDouble();
        }
        if (close.isNaN() || !std::isfinite(closeNumber) || !(closeNumber > 0)) {
            return;
        }
        qint64 msecs = 0;
        if (timestampsBefore || timestampsOnly) {
            if (!sample.timestamp) {
                return;
            }
            const std::optional<qint64> seconds =
                ProviderParsing::wholeInteger(latin1(*sample.timestamp));
            const QDateTime instant = seconds ? instantFromUnixSeconds(*seconds) : QDateTime();
            if (!instant.isValid()) {
                return;
            }
            msecs = instant.toMSecsSinceEpoch();
        } else {
            // Days follow each other: the usual 8-digit form is read a month at a time.
            const qint64 day = !sample.date ? noDay
                               : sample.date->size() == 8
                                   ? days.julianDay(*sample.date)
                                   : julianDayFromText(*sample.date, DayLayout::YearMonthDay);
            if (day == noDay || !dayStarts.msecsAt(day, msecs)) {
                return;
            }
        }
        if (previousClose) {
            // A jump by a factor of two or more either way is a bad tick; it does not become
            // the new reference either.
            const double ratio = *previousClose / closeNumber;
            if (ratio <= 0.5 || ratio >= 2) {
                return;
            }
        }
        previousClose = closeNumber;
        points.emplaceBack(close, msecs);
        extremes.add(msecs, close, closeNumber, points.size() - 1);
    };
    // The parser's buffers grow to the largest answer; kept per thread, they are made once.
    thread_local simdjson::ondemand::parser parser;
    // A sample takes some 40 characters.
    points.reserve(static_cast<qsizetype>(json.size() / 32));
    WalkResult walk = walkSeries(parser, json, isCancelled, addSample);
    if (walk.parsed && walk.timestampAfterSeries) {
        points.clear();
        extremes = Extremes();
        previousClose.reset();
        timestampsOnly = true;
        walk = walkSeries(parser, json, isCancelled, addSample);
    }
    if (isCancelled()) {
        return std::nullopt;
    }
    if (!walk.parsed || !walk.hasSeries) {
        points.clear();
        extremes = Extremes();
    }
    record.plotPoints = std::move(points);
    extremes.apply(record);
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
