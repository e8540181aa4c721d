#include "CUILabelExt.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRegularExpression>

CUILabelExt::CUILabelExt(QQuickItem* parent) : QQuickPaintedItem(parent) {
    setAntialiasing(true);
}

QStringList CUILabelExt::breakIntoLines(const QString& text,
                                        const std::function<qreal(const QString&)>& heightOf) {
    if (text.isEmpty()) {
        return {};
    }
    static const QRegularExpression separator(QStringLiteral("[\\s\\x{2028}\\x{2029}]"));
    const QStringList words = text.split(separator);
    QStringList lines{words.first()};
    for (qsizetype i = 1; i < words.size(); ++i) {
        QString& current = lines.last();
        if (heightOf(current + words[i]) > heightOf(current)) {
            lines.append(words[i]);
        } else {
            current += QLatin1Char(' ') + words[i];
        }
    }
    return lines;
}

void CUILabelExt::setText(const QString& text) {
    if (text == text_) {
        return;
    }
    text_ = text;
    emit textChanged();
    invalidate();
}

void CUILabelExt::setFont(const QFont& font) {
    if (font == font_) {
        return;
    }
    font_ = font;
    emit fontChanged();
    invalidate();
}

void CUILabelExt::setColor(const QColor& color) {
    if (color == color_) {
        return;
    }
    color_ = color;
    emit colorChanged();
    update();
}

void CUILabelExt::setLineSpacing(int spacing) {
    if (spacing == lineSpacing_) {
        return;
    }
    lineSpacing_ = spacing;
    emit lineSpacingChanged();
    update();
}

void CUILabelExt::setHorizontalAlignment(int alignment) {
    if (alignment == alignment_) {
        return;
    }
    alignment_ = alignment;
    emit horizontalAlignmentChanged();
    update();
}

void CUILabelExt::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) {
    QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
    // Lines depend on the width only; a height bound to them would otherwise break them again.
    if (newGeometry.width() != oldGeometry.width()) {
        layoutWidth_ = newGeometry.width();
        invalidate();
    }
}

void CUILabelExt::invalidate() {
    dirty_ = true;
    polish();
    update();
}

QStringList CUILabelExt::lines() const {
    relayout();
    return lines_;
}

void CUILabelExt::updatePolish() {
    relayout();
    if (lines_ != notifiedLines_) {
        notifiedLines_ = lines_;
        emit linesChanged();
    }
}

void CUILabelExt::relayout() const {
    if (!dirty_) {
        return;
    }
    dirty_ = false;
    const QFontMetricsF metrics(font_);
    // The width as last set, not width(): reading the item's geometry here, while a binding of
    // its height reads the lines, would make that binding depend on itself.
    const QRectF bounds(0, 0, layoutWidth_, 1e6);
    lines_ = breakIntoLines(text_, [&](const QString& candidate) {
        // A word wider than the label wraps inside itself, as the platform's measuring does.
        return metrics.boundingRect(bounds, Qt::TextWrapAnywhere, candidate).height();
    });
}

void CUILabelExt::paint(QPainter* painter) {
    painter->setFont(font_);
    painter->setPen(color_);
    QRectF rect(0, 0, width(), height());
    for (const QString& line : std::as_const(lines_)) {
        painter->drawText(rect, alignment_ | Qt::AlignTop, line);
        rect.translate(0, lineSpacing_);
    }
}
