// numiva-cli end to end: the real binary against the sample server, one path for the rates and
// one for the charts. The providers' and the chart services' own behaviour is tested below the
// front end; here the command line, its exit codes and its outputs are.
#include "CliTestSupport.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

QJsonObject row(const QJsonObject& answer, const QString& code) {
    for (const QJsonValue& r : answer.value(QStringLiteral("rows")).toArray()) {
        if (str(r.toObject(), "code") == code) {
            return r.toObject();
        }
    }
    return {};
}

/// The row's exact value agrees with `expected` within the relative tolerance.
void expectNear(const QJsonObject& answer, const char* code, const Decimal& expected,
                double relative = 1e-3) {
    const Decimal value =
        decimal(row(answer, QString::fromLatin1(code)).value(QStringLiteral("value")));
    ASSERT_FALSE(value.isNaN()) << code;
    EXPECT_NEAR((value / expected).toDouble(), 1.0, relative)
        << code << ": " << value.toString().toStdString();
}

Decimal cross(const char* code, const char* quote) {
    return SampleData::cross(QString::fromLatin1(code), QString::fromLatin1(quote));
}

TEST_F(CliTest, RatesFromASourceWithFeeConversionFailureAndBadInput) {
    ok("select ecb");  // letter case does not matter where it is unambiguous
    ok("add gbp JPY");
    ok("base EUR");
    QJsonObject answer = ok("--json rates").json();
    EXPECT_TRUE(str(answer, "source") == u"ECB" && answer.value(QStringLiteral("error")).isNull());
    EXPECT_EQ(str(answer.value(QStringLiteral("rows")).toArray().first().toObject(), "code"),
              QStringLiteral("EUR"));
    expectNear(answer, "GBP", cross("GBP", "EUR"));
    expectNear(answer, "JPY", cross("JPY", "EUR"));
    EXPECT_EQ(str(row(answer, QStringLiteral("GBP")), "unit"), QStringLiteral("EUR"));
    // The row says where its rate comes from and when the bank published it; new columns last.
    const QJsonObject gbp = row(answer, QStringLiteral("GBP"));
    EXPECT_TRUE(str(gbp, "source") == u"ECB" && gbp.value(QStringLiteral("stale")) == false &&
                str(gbp, "date") == QDate::currentDate().toString(Qt::ISODate) + "T00:00:00Z");
    EXPECT_TRUE(ok("rates").out.contains("\tEUR\t" +
                                         QDate::currentDate().toString(Qt::ISODate).toUtf8() +
                                         "T00:00:00Z\tfresh\tECB\n"));

    // A fee is added to every rate; --inverse turns the quote round for one run.
    ok("fee 2,5");
    expectNear(ok("--json rates").json(), "GBP",
               cross("GBP", "EUR") * Decimal::fromString(u"1.025"));
    ok("fee off");
    answer = ok("--json rates --inverse").json();
    expectNear(answer, "GBP", cross("EUR", "GBP"));
    EXPECT_EQ(str(row(answer, QStringLiteral("GBP")), "unit"), QStringLiteral("GBP"));

    answer = ok("--json convert 100 GBP").json();
    EXPECT_EQ(str(answer.value(QStringLiteral("rows")).toArray().first().toObject(), "text"),
              QStringLiteral("100"));
    expectNear(answer, "JPY", Decimal::fromInt(100) * cross("GBP", "JPY"));
    // Plain numbers for scripts: no digit groups.
    EXPECT_FALSE(str(row(answer, QStringLiteral("JPY")), "text").contains(u' '));

    // At a past day: the history's rate of that day, or, from Frankfurter for a source without
    // a history, the nearest earlier published day's, which standard error names.
    answer = ok("--json convert 100 GBP --date 2024-01-06").json();
    EXPECT_EQ(str(row(answer, QStringLiteral("JPY")), "date"), QStringLiteral("2024-01-06"));
    ok("select bankua");
    EXPECT_TRUE(ok("convert 100 GBP --date 2024-01-06").err.contains("those of 2024-01-05 are"));
    ok("select ECB");

    // Further sources in order: a failing one is named in one line and costs only its own rates.
    ok("select ECB paypal");
    const QList<QByteArray> listed = ok("sources").out.split('\n');
    EXPECT_TRUE(listed[1].startsWith("* ECB\t") && listed[2].startsWith("+ PayPal\t"));
    server.setFailing(SampleServer::PayPal, true);
    const CliRun partial = cli("--json rates");
    EXPECT_EQ(partial.exitCode, 2);
    EXPECT_EQ(partial.err.count("numiva-cli: PayPal could not be updated."), 1);
    expectNear(partial.json(), "JPY", cross("JPY", "EUR"));
    ok("select ECB");

    // A failing provider: exit 2, its text, and the rows from the cache.
    server.setFailing(SampleServer::ECB, true);
    const CliRun failed = cli("--json rates");
    EXPECT_EQ(failed.exitCode, 2);
    EXPECT_EQ(str(failed.json(), "error"),
              QStringLiteral("European Central Bank could not be updated. The service answered 503 "
                             "(Service Unavailable). The last stored rates are shown."));
    expectNear(failed.json(), "GBP", cross("GBP", "EUR"));
    EXPECT_EQ(row(failed.json(), QStringLiteral("GBP")).value(QStringLiteral("sourceFailed")),
              true);

    expectRefused(
        "frobnicate; base usd1; base XAU; fee 101; fee abc; add; add GBP; remove EUR; "
        "select Nowhere; metal-unit Stone; feed add file:///etc/passwd; "
        "feed remove http://127.0.0.1:9/f.xml; rates --bogus; convert ten GBP; "
        "convert 1,000 GBP; convert 2e15 GBP; sources ECB; select; base; add JPY jpy; add GBP1; "
        "remove; remove x; remove CHF; fee off --subtract; feed; convert; rates GBP; help me; "
        "convert 1 GBP --date 2999-01-01; convert 1 GBP --date 1990-01-01; "
        "convert 1 GBP --date 2024-1-5; rates --date 2024-01-05");
    EXPECT_TRUE(cli("select ecbb").err.contains("did you mean ECB?"));
    EXPECT_TRUE(ok("--help").out.contains("\n  chart "));
    EXPECT_TRUE(ok("--version").out.startsWith("numiva-cli "));
    EXPECT_EQ(ok("--json sources").out.count("\"id\""), ok("sources").out.count('\n') - 1);
    EXPECT_TRUE(ok("convert --help").out.startsWith("Usage: numiva-cli [options] convert"));
    // A feed that cannot be read is registered all the same, and its user hears of it.
    const CliRun feed = cli("feed add http://127.0.0.1:9/rates.xml");
    EXPECT_EQ(feed.exitCode, 2);
    EXPECT_TRUE(feed.err.contains("is registered, but its first refresh failed"));
}

TEST_F(CliTest, ChartWithExportsCacheAndBadArguments) {
    ok("select ECB");
    const QJsonObject chart = ok("--json chart EUR USD --period 1").json();
    EXPECT_EQ(str(chart, "source"), QStringLiteral("ECB"));
    const QJsonArray points = chart.value(QStringLiteral("points")).toArray();
    // One point a day for the week up to today, the latest at today's rate (EUR per dollar).
    ASSERT_EQ(points.size(), 8);
    const auto date = [](const QJsonValue& point) {
        return QDateTime::fromString(point.toObject().value(QStringLiteral("date")).toString(),
                                     Qt::ISODate);
    };
    EXPECT_EQ(date(points.last()).toLocalTime().date(), SampleData::today());
    EXPECT_EQ(date(points.first()).toLocalTime().date(), SampleData::today().addDays(-7));
    const QJsonValue latest = chart.value(QStringLiteral("latest"));
    EXPECT_EQ(latest, points.last());
    EXPECT_NEAR((decimal(latest.toObject().value(QStringLiteral("value"))) / cross("USD", "EUR"))
                    .toDouble(),
                1.0, 1e-4);

    // The CSV to a file and to standard output are the same text; the PDF has the table.
    const QString pdf = dir.filePath(QStringLiteral("chart.pdf"));
    ok({QStringLiteral("chart"), QStringLiteral("--csv"), dir.filePath(QStringLiteral("c.csv")),
        QStringLiteral("--pdf"), pdf});
    const QByteArray csv = file(QStringLiteral("c.csv"));
    EXPECT_TRUE(csv.startsWith("\"EUR to USD. From ")) << csv.left(60).toStdString();
    EXPECT_EQ(csv.count("\r\n"), 2 + points.size());
    EXPECT_EQ(ok("chart --csv -").out, csv);
    EXPECT_TRUE(ok("chart").out.startsWith("EUR per 1 USD, 1 week, ECB\n"));
    EXPECT_TRUE(file(QStringLiteral("chart.pdf")).startsWith("%PDF"));
    for (const char* line : {"chart --csv /nonexistent/c.csv", "chart --html /nonexistent/c.html",
                             "chart --pdf /nonexistent/c.pdf"}) {
        const CliRun unwritable = cli(line);
        EXPECT_EQ(unwritable.exitCode, 2) << line;
        EXPECT_TRUE(unwritable.err.contains("/nonexistent/c.")) << unwritable.err.toStdString();
    }

    // A failing service: exit 2 and the cached chart.
    server.setFailing(SampleServer::ECBChart, true);
    const CliRun failed = cli("--json chart EUR USD --period 1");
    EXPECT_EQ(failed.exitCode, 2);
    EXPECT_TRUE(
        failed.err.endsWith("\nnumiva-cli: European Central Bank could not be updated. The "
                            "service answered 503 (Service Unavailable). The last "
                            "stored chart is shown.\n"))
        << failed.err.toStdString();
    EXPECT_EQ(failed.json().value(QStringLiteral("points")), QJsonValue(points));

    expectRefused(
        "chart --period 11; chart --period one; chart EUR; chart EUR USD GBP; "
        "chart --csv; chart --pdf -; chart --svg x.svg; --json chart --csv -; "
        "chart --csv - --html -; chart EUR U5D");
    ok("select PayPal");
    const CliRun noCharts = cli("chart");
    EXPECT_EQ(noCharts.exitCode, 64);
    EXPECT_TRUE(noCharts.err.contains("PayPal")) << noCharts.err.toStdString();
}

TEST_F(CliTest, ReadingCreatesNoStoreAndASettingsSaveThatFailsExits1) {
    ok("sources");
    EXPECT_TRUE(QDir(dir.filePath(QStringLiteral("data/Library")))
                    .entryList({QStringLiteral("*.sqlite*")}, QDir::Files)
                    .isEmpty());
    const QString settings = dir.filePath(QStringLiteral("data/Library/Preferences/Numiva.plist"));
    EXPECT_FALSE(QFileInfo::exists(settings)) << "nothing changed, nothing written";
    // Something that cannot be read as the settings is never written over.
    ASSERT_TRUE(QDir().mkpath(settings));
    const CliRun run = cli("fee 2.5");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("The settings could not be saved")) << run.err.toStdString();
    EXPECT_TRUE(QFileInfo(settings).isDir());

    // A data folder that cannot take files: said once, naming it, and the command fails.
    const QString file = dir.filePath(QStringLiteral("plain"));
    ASSERT_TRUE(QFile(file).open(QIODevice::WriteOnly));
    for (const QString& data : {file, file + QStringLiteral("/data")}) {
        const CliRun run =
            cli({QStringLiteral("--data-dir"), data, QStringLiteral("add"), QStringLiteral("NOK")});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err.count(data.toUtf8()), 1) << run.err.toStdString();
        EXPECT_LE(run.err.count("Persistent store create error"), 1) << run.err.toStdString();
    }
}

}  // namespace

TEST_F(CliTest, CompareListsEverySourceFlagsTheOffOneAndNamesFailures) {
    ok("fee 1");  // a settings file, which the refused commands below must leave alone
    server.setSkew(SampleServer::YFinance, QStringLiteral("EUR"), Decimal::fromInt(5));
    server.setFailing(SampleServer::PayPal, true);
    const QJsonArray list =
        QJsonDocument::fromJson(ok("--json compare eur --base USD").out).array();
    ASSERT_EQ(list.size(), 1);
    const QJsonObject eur = list.first().toObject();
    EXPECT_NEAR(decimal(eur.value(QStringLiteral("median"))).toDouble(), 1.0823, 1e-4);
    EXPECT_NEAR(decimal(eur.value(QStringLiteral("spread"))).toDouble(), 5.06, 0.02);
    EXPECT_EQ(eur.value(QStringLiteral("outliers")).toArray(),
              (QJsonArray{"YFinance", "Frankfurter/CBR"}));
    QStringList failed;
    for (const QJsonValue& source : eur.value(QStringLiteral("sources")).toArray()) {
        if (source.toObject().contains(QStringLiteral("error"))) {
            failed.append(str(source.toObject(), "id"));
        }
    }
    EXPECT_EQ(failed, QStringList{"PayPal"});

    const CliRun plain = ok("compare EUR GBP --base USD --threshold 10");
    EXPECT_TRUE(plain.out.startsWith("EUR in USD\n")) << plain.out.toStdString();
    EXPECT_TRUE(plain.out.contains("\n  PayPal\tPayPal\tfailed: "));
    EXPECT_TRUE(plain.out.contains("\n  outliers\tnone (more than 10 % from the median)\n"));
    EXPECT_TRUE(plain.out.contains("\nGBP in USD\n"));

    EXPECT_TRUE(cli("compare EUX").err.contains("did you mean EUR?"));
    expectRefused(
        "compare USD --base USD; compare EUR --threshold x; compare EUR --base; "
        "compare EUR EUR");
    for (const QString& provider :
         {SampleServer::CBR, SampleServer::YFinance, SampleServer::ECB, SampleServer::Bloomberg,
          SampleServer::OCBC, SampleServer::BankUa, SampleServer::Frankfurter,
          SampleServer::CurrencyApi, SampleServer::CurrencyApiFallback}) {
        server.setFailing(provider, true);
    }
    const CliRun none = cli("compare EUR --base USD");
    EXPECT_EQ(none.exitCode, 2);
    EXPECT_TRUE(none.err.contains("no data source answered"));
}
