#include "CCurrencyChartDataExporter.h"

#include "CChartPeriod.h"
#include "NumberFormatter.h"
#include "Resources.h"
#include "UserDefaults.h"

#include <QFile>
#include <QLocale>
#include <QStringDecoder>

const QString CCurrencyChartDataExporter::ChartDataCsvSeparatorKey =
    QStringLiteral("ChartDataCsvSeparatorUserDefaultsKey");

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString styleSheet() {
    const QString path =
        Resources::pathForResource(QStringLiteral("chartData"), QStringLiteral("css"));
    if (path.isEmpty()) {
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QByteArray data = file.readAll();
    auto encoding = QStringConverter::encodingForData(data);
    QStringDecoder decoder(encoding.value_or(QStringConverter::Utf8));
    return decoder.decode(data);
}

/// Grouping is kept only when its marks cannot be confused with the field separator, the
/// decimal point or CSV quoting.
bool groupingIsSafe(const QString& localeName, const QString& separator) {
    NumberFormatter::Options options;
    options.useGrouping = true;
    options.maximumFractionDigits = 0;
    const QString sample = NumberFormatter(options, localeName).format(Decimal::fromInt(1234567));
    for (const QChar c : sample) {
        if (c.isDigit()) {
            continue;
        }
        if (c == u'.' || c == u'"' || c == u'\r' || c == u'\n' || separator.contains(c)) {
            return false;
        }
    }
    return true;
}

QString fileNamePart(QString text) {
    for (QChar& c : text) {
        if (c == u'/' || c == u'\\' || c == u':' || c == u'*' || c == u'?' || c == u'"' ||
            c == u'<' || c == u'>' || c == u'|' || c.category() == QChar::Other_Control) {
            c = u'-';
        }
    }
    return text;
}

}  // namespace

CCurrencyChartDataExporter::CCurrencyChartDataExporter(CCurrencyChartInfo chartInfo,
                                                       UserDefaults* defaults)
    : chartInfo_(std::move(chartInfo)), defaults_(defaults) {}

QString CCurrencyChartDataExporter::dateText(const QDateTime& date) {
    if (!date.isValid()) {
        return {};
    }
    return QLocale::c().toString(date.toUTC(), QStringLiteral("yyyy.MM.dd HH:mm:ss"));
}

QString CCurrencyChartDataExporter::titleText(const CCurrencyChartInfo& info) {
    return QStringLiteral("%1 to %2. From %3 to %4")
        .arg(info.firstCurrencyCode, info.lastCurrencyCode, dateText(info.minDate),
             dateText(info.maxDate));
}

QString CCurrencyChartDataExporter::csvSeparator() const {
    UserDefaults& defaults = defaults_ ? *defaults_ : UserDefaults::standardUserDefaults();
    const QString separator = defaults.stringForKey(ChartDataCsvSeparatorKey);
    return separator.isEmpty() ? QStringLiteral(",") : separator;
}

QString CCurrencyChartDataExporter::exportToCsv() const {
    const QString separator = csvSeparator();
    NumberFormatter::Options options;
    options.useGrouping = groupingIsSafe(localeName_, separator);
    options.minimumFractionDigits = 0;
    options.maximumFractionDigits = 10;
    options.decimalSeparator = QStringLiteral(".");
    const NumberFormatter formatter(options, localeName_);

    QString csv;
    csv += QLatin1Char('"') + titleText(chartInfo_) + QLatin1Char('"') + kCrLf + kCrLf;
    csv += QStringLiteral("Date") + separator + QStringLiteral("Value") + kCrLf;
    for (qsizetype i = 0; i < chartInfo_.plotPoints.size(); ++i) {
        const CCurrencyChartPoint& point = chartInfo_.plotPoints[i];
        if (i > 0) {
            csv += kCrLf;
        }
        csv += dateText(point.date) + separator + formatter.format(point.value);
    }
    return csv;
}

QString CCurrencyChartDataExporter::getCsvFileName() const {
    return QStringLiteral("%1-%2_%3.csv")
        .arg(fileNamePart(chartInfo_.firstCurrencyCode), fileNamePart(chartInfo_.lastCurrencyCode),
             fileNamePart(
                 ChartPeriodNames::displayName(chartInfo_.chartPeriod).value_or(QString())));
}

QString CCurrencyChartDataExporter::exportToHtml() const {
    QString html;
    html += QStringLiteral("<html><head><style type=\"text/css\">") + styleSheet() +
            QStringLiteral("</style></head><body><table><tbody>");
    html += QStringLiteral("<thead><tr><td>Date</td><td>Value</td></tr></thead>");
    for (const CCurrencyChartPoint& point : chartInfo_.plotPoints) {
        html +=
            QStringLiteral("<tr><td>%1</td><td>%2</td></tr>")
                .arg(dateText(point.date).toHtmlEscaped(), point.value.toString().toHtmlEscaped());
    }
    html += QStringLiteral("</tbody></table></body></html>");
    return html;
}
