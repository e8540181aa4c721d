#pragma once

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QFont>
#include <QQuickPaintedItem>
#include <QString>
#include <QStringList>

#include <functional>

/// A label with its own line spacing: the distance from the top of one drawn line to the top
/// of the next. Lines are broken greedily at white space.
class CUILabelExt : public QQuickPaintedItem {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(QFont font READ font WRITE setFont NOTIFY fontChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
    Q_PROPERTY(int lineSpacing READ lineSpacing WRITE setLineSpacing NOTIFY lineSpacingChanged)
    Q_PROPERTY(int horizontalAlignment READ horizontalAlignment WRITE setHorizontalAlignment NOTIFY
                   horizontalAlignmentChanged)
    /// The lines as last broken for the current size.
    Q_PROPERTY(QStringList lines READ lines NOTIFY linesChanged)

public:
    explicit CUILabelExt(QQuickItem* parent = nullptr);

    /// Splits `text` at every white-space or line-end character (consecutive separators give
    /// empty words) and fills lines greedily: a word starts a new line when appending it to the
    /// current line (without a space) makes the measured height grow, otherwise it is appended
    /// after a space. An empty text gives no lines.
    static QStringList breakIntoLines(const QString& text,
                                      const std::function<qreal(const QString&)>& heightOf);

    QString text() const { return text_; }
    void setText(const QString& text);
    QFont font() const { return font_; }
    void setFont(const QFont& font);
    QColor color() const { return color_; }
    void setColor(const QColor& color);
    int lineSpacing() const { return lineSpacing_; }
    void setLineSpacing(int spacing);
    int horizontalAlignment() const { return alignment_; }
    void setHorizontalAlignment(int alignment);
    QStringList lines() const;

    void paint(QPainter* painter) override;

signals:
    void textChanged();
    void fontChanged();
    void colorChanged();
    void lineSpacingChanged();
    void horizontalAlignmentChanged();
    void linesChanged();

protected:
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;
    void updatePolish() override;

private:
    /// Marks the lines for breaking again before the next frame.
    void invalidate();
    void relayout() const;

    QString text_;
    QFont font_;
    QColor color_ = Qt::black;
    int lineSpacing_ = 0;
    int alignment_ = Qt::AlignLeft;
    // Broken when read or before a frame, not at every change: while the item is made, its
    // text is set before its font, and breaking it then would set up a font for nothing.
    mutable QStringList lines_;
    mutable bool dirty_ = false;
    qreal layoutWidth_ = 0;
    QStringList notifiedLines_;
};
