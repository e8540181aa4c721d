#include "CPayPalWebServiceClient.h"

#include "Decimal.h"
#include "Localization.h"
#include "Log.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <simdjson.h>

namespace {

const QString logName = QStringLiteral("PayPal");

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

/// What a conversion answer says, as far as it could be read.
struct ConversionAnswer {
    bool success = false;
    /// The first error's message, when the answer carried one.
    QString errorMessage;
    /// Code and amount text of each converted currency, in answer order.
    QList<QPair<QString, QString>> amounts;
};

/// The text of a JSON value that should be a number: a string's contents, or a number's own
/// digits (never through binary floating point).
std::optional<QString> numberText(simdjson::ondemand::value value) {
    simdjson::ondemand::json_type type;
    if (value.type().get(type) != simdjson::SUCCESS) {
        return std::nullopt;
    }
    std::string_view text;
    if (type == simdjson::ondemand::json_type::string) {
        if (value.get_string().get(text) != simdjson::SUCCESS) {
            return std::nullopt;
        }
    } else if (type == simdjson::ondemand::json_type::number) {
        text = value.raw_json_token();
    } else {
        return std::nullopt;
    }
    return toQString(text).trimmed();
}

ConversionAnswer readAnswer(const QByteArray& data) {
    using namespace simdjson;
    ConversionAnswer answer;
    const padded_string json(data.constData(), static_cast<size_t>(data.size()));
    // The reads below look fields up one after another, and the on-demand parser must not be
    // used again once it has met a malformed part (it is left without its state). So the
    // whole answer, a few kilobytes, is checked first: after that only a missing field or one
    // of another type can turn up, and both are mere absences.
    dom::parser validator;
    if (validator.parse(json).error() != SUCCESS) {
        return answer;
    }
    ondemand::parser parser;
    ondemand::document document;
    ondemand::object root;
    if (parser.iterate(json).get(document) != SUCCESS ||
        document.get_object().get(root) != SUCCESS) {
        return answer;
    }

    ondemand::object envelope;
    std::string_view ack;
    answer.success =
        root.find_field_unordered("responseEnvelope").get_object().get(envelope) == SUCCESS &&
        envelope.find_field_unordered("ack").get_string().get(ack) == SUCCESS && ack == "Success";

    if (!answer.success) {
        ondemand::array errors;
        if (root.find_field_unordered("error").get_array().get(errors) == SUCCESS) {
            for (auto element : errors) {
                ondemand::object error;
                std::string_view message;
                if (element.get_object().get(error) == SUCCESS &&
                    error.find_field_unordered("message").get_string().get(message) == SUCCESS) {
                    answer.errorMessage = toQString(message);
                }
                break;  // only the first error counts
            }
        }
        return answer;
    }

    ondemand::array conversions;
    if (root.find_field_unordered("estimatedAmountTable")
            .find_field_unordered("currencyConversionList")
            .get_array()
            .get(conversions) != SUCCESS) {
        return answer;
    }
    for (auto conversion : conversions) {
        ondemand::array currencies;
        if (conversion.find_field_unordered("currencyList")
                .find_field_unordered("currency")
                .get_array()
                .get(currencies) != SUCCESS) {
            break;
        }
        for (auto element : currencies) {
            ondemand::object currency;
            if (element.get_object().get(currency) != SUCCESS) {
                break;  // a broken document: stop reading
            }
            std::string_view code;
            if (currency.find_field_unordered("code").get_string().get(code) != SUCCESS) {
                continue;
            }
            ondemand::value amount;
            std::optional<QString> amountText;
            if (currency.find_field_unordered("amount").get(amount) == SUCCESS) {
                amountText = numberText(amount);
            }
            answer.amounts.append({toQString(code), amountText.value_or(QString())});
        }
        break;  // only the first conversion list counts
    }
    return answer;
}

}  // namespace

CPayPalWebServiceClient::CPayPalWebServiceClient(const Endpoints& endpoints)
    : endpoints_(endpoints) {}

void CPayPalWebServiceClient::queryCurrencies(const QStringList& codes, const QString& base) {
    cancelAllHttpRequests();
    requestedCurrencies_ = codes;
    baseCurrencyCode_ = base;
    currenciesInfo_ = std::make_shared<CCBRCurrenciesInfo>();
    lastRequestedIndex_ = 0;
    emptyChunkRetries_ = 0;
    sendAsyncHttpRequest(createHttpRequest());
}

QStringList CPayPalWebServiceClient::currentChunk() const {
    return requestedCurrencies_.mid(lastRequestedIndex_, chunkSize);
}

QByteArray CPayPalWebServiceClient::createRequestBody() const {
    const QJsonObject body{
        {QStringLiteral("baseAmountList"),
         QJsonObject{
             {QStringLiteral("currency"), QJsonObject{{QStringLiteral("code"), baseCurrencyCode_},
                                                      {QStringLiteral("amount"), baseAmount}}}}},
        {QStringLiteral("convertToCurrencyList"),
         QJsonObject{{QStringLiteral("currencyCode"), QJsonArray::fromStringList(currentChunk())}}},
        {QStringLiteral("requestEnvelope"),
         QJsonObject{{QStringLiteral("errorLanguage"), QStringLiteral("en_us")}}},
    };
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

CHttpRequestPtr CPayPalWebServiceClient::createHttpRequest() const {
    auto request = std::make_shared<CHttpRequest>(
        endpoints_.url(Endpoints::PayPal, QStringLiteral("/AdaptivePayments/ConvertCurrency")));
    HttpRequestSettings& settings = request->requestSettings;
    settings.method = "POST";
    settings.setHeader("X-PAYPAL-SECURITY-USERID",
                       endpoints_.value(Endpoints::PayPalUserId).toUtf8());
    settings.setHeader("X-PAYPAL-SECURITY-PASSWORD",
                       endpoints_.value(Endpoints::PayPalPassword).toUtf8());
    settings.setHeader("X-PAYPAL-SECURITY-SIGNATURE",
                       endpoints_.value(Endpoints::PayPalSignature).toUtf8());
    settings.setHeader("X-PAYPAL-APPLICATION-ID",
                       endpoints_.value(Endpoints::PayPalApplicationId).toUtf8());
    settings.setHeader("X-PAYPAL-REQUEST-DATA-FORMAT", "JSON");
    settings.setHeader("X-PAYPAL-RESPONSE-DATA-FORMAT", "JSON");
    settings.setHeader(CHttpRequest::contentTypeHeaderFieldName().toUtf8(), "application/json");
    settings.body = createRequestBody();
    return request;
}

void CPayPalWebServiceClient::fail(const QString& description) {
    currenciesInfo_.reset();
    if (delegate_ != nullptr) {
        delegate_->payPalQueryFailedWithErrorDescription(description);
    }
}

void CPayPalWebServiceClient::requestSucceeded(CHttpRequest&, const QByteArray& data) {
    if (!currenciesInfo_) {
        return;  // no query in progress
    }
    const ConversionAnswer answer = readAnswer(data);
    if (!answer.success) {
        fail(answer.errorMessage.isEmpty()
                 ? Localization::localizedString(QStringLiteral("UnknownPaypalError"))
                 : answer.errorMessage);
        return;
    }

    const Decimal one = Decimal::fromInt(1);
    const Decimal base = Decimal::fromInt(baseAmount);
    for (const auto& [code, amountText] : answer.amounts) {
        const Decimal amount = Decimal::fromString(amountText);
        // Nothing buys an amount of 0: such a currency has no rate, and no row.
        if (amount.isZero()) {
            nlog(QStringLiteral("PayPal answered an amount of 0 for %1").arg(code));
            continue;
        }
        auto row = std::make_shared<CCBRCurrencyInfo>();
        row->isoTextCode = code;
        row->nominalValue = 1;
        row->saleValue = one / (amount / base);
        currenciesInfo_->addCurrencyInfo(row);
    }

    // The next chunk starts after the currencies answered so far; a chunk that yields nothing
    // is asked again, a bounded number of times.
    lastRequestedIndex_ += static_cast<int>(answer.amounts.size());
    if (lastRequestedIndex_ >= requestedCurrencies_.size()) {
        CCBRCurrenciesInfoPtr result = std::move(currenciesInfo_);
        currenciesInfo_.reset();
        if (delegate_ != nullptr) {
            delegate_->payPalQueryCurrenciesCompletedWithResult(result);
        }
        return;
    }
    if (!answer.amounts.isEmpty()) {
        emptyChunkRetries_ = 0;
    } else if (++emptyChunkRetries_ > maximumEmptyChunkRetries) {
        fail(QStringLiteral("PayPal answered no rates for %1.")
                 .arg(currentChunk().join(QStringLiteral(", "))));
        return;
    }
    sendAsyncHttpRequest(createHttpRequest());
}

void CPayPalWebServiceClient::requestFailed(CHttpRequest&, const std::optional<HttpError>& error,
                                            const std::optional<HttpResponse>& response,
                                            const std::optional<QByteArray>& data) {
    fail(logRequestFailure(logName, error, response, data));
}
