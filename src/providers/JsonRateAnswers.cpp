#include "JsonRateAnswers.h"

#include <simdjson.h>

#include <cstdint>

namespace JsonRateAnswers {

namespace {

/// What the views of a `RateRows` point into.
struct Parsed {
    explicit Parsed(const QByteArray& data)
        : json(data.constData(), static_cast<size_t>(data.size())) {}
    simdjson::ondemand::parser parser;
    simdjson::padded_string json;
};

}  // namespace

std::optional<RateRows> readRateRows(const QByteArray& data,
                                     const std::function<bool()>& isCancelled) {
    using namespace simdjson;
    auto parsed = std::make_shared<Parsed>(data);
    RateRows result;
    result.storage = parsed;
    std::vector<RateRow>& rows = result.rows;
    ondemand::document document;
    ondemand::array array;
    if (parsed->parser.iterate(parsed->json).get(document) != SUCCESS ||
        document.get_array().get(array) != SUCCESS) {
        return std::nullopt;
    }
    for (auto element : array) {
        if (isCancelled && isCancelled()) {
            return std::nullopt;
        }
        ondemand::object object;
        if (element.get_object().get(object) != SUCCESS) {
            if (element.error() != SUCCESS) {
                return std::nullopt;  // a broken document, not merely an odd element
            }
            continue;
        }
        RateRow row;
        for (auto member : object) {
            ondemand::field field;
            std::string_view key;
            if (std::move(member).get(field) != SUCCESS ||
                field.unescaped_key().get(key) != SUCCESS) {
                return std::nullopt;
            }
            ondemand::value value = field.value();
            if (key == "rate") {
                ondemand::json_type type;
                if (value.type().get(type) == SUCCESS && type == ondemand::json_type::number) {
                    row.rate = value.raw_json_token();
                    while (!row.rate.empty() &&
                           (row.rate.back() == ' ' || row.rate.back() == '\n' ||
                            row.rate.back() == '\r' || row.rate.back() == '\t')) {
                        row.rate.remove_suffix(1);
                    }
                }
            } else if (key == "date" || key == "base" || key == "quote") {
                std::string_view text;
                if (value.get_string().get(text) == SUCCESS) {
                    (key == "date" ? row.date : key == "base" ? row.base : row.quote) = text;
                }
            }
        }
        rows.push_back(row);
    }
    // Nothing may follow the array.
    if (document.current_location().error() != OUT_OF_BOUNDS) {
        return std::nullopt;
    }
    return result;
}

std::optional<Decimal> decimalFromToken(std::string_view token) {
    size_t i = 0;
    const bool negative = !token.empty() && token[0] == '-';
    if (negative) {
        ++i;
    }
    std::int64_t coefficient = 0;
    int digits = 0;
    int significant = 0;
    int exponent = 0;
    bool seenPoint = false;
    for (; i < token.size(); ++i) {
        const char c = token[i];
        if (c >= '0' && c <= '9') {
            ++digits;
            if (coefficient != 0 || c != '0') {
                if (++significant > 18) {
                    return Decimal::parse(
                        QString::fromLatin1(token.data(), static_cast<qsizetype>(token.size())));
                }
                coefficient = coefficient * 10 + (c - '0');
            }
            if (seenPoint) {
                --exponent;
            }
        } else if (c == '.' && !seenPoint) {
            seenPoint = true;
        } else {
            break;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
            negativeExponent = token[i] == '-';
            ++i;
        }
        int value = 0;
        int exponentDigits = 0;
        for (; i < token.size() && token[i] >= '0' && token[i] <= '9'; ++i) {
            value = value * 10 + (token[i] - '0');
            if (++exponentDigits > 6) {
                return std::nullopt;  // beyond any exponent a decimal can hold
            }
        }
        if (exponentDigits == 0) {
            return std::nullopt;
        }
        exponent += negativeExponent ? -value : value;
    }
    if (i != token.size()) {
        return std::nullopt;
    }
    const Decimal value =
        Decimal::fromInt(negative ? -coefficient : coefficient).scaledByPowerOfTen(exponent);
    if (value.isNaN()) {
        return std::nullopt;
    }
    return value;
}

std::optional<Decimal> positiveValue(std::string_view token) {
    if (token.empty()) {
        return std::nullopt;
    }
    const std::optional<Decimal> value = decimalFromToken(token);
    if (!value || value->isNaN() || !(*value > Decimal())) {
        return std::nullopt;
    }
    return value;
}

std::optional<QString> serviceMessage(const QByteArray& body, bool plainText) {
    using namespace simdjson;
    const QByteArray trimmed = body.trimmed();
    if (trimmed.isEmpty()) {
        return std::nullopt;
    }
    if (trimmed.startsWith('{')) {
        ondemand::parser parser;
        const padded_string json(trimmed.constData(), static_cast<size_t>(trimmed.size()));
        ondemand::document document;
        std::string_view message;
        if (parser.iterate(json).get(document) == SUCCESS &&
            document.find_field_unordered("message").get_string().get(message) == SUCCESS &&
            !message.empty()) {
            return QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()));
        }
        return std::nullopt;
    }
    // A CDN or proxy explains itself in a line of text; a page of HTML says nothing readable.
    if (!plainText || trimmed.size() > 300 || trimmed.contains('<')) {
        return std::nullopt;
    }
    return QString::fromUtf8(trimmed).simplified();
}

}  // namespace JsonRateAnswers
