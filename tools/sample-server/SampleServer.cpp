#include "SampleServer.h"

#include "SampleData.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>
#include <QSaveFile>
#include <QUrl>

#include <chrono>
#include <optional>

#include <httplib.h>

namespace {

std::string str(const QString& s) {
    return s.toStdString();
}

QString qs(const std::string& s) {
    return QString::fromStdString(s);
}

/// Every value of `key` in the request's query, read from the raw target: Yahoo's values
/// contain "=" themselves ("s=EURUSD=X").
QStringList queryValues(const httplib::Request& req, const QString& key) {
    QStringList values;
    const QString target = qs(req.target);
    const qsizetype question = target.indexOf(u'?');
    if (question < 0) {
        return values;
    }
    for (const QString& item : target.mid(question + 1).split(u'&', Qt::SkipEmptyParts)) {
        const qsizetype equals = item.indexOf(u'=');
        if (equals > 0 && item.left(equals) == key) {
            values.append(QUrl::fromPercentEncoding(item.mid(equals + 1).toUtf8()));
        }
    }
    return values;
}

/// The sample source's logo, drawn here (shapes only, so no fonts and no GUI are needed).
QByteArray logoPng() {
    QImage image(96, 96, QImage::Format_ARGB32);
    image.fill(QColor(31, 94, 160));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255));
    painter.drawEllipse(QRectF(20, 20, 56, 56));
    painter.setBrush(QColor(31, 94, 160));
    painter.drawRect(QRectF(42, 14, 12, 68));
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

}  // namespace

SampleServer::SampleServer() : server_(std::make_unique<httplib::Server>()) {
    // Answers go out uncompressed: compressing them here would cost far more than the local
    // round trip it saves.
    server_->set_pre_routing_handler([](const httplib::Request& req, httplib::Response&) {
        const_cast<httplib::Request&>(req).headers.erase("Accept-Encoding");
        return httplib::Server::HandlerResponse::Unhandled;
    });
    server_->Post("/_control/fail", [this](const httplib::Request& req, httplib::Response& res) {
        setFailing(qs(req.get_param_value("provider")), req.get_param_value("on") != "0");
        res.set_content("ok\n", "text/plain");
    });
    server_->Post("/_control/delay", [this](const httplib::Request& req, httplib::Response& res) {
        setDelay(qs(req.get_param_value("provider")), qs(req.get_param_value("ms")).toInt());
        res.set_content("ok\n", "text/plain");
    });
    server_->Post("/_control/skew", [this](const httplib::Request& req, httplib::Response& res) {
        setSkew(qs(req.get_param_value("provider")), qs(req.get_param_value("code")),
                Decimal::fromString(qs(req.get_param_value("percent"))));
        res.set_content("ok\n", "text/plain");
    });
    // Clients reuse connections; an idle one holds up stopping for at most this long.
    server_->set_keep_alive_timeout(1);
    registerRateHandlers();
    registerFeedHandlers();
    registerBankHandlers();
    registerChartHandlers();
    registerFrankfurterHandlers();
    registerCurrencyApiHandlers();
}

SampleServer::~SampleServer() {
    stop();
}

bool SampleServer::start(int port) {
    if (port == 0) {
        port_ = server_->bind_to_any_port("127.0.0.1");
    } else {
        port_ = server_->bind_to_port("127.0.0.1", port) ? port : -1;
    }
    if (port_ <= 0) {
        return false;
    }
    thread_ = std::make_unique<std::thread>([this] { server_->listen_after_bind(); });
    // The port is bound already, so clients can connect; wait until requests are served.
    for (int i = 0; i < 100000 && !server_->is_running(); ++i) {
        std::this_thread::yield();
    }
    return true;
}

void SampleServer::stop() {
    if (thread_) {
        server_->stop();
        thread_->join();
        thread_.reset();
    }
}

QString SampleServer::baseUrl() const {
    return QStringLiteral("http://127.0.0.1:%1").arg(port_);
}

QString SampleServer::feedUrl() const {
    return baseUrl() + QStringLiteral("/feed.xml");
}

QString SampleServer::endpointsFileText() const {
    const QString base = baseUrl();
    QString text =
        QStringLiteral(
            "; Written by numiva-sample-server: every service is the sample server at %1.\n"
            "; SAMPLE DATA, not real rates.\n[hosts]\n")
            .arg(base);
    for (const char* key : {"cbrScripts", "ecb", "bankUa", "yahooQuotes", "yahooChart", "payPal",
                            "bloomberg", "bloombergChart", "ocbc", "geoNames"}) {
        text += QStringLiteral("%1 = %2\n").arg(QLatin1String(key), base);
    }
    text += QStringLiteral("cbr = %1/DailyInfoWebServ/DailyInfo.asmx\n").arg(base);
    text += QStringLiteral("frankfurter = %1\n").arg(base);
    text += QStringLiteral("currencyApi = %1/cdn/npm/@fawazahmed0/currency-api@latest\n").arg(base);
    text += QStringLiteral("currencyApiFallback = %1/pages\n").arg(base);
    text += QStringLiteral("sampleFeed = %1\n").arg(feedUrl());
    text += QStringLiteral(
        "\n[accounts]\npayPalUserId = sample_api1.numiva.example\npayPalPassword = sample\n"
        "payPalSignature = sample-signature\npayPalApplicationId = APP-SAMPLE\ngeoNamesUserName = "
        "sample\n");
    return text;
}

bool SampleServer::writeEndpoints(const QString& path) const {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    file.write(endpointsFileText().toUtf8());
    return file.commit();
}

void SampleServer::setFailing(const QString& provider, bool failing) {
    std::lock_guard lock(mutex_);
    if (failing) {
        failing_.insert(provider);
    } else {
        failing_.remove(provider);
    }
}

bool SampleServer::isFailing(const QString& provider) const {
    std::lock_guard lock(mutex_);
    return failing_.contains(provider);
}

void SampleServer::setDelay(const QString& provider, int milliseconds) {
    std::lock_guard lock(mutex_);
    delays_.insert(provider, std::max(0, milliseconds));
}

void SampleServer::setSkew(const QString& provider, const QString& code, const Decimal& percent) {
    std::lock_guard lock(mutex_);
    if (percent.isNaN() || percent.isZero()) {
        skews_[provider].remove(code);
    } else {
        skews_[provider].insert(code, Decimal::fromInt(1) + percent / Decimal::fromInt(100));
    }
}

bool SampleServer::setDelayFromText(const QString& text) {
    const QStringList parts = text.split(u'=');
    bool ok = false;
    const int ms = parts.value(1).toInt(&ok);
    if (parts.size() != 2 || parts[0].isEmpty() || !ok || ms < 0) {
        return false;
    }
    setDelay(parts[0], ms);
    return true;
}

bool SampleServer::setSkewFromText(const QString& text) {
    const QStringList parts = text.split(u'=');
    const QStringList target = parts.value(0).split(u':');
    const std::optional<Decimal> percent = Decimal::parse(parts.value(1));
    if (parts.size() != 2 || target.size() != 2 || target[0].isEmpty() || target[1].size() != 3 ||
        !percent) {
        return false;
    }
    setSkew(target[0], target[1].toUpper(), *percent);
    return true;
}

bool SampleServer::failIfAsked(const QString& provider, httplib::Response& response) const {
    int delay = 0;
    {
        std::lock_guard lock(mutex_);
        delay = delays_.value(provider);
        SampleData::setThreadSkews(skews_.value(provider));
    }
    if (delay > 0) {
        // A slow service, for trying and benchmarking what waits on it.
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    }
    if (!isFailing(provider)) {
        return false;
    }
    response.status = 503;
    response.set_content("The sample service is told to fail.\n", "text/plain");
    return true;
}

void SampleServer::registerRateHandlers() {
    // Yahoo Finance quotes: one "l1" line per "s=AAABBB=X" pair, four decimals, CR LF ends.
    server_->Get("/d/quotes.csv", [this](const httplib::Request& req, httplib::Response& res) {
        if (failIfAsked(YFinance, res)) {
            return;
        }
        std::string body;
        for (const QString& pair : queryValues(req, QStringLiteral("s"))) {
            const QString code = pair.left(3);
            const QString quote = pair.mid(3, 3);
            if (pair.size() != 8 || !pair.endsWith(u"=X") || !SampleData::knows(code) ||
                !SampleData::knows(quote)) {
                body += "N/A\r\n";
                continue;
            }
            body += str(SampleData::text(SampleData::cross(code, quote), 4)) + "\r\n";
        }
        res.set_content(body, "application/octet-stream");
    });

    // PayPal Adaptive Payments ConvertCurrency, JSON in and out.
    server_->Post("/AdaptivePayments/ConvertCurrency", [this](const httplib::Request& req,
                                                              httplib::Response& res) {
        if (failIfAsked(PayPal, res)) {
            return;
        }
        const QJsonObject body =
            QJsonDocument::fromJson(QByteArray::fromStdString(req.body)).object();
        const QJsonObject base = body.value(QStringLiteral("baseAmountList"))
                                     .toObject()
                                     .value(QStringLiteral("currency"))
                                     .toObject();
        const QString baseCode = base.value(QStringLiteral("code")).toString();
        const QJsonValue amountValue = base.value(QStringLiteral("amount"));
        const Decimal amount = amountValue.isString() ? Decimal::fromString(amountValue.toString())
                                                      : Decimal::fromInt(amountValue.toInteger());
        const QJsonObject envelope{
            {QStringLiteral("timestamp"), QDateTime::currentDateTime().toString(Qt::ISODateWithMs)},
            {QStringLiteral("ack"), QStringLiteral("Success")},
            {QStringLiteral("correlationId"), QStringLiteral("5a3c0e1f9b2d4")},
            {QStringLiteral("build"), QStringLiteral("5908853")}};
        if (!SampleData::knows(baseCode) || amount.isNaN()) {
            const QJsonObject failure{
                {QStringLiteral("responseEnvelope"),
                 QJsonObject{
                     {QStringLiteral("ack"), QStringLiteral("Failure")},
                     {QStringLiteral("timestamp"), envelope.value(QStringLiteral("timestamp"))}}},
                {QStringLiteral("error"),
                 QJsonArray{QJsonObject{{QStringLiteral("errorId"), QStringLiteral("580001")},
                                        {QStringLiteral("message"),
                                         QStringLiteral("Invalid request: ") + baseCode}}}}};
            res.set_content(QJsonDocument(failure).toJson(QJsonDocument::Compact).toStdString(),
                            "application/json");
            return;
        }
        QJsonArray currencies;
        for (const QJsonValue& code : body.value(QStringLiteral("convertToCurrencyList"))
                                          .toObject()
                                          .value(QStringLiteral("currencyCode"))
                                          .toArray()) {
            if (!SampleData::knows(code.toString())) {
                continue;
            }
            currencies.append(QJsonObject{
                {QStringLiteral("code"), code.toString()},
                {QStringLiteral("amount"),
                 SampleData::text(amount * SampleData::cross(baseCode, code.toString()), 2)}});
        }
        const QJsonObject answer{
            {QStringLiteral("responseEnvelope"), envelope},
            {QStringLiteral("estimatedAmountTable"),
             QJsonObject{{QStringLiteral("currencyConversionList"),
                          QJsonArray{QJsonObject{
                              {QStringLiteral("baseAmount"),
                               QJsonObject{{QStringLiteral("code"), baseCode},
                                           {QStringLiteral("amount"),
                                            amount.toString() + QStringLiteral(".0")}}},
                              {QStringLiteral("currencyList"),
                               QJsonObject{{QStringLiteral("currency"), currencies}}}}}}}}};
        res.set_content(QJsonDocument(answer).toJson(QJsonDocument::Compact).toStdString(),
                        "application/json");
    });
}

void SampleServer::registerFeedHandlers() {
    // A custom rate feed in Numiva's own format, with a logo.
    server_->Get("/feed.xml", [this](const httplib::Request&, httplib::Response& res) {
        if (failIfAsked(Custom, res)) {
            return;
        }
        QString xml = QStringLiteral(
                          "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<DataSource name=\"Numiva sample bank\" logo=\"%1/logo.png\" "
                          "baseCurrency=\"USD\">\n")
                          .arg(baseUrl());
        for (const char* code : {"EUR", "GBP", "JPY", "CHF", "CAD", "AUD", "SEK", "NOK", "XAU"}) {
            const QString c = QString::fromLatin1(code);
            xml += QStringLiteral("    <Currency code=\"%1\" value=\"%2\"/>\n")
                       .arg(c, SampleData::text(SampleData::cross(QStringLiteral("USD"), c), 6));
        }
        xml += QStringLiteral("</DataSource>\n");
        res.set_content(xml.toStdString(), "application/xml");
    });
    server_->Get("/logo.png", [this](const httplib::Request&, httplib::Response& res) {
        if (failIfAsked(Custom, res)) {
            return;
        }
        static const QByteArray png = logoPng();
        res.set_content(png.toStdString(), "image/png");
    });

    // GeoNames country code: Germany north of the Alps and east of the Rhine, else the US.
    server_->Get("/countryCode", [this](const httplib::Request& req, httplib::Response& res) {
        if (failIfAsked(GeoNames, res)) {
            return;
        }
        const double lat = qs(req.get_param_value("lat")).toDouble();
        const double lng = qs(req.get_param_value("lng")).toDouble();
        const bool germany = lat > 47 && lat < 55 && lng > 6 && lng < 15;
        const QString xml =
            QStringLiteral(
                "<?xml version=\"1.0\" encoding=\"UTF-8\" "
                "standalone=\"no\"?>\n<geonames>\n<country>\n"
                "<countryCode>%1</countryCode>\n<countryName>%2</countryName>\n<distance>0</"
                "distance>\n"
                "</country>\n</geonames>\n")
                .arg(germany ? QStringLiteral("DE") : QStringLiteral("US"),
                     germany ? QStringLiteral("Germany") : QStringLiteral("United States"));
        res.set_content(xml.toStdString(), "text/xml;charset=UTF-8");
    });
}

void SampleServer::registerCurrencyApiHandlers() {
    // The exchange-api daily file of one base: every code in lower case, a few that are no ISO
    // currency among them, as in the real files.
    const auto answer = [](const QString& base) -> std::optional<std::string> {
        const QString upper = base.toUpper();
        if (!SampleData::knows(upper)) {
            return std::nullopt;
        }
        QJsonObject rates;
        for (const auto& [code, price] : SampleData::usdPrices()) {
            (void)price;
            rates.insert(code.toLower(), SampleData::text(SampleData::cross(upper, code), 10));
        }
        rates.insert(QStringLiteral("btc"), QStringLiteral("0.0000104"));
        rates.insert(QStringLiteral("eth"), QStringLiteral("0.00038"));
        // Numbers as numbers: the text is written out so that no digit goes through a double.
        QString body = QStringLiteral("{\n\t\"date\": \"%1\",\n\t\"%2\": {")
                           .arg(SampleData::today().toString(Qt::ISODate), base);
        bool first = true;
        for (auto it = rates.begin(); it != rates.end(); ++it) {
            body += (first ? QStringLiteral("\n\t\t\"") : QStringLiteral(",\n\t\t\"")) + it.key() +
                    QStringLiteral("\": ") + it.value().toString();
            first = false;
        }
        body += QStringLiteral("\n\t}\n}");
        return body.toStdString();
    };
    for (const auto& [prefix, provider] :
         {std::pair{std::string("/cdn/npm/@fawazahmed0/currency-api@latest"), CurrencyApi},
          std::pair{std::string("/pages"), CurrencyApiFallback}}) {
        server_->Get(prefix + R"(/v1/currencies/([a-z0-9]+)\.json)",
                     [this, provider, answer](const httplib::Request& req, httplib::Response& res) {
                         if (failIfAsked(provider, res)) {
                             return;
                         }
                         const std::optional<std::string> body = answer(qs(req.matches[1]));
                         if (!body) {
                             res.status = 404;
                             res.set_content("Couldn't find the requested file.\n", "text/plain");
                             return;
                         }
                         res.set_content(*body, "application/json; charset=utf-8");
                     });
    }
}
