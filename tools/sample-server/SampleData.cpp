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

Decimal usdPrice(const QString& code) {
    static const QHash<QString, Decimal> byCode = [] {
        QHash<QString, Decimal> h;
        for (const auto& [code, price] : usdPrices()) {
            h.insert(code, price);
        }
        return h;
    }();
    return byCode.value(code, Decimal::nan());
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
