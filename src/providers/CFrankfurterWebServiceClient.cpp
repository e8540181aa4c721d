#include "CFrankfurterWebServiceClient.h"

#include "JsonRateAnswers.h"
#include "Localization.h"
#include "Log.h"

#include <QTimeZone>

#include <cctype>

#include <utility>

#include <simdjson.h>

namespace {

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

bool isCode(const QString& code) {
    if (code.size() != 3) {
        return false;
    }
    for (const QChar c : code) {
        if (c < u'A' || c > u'Z') {
            return false;
        }
    }
    return true;
}

}  // namespace

CFrankfurterWebServiceClient::CFrankfurterWebServiceClient(const Endpoints& endpoints)
    : endpoints_(endpoints) {}

QUrl CFrankfurterWebServiceClient::ratesUrl(const Endpoints& endpoints, const QStringList& codes,
                                            const QString& base, const QDate& date,
                                            bool expandProviders) {
    QStringList quotes;
    for (const QString& code : codes) {
        // Codes go into the query as they are; anything but three letters has no place there.
        if (code != base && isCode(code) && !quotes.contains(code)) {
            quotes.append(code);
        }
    }
    QString query = QStringLiteral("base=") + (isCode(base) ? base : QStringLiteral("USD"));
    if (!quotes.isEmpty()) {
        query += QStringLiteral("&quotes=") + quotes.join(u',');
    }
    if (date.isValid()) {
        query += QStringLiteral("&date=") + date.toString(Qt::ISODate);
    }
    const QString providers = endpoints.value(Endpoints::FrankfurterProviders).trimmed();
    if (!providers.isEmpty()) {
        query += QStringLiteral("&providers=") +
                 QString::fromLatin1(QUrl::toPercentEncoding(providers, ","));
    }
    if (expandProviders) {
        query += QStringLiteral("&expand=providers");
    }
    return endpoints.url(Endpoints::Frankfurter, QStringLiteral("/v2/rates"), query);
}

void CFrankfurterWebServiceClient::queryCurrencies(const QStringList& codes, const QString& base,
                                                   const QDate& date) {
    cancelAllHttpRequests();
    query_ = Query::Rates;
    requestedCurrencies_ = codes;
    baseCurrencyCode_ = base;
    providerRates_.clear();
    auto request = std::make_shared<CHttpRequest>(
        ratesUrl(endpoints_, codes, base, date, expandProviders_));
    request->requestSettings.method = "GET";
    sendAsyncHttpRequest(std::move(request));
}

void CFrankfurterWebServiceClient::queryAvailableCurrencies() {
    cancelAllHttpRequests();
    query_ = Query::Currencies;
    auto request = std::make_shared<CHttpRequest>(
        endpoints_.url(Endpoints::Frankfurter, QStringLiteral("/v2/currencies")));
    request->requestSettings.method = "GET";
    sendAsyncHttpRequest(std::move(request));
}

CCBRCurrenciesInfoPtr CFrankfurterWebServiceClient::currenciesInfoFromAnswer(
    const QByteArray& data, const QString& base, const QStringList& codes, QString* error) {
    auto info = std::make_shared<CCBRCurrenciesInfo>();
    const Decimal one = Decimal::fromInt(1);
    QDateTime latest;
    const auto addRow = [&](const JsonRateAnswers::RateRow& raw) {
        const QString quote = text(raw.quote);
        if (text(raw.base) != base || !isCode(quote) || quote == base ||
            (!codes.isEmpty() && !codes.contains(quote)) ||
            info->findCurrencyInfoWithTextCode(quote)) {
            return;
        }
        const std::optional<Decimal> rate = JsonRateAnswers::positiveValue(raw.rate);
        const QDate day = QDate::fromString(text(raw.date), Qt::ISODate);
        if (!rate || !day.isValid()) {
            nlog(QStringLiteral("Frankfurter: no usable rate for %1").arg(quote));
            return;
        }
        // The answer says how much of the currency one unit of the base buys; the table
        // holds the base's price of one unit of the currency.
        CCBRCurrencyInfoPtr row = std::make_shared<CCBRCurrencyInfo>();
        row->isoTextCode = quote;
        row->nominalValue = 1;
        row->saleValue = one / *rate;
        row->actualDate = QDateTime(day, QTime(0, 0), QTimeZone::utc());
        if (!latest.isValid() || row->actualDate > latest) {
            latest = row->actualDate;
        }
        info->addCurrencyInfo(row);
    };
    if (!JsonRateAnswers::forEachRateRow(data, addRow)) {
        if (error != nullptr) {
            *error = Localization::localizedString(QStringLiteral("FrankfurterInvalidAnswer"));
        }
        return nullptr;
    }
    CCBRCurrencyInfoPtr baseRow = std::make_shared<CCBRCurrencyInfo>();
    baseRow->isoTextCode = base;
    baseRow->nominalValue = 1;
    baseRow->saleValue = one;
    if (latest.isValid()) {
        baseRow->actualDate = latest;
        info->currencyDate = latest;
    }
    info->currenciesInfo.prepend(baseRow);
    return info;
}

QList<CFrankfurterWebServiceClient::ProviderRate>
CFrankfurterWebServiceClient::providerRatesFromAnswer(const QByteArray& data, const QString& base) {
    using namespace simdjson;
    QList<ProviderRate> rates;
    ondemand::parser parser;
    const padded_string json(data.constData(), static_cast<size_t>(data.size()));
    ondemand::document document;
    ondemand::array rows;
    if (parser.iterate(json).get(document) != SUCCESS ||
        document.get_array().get(rows) != SUCCESS) {
        return rates;
    }
    // The fields of a row come in any order: the institutions are read once the row's base
    // and quote are known.
    for (auto element : rows) {
        ondemand::object row;
        if (element.get_object().get(row) != SUCCESS) {
            return rates;
        }
        std::string_view rowBase;
        std::string_view quote;
        if (row.find_field_unordered("base").get_string().get(rowBase) != SUCCESS ||
            row.find_field_unordered("quote").get_string().get(quote) != SUCCESS ||
            text(rowBase) != base || !isCode(text(quote))) {
            continue;
        }
        ondemand::array providers;
        if (row.find_field_unordered("providers").get_array().get(providers) != SUCCESS) {
            continue;
        }
        for (auto entry : providers) {
            ondemand::object provider;
            if (entry.get_object().get(provider) != SUCCESS) {
                break;
            }
            ProviderRate rate;
            rate.quote = text(quote);
            for (auto member : provider) {
                ondemand::field field;
                std::string_view key;
                if (std::move(member).get(field) != SUCCESS ||
                    field.unescaped_key().get(key) != SUCCESS) {
                    return rates;  // a broken document: nothing after this is trustworthy
                }
                ondemand::value value = field.value();
                std::string_view string;
                bool flag = false;
                if (key == "key" && value.get_string().get(string) == SUCCESS) {
                    rate.key = text(string).left(20);
                } else if (key == "date" && value.get_string().get(string) == SUCCESS) {
                    rate.date = QDate::fromString(text(string), Qt::ISODate);
                } else if (key == "excluded" && value.get_bool().get(flag) == SUCCESS) {
                    rate.excluded = flag;
                } else if (key == "rate") {
                    ondemand::json_type type;
                    if (value.type().get(type) == SUCCESS && type == ondemand::json_type::number) {
                        std::string_view token = value.raw_json_token();
                        while (!token.empty() &&
                               std::isspace(static_cast<unsigned char>(token.back()))) {
                            token.remove_suffix(1);
                        }
                        if (const auto positive = JsonRateAnswers::positiveValue(token)) {
                            rate.rate = *positive;
                        }
                    }
                }
            }
            if (!rate.key.trimmed().isEmpty() && !rate.rate.isNaN()) {
                rates.append(rate);
            }
        }
    }
    return rates;
}

QStringList CFrankfurterWebServiceClient::currencyCodesFromAnswer(const QByteArray& data) {
    using namespace simdjson;
    ondemand::parser parser;
    const padded_string json(data.constData(), static_cast<size_t>(data.size()));
    ondemand::document document;
    ondemand::array array;
    QStringList codes;
    if (parser.iterate(json).get(document) != SUCCESS ||
        document.get_array().get(array) != SUCCESS) {
        return codes;
    }
    for (auto element : array) {
        ondemand::object object;
        std::string_view code;
        if (element.get_object().get(object) != SUCCESS) {
            return {};
        }
        const error_code found = object.find_field_unordered("iso_code").get_string().get(code);
        if (found == SUCCESS) {
            const QString value = text(code);
            if (isCode(value) && !codes.contains(value)) {
                codes.append(value);
            }
        } else if (found != NO_SUCH_FIELD && found != INCORRECT_TYPE) {
            // A broken document leaves the parser unusable: reading on would read garbage.
            return {};
        }
    }
    return codes;
}

void CFrankfurterWebServiceClient::requestSucceeded(CHttpRequest&, const QByteArray& data) {
    const Query query = std::exchange(query_, Query::None);
    if (query == Query::Currencies) {
        const QStringList codes = currencyCodesFromAnswer(data);
        if (codes.isEmpty()) {
            nlog(QStringLiteral("Frankfurter: the currency list could not be read"));
        } else if (delegate_ != nullptr) {
            delegate_->frankfurterAvailableCurrenciesReceived(codes);
        }
        return;
    }
    if (query != Query::Rates) {
        return;
    }
    QString error;
    CCBRCurrenciesInfoPtr info =
        currenciesInfoFromAnswer(data, baseCurrencyCode_, requestedCurrencies_, &error);
    if (info && expandProviders_) {
        providerRates_ = providerRatesFromAnswer(data, baseCurrencyCode_);
    }
    if (delegate_ == nullptr) {
        return;
    }
    if (!info) {
        delegate_->frankfurterQueryFailedWithErrorDescription(error);
        return;
    }
    delegate_->frankfurterQueryCurrenciesCompletedWithResult(info);
}

void CFrankfurterWebServiceClient::requestFailed(CHttpRequest&,
                                                 const std::optional<HttpError>& error,
                                                 const std::optional<HttpResponse>& response,
                                                 const std::optional<QByteArray>& data) {
    const Query query = std::exchange(query_, Query::None);
    const QString description = logRequestFailure(logName, error, response, data);
    if (query != Query::Rates || delegate_ == nullptr) {
        return;
    }
    // A refused query (422, 404) carries the service's reason, which says more than a status.
    const std::optional<QString> message =
        response && data ? JsonRateAnswers::serviceMessage(*data) : std::nullopt;
    delegate_->frankfurterQueryFailedWithErrorDescription(
        message ? QStringLiteral("%1 (%2)").arg(*message, description) : description);
}
