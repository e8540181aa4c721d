#include "XmlParser.h"

#include <QXmlStreamReader>

void XmlParserDelegate::readerDidStartElement(QStringView name,
                                              const QXmlStreamAttributes& attributes) {
    Attributes map;
    for (const QXmlStreamAttribute& a : attributes) {
        map.insert(a.qualifiedName().toString(), a.value().toString());
    }
    parserDidStartElement(name.toString(), map);
}

void XmlParserDelegate::readerFoundCharacters(QStringView text) {
    parserFoundCharacters(text.toString());
}

void XmlParserDelegate::readerDidEndElement(QStringView name) {
    parserDidEndElement(name.toString());
}

bool XmlParser::parse(XmlParserDelegate& delegate) {
    aborted_ = false;
    error_.clear();
    QXmlStreamReader reader(data_);
    reader.setNamespaceProcessing(false);
    // A hostile answer gets no further than this: entities expand to a few kilobytes at most,
    // and no answer we read nests more than a handful of elements.
    reader.setEntityExpansionLimit(kMaximumEntityExpansion);
    int depth = 0;
    while (!reader.atEnd() && !aborted_) {
        switch (reader.readNext()) {
            case QXmlStreamReader::StartDocument:
                delegate.parserDidStartDocument();
                break;
            case QXmlStreamReader::StartElement:
                if (++depth > kMaximumDepth) {
                    reader.raiseError(
                        QStringLiteral("The document nests more than %1 elements deep.")
                            .arg(kMaximumDepth));
                    break;
                }
                delegate.readerDidStartElement(reader.qualifiedName(), reader.attributes());
                break;
            case QXmlStreamReader::Characters:
                delegate.readerFoundCharacters(reader.text());
                break;
            case QXmlStreamReader::EndElement:
                --depth;
                delegate.readerDidEndElement(reader.qualifiedName());
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
