#pragma once

#include "CCurrencyChartInfo.h"

#include <QRectF>
#include <QString>

class QPainter;
class QPrinter;
class QTextDocument;

/// Prints a chart record: the HTML table of its points laid out on pages, each page with the
/// centred header "<first> to <last>. From <min date> to <max date> (page N of M)" in 11-point
/// Helvetica. Needs a QGuiApplication (fonts); works headless with the offscreen platform.
class CChartDataPrintPageRenderer {
public:
    /// Header and footer heights and the inset of the table on every side, in points.
    static constexpr qreal HeaderHeight = 20;
    static constexpr qreal FooterHeight = 20;
    static constexpr qreal ContentInset = 4;

    explicit CChartDataPrintPageRenderer(CCurrencyChartInfo chartInfo);

    const CCurrencyChartInfo& chartInfo() const { return chartInfo_; }

    /// Prints every page on `printer`. False, with the reason in `errorText`, when the printer
    /// cannot be painted on or refuses a page.
    bool print(QPrinter& printer, QString* errorText = nullptr);
    /// Prints to a PDF file at `filePath` on A4 paper.
    bool printToPdf(const QString& filePath, QString* errorText = nullptr);
    /// The number of pages the table takes on `printer`.
    int numberOfPages(QPrinter& printer);

    /// The header text of the page at `pageIndex` (counted from 0) of `pageCount` pages.
    QString headerTextForPage(int pageIndex, int pageCount) const;
    /// Draws the header centred on half the rectangle's right edge, resting on its bottom.
    void drawHeaderForPageAtIndex(QPainter& painter, int pageIndex, const QRectF& headerRect);
    /// The footer is empty.
    void drawFooterForPageAtIndex(QPainter& painter, int pageIndex, const QRectF& footerRect);

private:
    /// Lays the HTML out for `printer`'s page; returns the table's rectangle on a page, in
    /// device pixels.
    QRectF layOut(QTextDocument& document, QPrinter& printer) const;

    CCurrencyChartInfo chartInfo_;
    int pageCount_ = 0;
};
