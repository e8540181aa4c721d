#include "JsonRateAnswers.h"

#include <simdjson.h>

#include <cstdint>

namespace JsonRateAnswers {

namespace {

/// A token without the white space the tokenizer leaves behind.
std::string_view trimmed(std::string_view token) {
    while (!token.empty() && (token.back() == ' ' || token.back() == '\n' || token.back() == '\r' ||
                              token.back() == '\t')) {
        token.remove_suffix(1);
    }
    return token;
}

/// A string's text taken from its token in the answer itself. Codes and dates need no escapes;
/// a string with one is not read.
std::string_view plainString(std::string_view token) {
    token = trimmed(token);
    if (token.size() < 2 || token.front() != '"' || token.back() != '"' ||
        token.find('\\') != std::string_view::npos) {
        return {};
    }
    return token.substr(1, token.size() - 2);
}

}  // namespace

bool forEachRateRow(const QByteArray& data, const std::function<void(const RateRow&)>& visit,
                    const std::function<bool()>& isCancelled) {
    using namespace simdjson;
    // The parser's buffers grow to the largest answer; kept per thread, they are made once.
    thread_local ondemand::parser parser;
    const padded_string json(data.constData(), static_cast<size_t>(data.size()));
    ondemand::document document;
    ondemand::array array;
    if (parser.iterate(json).get(document) != SUCCESS ||
        document.get_array().get(array) != SUCCESS) {
        return false;
    }
    for (auto element : array) {
        if (isCancelled && isCancelled()) {
            return false;
        }
        ondemand::object object;
        if (element.get_object().get(object) != SUCCESS) {
            if (element.error() != SUCCESS) {
                return false;  // a broken document, not merely an odd element
            }
            continue;
        }
        RateRow row;
        for (auto member : object) {
            ondemand::field field;
            std::string_view key;
            if (std::move(member).get(field) != SUCCESS ||
                field.unescaped_key().get(key) != SUCCESS) {
                return false;
            }
            ondemand::value value = field.value();
            if (key == "rate") {
                ondemand::json_type type;
                if (value.type().get(type) == SUCCESS && type == ondemand::json_type::number) {
                    row.rate = trimmed(value.raw_json_token());
                }
            } else if (key == "date" || key == "base" || key == "quote") {
                (key == "date"   ? row.date
                 : key == "base" ? row.base
                                 : row.quote) = plainString(value.raw_json_token());
            }
        }
        visit(row);
    }
    // Nothing may follow the array.
    return document.current_location().error() == OUT_OF_BOUNDS;
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
    const Decimal value = Decimal::fromParts(negative && coefficient != 0,
                                             static_cast<std::uint64_t>(coefficient), exponent);
    if (value.isNaN()) {
        return std::nullopt;
    }
    return value;
}

std::optional<Decimal> positiveValue(std::string_view token) {
    if (token.empty()) {
        return std::nullopt;
    }
    // The sign and a zero show in the text; asking the decimal would cost a comparison a row.
    bool zero = true;
    for (const char c : token) {
        if (c == 'e' || c == 'E') {
            break;
        }
        if (c >= '1' && c <= '9') {
            zero = false;
            break;
        }
    }
    if (token.front() == '-' || zero) {
        return std::nullopt;
    }
    // A tiny exponent ("1e-7745") leaves nothing after rounding.
    std::optional<Decimal> value = decimalFromToken(token);
    if (value && !(*value > Decimal())) {
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
