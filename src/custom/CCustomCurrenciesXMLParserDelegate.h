#pragma once

#include "CCBRCurrenciesInfo.h"
#include "XmlParser.h"

#include <QString>

#include <optional>

/// Reads Numiva's custom rate feed: `DataSource` elements (name, logo, baseCurrency, inverse)
/// and `Currency` elements (code, value), wherever they stand, in document order.
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

    void parserDidStartDocument() override;
    void parserDidStartElement(const QString& name, const Attributes& attributes) override;

private:
    bool inverseRates_ = false;
};
