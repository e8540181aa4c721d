#include "XmlParser.h"

#include <QXmlStreamReader>

bool XmlParser::parse(XmlParserDelegate& delegate) {
    aborted_ = false;
    error_.clear();
    QXmlStreamReader reader(data_);
    reader.setNamespaceProcessing(false);
    while (!reader.atEnd() && !aborted_) {
        switch (reader.readNext()) {
            case QXmlStreamReader::StartDocument:
                delegate.parserDidStartDocument();
                break;
            case QXmlStreamReader::StartElement: {
                XmlParserDelegate::Attributes attributes;
                for (const QXmlStreamAttribute& a : reader.attributes()) {
                    attributes.insert(a.qualifiedName().toString(), a.value().toString());
                }
                delegate.parserDidStartElement(reader.qualifiedName().toString(), attributes);
                break;
            }
            case QXmlStreamReader::Characters:
                delegate.parserFoundCharacters(reader.text().toString());
                break;
            case QXmlStreamReader::EndElement:
                delegate.parserDidEndElement(reader.qualifiedName().toString());
                break;
            case QXmlStreamReader::EndDocument:
                delegate.parserDidEndDocument();
                break;
            case QXmlStreamReader::EntityReference:
                // An entity the reader could not resolve (no DTDs are read): not an error, but
                // nothing to deliver.
                break;
            default:
                break;
        }
    }
    line_ = reader.lineNumber();
    if (aborted_) {
        error_ = QStringLiteral("Parsing was aborted");
        return false;
    }
    if (reader.hasError()) {
        error_ = reader.errorString();
        return false;
    }
    return true;
}
