// What the providers' recorded answers cannot show: request bodies built from odd
// configuration values and the helpers the bank clients share.
#include "CBankUaWebServiceClient.h"
#include "CCBRCurrenciesWebServiceClient.h"
#include "CCBRHelpers.h"
#include "CFrankfurterWebServiceClient.h"
#include "FakeHttpServer.h"
#include "ProviderParsing.h"
#include "XmlParser.h"

#include <gtest/gtest.h>

namespace {

Decimal dec(const char* text) {
    return Decimal::fromString(QString::fromLatin1(text));
}

TEST(CCBRHelpers, MetalCodesAndTroyOunce) {
    const QList<QPair<int, QString>> codes = {{1, "XAU"}, {2, "XAG"}, {3, "XPT"}, {4, "XPD"},
                                              {0, {}},    {5, {}},    {-1, {}}};
    for (const auto& [internal, iso] : codes) {
        EXPECT_EQ(CCBRHelpers::isoMetalCodeFromInternal(internal), iso) << internal;
    }
    for (const char* code : {"xau", "XAUX", "", "RUB"}) {
        EXPECT_FALSE(CCBRHelpers::isMetalCurrencyCode(QString::fromLatin1(code))) << code;
    }
    EXPECT_EQ(CCBRHelpers::convertGrammToOunce(dec("1")).toString(), QStringLiteral("31.1034768"));
    EXPECT_TRUE(CCBRHelpers::convertGrammToOunce(Decimal::nan()).isNaN());
}

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

TEST(CBankUaWebServiceClient, OutdatedCodesAndTheDeclaredEncoding) {
    const QList<QPair<QString, QString>> rows = {
        {"TMM", "TMT"}, {"AZM", "AZN"}, {"TRL", "TRY"}, {"USD", "USD"}, {"trl", "trl"}, {"", ""},
    };
    for (const auto& [code, current] : rows) {
        EXPECT_EQ(CBankUaXMLParserDelegate::replaceOutdatedCode(code), current);
    }
    // Only the declaration loses its encoding; the same words elsewhere stay.
    EXPECT_EQ(ProviderParsing::utf8FromWindows1251Document(
                  "<?xml version='1.0' encoding='Windows-1251' standalone='yes'?>"
                  "<a>encoding=\"x\" \xc4\xee</a>"),
              "<?xml version='1.0' standalone='yes'?><a>encoding=\"x\" \xd0\x94\xd0\xbe</a>");
}

TEST(Frankfurter, TheCodeListIsRead) {
    EXPECT_EQ(CFrankfurterWebServiceClient::currencyCodesFromAnswer(
                  FakeHttpServer::testData(QStringLiteral("frankfurter/currencies.json"))),
              QStringLiteral("EUR USD GEL").split(u' '));
    EXPECT_TRUE(CFrankfurterWebServiceClient::currencyCodesFromAnswer("{}").isEmpty());
}

}  // namespace
