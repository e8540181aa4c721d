#include "XmlParser.h"

#include <gtest/gtest.h>

namespace {

/// Writes every event as one line.
class Recorder : public XmlParserDelegate {
public:
    QStringList events;
    void parserDidStartDocument() override { events << QStringLiteral("start-document"); }
    void parserDidStartElement(const QString& name, const Attributes& attributes) override {
        QStringList attrs;
        for (auto it = attributes.begin(); it != attributes.end(); ++it) {
            attrs << it.key() + u'=' + it.value();
        }
        events << u'<' + name + (attrs.isEmpty() ? QString() : u' ' + attrs.join(u' ')) + u'>';
    }
    void parserFoundCharacters(const QString& text) override { events << text; }
    void parserDidEndElement(const QString& name) override {
        events << QStringLiteral("</") + name + u'>';
    }
    void parserDidEndDocument() override { events << QStringLiteral("end-document"); }
};

TEST(XmlParser, DeliversEventsWithQualifiedNamesAndAttributes) {
    XmlParser parser(
        "<?xml version='1.0' encoding='utf-8'?>\r\n"
        "<gesmes:Envelope xmlns:gesmes='http://www.gesmes.org/xml/2002-08-01'><Cube>"
        "<Cube time='2013-03-12'><Cube currency='USD' rate=\"1.3\"/></Cube></Cube>"
        "<name>A &amp; B<![CDATA[<x>]]></name></gesmes:Envelope>");
    Recorder r;
    ASSERT_TRUE(parser.parse(r)) << parser.errorString().toStdString();
    EXPECT_EQ(r.events,
              (QStringList{"start-document",
                           "<gesmes:Envelope xmlns:gesmes=http://www.gesmes.org/xml/2002-08-01>",
                           "<Cube>", "<Cube time=2013-03-12>", "<Cube currency=USD rate=1.3>",
                           "</Cube>", "</Cube>", "</Cube>", "<name>", "A & B", "<x>", "</name>",
                           "</gesmes:Envelope>", "end-document"}));
}

TEST(XmlParser, BadDocumentsFailWithATextAndNeverHang) {
    const QByteArray documents[] = {
        QByteArray(), "<a><b>text</b>", "<a></b>", "<html><br></html",
        QByteArray("\x00\x01\x02<a/>", 7), "<a/><b/>",
        QByteArray("<a>").repeated(300) + QByteArray("</a>").repeated(300),  // too deep
        // Entity expansion.
        "<!DOCTYPE d [<!ENTITY a \"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa\">"
        "<!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\"><!ENTITY c "
        "\"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">"
        "<!ENTITY d \"&c;&c;&c;&c;&c;&c;&c;&c;&c;&c;\">]><d>&d;&d;&d;</d>"};
    for (const QByteArray& document : documents) {
        XmlParser parser(document);
        Recorder r;
        EXPECT_FALSE(parser.parse(r)) << document.left(30).toStdString();
        EXPECT_FALSE(parser.errorString().isEmpty());
    }
}

}  // namespace
