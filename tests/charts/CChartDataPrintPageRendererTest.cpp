#include "CChartDataPrintPageRenderer.h"

#include "CCurrencyChartDataExporter.h"
#include "ChartTestSupport.h"

#include <QFile>
#include <QPageSize>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace charttest;

namespace {

CCurrencyChartInfo dailyUsdEur(int days) {
    CCurrencyChartInfo info;
    info.firstCurrencyCode = QStringLiteral("USD");
    info.lastCurrencyCode = QStringLiteral("EUR");
    info.plotPoints = dailySeries(utc(2012, 1, 1), days);
    info.updateExtremes();
    return info;
}

std::unique_ptr<QPrinter> pdfPrinter(const QString& path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    printer->setPageSize(QPageSize(QPageSize::A4));
    return printer;
}

/// The text of page `page` (from 1) of a PDF, or of every page for 0.
QString pdfText(const QString& path, int page = 0) {
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (tool.isEmpty()) {
        ADD_FAILURE() << "pdftotext (poppler-utils) is not installed";
        return {};
    }
    QStringList args{QStringLiteral("-layout")};
    if (page > 0) {
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
             << QString::number(page);
    }
    args << path << QStringLiteral("-");
    QProcess process;
    process.start(tool, args);
    if (!process.waitForFinished(30000) || process.exitCode() != 0) {
        ADD_FAILURE() << "pdftotext failed: " << process.readAllStandardError().toStdString();
        return {};
    }
    return QString::fromUtf8(process.readAllStandardOutput());
}

}  // namespace

TEST(ChartPrinting, ThreePagesCarryNumberedHeaders) {
    QTemporaryDir dir;
    const QString path = dir.filePath("chart.pdf");
    auto printer = pdfPrinter(path);

    // The smallest series that needs three pages: its last page holds one row.
    int days = 1;
    while (CChartDataPrintPageRenderer(dailyUsdEur(days)).numberOfPages(*printer) < 3) {
        ASSERT_LT(++days, 2000) << "pages do not fill up";
    }
    const CCurrencyChartInfo info = dailyUsdEur(days);
    CChartDataPrintPageRenderer renderer(info);
    ASSERT_EQ(renderer.numberOfPages(*printer), 3);

    QString error;
    ASSERT_TRUE(renderer.print(*printer, &error)) << error.toStdString();
    printer.reset();  // finishes the file

    const QString title = CCurrencyChartDataExporter::titleText(info);
    for (int page = 1; page <= 3; ++page) {
        SCOPED_TRACE(page);
        const QString text = pdfText(path, page);
        const QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
        ASSERT_FALSE(lines.isEmpty());
        // The header is the page's first line.
        EXPECT_EQ(lines.first().trimmed(),
                  QStringLiteral("%1 (page %2 of 3)").arg(title).arg(page));
    }
    // Every point is printed exactly once, with its value, across the three pages.
    const QString all = pdfText(path);
    EXPECT_EQ(all.count(u'\f'), 3);  // pdftotext ends every page with a form feed
    for (const CCurrencyChartPoint& point : info.plotPoints) {
        const QString row = CCurrencyChartDataExporter::dateText(point.date);
        const QRegularExpression pattern(QRegularExpression::escape(row) + QStringLiteral("\\s+") +
                                         QRegularExpression::escape(point.value.toString()) +
                                         QStringLiteral("\\b"));
        EXPECT_EQ(all.count(pattern), 1) << row.toStdString();
    }
}
