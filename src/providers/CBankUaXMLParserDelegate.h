#pragma once

#include "CCBRCurrenciesInfo.h"
#include "XmlParser.h"

#include <QString>

/// Reads the BankUa export files into one table in hryvnias: each document adds "UAH", then
/// one row per item, quoted for one unit and dated with the item's day. Outdated codes are
/// replaced by their successors.
class CBankUaXMLParserDelegate : public XmlParserDelegate {
public:
    CBankUaXMLParserDelegate();

    CCBRCurrenciesInfoPtr currenciesInfo() const { return currenciesInfo_; }
    /// The latest day an item was set for; invalid when none names one.
    const QDateTime& latestDay() const { return latestDay_; }

    /// The current code of a currency that was renamed: "TMM" -> "TMT", "AZM" -> "AZN",
    /// "TRL" -> "TRY"; any other code unchanged.
    static QString replaceOutdatedCode(const QString& code);

    void parserDidStartDocument() override;
    void parserDidStartElement(const QString& name, const Attributes& attributes) override;
    void parserFoundCharacters(const QString& text) override;
    void parserDidEndElement(const QString& name) override;

private:
    CCBRCurrenciesInfoPtr currenciesInfo_;
    QString currentValue_;
    CCBRCurrencyInfoPtr currencyInfo_;
    QDateTime latestDay_;
};
