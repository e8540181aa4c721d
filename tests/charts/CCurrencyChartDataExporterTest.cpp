#include "CCurrencyChartDataExporter.h"

#include "CChartPeriod.h"
#include "ChartTestSupport.h"
#include "Localization.h"

#include <gtest/gtest.h>

using namespace charttest;

namespace {

CCurrencyChartInfo usdEur(CCurrencyChartPointList points, int period = ChartPeriod1Month) {
    CCurrencyChartInfo info;
    info.firstCurrencyCode = QStringLiteral("USD");
    info.lastCurrencyCode = QStringLiteral("EUR");
    info.chartPeriod = period;
    info.plotPoints = std::move(points);
    info.updateExtremes();
    return info;
}

}  // namespace

TEST(ChartExport, CsvFieldsFollowTheSeparatorSettingAndNeverSplitHtmlKeepsEveryDigit) {
    ScopedChartDataDir dir;
    struct Case {
        const char* locale;
        const char* separator;  // "": the default, a comma
        const char* value;
        const char* csv;
        const char* html;
    };
    const Case cases[] = {
        // Ten fraction digits, rounded half-even at the tenth, in the CSV; every digit in HTML.
        {"en_US", ";", "1.2345678901234", "1.2345678901", "1.2345678901234"},
        {"en_US", ";", "0.00000000005", "0", "0.00000000005"},
        {"en_US", ";", "0.00000000015", "0.0000000002", "0.00000000015"},
        {"en_US", "\t", "30.5", "30.5", "30.5"},
        // The locale's grouping where it is harmless; a grouping comma would split the field,
        // a grouping dot would read as the decimal point.
        {"en_US", ";", "1234567.123456789012345678", "1,234,567.123456789",
         "1234567.123456789012345678"},
        {"en_US", ",", "1234.5", "1234.5", "1234.5"},
        {"en_US", "", "1234.5", "1234.5", "1234.5"},
        {"de_DE", ";", "1234.5", "1234.5", "1234.5"},
        {"de_CH", ";", "1234.5", "1’234.5", "1234.5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.locale << " '" << c.separator << "' " << c.value);
        dir.defaults().setObject(QString::fromLatin1(c.separator),
                                 CCurrencyChartDataExporter::ChartDataCsvSeparatorKey);
        CCurrencyChartDataExporter exporter(usdEur(series({{utc(2012, 3, 1), c.value}})),
                                            &dir.defaults());
        exporter.setLocaleName(QString::fromLatin1(c.locale));
        const QString separator = *c.separator ? QString::fromLatin1(c.separator) : ",";
        EXPECT_EQ(exporter.exportToCsv(),
                  "\"USD to EUR. From 2012.03.01 00:00:00 to 2012.03.01 00:00:00\"\r\n\r\nDate" +
                      separator + "Value\r\n2012.03.01 00:00:00" + separator +
                      QString::fromUtf8(c.csv));
        EXPECT_TRUE(exporter.exportToHtml().contains(
            QStringLiteral("<tr><td>2012.03.01 00:00:00</td><td>%1</td></tr>")
                .arg(QString::fromLatin1(c.html))));
    }
    // The setting is read at each export.
    const CCurrencyChartDataExporter exporter(usdEur(series({{utc(2012, 3, 1), "1"}})),
                                              &dir.defaults());
    dir.defaults().setObject(QStringLiteral("\t"),
                             CCurrencyChartDataExporter::ChartDataCsvSeparatorKey);
    EXPECT_TRUE(exporter.exportToCsv().endsWith("00:00:00\t1"));
}

TEST(ChartExport, HtmlTable) {
    const CCurrencyChartDataExporter exporter(
        usdEur(series({{utc(2012, 3, 1), "1.30"}, {utc(2012, 3, 2, 13, 5, 9), "0.000001"}})));
    const QString html = exporter.exportToHtml();
    EXPECT_TRUE(html.startsWith("<html><head><style type=\"text/css\">"));
    const qsizetype bodyStart = html.indexOf("</style></head><body><table><tbody>");
    ASSERT_GT(bodyStart, 0);
    // The bundled style sheet is there.
    EXPECT_TRUE(html.left(bodyStart).contains("table"));
    EXPECT_EQ(html.mid(bodyStart),
              "</style></head><body><table><tbody>"
              "<thead><tr><td>Date</td><td>Value</td></tr></thead>"
              "<tr><td>2012.03.01 00:00:00</td><td>1.3</td></tr>"
              "<tr><td>2012.03.02 13:05:09</td><td>0.000001</td></tr>"
              "</tbody></table></body></html>");
}

TEST(ChartExport, DateTextIsGmt) {
    EXPECT_EQ(CCurrencyChartDataExporter::dateText(utc(2012, 3, 1)), "2012.03.01 00:00:00");
    const QDateTime plusTwo(QDate(2012, 7, 1), QTime(2, 30), QTimeZone(7200));
    EXPECT_EQ(CCurrencyChartDataExporter::dateText(plusTwo), "2012.07.01 00:30:00");
    EXPECT_EQ(CCurrencyChartDataExporter::dateText(QDateTime()), "");
}

// The name of a shared file: codes that are no file names cannot reach another directory.
TEST(ChartExport, FileName) {
    struct Case {
        const char* first;
        const char* last;
        int period;
        const char* language;
        QString expected;
    };
    const Case cases[] = {
        {"USD", "EUR", ChartPeriod1Year, "en", "USD-EUR_1 year.csv"},
        {"USD", "EUR", ChartPeriodOverall, "en", "USD-EUR_Overall.csv"},
        {"USD", "RUB", ChartPeriod1Year, "ru", "USD-RUB_1 год.csv"},
        {"US/D", "E:UR", ChartPeriod1Day, "en", "US-D-E-UR_1 day.csv"},
        {"USD", "EUR", 42, "en", "USD-EUR_.csv"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        ASSERT_TRUE(Localization::install(QString::fromLatin1(c.language)));
        CCurrencyChartInfo info;
        info.firstCurrencyCode = QString::fromLatin1(c.first);
        info.lastCurrencyCode = QString::fromLatin1(c.last);
        info.chartPeriod = c.period;
        EXPECT_EQ(CCurrencyChartDataExporter(info).getCsvFileName(), c.expected);
    }
    Localization::install(QStringLiteral("en"));
}
