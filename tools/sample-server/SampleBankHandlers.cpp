// The sample server's answers in the shapes of the central banks' and the rate pages' services.
#include "SampleData.h"
#include "SampleServer.h"

#include <httplib.h>

namespace {

const QStringList kBankUaCurrencies{"AUD", "AZN", "GBP", "BYN", "DKK", "USD", "EUR",
                                    "JPY", "KZT", "CAD", "CNY", "PLN", "RUB", "SEK",
                                    "CHF", "TRY", "CZK", "HUF", "XDR"};
const QStringList kBloombergCurrencies{"USD", "EUR", "GBP", "JPY", "CHF", "CAD", "AUD",
                                       "RUB", "CNY", "HKD", "SGD", "INR", "UAH", "TRY",
                                       "BRL", "MXN", "SEK", "NOK", "DKK", "PLN"};
const QStringList kOcbcCurrencies{"USD", "EUR", "GBP", "AUD", "JPY", "HKD", "CHF",
                                  "CNY", "MYR", "CAD", "NZD", "SEK", "DKK", "NOK",
                                  "THB", "IDR", "INR", "KRW", "TWD", "SAR", "AED"};

QString soapEnvelope(const QString& payload) {
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"utf-8\"?><soap:Envelope "
               "xmlns:soap=\"http://schemas.xmlsoap.org/soap/envelope/\" "
               "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
               "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><soap:Body>%1</soap:Body></"
               "soap:Envelope>")
        .arg(payload);
}

}  // namespace

void SampleServer::registerBankHandlers() {
    // Central Bank of Russia, SOAP: currencies on a day, then the metal prices of a few days.
    server_->Post("/DailyInfoWebServ/DailyInfo.asmx", [this](const httplib::Request& req,
                                                             httplib::Response& res) {
        if (failIfAsked(CBR, res)) {
            return;
        }
        const QString action = QString::fromStdString(req.get_header_value("SOAPAction"));
        const QString rub = QStringLiteral("RUB");
        if (action.endsWith(u"DragMetDynamicXML")) {
            const QDate today = SampleData::today();
            QString rows;
            for (int back = 3; back >= 0; --back) {
                const QString day =
                    today.addDays(-back).toString(QStringLiteral("yyyy-MM-dd'T00:00:00+03:00'"));
                for (int i = 0; i < SampleData::metals().size(); ++i) {
                    // Roubles per gram.
                    const Decimal price = SampleData::cross(SampleData::metals()[i], rub) /
                                          SampleData::gramsPerOunce();
                    rows += QStringLiteral(
                                "<DrgMet><DateMet>%1</DateMet><CodMet>%2</CodMet><price>%3</"
                                "price></DrgMet>")
                                .arg(day)
                                .arg(i + 1)
                                .arg(SampleData::text(price, 4));
                }
            }
            res.set_content(
                soapEnvelope(
                    QStringLiteral("<DragMetDynamicXMLResponse xmlns=\"http://web.cbr.ru/\">"
                                   "<DragMetDynamicXMLResult><DragMetall xmlns=\"\">%1"
                                   "</DragMetall></DragMetDynamicXMLResult>"
                                   "</DragMetDynamicXMLResponse>")
                        .arg(rows))
                    .toStdString(),
                "text/xml; charset=utf-8");
            return;
        }
        if (!action.endsWith(u"GetCursOnDateXML")) {
            res.status = 500;
            res.set_content(
                soapEnvelope(
                    QStringLiteral("<soap:Fault><faultcode>soap:Client</faultcode>"
                                   "<faultstring>Unknown action</faultstring></soap:Fault>"))
                    .toStdString(),
                "text/xml; charset=utf-8");
            return;
        }
        QString rows;
        for (const QString& code : SampleData::cbrCurrencies()) {
            const int nominal = SampleData::nominalFor(code);
            // The bank pads its names with blanks to a fixed width.
            const QString name = SampleData::russianName(code).leftJustified(250, u' ');
            rows += QStringLiteral(
                        "<ValuteCursOnDate><Vname>%1</Vname><Vnom>%2</Vnom><Vcurs>%3</Vcurs>"
                        "<Vcode>%4</Vcode><VchCode>%5</VchCode></ValuteCursOnDate>")
                        .arg(name)
                        .arg(nominal)
                        .arg(SampleData::text(
                            SampleData::cross(code, rub) * Decimal::fromInt(nominal), 4))
                        .arg(100 + SampleData::cbrCurrencies().indexOf(code))
                        .arg(code);
        }
        res.set_content(
            soapEnvelope(
                QStringLiteral(
                    "<GetCursOnDateXMLResponse "
                    "xmlns=\"http://web.cbr.ru/\"><GetCursOnDateXMLResult>"
                    "<ValuteData OnDate=\"%1\" xmlns=\"\">%2</ValuteData></GetCursOnDateXMLResult>"
                    "</GetCursOnDateXMLResponse>")
                    .arg(SampleData::today().toString(QStringLiteral("yyyyMMdd")), rows))
                .toStdString(),
            "text/xml; charset=utf-8");
    });

    // ECB euro reference rates: units of each currency per euro.
    server_->Get("/stats/eurofxref/eurofxref-daily.xml", [this](const httplib::Request&,
                                                                httplib::Response& res) {
        if (failIfAsked(ECB, res)) {
            return;
        }
        QString xml =
            QStringLiteral(
                "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                "<gesmes:Envelope xmlns:gesmes=\"http://www.gesmes.org/xml/2002-08-01\" "
                "xmlns=\"http://www.ecb.int/vocabulary/2002-08-01/eurofxref\">\n"
                "\t<gesmes:subject>Reference rates</gesmes:subject>\n\t<gesmes:Sender>\n"
                "\t\t<gesmes:name>European Central Bank</gesmes:name>\n\t</gesmes:Sender>\n"
                "\t<Cube>\n\t\t<Cube time='%1'>\n")
                .arg(SampleData::today().toString(Qt::ISODate));
        for (const QString& code : SampleData::ecbCurrencies()) {
            xml +=
                QStringLiteral("\t\t\t<Cube currency='%1' rate='%2'/>\n")
                    .arg(code, SampleData::text(SampleData::cross(QStringLiteral("EUR"), code), 4));
        }
        xml += QStringLiteral("\t\t</Cube>\n\t</Cube>\n</gesmes:Envelope>\n");
        res.set_content(xml.toStdString(), "text/xml");
    });

    // BankUa exports, windows-1251: hryvnias per `size` units, currencies and metals.
    auto bankUa = [this](const QStringList& codes) {
        return [this, codes](const httplib::Request&, httplib::Response& res) {
            if (failIfAsked(BankUa, res)) {
                return;
            }
            const QString day = SampleData::today().toString(QStringLiteral("dd.MM.yyyy"));
            QString xml =
                QStringLiteral("<?xml version=\"1.0\" encoding=\"windows-1251\"?>\n<chapter>\n");
            for (const QString& code : codes) {
                const bool metal = SampleData::metals().contains(code);
                const int size = metal ? 10 : SampleData::nominalFor(code);
                xml += QStringLiteral(
                           "<item>\n<date>%1</date>\n<code>%2</code>\n<char3>%3</char3>\n<size>%4</"
                           "size>\n"
                           "<name>%5</name>\n<rate>%6</rate>\n<change>0.0000</change>\n</item>\n")
                           .arg(day)
                           .arg(100 + codes.indexOf(code), 3, 10, QLatin1Char('0'))
                           .arg(code)
                           .arg(size)
                           .arg(metal ? QStringLiteral("Метал %1").arg(code)
                                      : QStringLiteral("Валюта %1").arg(code))
                           .arg(SampleData::text(SampleData::cross(code, QStringLiteral("UAH")) *
                                                     Decimal::fromInt(size),
                                                 4));
            }
            xml += QStringLiteral("</chapter>\n");
            res.set_content(SampleData::encode1251(xml), "text/xml; charset=windows-1251");
        };
    };
    server_->Get("/export/currrate.xml", bankUa(kBankUaCurrencies));
    server_->Get("/export/metalrate.xml", bankUa(SampleData::metals()));

    // Bloomberg's converter page: units of each currency per US dollar in a script block.
    server_->Get("/personal-finance/calculators/currency-converter", [this](
                                                                         const httplib::Request&,
                                                                         httplib::Response& res) {
        if (failIfAsked(Bloomberg, res)) {
            return;
        }
        QString html = QStringLiteral(
            "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
            "<title>Currency Converter - Bloomberg</title>\n</head>\n<body>\n<div id=\"content\">\n"
            "<h1>Currency Calculator</h1>\n<script type=\"text/javascript\">\n//<![CDATA[\n"
            "var price = new Object();\n");
        for (const QString& code : kBloombergCurrencies) {
            html +=
                QStringLiteral("price['%1:CUR'] = %2;\n")
                    .arg(code, SampleData::text(SampleData::cross(QStringLiteral("USD"), code), 4));
        }
        html += QStringLiteral("//]]>\n</script>\n<p>SAMPLE DATA</p>\n</div>\n</body>\n</html>\n");
        res.set_content(html.toStdString(), "text/html; charset=utf-8");
    });

    // OCBC's daily page: Singapore dollars per unit count, buying and selling.
    server_->Get("/rates/daily_price_fx.html", [this](const httplib::Request&,
                                                      httplib::Response& res) {
        if (failIfAsked(OCBC, res)) {
            return;
        }
        QString html =
            QStringLiteral(
                "<html>\n<head>\n<meta http-equiv=\"Content-Type\" content=\"text/html; "
                "charset=utf-8\">\n"
                "<title>OCBC Bank - Daily Foreign Exchange Prices</title>\n</head>\n<body "
                "bgcolor='#FFFFFF'>\n"
                "<table width='100%' border='0' cellspacing='0' cellpadding='0'>\n"
                "<tr><td><font size='3'><strong>Foreign Exchange Prices</strong></font></td></tr>\n"
                "<tr><td><font size='2'>Prices as at %1 09:30 AM</font></td></tr>\n</table>\n"
                "<a name='SGD'></a>\n"
                "<table width='100%' border='1' cellspacing='0' cellpadding='2' "
                "bordercolor='#CCCCCC'>\n"
                "<tr bgcolor='#CC0000'>\n<td><font size='2' "
                "color='#FFFFFF'><b>Currency</b></font></td>\n"
                "<td><font size='2' color='#FFFFFF'><b>Unit</b></font></td>\n"
                "<td><font size='2' color='#FFFFFF'><b>Bank Buying TT/OD</b></font></td>\n"
                "<td><font size='2' color='#FFFFFF'><b>Bank Selling TT/OD</b></font></td>\n"
                "<td><font size='2' color='#FFFFFF'><b>Remarks</b></font></td>\n</tr>\n")
                .arg(SampleData::today().toString(QStringLiteral("dd MMM yyyy")));
        for (const QString& code : kOcbcCurrencies) {
            const int units = SampleData::nominalFor(code) >= 100 ? 100 : 1;
            const Decimal selling =
                SampleData::cross(code, QStringLiteral("SGD")) * Decimal::fromInt(units);
            html += QStringLiteral(
                        "<tr bgcolor='#FFFFFF'>\n<td width='20%'><font "
                        "size='2'><strong>%1</strong></font></td>\n"
                        "<td width='20%' align='center'><font size='2'>%2 %1</font></td>\n"
                        "<td width='20%' align='right'><font size='2'>%3</font></td>\n"
                        "<td width='20%' align='right'><font size='2'>%4</font></td>\n"
                        "<td width='20%' align='right'><font size='2'>&nbsp;</font></td>\n</tr>\n")
                        .arg(code)
                        .arg(units)
                        .arg(SampleData::text(selling * Decimal::fromString(u"0.99"), 5))
                        .arg(SampleData::text(selling, 5));
        }
        html += QStringLiteral("</table>\n</body>\n</html>\n");
        res.set_content(html.toStdString(), "text/html; charset=utf-8");
    });
}
