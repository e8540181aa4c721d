#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QString>

/// The bubble over the chart that names the selected point's value and date. The view tells
/// it its own width and its parent's; it keeps itself inside the parent's width.
class CChartPointInfoView : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the chart screen")

    Q_PROPERTY(QString valueText READ valueText NOTIFY textsChanged)
    Q_PROPERTY(QString dateText READ dateText NOTIFY textsChanged)
    Q_PROPERTY(qreal x READ x NOTIFY placeChanged)
    Q_PROPERTY(qreal y READ y NOTIFY placeChanged)
    Q_PROPERTY(bool visible READ isVisible NOTIFY placeChanged)
    Q_PROPERTY(qreal width READ width WRITE setWidth NOTIFY sizeChanged)
    Q_PROPERTY(qreal parentWidth READ parentWidth WRITE setParentWidth NOTIFY sizeChanged)

public:
    using QObject::QObject;

    QString valueText() const { return valueText_; }
    QString dateText() const { return dateText_; }
    void setTexts(const QString& valueText, const QString& dateText);
    qreal x() const { return x_; }
    qreal y() const { return y_; }
    bool isVisible() const { return visible_; }
    qreal width() const { return width_; }
    void setWidth(qreal width);
    qreal parentWidth() const { return parentWidth_; }
    void setParentWidth(qreal width);

    /// Centres the bubble on `xPoint` with its top at `yOrigin`, moved in to stay inside the
    /// parent, and shows it.
    Q_INVOKABLE void showWithYOrigin(qreal yOrigin, qreal xPoint);
    Q_INVOKABLE void hide();

    /// The left edge of a bubble `width` wide centred on `xPoint` inside `parentWidth`: never
    /// left of 0, flush right near the right edge.
    static qreal leftEdge(qreal xPoint, qreal width, qreal parentWidth);

signals:
    void textsChanged();
    void placeChanged();
    void sizeChanged();

private:
    QString valueText_;
    QString dateText_;
    qreal x_ = 0;
    qreal y_ = 0;
    qreal width_ = 0;
    qreal parentWidth_ = 0;
    bool visible_ = false;
};
