#include "CCurrencyApiWebServiceClient.h"

#include "CurrencyNames.h"
#include "JsonRateAnswers.h"
#include "Localization.h"
#include "Log.h"

#include <QSet>
#include <QTimeZone>

#include <simdjson.h>

namespace {

QString text(std::string_view view) {
    return QString::fromUtf8(view.data(), static_cast<qsizetype>(view.size()));
}

}  // namespace

CCurrencyApiWebServiceClient::CCurrencyApiWebServiceClient(const Endpoints& endpoints)
    : endpoints_(endpoints) {}

QUrl CCurrencyApiWebServiceClient::currenciesUrl(const Endpoints& endpoints, const QString& hostKey,
                                                 const QString& base) {
    return endpoints.url(hostKey, QStringLiteral("/v1/currencies/%1.json").arg(base.toLower()));
}

bool CCurrencyApiWebServiceClient::isKeptCode(const QString& code) {
    static const QSet<QString> kept = [] {
        QSet<QString> codes;
        for (const QString& c : CurrencyNames::isoCurrencyCodes()) {
            codes.insert(c);
        }
        for (const char* metal : {"XAU", "XAG", "XPT", "XPD"}) {
            codes.insert(QString::fromLatin1(metal));
        }
        return codes;
    }();
    return kept.contains(code);
}

void CCurrencyApiWebServiceClient::queryCurrencies(const QString& base) {
    baseCurrencyCode_ = base.toUpper();
    active_ = true;
    primaryFailure_.clear();
    send(Endpoints::CurrencyApi);
}

void CCurrencyApiWebServiceClient::send(const QString& hostKey) {
    cancelAllHttpRequests();
    usingFallback_ = hostKey == Endpoints::CurrencyApiFallback;
    auto request =
        std::make_shared<CHttpRequest>(currenciesUrl(endpoints_, hostKey, baseCurrencyCode_));
    request->requestSettings.method = "GET";
    sendAsyncHttpRequest(std::move(request));
}

CCBRCurrenciesInfoPtr CCurrencyApiWebServiceClient::currenciesInfoFromAnswer(const QByteArray& data,
                                                                             const QString& base) {
    using namespace simdjson;
    thread_local ondemand::parser parser;  // kept: allocating one per answer is the costly part
    const padded_string json(data.constData(), static_cast<size_t>(data.size()));
    ondemand::document document;
    ondemand::object root;
    if (parser.iterate(json).get(document) != SUCCESS ||
        document.get_object().get(root) != SUCCESS) {
        return nullptr;
    }
    const std::string baseKey = base.toLower().toStdString();
    QDate day;
    bool sawRates = false;
    auto info = std::make_shared<CCBRCurrenciesInfo>();
    const Decimal one = Decimal::fromInt(1);
    for (auto member : root) {
        ondemand::field field;
        std::string_view key;
        if (std::move(member).get(field) != SUCCESS || field.unescaped_key().get(key) != SUCCESS) {
            return nullptr;
        }
        if (key == "date") {
            std::string_view dateText;
            if (field.value().get_string().get(dateText) == SUCCESS) {
                day = QDate::fromString(text(dateText), Qt::ISODate);
            }
            continue;
        }
        if (key != baseKey) {
            continue;
        }
        ondemand::object rates;
        if (field.value().get_object().get(rates) != SUCCESS) {
            return nullptr;
        }
        sawRates = true;
        for (auto entry : rates) {
            ondemand::field rate;
            std::string_view name;
            if (std::move(entry).get(rate) != SUCCESS ||
                rate.unescaped_key().get(name) != SUCCESS) {
                return nullptr;
            }
            const QString code = text(name).toUpper();
            if (!isKeptCode(code) || info->findCurrencyInfoWithTextCode(code)) {
                continue;
            }
            ondemand::value value = rate.value();
            ondemand::json_type type;
            std::optional<Decimal> amount;
            if (value.type().get(type) == SUCCESS && type == ondemand::json_type::number) {
                std::string_view token = value.raw_json_token();
                while (!token.empty() && (token.back() == ' ' || token.back() == '\n' ||
                                          token.back() == '\r' || token.back() == '\t')) {
                    token.remove_suffix(1);
                }
                amount = JsonRateAnswers::positiveValue(token);
            }
            if (!amount) {
                continue;
            }
            // The file says how much of the currency one unit of the base buys.
            CCBRCurrencyInfoPtr row = std::make_shared<CCBRCurrencyInfo>();
            row->isoTextCode = code;
            row->nominalValue = 1;
            row->saleValue = code == base ? one : one / *amount;
            info->addCurrencyInfo(row);
        }
    }
    if (!sawRates || document.current_location().error() != OUT_OF_BOUNDS) {
        return nullptr;
    }
    if (!info->findCurrencyInfoWithTextCode(base)) {
        CCBRCurrencyInfoPtr row = std::make_shared<CCBRCurrencyInfo>();
        row->isoTextCode = base;
        row->nominalValue = 1;
        row->saleValue = one;
        info->currenciesInfo.prepend(row);
    }
    if (day.isValid()) {
        info->currencyDate = QDateTime(day, QTime(0, 0), QTimeZone::utc());
        for (const CCBRCurrencyInfoPtr& row : info->currenciesInfo) {
            row->actualDate = info->currencyDate;
        }
    }
    return info;
}

void CCurrencyApiWebServiceClient::hostFailed(const QString& description) {
    if (!usingFallback_) {
        primaryFailure_ = description;
        send(Endpoints::CurrencyApiFallback);
        return;
    }
    active_ = false;
    usingFallback_ = false;
    // Both hosts failed: the user sees what each of them said.
    const QString text = primaryFailure_.isEmpty() || primaryFailure_ == description
                             ? description
                             : primaryFailure_ + u'\n' + description;
    if (delegate_ != nullptr) {
        delegate_->currencyApiQueryFailedWithErrorDescription(text);
    }
}

void CCurrencyApiWebServiceClient::requestSucceeded(CHttpRequest&, const QByteArray& data) {
    if (!active_) {
        return;
    }
    CCBRCurrenciesInfoPtr info = currenciesInfoFromAnswer(data, baseCurrencyCode_);
    if (!info) {
        nlog(QStringLiteral("CurrencyApi: unreadable answer from %1")
                 .arg(usingFallback_ ? QStringLiteral("the fallback host")
                                     : QStringLiteral("the primary host")));
        hostFailed(Localization::localizedString(QStringLiteral("CurrencyApiInvalidAnswer")));
        return;
    }
    active_ = false;
    usingFallback_ = false;
    if (delegate_ != nullptr) {
        delegate_->currencyApiQueryCurrenciesCompletedWithResult(info);
    }
}

void CCurrencyApiWebServiceClient::requestFailed(CHttpRequest&,
                                                 const std::optional<HttpError>& error,
                                                 const std::optional<HttpResponse>& response,
                                                 const std::optional<QByteArray>& data) {
    if (!active_) {
        return;
    }
    const QString description = logRequestFailure(logName, error, response, data);
    const std::optional<QString> message =
        response && data ? JsonRateAnswers::serviceMessage(*data, true) : std::nullopt;
    hostFailed(message ? QStringLiteral("%1 (%2)").arg(*message, description) : description);
}
