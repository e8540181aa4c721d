#pragma once

// The row walk behind JsonRateAnswers::forEachRateRow, for callers that read long answers (a
// chart's whole history): the visit and the cancellation check are inlined instead of called
// through std::function for every row. Include only where simdjson is linked.

#include "JsonRateAnswers.h"

#include <QByteArray>

#include <simdjson.h>

#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

namespace JsonRateAnswers {

/// True when the member name that starts at `raw` (just after its opening quote) is `name`
/// as written, without escapes: a fixed-size comparison and the closing quote. The text is the
/// parser's padded copy, so reading a few characters past a shorter name is safe.
template <size_t N>
inline bool rawNameIs(const char* raw, const char (&name)[N]) {
    return std::memcmp(raw, name, N - 1) == 0 && raw[N - 1] == '"';
}

/// True when the member name that starts at `raw` holds an escape (so that it may still read
/// as one of the expected names once unescaped).
inline bool nameHasEscape(const char* raw) {
    size_t length = 0;
    while (raw[length] != '"' && raw[length] != '\\') {
        ++length;
    }
    return raw[length] == '\\';
}

namespace detail {

enum class RowMember { Date, Base, Quote, Rate, Other, Escaped };

/// Which member of a row the name that starts at `raw` names, without unescaping it; `Escaped`
/// for a name with an escape (which may still spell one of the members).
inline RowMember rowMemberOfRawName(const char* raw) {
    switch (raw[0]) {
        case 'd':
            if (rawNameIs(raw, "date")) {
                return RowMember::Date;
            }
            break;
        case 'b':
            if (rawNameIs(raw, "base")) {
                return RowMember::Base;
            }
            break;
        case 'q':
            if (rawNameIs(raw, "quote")) {
                return RowMember::Quote;
            }
            break;
        case 'r':
            if (rawNameIs(raw, "rate")) {
                return RowMember::Rate;
            }
            break;
        default:
            break;
    }
    return nameHasEscape(raw) ? RowMember::Escaped : RowMember::Other;
}

/// The member an escaped name spells; false for a name that cannot be unescaped.
inline bool rowMemberOfEscapedName(simdjson::ondemand::field& field, RowMember& member) {
    std::string_view name;
    if (field.unescaped_key().get(name) != simdjson::SUCCESS) {
        return false;
    }
    member = name == "date"    ? RowMember::Date
             : name == "base"  ? RowMember::Base
             : name == "quote" ? RowMember::Quote
             : name == "rate"  ? RowMember::Rate
                               : RowMember::Other;
    return true;
}

inline std::string_view withoutTrailingSpace(std::string_view token) {
    while (!token.empty() && (token.back() == ' ' || token.back() == '\n' || token.back() == '\r' ||
                              token.back() == '\t')) {
        token.remove_suffix(1);
    }
    return token;
}

/// A string's text taken from its token in the answer itself. Codes and dates need no escapes;
/// a string with one is not read.
inline std::string_view plainString(std::string_view token) {
    token = withoutTrailingSpace(token);
    if (token.size() < 2 || token.front() != '"' || token.back() != '"') {
        return {};
    }
    token = token.substr(1, token.size() - 2);
    bool escaped = false;
    for (const char c : token) {
        escaped |= c == '\\';
    }
    return escaped ? std::string_view() : token;
}

}  // namespace detail

/// A row's members as their tokens in the answer: a string with its quotes (and any white space
/// after it), a rate only when it is a number; empty for a member the row does not have.
struct RawRateRow {
    std::string_view date;
    std::string_view base;
    std::string_view quote;
    std::string_view rate;
};

/// The walk of forEachRateRow with `visit(const RawRateRow&)`, for callers that check the raw
/// tokens against what they expect rather than take the strings out of them.
template <class Visit, class IsCancelled>
bool visitRawRateRows(const QByteArray& data, Visit&& visit, IsCancelled&& isCancelled) {
    using namespace simdjson;
    // The parser's buffers, and the padded copy of the answer it reads, grow to the largest
    // answer; kept per thread, they are made once.
    thread_local ondemand::parser parser;
    thread_local std::vector<char> padded;
    const size_t size = static_cast<size_t>(data.size());
    if (padded.size() < size + SIMDJSON_PADDING) {
        padded.resize(size + SIMDJSON_PADDING);
    }
    std::memcpy(padded.data(), data.constData(), size);
    std::memset(padded.data() + size, 0, SIMDJSON_PADDING);
    ondemand::document document;
    ondemand::array array;
    if (parser.iterate(padded.data(), size, padded.size()).get(document) != SUCCESS ||
        document.get_array().get(array) != SUCCESS) {
        return false;
    }
    // Asking after every few rows keeps a cancelled walk short without a call for each row.
    unsigned rows = 0;
    for (auto element : array) {
        if (rows++ % 64 == 0 && isCancelled()) {
            return false;
        }
        ondemand::object object;
        if (element.get_object().get(object) != SUCCESS) {
            if (element.error() != SUCCESS) {
                return false;  // a broken document, not merely an odd element
            }
            continue;
        }
        RawRateRow row;
        for (auto member : object) {
            if (member.error() != SUCCESS) {
                return false;
            }
            // Used where it lies: copying the field out of its result costs a stall a member.
            ondemand::field& field = member.value_unsafe();
            detail::RowMember which = detail::rowMemberOfRawName(field.key().raw());
            if (which == detail::RowMember::Escaped &&
                !detail::rowMemberOfEscapedName(field, which)) {
                return false;
            }
            if (which == detail::RowMember::Other) {
                continue;
            }
            const std::string_view token = field.value().raw_json_token();
            switch (which) {
                case detail::RowMember::Rate:
                    // A number starts with a digit or a minus sign; the reader checks the rest.
                    if (!token.empty() && (token.front() == '-' ||
                                           static_cast<unsigned char>(token.front() - '0') <= 9)) {
                        row.rate = detail::withoutTrailingSpace(token);
                    }
                    break;
                case detail::RowMember::Date:
                    row.date = token;
                    break;
                case detail::RowMember::Base:
                    row.base = token;
                    break;
                case detail::RowMember::Quote:
                    row.quote = token;
                    break;
                default:
                    break;
            }
        }
        visit(row);
    }
    // Nothing may follow the array.
    return document.current_location().error() == OUT_OF_BOUNDS;
}

/// forEachRateRow with `visit(const RateRow&)` and `isCancelled()` as any callables.
template <class Visit, class IsCancelled>
bool visitRateRows(const QByteArray& data, Visit&& visit, IsCancelled&& isCancelled) {
    const auto visitRaw = [&visit](const RawRateRow& raw) {
        RateRow row;
        row.date = detail::plainString(raw.date);
        row.base = detail::plainString(raw.base);
        row.quote = detail::plainString(raw.quote);
        row.rate = raw.rate;
        visit(row);
    };
    return visitRawRateRows(data, visitRaw, isCancelled);
}

/// The string token of `text` as a member's value is written without escapes, for comparing
/// raw tokens: `"` + text + `"`; empty when `text` needs an escape, as then no raw token reads
/// as it.
inline QByteArray plainStringToken(const QByteArray& text) {
    for (const char c : text) {
        if (c == '"' || c == '\\') {
            return {};
        }
    }
    return '"' + text + '"';
}

/// True when the raw token `token` is the string `quoted` (made by plainStringToken) as written.
inline bool rawStringIs(std::string_view token, std::string_view quoted) {
    const size_t size = quoted.size();
    if (size == 0 || token.size() < size) {
        return false;
    }
    // A quoted three-letter code, the usual case, in two loads rather than a call.
    if (size == 5) {
        std::uint32_t head = 0;
        std::uint32_t expected = 0;
        std::memcpy(&head, token.data(), sizeof head);
        std::memcpy(&expected, quoted.data(), sizeof expected);
        if (head != expected || token[4] != quoted[4]) {
            return false;
        }
    } else if (std::memcmp(token.data(), quoted.data(), size) != 0) {
        return false;
    }
    return detail::withoutTrailingSpace(token.substr(size)).empty();
}

}  // namespace JsonRateAnswers
