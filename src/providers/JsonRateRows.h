#pragma once

// The row walk behind JsonRateAnswers::forEachRateRow, for callers that read long answers (a
// chart's whole history): the visit and the cancellation check are inlined instead of called
// through std::function for every row. Include only where simdjson is linked.

#include "JsonRateAnswers.h"

#include <QByteArray>

#include <simdjson.h>

#include <cstring>
#include <string_view>

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

/// Equal texts, compared in line without an early exit (codes are a few characters).
inline bool sameText(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    unsigned difference = 0;
    for (size_t i = 0; i < a.size(); ++i) {
        difference |= static_cast<unsigned char>(a[i]) ^ static_cast<unsigned char>(b[i]);
    }
    return difference == 0;
}

namespace detail {

enum class RowMember { Date, Base, Quote, Rate, Other };

/// Which member of a row `field` is; false for a name that cannot be unescaped.
inline bool rowMember(simdjson::ondemand::field& field, RowMember& member) {
    const char* raw = field.key().raw();
    if (rawNameIs(raw, "date")) {
        member = RowMember::Date;
    } else if (rawNameIs(raw, "base")) {
        member = RowMember::Base;
    } else if (rawNameIs(raw, "quote")) {
        member = RowMember::Quote;
    } else if (rawNameIs(raw, "rate")) {
        member = RowMember::Rate;
    } else if (!nameHasEscape(raw)) {
        member = RowMember::Other;
    } else {
        std::string_view name;
        if (field.unescaped_key().get(name) != simdjson::SUCCESS) {
            return false;
        }
        member = name == "date"    ? RowMember::Date
                 : name == "base"  ? RowMember::Base
                 : name == "quote" ? RowMember::Quote
                 : name == "rate"  ? RowMember::Rate
                                   : RowMember::Other;
    }
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

/// forEachRateRow with `visit(const RateRow&)` and `isCancelled()` as any callables.
template <class Visit, class IsCancelled>
bool visitRateRows(const QByteArray& data, Visit&& visit, IsCancelled&& isCancelled) {
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
        if (isCancelled()) {
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
            detail::RowMember which = detail::RowMember::Other;
            if (std::move(member).get(field) != SUCCESS || !detail::rowMember(field, which)) {
                return false;
            }
            ondemand::value value = field.value();
            switch (which) {
                case detail::RowMember::Rate: {
                    ondemand::json_type type;
                    if (value.type().get(type) == SUCCESS && type == ondemand::json_type::number) {
                        row.rate = detail::withoutTrailingSpace(value.raw_json_token());
                    }
                    break;
                }
                case detail::RowMember::Date:
                    row.date = detail::plainString(value.raw_json_token());
                    break;
                case detail::RowMember::Base:
                    row.base = detail::plainString(value.raw_json_token());
                    break;
                case detail::RowMember::Quote:
                    row.quote = detail::plainString(value.raw_json_token());
                    break;
                case detail::RowMember::Other:
                    break;
            }
        }
        visit(row);
    }
    // Nothing may follow the array.
    return document.current_location().error() == OUT_OF_BOUNDS;
}

}  // namespace JsonRateAnswers
