// What the providers' recorded answers cannot show: request bodies built from odd
// configuration values, and a declaration rewritten without touching the content.
#include "CCBRCurrenciesWebServiceClient.h"
#include "ProviderParsing.h"
#include "XmlParser.h"

#include <gtest/gtest.h>

namespace {

TEST(CCBRCurrenciesWebServiceClient, AnOddNamespaceIsQuotedSafely) {
    const QString odd = QStringLiteral("http://example.org/a'b\"c&d<e/");
    for (const QByteArray& body :
         {CCBRCurrenciesWebServiceClient::currencyRequestBody(odd, QDate(2013, 3, 12)),
          CCBRCurrenciesWebServiceClient::metalRequestBody(odd, QDate(2013, 3, 9),
                                                           QDate(2013, 3, 12))}) {
        struct Namespace : XmlParserDelegate {
            QString value;
            void parserDidStartElement(const QString&, const Attributes& attributes) override {
                if (value.isEmpty()) {
                    value = attributes.value(QStringLiteral("xmlns"));
                }
            }
        } handler;
        XmlParser parser(body);
        EXPECT_TRUE(parser.parse(handler)) << parser.errorString().toStdString();
        EXPECT_EQ(handler.value, odd);
    }
}

TEST(ProviderParsing, OnlyTheDeclarationLosesItsEncoding) {
    // Only the declaration loses its encoding; the same words elsewhere stay.
    EXPECT_EQ(ProviderParsing::utf8FromWindows1251Document(
                  "<?xml version='1.0' encoding='Windows-1251' standalone='yes'?>"
                  "<a>encoding=\"x\" \xc4\xee</a>"),
              "<?xml version='1.0' standalone='yes'?><a>encoding=\"x\" \xd0\x94\xd0\xbe</a>");
}

}  // namespace
