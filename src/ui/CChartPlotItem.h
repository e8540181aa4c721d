#pragma once

#include "CCurrencyChartViewController.h"

#include <QtQml/qqmlregistration.h>
#include <QColor>
#include <QList>
#include <QPointF>
#include <QPointer>
#include <QQuickItem>
#include <QRectF>

/// The chart screen's plot: the rate line of the controller's chart with the area under it
/// filled, the grid at the y ticks and at the controller's x-axis ticks, and the two axis lines
/// with their tick marks. Labels are the view's; it places them from `plotArea`.
///
/// What is drawn is the chart thinned to two points per pixel column (each column's lowest and
/// highest), so a frame costs the same for 30 points and for 27,000; the thinning follows the
/// plot's width and the chart. The marker and the bubble are not drawn here: moving them never
/// draws the plot again.
class CChartPlotItem : public QQuickItem {
    Q_OBJECT
    QML_ELEMENT

    Q_PROPERTY(CCurrencyChartViewController* controller READ controller WRITE setController NOTIFY
                   controllerChanged)
    /// The plot area's distance from each edge of the item.
    Q_PROPERTY(qreal leftPadding READ leftPadding WRITE setLeftPadding NOTIFY plotAreaChanged)
    Q_PROPERTY(qreal topPadding READ topPadding WRITE setTopPadding NOTIFY plotAreaChanged)
    Q_PROPERTY(qreal rightPadding READ rightPadding WRITE setRightPadding NOTIFY plotAreaChanged)
    Q_PROPERTY(qreal bottomPadding READ bottomPadding WRITE setBottomPadding NOTIFY plotAreaChanged)
    /// The rectangle in this item that the axes' ranges span.
    Q_PROPERTY(QRectF plotArea READ plotArea NOTIFY plotAreaChanged)
    Q_PROPERTY(QColor lineColor READ lineColor WRITE setLineColor NOTIFY colorsChanged)
    Q_PROPERTY(QColor fillColor READ fillColor WRITE setFillColor NOTIFY colorsChanged)
    Q_PROPERTY(QColor gridColor READ gridColor WRITE setGridColor NOTIFY colorsChanged)
    Q_PROPERTY(QColor axisColor READ axisColor WRITE setAxisColor NOTIFY colorsChanged)
    /// How far the tick marks stick out of the axes.
    Q_PROPERTY(qreal tickLength READ tickLength CONSTANT)
    /// The y axis is divided equally by this many ticks, both ends included.
    Q_PROPERTY(int yTickCount READ yTickCount CONSTANT)
    /// How many of the chart's points are drawn after thinning.
    Q_PROPERTY(int drawnPointCount READ drawnPointCount NOTIFY drawnPointsChanged)

public:
    /// One frame's picture, handed to the scene graph.
    struct Frame;

    static constexpr int kYTickCount = 5;
    static constexpr qreal kTickLength = 5;

    explicit CChartPlotItem(QQuickItem* parent = nullptr);
    ~CChartPlotItem() override;

    CCurrencyChartViewController* controller() const { return controller_; }
    void setController(CCurrencyChartViewController* controller);
    qreal leftPadding() const { return padding_[0]; }
    void setLeftPadding(qreal padding) { setPadding(0, padding); }
    qreal topPadding() const { return padding_[1]; }
    void setTopPadding(qreal padding) { setPadding(1, padding); }
    qreal rightPadding() const { return padding_[2]; }
    void setRightPadding(qreal padding) { setPadding(2, padding); }
    qreal bottomPadding() const { return padding_[3]; }
    void setBottomPadding(qreal padding) { setPadding(3, padding); }
    QRectF plotArea() const;
    QColor lineColor() const { return lineColor_; }
    void setLineColor(const QColor& color) { setColor(lineColor_, color); }
    QColor fillColor() const { return fillColor_; }
    void setFillColor(const QColor& color) { setColor(fillColor_, color); }
    QColor gridColor() const { return gridColor_; }
    void setGridColor(const QColor& color) { setColor(gridColor_, color); }
    QColor axisColor() const { return axisColor_; }
    void setAxisColor(const QColor& color) { setColor(axisColor_, color); }
    qreal tickLength() const { return kTickLength; }
    int yTickCount() const { return kYTickCount; }
    int drawnPointCount() const { return static_cast<int>(drawnPath().size()); }

    /// The position in this item of the plot values (x, y); values outside the ranges land
    /// outside the plot area.
    Q_INVOKABLE QPointF positionOf(qreal x, qreal y) const;
    /// The plot value x under the horizontal position `px` of this item.
    Q_INVOKABLE qreal valueAtX(qreal px) const;

    /// The drawn line in this item's coordinates: the thinned points, left to right.
    const QList<QPointF>& drawnPath() const;

    /// At most two points per pixel column of `columns` over [xMin, xMax]: each column's lowest
    /// and highest, in their order, so that the drawn line keeps every extreme. Fewer points
    /// than two per column are returned as they are.
    static QList<QPointF> thinnedPoints(const QList<QPointF>& points, qreal xMin, qreal xMax,
                                        int columns);
    /// The triangle strip that fills the area under `path` down to `bottom`: each point of the
    /// path, then the same x on the bottom.
    static QList<QPointF> areaStrip(const QList<QPointF>& path, qreal bottom);

signals:
    void controllerChanged();
    void plotAreaChanged();
    void colorsChanged();
    void drawnPointsChanged();

protected:
    void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;
    QSGNode* updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData* data) override;

private:
    void setPadding(int edge, qreal padding);
    void setColor(QColor& member, const QColor& color);
    /// The chart or the plot area changed: the drawn path is recomputed before the next frame.
    void invalidate(bool chartChanged);
    Frame frame() const;

    QPointer<CCurrencyChartViewController> controller_;
    qreal padding_[4] = {0, 0, 0, 0};
    QColor lineColor_{Qt::black};
    QColor fillColor_{Qt::white};
    QColor gridColor_{Qt::gray};
    QColor axisColor_{Qt::black};

    // Derived from the chart and the geometry on demand.
    mutable QList<QPointF> thinned_;
    mutable int thinnedColumns_ = -1;
    mutable QList<QPointF> path_;
    mutable bool pathValid_ = false;
};
