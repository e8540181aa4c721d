#pragma once

#include "CCBRCurrenciesInfo.h"
#include "XmlParser.h"

#include <QString>

#include <optional>

/// What the central bank's two SOAP answer readers share: the table being filled, the row being
/// read, and the text of the current value element, collected between its tags.
class CCBRXmlParserDelegate : public XmlParserDelegate {
public:
    void parserDidStartDocument() override;
    void parserDidStartElement(const QString& name, const Attributes& attributes) override;
    void parserFoundCharacters(const QString& text) override;

protected:
    CCBRXmlParserDelegate();

    /// The elements whose text is a value of the row.
    virtual bool isValueElement(const QString& name) const = 0;
    /// At the end of a value element: its text (empty when it had none), and the text is reset.
    QString takeValueText();

    CCBRCurrenciesInfoPtr currenciesInfo_;
    CCBRCurrencyInfoPtr activeCurrencyInfo_;

private:
    QString currentElementName_;
    std::optional<QString> currentTextValue_;
};
