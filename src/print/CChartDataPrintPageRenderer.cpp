#include "CChartDataPrintPageRenderer.h"

#include "AtomicFile.h"
#include "CCurrencyChartDataExporter.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTextDocument>

namespace {

qreal pointsToPixels(qreal points, const QPrinter& printer) {
    return points * printer.resolution() / 72.0;
}

}  // namespace

CChartDataPrintPageRenderer::CChartDataPrintPageRenderer(CCurrencyChartInfo chartInfo)
    : chartInfo_(std::move(chartInfo)) {}

QString CChartDataPrintPageRenderer::headerTextForPage(int pageIndex, int pageCount) const {
    return QStringLiteral("%1 (page %2 of %3)")
        .arg(CCurrencyChartDataExporter::titleText(chartInfo_))
        .arg(pageIndex + 1)
        .arg(pageCount);
}

QRectF CChartDataPrintPageRenderer::layOut(QTextDocument& document, QPrinter& printer) const {
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const qreal inset = pointsToPixels(ContentInset, printer);
    const qreal top = pointsToPixels(HeaderHeight, printer) + inset;
    const qreal bottom = pointsToPixels(FooterHeight, printer) + inset;
    const QRectF content(inset, top, qMax<qreal>(1, page.width() - 2 * inset),
                         qMax<qreal>(1, page.height() - top - bottom));

    // Measured in the printer's own pixels, so fonts keep their point sizes on paper.
    document.documentLayout()->setPaintDevice(&printer);
    document.setDocumentMargin(0);
    document.setHtml(CCurrencyChartDataExporter(chartInfo_).exportToHtml());
    document.setPageSize(content.size());
    return content;
}

int CChartDataPrintPageRenderer::numberOfPages(QPrinter& printer) {
    QTextDocument document;
    layOut(document, printer);
    return document.pageCount();
}

bool CChartDataPrintPageRenderer::print(QPrinter& printer, QString* errorText) {
    QTextDocument document;
    const QRectF content = layOut(document, printer);
    pageCount_ = document.pageCount();
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF headerRect(0, 0, page.width(), pointsToPixels(HeaderHeight, printer));
    const qreal footerHeight = pointsToPixels(FooterHeight, printer);
    const QRectF footerRect(0, page.height() - footerHeight, page.width(), footerHeight);

    QPainter painter;
    if (!painter.begin(&printer)) {
        if (errorText) {
            *errorText = QStringLiteral("the printer cannot be painted on");
        }
        return false;
    }
    for (int index = 0; index < pageCount_; ++index) {
        if (index > 0 && !printer.newPage()) {
            painter.end();
            if (errorText) {
                *errorText = QStringLiteral("the printer refused page %1").arg(index + 1);
            }
            return false;
        }
        drawHeaderForPageAtIndex(painter, index, headerRect);

        painter.save();
        painter.translate(content.left(), content.top() - index * content.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, index * content.height(), content.width(), content.height());
        painter.setClipRect(context.clip);
        document.documentLayout()->draw(&painter, context);
        painter.restore();

        drawFooterForPageAtIndex(painter, index, footerRect);
    }
    if (!painter.end()) {
        if (errorText) {
            *errorText = QStringLiteral("the printed pages could not be finished");
        }
        return false;
    }
    return true;
}

bool CChartDataPrintPageRenderer::printToPdf(const QString& filePath, QString* errorText) {
    // The printer writes as it goes; the user's file is replaced only by a finished document.
    QTemporaryDir scratch;
    const QString draft = scratch.filePath(QStringLiteral("draft.pdf"));
    {
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(draft);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setDocName(CCurrencyChartDataExporter::titleText(chartInfo_));
        if (!scratch.isValid() || !print(printer, errorText)) {
            return false;
        }
    }
    QFile file(draft);
    if (!file.open(QIODevice::ReadOnly)) {
        if (errorText) {
            *errorText = file.errorString();
        }
        return false;
    }
    return AtomicFile::write(filePath, file.readAll(), errorText);
}

void CChartDataPrintPageRenderer::drawHeaderForPageAtIndex(QPainter& painter, int pageIndex,
                                                           const QRectF& headerRect) {
    QFont font(QStringLiteral("Helvetica"));
    font.setPointSizeF(11);
    painter.save();
    painter.setFont(font);
    const QString text = headerTextForPage(pageIndex, pageCount_);
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QSizeF size = metrics.size(Qt::TextSingleLine, text);
    const QRectF textRect(headerRect.right() / 2 - size.width() / 2,
                          headerRect.bottom() - size.height(), size.width(), size.height());
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter.restore();
}

void CChartDataPrintPageRenderer::drawFooterForPageAtIndex(QPainter&, int, const QRectF&) {}
