#include "SampleData.h"

#include <QHash>
#include <QStringEncoder>

namespace SampleData {

const QList<QPair<QString, Decimal>>& usdPrices() {
    static const QList<QPair<QString, Decimal>> prices = [] {
        const char* table[][2] = {
            {"USD", "1"},         {"EUR", "1.0823"},  {"GBP", "1.2645"},  {"JPY", "0.006712"},
            {"CHF", "1.1287"},    {"RUB", "0.01085"}, {"UAH", "0.02415"}, {"SGD", "0.7452"},
            {"CNY", "0.1378"},    {"AUD", "0.6531"},  {"CAD", "0.7178"},  {"SEK", "0.0958"},
            {"NOK", "0.0923"},    {"DKK", "0.1451"},  {"PLN", "0.2498"},  {"CZK", "0.0439"},
            {"HUF", "0.002774"},  {"TRY", "0.02889"}, {"INR", "0.01198"}, {"KRW", "0.000684"},
            {"HKD", "0.1285"},    {"NZD", "0.5912"},  {"MXN", "0.05853"}, {"BRL", "0.1742"},
            {"ZAR", "0.05512"},   {"ILS", "0.2731"},  {"THB", "0.02891"}, {"MYR", "0.2247"},
            {"IDR", "0.0000628"}, {"PHP", "0.01733"}, {"TWD", "0.03101"}, {"BGN", "0.5534"},
            {"RON", "0.2176"},    {"ISK", "0.00722"}, {"KZT", "0.00193"}, {"BYN", "0.3054"},
            {"AED", "0.2723"},    {"SAR", "0.2666"},  {"XDR", "1.3298"},  {"AZN", "0.5882"},
            {"XAU", "2650.40"},   {"XAG", "31.25"},   {"XPT", "975.10"},  {"XPD", "1012.30"},
        };
        QList<QPair<QString, Decimal>> list;
        for (const auto& row : table) {
            list.append(
                {QString::fromLatin1(row[0]), Decimal::fromString(QString::fromLatin1(row[1]))});
        }
        return list;
    }();
    return prices;
}

namespace {
thread_local QHash<QString, Decimal> threadSkews;
}  // namespace

void setThreadSkews(const QHash<QString, Decimal>& factors) {
    threadSkews = factors;
}

Decimal usdPrice(const QString& code) {
    static const QHash<QString, Decimal> byCode = [] {
        QHash<QString, Decimal> h;
        for (const auto& [code, price] : usdPrices()) {
            h.insert(code, price);
        }
        return h;
    }();
    const Decimal price = byCode.value(code, Decimal::nan());
    const auto skew = threadSkews.constFind(code);
    return skew == threadSkews.constEnd() ? price : price * *skew;
}

bool knows(const QString& code) {
    return !usdPrice(code).isNaN();
}

Decimal cross(const QString& code, const QString& quote) {
    return usdPrice(code) / usdPrice(quote);
}

QString text(const Decimal& value, int digits) {
    return value.rounded(digits).toString();
}

QDate today() {
    return QDate::currentDate();
}

QByteArray ecbHistoryXml(const QString& code, const QString& name, const QDate& prepared,
                         const QList<QPair<QDate, QString>>& observations) {
    const QString at = prepared.toString(Qt::ISODate) + QStringLiteral("T14:15:00");
    QString xml =
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<message:CompactData "
            "xmlns=\"http://www.SDMX.org/resources/SDMXML/schemas/v2_0/message\" "
            "xmlns:common=\"http://www.SDMX.org/resources/SDMXML/schemas/v2_0/common\" "
            "xmlns:compact=\"http://www.SDMX.org/resources/SDMXML/schemas/v2_0/compact\" "
            "xmlns:ecb_exr1=\"http://www.ecb.europa.eu/vocabulary/stats/exr/1\" "
            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
            "xmlns:message=\"http://www.SDMX.org/resources/SDMXML/schemas/v2_0/message\" "
            "xsi:schemaLocation=\"http://www.SDMX.org/resources/SDMXML/schemas/v2_0/message "
            "SDMXMessage.xsd http://www.ecb.europa.eu/vocabulary/stats/exr/1 "
            "http://www.ecb.europa.eu/stats/exchange/eurofxref/shared/xml/ecb_exr1.xsd\">\n"
            "<Header>\n<ID>EXR-HIST_%1</ID>\n<Test>false</Test>\n"
            "<Name xml:lang=\"en\">Euro foreign exchange reference rates</Name>\n"
            "<Prepared>%2</Prepared>\n<Sender id=\"4F0\">\n"
            "<Name xml:lang=\"en\">European Central Bank</Name>\n<Contact>\n"
            "<Department xml:lang=\"en\">DG Statistics</Department>\n"
            "<URI>mailto:statistics@ecb.europa.eu</URI>\n</Contact>\n</Sender>\n"
            "<DataSetAgency>ECB</DataSetAgency>\n<DataSetID>ECB_EXR1</DataSetID>\n"
            "<Extracted>%2</Extracted>\n</Header>\n"
            "<DataSet xmlns=\"http://www.ecb.europa.eu/vocabulary/stats/exr/1\" "
            "xsi:schemaLocation=\"http://www.ecb.europa.eu/vocabulary/stats/exr/1 "
            "http://www.ecb.europa.eu/stats/exchange/eurofxref/shared/xml/ecb_exr1.xsd\">\n"
            "<Group CURRENCY=\"%3\" CURRENCY_DENOM=\"EUR\" EXR_TYPE=\"SP00\" EXR_VAR=\"E\" "
            "DECIMALS=\"4\" TITLE_COMPL=\"ECB reference exchange rate, %4/Euro, 2:15 pm "
            "(C.E.T.)\" UNIT=\"%3\" UNIT_MULT=\"0\"/>\n"
            "<Series FREQ=\"D\" CURRENCY=\"%3\" CURRENCY_DENOM=\"EUR\" EXR_TYPE=\"SP00\" "
            "EXR_VAR=\"E\" TIME_FORMAT=\"P1D\" COLLECTION=\"A\">\n")
            .arg(prepared.toString(Qt::ISODate), at, code, name);
    for (const auto& [day, value] : observations) {
        xml += QStringLiteral(
                   "<Obs TIME_PERIOD=\"%1\" OBS_VALUE=\"%2\" OBS_STATUS=\"A\" OBS_CONF=\"F\"/>\n")
                   .arg(day.toString(Qt::ISODate), value);
    }
    xml += QStringLiteral("</Series>\n</DataSet>\n</message:CompactData>");
    return xml.toUtf8();
}

QString russianName(const QString& code) {
    static const QHash<QString, QString> names{
        {QStringLiteral("USD"), QStringLiteral("Доллар США")},
        {QStringLiteral("EUR"), QStringLiteral("Евро")},
        {QStringLiteral("GBP"), QStringLiteral("Фунт стерлингов Соединенного королевства")},
        {QStringLiteral("JPY"), QStringLiteral("Японских иен")},
        {QStringLiteral("CHF"), QStringLiteral("Швейцарский франк")},
        {QStringLiteral("UAH"), QStringLiteral("Украинских гривен")},
        {QStringLiteral("CNY"), QStringLiteral("Китайских юаней")},
        {QStringLiteral("KZT"), QStringLiteral("Казахстанских тенге")},
        {QStringLiteral("BYN"), QStringLiteral("Белорусский рубль")},
        {QStringLiteral("RUB"), QStringLiteral("Российский рубль")},
    };
    return names.value(code, code);
}

const QStringList& cbrCurrencies() {
    static const QStringList codes{"AUD", "AZN", "GBP", "BYN", "BGN", "BRL", "HUF",
                                   "HKD", "DKK", "USD", "EUR", "INR", "KZT", "CAD",
                                   "CNY", "NOK", "PLN", "RON", "XDR", "SGD", "TRY",
                                   "UAH", "CZK", "SEK", "CHF", "ZAR", "KRW", "JPY"};
    return codes;
}

const QStringList& ecbCurrencies() {
    static const QStringList codes{"USD", "JPY", "BGN", "CZK", "DKK", "GBP", "HUF", "PLN",
                                   "RON", "SEK", "CHF", "ISK", "NOK", "TRY", "AUD", "BRL",
                                   "CAD", "CNY", "HKD", "IDR", "ILS", "INR", "KRW", "MXN",
                                   "MYR", "NZD", "PHP", "SGD", "THB", "ZAR"};
    return codes;
}

const QStringList& metals() {
    static const QStringList codes{"XAU", "XAG", "XPT", "XPD"};
    return codes;
}

int nominalFor(const QString& code) {
    const Decimal price = usdPrice(code);
    if (price < Decimal::fromString(u"0.0001")) {
        return 10000;
    }
    if (price < Decimal::fromString(u"0.005")) {
        return 100;
    }
    if (price < Decimal::fromString(u"0.05")) {
        return 10;
    }
    return 1;
}

const Decimal& gramsPerOunce() {
    static const Decimal grams = Decimal::fromString(u"31.1034768");
    return grams;
}

std::string encode1251(const QString& text) {
    QStringEncoder encoder("windows-1251");
    return QByteArray(encoder(text)).toStdString();
}

}  // namespace SampleData
