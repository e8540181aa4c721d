#pragma once

#include "CCBRCurrenciesInfo.h"
#include "XmlParser.h"

#include <QString>

#include <optional>

/// Reads Numiva's custom rate feed: `DataSource` elements (name, logo, baseCurrency, inverse)
/// and `Currency` elements (code, value), wherever they stand, in document order. An optional
/// "date" of `DataSource` (ISO 8601: a day, or a moment with its offset) dates the rates;
/// without it they are as old as the fetch.
///
/// A `Currency` without a code, without a readable value, or with a value that is not above
/// zero is skipped, and so is the reference row of a `DataSource` without a base currency:
/// such rows would divide by zero or put a row without a code into the table.
class CCustomCurrenciesXMLParserDelegate : public XmlParserDelegate {
public:
    CCBRCurrenciesInfoPtr currenciesInfo = std::make_shared<CCBRCurrenciesInfo>();
    std::optional<QString> dataSourceDisplayName;
    std::optional<QString> logoUrl;

    /// Removes white space and line breaks from both ends.
    static QString trimText(const QString& text) { return text.trimmed(); }
    /// A feed's "date": "2026-12-07" (a published day) or "2026-12-07T16:00:00+01:00"; invalid
    /// for anything else.
    static QDateTime dateFromText(const QString& text);

    void parserDidStartDocument() override;
    void parserDidStartElement(const QString& name, const Attributes& attributes) override;
    void parserDidEndDocument() override;

private:
    bool inverseRates_ = false;
    QDateTime publishedDate_;
};
