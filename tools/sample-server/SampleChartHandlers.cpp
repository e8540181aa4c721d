// The sample server's rate histories in the shapes of the four chart services.
#include "CurrencyNames.h"
#include "Resources.h"
#include "SampleData.h"
#include "SampleServer.h"

#include <QDateTime>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStringEncoder>
#include <QTimeZone>

#include <httplib.h>

#include <cmath>
#include <numbers>

namespace {

/// No service has history before the euro's first trading day.
const QDate kHistoryStart(1999, 1, 4);

/// The currencies of the daily central bank answers: a bank has history for what it quotes.

constexpr double kTwoPi = 2 * std::numbers::pi;
constexpr qint64 kIntradayStep = 15 * 60;
constexpr qint64 kHalfDay = 12 * 60 * 60;
constexpr qint64 kDay = 24 * 60 * 60;

std::string str(const QString& s) {
    return s.toStdString();
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

/// A fixed phase per currency, so that every currency moves in its own way.
double phaseOf(const QString& code) {
    unsigned sum = 0;
    for (const QChar c : code) {
        sum = sum * 31 + c.unicode();
    }
    return (sum % 360) * std::numbers::pi / 180;
}

double dailyWave(const QString& code, qint64 julianDay) {
    const double phase = phaseOf(code);
    const auto day = static_cast<double>(julianDay);
    return 0.6 * std::sin(kTwoPi * day / 23 + phase) +
           0.4 * std::sin(kTwoPi * day / 365.25 + 2 * phase) +
           0.5 * std::sin(kTwoPi * day / 1461 + 3 * phase);
}

double intradayWave(const QString& code, qint64 seconds) {
    const double phase = phaseOf(code);
    const auto s = static_cast<double>(seconds);
    return std::sin(kTwoPi * s / (6 * 3600) + phase) +
           0.5 * std::sin(kTwoPi * s / (97 * 60) + 2 * phase);
}

/// The US-dollar price of `code` on `day`: the sample price today, a few percent off it (never
/// more than nine) on other days. The dollar is the measure and does not move.
Decimal usdPriceOn(const QString& code, const QDate& day) {
    const Decimal today = SampleData::usdPrice(code);
    if (code == u"USD") {
        return today;
    }
    const qint64 todayNumber = SampleData::today().toJulianDay();
    const double factor =
        1 + 0.03 * (dailyWave(code, day.toJulianDay()) - dailyWave(code, todayNumber));
    return today * Decimal::fromDouble(factor);
}

/// Units of `quote` that one unit of `code` bought on `day`.
Decimal crossOn(const QString& code, const QString& quote, const QDate& day) {
    return usdPriceOn(code, day) / usdPriceOn(quote, day);
}

/// The same at an instant of the last day, the latest instant (`lastSeconds`) at today's rate.
Decimal crossAt(const QString& code, const QString& quote, qint64 seconds, qint64 lastSeconds) {
    auto price = [&](const QString& c) {
        if (c == u"USD") {
            return SampleData::usdPrice(c);
        }
        const double factor =
            1 + 0.0015 * (intradayWave(c, seconds) - intradayWave(c, lastSeconds));
        return SampleData::usdPrice(c) * Decimal::fromDouble(factor);
    };
    return price(code) / price(quote);
}

/// Rounded to `digits` fraction digits and written with all of them, as the services do.
QString fixedText(const Decimal& value, int digits, QChar separator = u'.') {
    QString text = value.rounded(digits).toString();
    qsizetype point = text.indexOf(u'.');
    if (point < 0 && digits > 0) {
        point = text.size();
        text += u'.';
    }
    if (digits > 0) {
        text += QString(digits - (text.size() - point - 1), u'0');
        text[point] = separator;
    }
    return text;
}

/// Market quotes: four fraction digits, more for small numbers so that five significant digits
/// remain.
QString quoteText(const Decimal& value) {
    const double magnitude = std::floor(std::log10(std::abs(value.toDouble())));
    const int digits = std::isfinite(magnitude) ? std::max(4, 4 - static_cast<int>(magnitude)) : 4;
    return fixedText(value, digits);
}

/// `day` moved back by a period written as a count and a unit ("7d", "3m", "5y"; Bloomberg's
/// "1W"); nothing for anything else.
std::optional<QDate> startOfRange(const QString& range, const QDate& day) {
    static const QRegularExpression pattern(QStringLiteral("^([1-9][0-9]{0,2})([dDwWmMyY])$"));
    const QRegularExpressionMatch match = pattern.match(range);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const int count = match.captured(1).toInt();
    switch (match.captured(2).toLower().front().unicode()) {
        case u'd':
            return day.addDays(-count);
        case u'w':
            return day.addDays(-7 * count);
        case u'm':
            return day.addMonths(-count);
        default:
            return day.addYears(-count);
    }
}

/// Every day from `start` (not before the first day of history) to today.
QList<QDate> daysSince(const QDate& start) {
    QList<QDate> days;
    const QDate today = SampleData::today();
    for (QDate day = std::max(start, kHistoryStart); day <= today; day = day.addDays(1)) {
        days.append(day);
    }
    return days;
}

/// The last `count` quarter hours up to now, oldest first.
QList<qint64> quarterHours(int count) {
    const qint64 now = QDateTime::currentSecsSinceEpoch();
    const qint64 last = now - now % kIntradayStep;
    QList<qint64> instants;
    for (qint64 t = last - (count - 1) * kIntradayStep; t <= last; t += kIntradayStep) {
        instants.append(t);
    }
    return instants;
}

/// A pair written as two known codes ("USDEUR").
std::optional<std::pair<QString, QString>> pairOf(const QString& symbol) {
    if (symbol.size() != 6) {
        return std::nullopt;
    }
    const QString code = symbol.left(3);
    const QString quote = symbol.mid(3);
    if (!SampleData::knows(code) || !SampleData::knows(quote)) {
        return std::nullopt;
    }
    return std::pair{code, quote};
}

QTimeZone easternTimeZone() {
    const QTimeZone zone("America/New_York");
    return zone.isValid() ? zone : QTimeZone(-5 * 60 * 60);
}

/// The ISO codes of the central bank's internal currency identifiers, for the currencies the
/// bank quotes.
const QHash<QString, QString>& cbrCodesByInternal() {
    static const QHash<QString, QString> codes = [] {
        QHash<QString, QString> byInternal;
        const QVariantMap table =
            Resources::propertyList(QStringLiteral("CBRInternalCodes")).toMap();
        for (auto it = table.begin(); it != table.end(); ++it) {
            if (SampleData::cbrCurrencies().contains(it.key())) {
                byInternal.insert(it.value().toString(), it.key());
            }
        }
        return byInternal;
    }();
    return codes;
}

/// The bank quotes weak currencies per 10, 100 or more units, as in its daily answer.
QString yahooMeta(const QString& symbol, const QString& range, const QString& unit,
                  const QString& extra) {
    const QString uri = QStringLiteral("/instrument/1.0/%1=X/chartdata;type=close;range=%2/json/")
                            .arg(symbol, range);
    return QStringLiteral(
               "finance_charts_json_callback( {\n \"meta\" :\n {\n  \"uri\" :\"%1\",\n"
               "  \"ticker\" : \"%2=x\",\n  \"Company-Name\" : \"%3/%4 (%5=X)\",\n"
               "  \"Exchange-Name\" : \"CCY\",\n  \"unit\" : \"%6\",\n  \"timezone\" : \"GMT\",\n"
               "  \"currency\" : \"%4\"%7\n }\n")
        .arg(uri, symbol.toLower(), symbol.left(3), symbol.mid(3), symbol, unit, extra);
}

}  // namespace

void SampleServer::registerChartHandlers() {
    // Yahoo Finance chart data, JSON-P: one day of quarter hours ("Timestamp") or daily closes
    // ("Date"); the symbol AAABBB=X quotes BBB per AAA.
    server_->Get(
        R"(/instrument/1\.0/([^/]+)=X/chartdata;type=close;range=([^/]+)/json/?)",
        [this](const httplib::Request& req, httplib::Response& res) {
            if (failIfAsked(YFinanceChart, res)) {
                return;
            }
            const QString symbol = qs(req.matches[1]).toUpper();
            const QString range = qs(req.matches[2]);
            const auto pair = pairOf(symbol);
            const std::optional<QDate> start = startOfRange(range, SampleData::today());
            if (!pair || !start || range.back().isUpper()) {
                // The service's answer for a symbol or range it does not know: no series.
                const QString body =
                    QStringLiteral(
                        "finance_charts_json_callback( {\n \"meta\" :\n {\n  \"uri\" "
                        ":\"/instrument/1.0/%1=X/chartdata;type=close;range=%2/json/\",\n"
                        "  \"ticker\" : \"%3=x\"\n }\n ,\n \"errorid\" : 404\n ,\n"
                        " \"message\" : \"No data available for %1=X\"\n} \n)\n")
                        .arg(symbol, range, symbol.toLower());
                res.set_content(str(body), "application/javascript");
                return;
            }
            const auto& [code, quote] = *pair;
            QList<QPair<QString, QString>> samples;  // time text, close text
            QString body;
            if (range == u"1d") {
                const QList<qint64> instants = quarterHours(96);
                for (const qint64 t : instants) {
                    samples.append(
                        {QString::number(t), quoteText(crossAt(code, quote, t, instants.last()))});
                }
                body = yahooMeta(
                    symbol, range, QStringLiteral("MIN"),
                    QStringLiteral(",\n  \"gmtoffset\" : 0,\n  \"previous_close\" : %1")
                        .arg(quoteText(crossOn(code, quote, SampleData::today().addDays(-1)))));
                body += QStringLiteral(" ,\n \"Timestamp\" : {\"min\" :%1,\"max\" :%2 }\n")
                            .arg(samples.first().first, samples.last().first);
            } else {
                for (const QDate& day : daysSince(*start)) {
                    samples.append({day.toString(QStringLiteral("yyyyMMdd")),
                                    quoteText(crossOn(code, quote, day))});
                }
                body = yahooMeta(symbol, range, QStringLiteral("DAY"), QString());
                body += QStringLiteral(" ,\n \"Date\" : {\"min\" :%1,\"max\" :%2 }\n")
                            .arg(samples.first().first, samples.last().first);
            }
            const QString timeKey =
                range == u"1d" ? QStringLiteral("Timestamp") : QStringLiteral("Date");
            QStringList labels;
            QString low = samples.first().second;
            QString high = low;
            for (qsizetype i = 0; i < samples.size(); ++i) {
                if (i % std::max<qsizetype>(1, samples.size() / 4) == 0) {
                    labels.append(samples[i].first);
                }
                const Decimal close = Decimal::fromString(samples[i].second);
                if (close < Decimal::fromString(low)) {
                    low = samples[i].second;
                }
                if (close > Decimal::fromString(high)) {
                    high = samples[i].second;
                }
            }
            body += QStringLiteral(" ,\n \"labels\" : [%1 ]\n").arg(labels.join(u','));
            body += QStringLiteral(" ,\n \"ranges\" : {\"close\" : {\"min\" :%1,\"max\" :%2 } }\n")
                        .arg(low, high);
            body += QStringLiteral(" ,\n \"series\" : [ \n");
            for (qsizetype i = 0; i < samples.size(); ++i) {
                body += QStringLiteral("%1{ \"%2\" :%3,\"close\" :%4 }\n")
                            .arg(i == 0 ? QString() : QStringLiteral(", "), timeKey,
                                 samples[i].first, samples[i].second);
            }
            body += QStringLiteral("] \n} \n)\n");
            res.set_content(str(body), "application/javascript");
        });

    // Bloomberg chart data: a header line naming the series and its base, then offset"price or
    // date"price lines, each ended by a newline. Securities=AAABBB:CUR quotes BBB per AAA.
    server_->Get("/apps/data", [this](const httplib::Request& req, httplib::Response& res) {
        if (failIfAsked(BloombergChart, res)) {
            return;
        }
        if (req.get_param_value("pid") != "webpxta") {
            res.status = 404;
            res.set_content("Not Found\n", "text/plain");
            return;
        }
        const QString securities = qs(req.get_param_value("Securities"));
        const QString timePeriod = qs(req.get_param_value("TimePeriod"));
        const bool intraday = qs(req.get_param_value("Outfields")).startsWith(u"ITIME");
        const auto pair =
            securities.endsWith(u":CUR") ? pairOf(securities.chopped(4).toUpper()) : std::nullopt;
        const QDate today = SampleData::today();
        const std::optional<QDate> start = startOfRange(timePeriod, today);
        if (!pair || !start || timePeriod.back().isLower()) {
            // An unknown security: its name without a series.
            res.set_content(str(QStringLiteral("\"%1\"\n\n").arg(securities)), "text/plain");
            return;
        }
        const auto& [code, quote] = *pair;
        QString body;
        if (intraday) {
            // Offsets count from midnight in New York of the base's day; offsets of twelve hours
            // or more are the afternoon before. That day is the one whose noon comes next.
            const QTimeZone eastern = easternTimeZone();
            const QDateTime now = QDateTime::currentDateTimeUtc();
            const QDateTime nowEastern = now.toTimeZone(eastern);
            const QDate baseDay =
                nowEastern.time() < QTime(12, 0) ? nowEastern.date() : nowEastern.date().addDays(1);
            const qint64 midnight = QDateTime(baseDay, QTime(0, 0), eastern).toSecsSinceEpoch();
            // The client reads the base's day in its own time zone: noon there is on that day.
            const qint64 base = QDateTime(baseDay, QTime(12, 0)).toSecsSinceEpoch();
            QList<qint64> instants;
            for (const qint64 t : quarterHours(96)) {
                if (t >= midnight - kHalfDay && t < midnight + kHalfDay) {
                    instants.append(t);
                }
            }
            body = QStringLiteral("\"%1\"UTIME=%2\n").arg(securities).arg(base);
            for (const qint64 t : instants) {
                const qint64 offset = t - midnight;
                body += QStringLiteral("%1\"%2\n")
                            .arg(offset < 0 ? offset + kDay : offset)
                            .arg(quoteText(crossAt(code, quote, t, instants.last())));
            }
        } else {
            const QList<QDate> days = daysSince(*start);
            body = QStringLiteral("\"%1\"HDATE=%2\n")
                       .arg(securities, days.first().toString(QStringLiteral("yyyyMMdd")));
            for (const QDate& day : days) {
                body += QStringLiteral("%1\"%2\n")
                            .arg(day.toString(QStringLiteral("yyyyMMdd")),
                                 quoteText(crossOn(code, quote, day)));
            }
        }
        res.set_content(str(body), "text/plain");
    });

    // ECB reference rate history of one currency (units per euro), every day since 1999.
    server_->Get(
        R"(/stats/exchange/eurofxref/html/([a-z]+)\.xml)",
        [this](const httplib::Request& req, httplib::Response& res) {
            if (failIfAsked(ECBChart, res)) {
                return;
            }
            const QString code = qs(req.matches[1]).toUpper();
            if (!SampleData::ecbCurrencies().contains(code)) {
                res.status = 404;
                res.set_content(
                    "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
                    "<title>European Central Bank - Page not found</title>\n</head>\n<body>\n"
                    "<p>The page you requested does not exist.</p>\n</body>\n</html>\n",
                    "text/html");
                return;
            }
            const QString euro = QStringLiteral("EUR");
            QList<QPair<QDate, QString>> observations;
            for (const QDate& day : daysSince(kHistoryStart)) {
                observations.append({day, fixedText(crossOn(euro, code, day), 4)});
            }
            const QByteArray xml = SampleData::ecbHistoryXml(
                code, CurrencyNames::displayName(code, QStringLiteral("en")).value_or(code),
                SampleData::today(), observations);
            res.set_content(xml.toStdString(), "text/xml");
        });

    // Central Bank of Russia: one currency's roubles per nominal between two days, and the
    // metals' roubles per gram, windows-1251 with comma decimals.
    server_->Get("/scripts/XML_dynamic.asp", [this](const httplib::Request& req,
                                                    httplib::Response& res) {
        if (failIfAsked(CBRChart, res)) {
            return;
        }
        const QDate from =
            QDate::fromString(qs(req.get_param_value("date_req1")), QStringLiteral("dd/MM/yyyy"));
        const QDate to =
            QDate::fromString(qs(req.get_param_value("date_req2")), QStringLiteral("dd/MM/yyyy"));
        if (!from.isValid() || !to.isValid()) {
            res.status = 500;
            res.set_content("Error in parameters", "text/html; charset=windows-1251");
            return;
        }
        const QString internal = qs(req.get_param_value("VAL_NM_RQ"));
        const QString code = cbrCodesByInternal().value(internal);
        QString xml =
            QStringLiteral(
                "<?xml version=\"1.0\" encoding=\"windows-1251\" ?>\r\n<ValCurs ID=\"%1\" "
                "DateRange1=\"%2\" DateRange2=\"%3\" name=\"Foreign Currency Market Dynamic\">")
                .arg(internal, from.toString(QStringLiteral("dd.MM.yyyy")),
                     to.toString(QStringLiteral("dd.MM.yyyy")));
        if (!code.isEmpty()) {
            const int nominal = SampleData::nominalFor(code);
            for (const QDate& day : daysSince(from)) {
                if (day > to) {
                    break;
                }
                xml += QStringLiteral(
                           "<Record Date=\"%1\" Id=\"%2\"><Nominal>%3</Nominal><Value>%4</Value>"
                           "</Record>")
                           .arg(day.toString(QStringLiteral("dd.MM.yyyy")), internal)
                           .arg(nominal)
                           .arg(fixedText(crossOn(code, QStringLiteral("RUB"), day) *
                                              Decimal::fromInt(nominal),
                                          4, u','));
            }
        }
        xml += QStringLiteral("</ValCurs>");
        res.set_content(SampleData::encode1251(xml), "application/xml; charset=windows-1251");
    });
    server_->Get("/scripts/xml_metall.asp", [this](const httplib::Request& req,
                                                   httplib::Response& res) {
        if (failIfAsked(CBRChart, res)) {
            return;
        }
        const QDate from =
            QDate::fromString(qs(req.get_param_value("date_req1")), QStringLiteral("dd/MM/yyyy"));
        const QDate to =
            QDate::fromString(qs(req.get_param_value("date_req2")), QStringLiteral("dd/MM/yyyy"));
        if (!from.isValid() || !to.isValid()) {
            res.status = 500;
            res.set_content("Error in parameters", "text/html; charset=windows-1251");
            return;
        }
        QString xml = QStringLiteral(
                          "<?xml version=\"1.0\" encoding=\"windows-1251\" ?>\r\n<Metall "
                          "FromDate=\"%1\" ToDate=\"%2\" name=\"Precious metals quotations\">")
                          .arg(from.toString(QStringLiteral("yyyyMMdd")),
                               to.toString(QStringLiteral("yyyyMMdd")));
        for (const QDate& day : daysSince(from)) {
            if (day > to) {
                break;
            }
            for (qsizetype i = 0; i < SampleData::metals().size(); ++i) {
                const QString price =
                    fixedText(crossOn(SampleData::metals()[i], QStringLiteral("RUB"), day) /
                                  SampleData::gramsPerOunce(),
                              2, u',');
                xml += QStringLiteral(
                           "<Record Date=\"%1\" Code=\"%2\"><Buy>%3</Buy><Sell>%3</Sell></Record>")
                           .arg(day.toString(QStringLiteral("dd.MM.yyyy")))
                           .arg(i + 1)
                           .arg(price);
            }
        }
        xml += QStringLiteral("</Metall>");
        res.set_content(SampleData::encode1251(xml), "application/xml; charset=windows-1251");
    });
}

namespace {

/// Frankfurter refuses a query it cannot answer with 422 and a message.
void refuse(httplib::Response& res, const QString& message) {
    res.status = 422;
    res.set_content(QJsonDocument(QJsonObject{{QStringLiteral("message"), message}})
                        .toJson(QJsonDocument::Compact)
                        .toStdString(),
                    "application/json");
}

/// Frankfurter's rows: eight significant digits at most, as central banks publish them.
QString frankfurterRate(const Decimal& value) {
    const double magnitude = std::floor(std::log10(std::abs(value.toDouble())));
    const int digits = std::isfinite(magnitude) ? std::max(0, 7 - static_cast<int>(magnitude)) : 6;
    return value.rounded(digits).toString();
}

/// The institutions behind a blended sample rate: the ECB at it, two others a little off, one
/// of them too far off to count.
QString expandedProviders(const QString& date, const Decimal& rate) {
    QString list;
    const struct {
        const char* key;
        const char* factor;
        bool excluded;
    } institutions[] = {{"ECB", "1", false}, {"BOC", "1.0006", false}, {"CBR", "0.97", true}};
    for (const auto& institution : institutions) {
        list += list.isEmpty() ? QString() : QStringLiteral(",");
        list += QStringLiteral("{\"key\":\"%1\",\"date\":\"%2\",\"rate\":%3%4}")
                    .arg(QLatin1String(institution.key), date,
                         frankfurterRate(
                             rate * Decimal::fromString(QString::fromLatin1(institution.factor))),
                         institution.excluded ? QStringLiteral(",\"excluded\":true") : QString());
    }
    return QStringLiteral(",\"providers\":[%1]").arg(list);
}

/// A day of history: weekends have no reference rates.
bool isBusinessDay(const QDate& day) {
    return day.dayOfWeek() <= 5;
}

}  // namespace

void SampleServer::registerFrankfurterHandlers() {
    // Frankfurter v2: rates as an array of {date, base, quote, rate}; the latest day, one given
    // day, or a range thinned by week or month. Metals are no currencies there.
    server_->Get("/v2/rates", [this](const httplib::Request& req, httplib::Response& res) {
        const bool series = req.has_param("from") || req.has_param("to");
        if (failIfAsked(series ? FrankfurterChart : Frankfurter, res)) {
            return;
        }
        const auto isCurrency = [](const QString& code) {
            return SampleData::knows(code) && !SampleData::metals().contains(code);
        };
        const QString base =
            req.has_param("base") ? qs(req.get_param_value("base")) : QStringLiteral("EUR");
        if (!isCurrency(base)) {
            refuse(res, QStringLiteral("invalid base currency: %1").arg(base));
            return;
        }
        QStringList quotes;
        if (req.has_param("quotes")) {
            for (const QString& code :
                 qs(req.get_param_value("quotes")).split(u',', Qt::SkipEmptyParts)) {
                if (!isCurrency(code)) {
                    refuse(res, QStringLiteral("invalid quote currency: %1").arg(code));
                    return;
                }
                if (code != base) {
                    quotes.append(code);
                }
            }
        } else {
            for (const auto& [code, price] : SampleData::usdPrices()) {
                (void)price;
                if (code != base && isCurrency(code)) {
                    quotes.append(code);
                }
            }
        }
        const QDate today = SampleData::today();
        QDate lastBusinessDay = today;
        while (!isBusinessDay(lastBusinessDay)) {
            lastBusinessDay = lastBusinessDay.addDays(-1);
        }
        // Each institution's own rate, as `expand=providers` adds it to a row.
        const bool expand = qs(req.get_param_value("expand")).split(u',').contains(u"providers");
        QList<QDate> days;
        if (series) {
            const QDate from = QDate::fromString(qs(req.get_param_value("from")), Qt::ISODate);
            const QDate to = req.has_param("to")
                                 ? QDate::fromString(qs(req.get_param_value("to")), Qt::ISODate)
                                 : today;
            const QString group = qs(req.get_param_value("group"));
            if (!from.isValid() || !to.isValid() || from > to) {
                refuse(res, QStringLiteral("invalid date range"));
                return;
            }
            if (!group.isEmpty() && group != u"week" && group != u"month") {
                refuse(res, QStringLiteral("invalid group: %1").arg(group));
                return;
            }
            // A group is dated with its first business day in the range.
            qint64 lastKey = -1;
            for (QDate day = std::max(from, kHistoryStart); day <= std::min(to, today);
                 day = day.addDays(1)) {
                if (!isBusinessDay(day)) {
                    continue;
                }
                const qint64 key = group == u"week" ? day.addDays(1 - day.dayOfWeek()).toJulianDay()
                                   : group == u"month" ? qint64(day.year()) * 12 + day.month()
                                                       : day.toJulianDay();
                if (key != lastKey) {
                    days.append(day);
                    lastKey = key;
                }
            }
        } else if (req.has_param("date")) {
            QDate day = QDate::fromString(qs(req.get_param_value("date")), Qt::ISODate);
            if (!day.isValid()) {
                refuse(res, QStringLiteral("invalid date"));
                return;
            }
            while (!isBusinessDay(day)) {
                day = day.addDays(-1);
            }
            if (day < kHistoryStart) {
                res.status = 404;
                res.set_content(R"({"message":"No data found"})", "application/json");
                return;
            }
            days.append(day);
        } else {
            days.append(lastBusinessDay);
        }
        std::string body = "[";
        bool first = true;
        for (const QDate& day : days) {
            const QString date = day.toString(Qt::ISODate);
            for (const QString& quote : quotes) {
                // The latest day is today's sample rate, the others the sample history.
                const Decimal rate = day == lastBusinessDay ? SampleData::cross(base, quote)
                                                            : crossOn(base, quote, day);
                body += first ? "" : ",";
                body += str(QStringLiteral("{\"date\":\"%1\",\"base\":\"%2\",\"quote\":\"%3\","
                                           "\"rate\":%4")
                                .arg(date, base, quote, frankfurterRate(rate)));
                if (expand) {
                    body += str(expandedProviders(date, rate));
                }
                body += "}";
                first = false;
            }
        }
        body += "]";
        res.set_content(body, "application/json");
    });

    server_->Get("/v2/currencies", [this](const httplib::Request&, httplib::Response& res) {
        if (failIfAsked(Frankfurter, res)) {
            return;
        }
        QJsonArray list;
        for (const auto& [code, price] : SampleData::usdPrices()) {
            (void)price;
            if (SampleData::metals().contains(code) || code == u"XDR") {
                continue;
            }
            list.append(QJsonObject{
                {QStringLiteral("iso_code"), code},
                {QStringLiteral("name"),
                 CurrencyNames::displayName(code, QStringLiteral("en")).value_or(code)},
                {QStringLiteral("start_date"), kHistoryStart.toString(Qt::ISODate)},
                {QStringLiteral("end_date"), SampleData::today().toString(Qt::ISODate)}});
        }
        res.set_content(QJsonDocument(list).toJson(QJsonDocument::Compact).toStdString(),
                        "application/json");
    });
}
