#pragma once

#include "Decimal.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>
#include <string_view>

/// Readers for the JSON answers of the Frankfurter and exchange-api services. Numbers are taken
/// from their JSON text into decimals; binary floating point never sees them.
namespace JsonRateAnswers {

/// One row of a Frankfurter rates answer, as written; the texts are valid during the visit.
struct RateRow {
    std::string_view date;
    std::string_view base;
    std::string_view quote;
    /// The raw number token; empty when the value is not a JSON number.
    std::string_view rate;
};

/// Reads a Frankfurter rates answer (a JSON array of {"date", "base", "quote", "rate"} objects),
/// handing each row to `visit` in answer order. False when the text is not such an array or
/// `isCancelled` said stop. Members other than the four are skipped, and so is an element
/// that is not an object; strings with escapes are not read (codes and dates have none).
bool forEachRateRow(const QByteArray& data, const std::function<void(const RateRow&)>& visit,
                    const std::function<bool()>& isCancelled = {});

/// The exact decimal of a JSON number token ("0.85874", "1.2e-05"); nothing for anything else.
/// Up to 18 significant digits are read without any text conversion, which keeps long answers
/// cheap; longer tokens go through the decimal library's own reader.
std::optional<Decimal> decimalFromToken(std::string_view token);

/// A usable rate: a number token greater than zero, else nothing.
std::optional<Decimal> positiveValue(std::string_view token);

/// The service's own explanation in a failed answer: the "message" of a JSON object or, when
/// `plainText`, a short plain-text body; nothing for an empty, long or HTML body.
std::optional<QString> serviceMessage(const QByteArray& body, bool plainText = false);

}  // namespace JsonRateAnswers
