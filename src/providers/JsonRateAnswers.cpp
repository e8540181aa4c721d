#include "JsonRateAnswers.h"

#include "JsonRateRows.h"

#include <simdjson.h>

#include <cstdint>

namespace JsonRateAnswers {

bool forEachRateRow(const QByteArray& data, const std::function<void(const RateRow&)>& visit,
                    const std::function<bool()>& isCancelled) {
    return visitRateRows(data, visit, [&isCancelled] { return isCancelled && isCancelled(); });
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
