#include "CChartPlotItem.h"

#include "CCurrencyChartViewController.h"

#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QQuickWindow>
#include <QSGFlatColorMaterial>
#include <QSGGeometryNode>
#include <QSGRenderNode>
#include <QSGRendererInterface>

#include <algorithm>
#include <cmath>

/// Everything one frame of the plot needs, copied out of the item so that the renderer never
/// reads the item while the GUI thread runs. Grid and axis positions are whole pixels: the
/// column or row the 1-px line covers.
struct CChartPlotItem::Frame {
    QRectF bounds;
    QRectF plot;
    QList<QPointF> path;
    QList<qreal> gridX;
    QList<qreal> gridY;
    qreal left = 0;
    qreal bottom = 0;
    QColor lineColor;
    QColor fillColor;
    QColor gridColor;
    QColor axisColor;

    /// Lines as pairs of end points: the grid, and the axes with their tick marks.
    QList<QPointF> gridLines() const {
        QList<QPointF> lines;
        for (const qreal x : gridX) {
            lines << QPointF(x, std::round(plot.top())) << QPointF(x, bottom);
        }
        for (const qreal y : gridY) {
            lines << QPointF(left, y) << QPointF(std::round(plot.right()), y);
        }
        return lines;
    }
    /// A tick mark is `kTickLength` pixels long counting the axis's own pixel.
    QList<QPointF> axisLines() const {
        const qreal right = std::round(plot.right());
        QList<QPointF> lines{
            {left, std::round(plot.top())}, {left, bottom}, {left, bottom}, {right, bottom}};
        for (const qreal y : gridY) {
            lines << QPointF(left - kTickLength + 1, y) << QPointF(left, y);
        }
        for (const qreal x : gridX) {
            lines << QPointF(x, bottom) << QPointF(x, bottom + kTickLength - 1);
        }
        return lines;
    }
    /// The closed outline of the area: up from the bottom to the first point, along the
    /// points, down at the last one and back along the bottom. It is drawn over the x axis,
    /// whose row the area's fill covers too.
    QList<QPointF> outline() const {
        if (path.isEmpty()) {
            return {};
        }
        QList<QPointF> line;
        line.reserve(path.size() + 3);
        line << QPointF(path.first().x(), plot.bottom()) << path
             << QPointF(path.last().x(), plot.bottom()) << QPointF(path.first().x(), plot.bottom());
        return line;
    }
};

namespace {

/// The software renderer draws only the scene graph's own node kinds and skips any other
/// geometry, so there the plot paints itself. It paints once per change into an image kept
/// here: every frame while the marker moves only copies that.
class PaintedPlotNode : public QSGRenderNode {
public:
    explicit PaintedPlotNode(QQuickWindow* window) : window_(window) {}

    void setFrame(CChartPlotItem::Frame frame) {
        frame_ = std::move(frame);
        picture_ = QImage();
        markDirty(QSGNode::DirtyMaterial);
    }

    void render(const RenderState* state) override {
        auto* painter = static_cast<QPainter*>(window_->rendererInterface()->getResource(
            window_, QSGRendererInterface::PainterResource));
        if (painter == nullptr || frame_.bounds.isEmpty()) {
            return;
        }
        const qreal ratio = painter->device()->devicePixelRatio();
        if (picture_.isNull() || picture_.devicePixelRatio() != ratio) {
            paintPicture(ratio);
        }
        if (const QRegion* clip = state->clipRegion(); clip != nullptr && !clip->isEmpty()) {
            painter->setClipRegion(*clip, Qt::ReplaceClip);
        }
        painter->setTransform(matrix()->toTransform());
        painter->setOpacity(inheritedOpacity());
        painter->drawImage(frame_.bounds.topLeft(), picture_);
    }
    StateFlags changedStates() const override { return {}; }
    RenderingFlags flags() const override { return BoundedRectRendering; }
    QRectF rect() const override { return frame_.bounds; }

private:
    void paintPicture(qreal ratio) {
        picture_ =
            QImage((frame_.bounds.size() * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
        picture_.setDevicePixelRatio(ratio);
        picture_.fill(Qt::transparent);
        QPainter painter(&picture_);
        painter.translate(-frame_.bounds.topLeft());
        drawLines(painter, frame_.gridLines(), frame_.gridColor);
        drawLines(painter, frame_.axisLines(), frame_.axisColor);
        const QList<QPointF> outline = frame_.outline();
        if (!outline.isEmpty()) {
            QPolygonF area(frame_.path);
            area << QPointF(frame_.path.last().x(), frame_.bottom + 1)
                 << QPointF(frame_.path.first().x(), frame_.bottom + 1);
            painter.setPen(Qt::NoPen);
            painter.setBrush(frame_.fillColor);
            painter.drawPolygon(area);
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(frame_.lineColor, 1));
            painter.drawPolyline(outline.constData(), static_cast<int>(outline.size()));
        }
    }
    static void drawLines(QPainter& painter, const QList<QPointF>& lines, const QColor& color) {
        painter.setPen(QPen(color, 1));
        painter.drawLines(lines.constData(), static_cast<int>(lines.size() / 2));
    }

    QQuickWindow* window_;
    CChartPlotItem::Frame frame_;
    QImage picture_;
};

QSGGeometryNode* geometryNode(QSGGeometry::DrawingMode mode) {
    auto* node = new QSGGeometryNode;
    auto* geometry = new QSGGeometry(QSGGeometry::defaultAttributes_Point2D(), 0);
    geometry->setDrawingMode(mode);
    geometry->setLineWidth(1);
    node->setGeometry(geometry);
    node->setFlag(QSGNode::OwnsGeometry);
    node->setMaterial(new QSGFlatColorMaterial);
    node->setFlag(QSGNode::OwnsMaterial);
    return node;
}

/// `offset` moves whole-pixel line positions onto the pixels' centres.
void setVertices(QSGNode* child, const QList<QPointF>& vertices, const QColor& color,
                 qreal offset) {
    auto* node = static_cast<QSGGeometryNode*>(child);
    QSGGeometry* geometry = node->geometry();
    geometry->allocate(static_cast<int>(vertices.size()));
    QSGGeometry::Point2D* v = geometry->vertexDataAsPoint2D();
    for (const QPointF& p : vertices) {
        (v++)->set(static_cast<float>(p.x() + offset), static_cast<float>(p.y() + offset));
    }
    static_cast<QSGFlatColorMaterial*>(node->material())->setColor(color);
    node->markDirty(QSGNode::DirtyGeometry | QSGNode::DirtyMaterial);
}

}  // namespace

CChartPlotItem::CChartPlotItem(QQuickItem* parent) : QQuickItem(parent) {
    setFlag(ItemHasContents);
}

CChartPlotItem::~CChartPlotItem() = default;

void CChartPlotItem::setController(CCurrencyChartViewController* controller) {
    if (controller_ == controller) {
        return;
    }
    if (controller_ != nullptr) {
        disconnect(controller_, nullptr, this, nullptr);
    }
    controller_ = controller;
    if (controller_ != nullptr) {
        connect(controller_, &CCurrencyChartViewController::chartChanged, this,
                [this] { invalidate(true); });
    }
    emit controllerChanged();
    invalidate(true);
}

void CChartPlotItem::setPadding(int edge, qreal padding) {
    if (padding_[edge] == padding) {
        return;
    }
    padding_[edge] = padding;
    emit plotAreaChanged();
    invalidate(false);
}

void CChartPlotItem::setColor(QColor& member, const QColor& color) {
    if (member == color) {
        return;
    }
    member = color;
    emit colorsChanged();
    update();
}

QRectF CChartPlotItem::plotArea() const {
    return {padding_[0], padding_[1], std::max<qreal>(0, width() - padding_[0] - padding_[2]),
            std::max<qreal>(0, height() - padding_[1] - padding_[3])};
}

QPointF CChartPlotItem::positionOf(qreal x, qreal y) const {
    const QRectF area = plotArea();
    if (controller_ == nullptr) {
        return area.bottomLeft();
    }
    const qreal xSpan = controller_->xMax() - controller_->xMin();
    const qreal ySpan = controller_->yMax() - controller_->yMin();
    return {
        xSpan > 0 ? area.left() + area.width() * (x - controller_->xMin()) / xSpan : area.left(),
        ySpan > 0 ? area.bottom() - area.height() * (y - controller_->yMin()) / ySpan
                  : area.bottom()};
}

qreal CChartPlotItem::valueAtX(qreal px) const {
    if (controller_ == nullptr) {
        return 0;
    }
    const QRectF area = plotArea();
    if (area.width() <= 0) {
        return controller_->xMin();
    }
    return controller_->xMin() +
           (controller_->xMax() - controller_->xMin()) * (px - area.left()) / area.width();
}

const QList<QPointF>& CChartPlotItem::drawnPath() const {
    if (pathValid_) {
        return path_;
    }
    pathValid_ = true;
    path_.clear();
    if (controller_ == nullptr || !controller_->hasChart()) {
        thinned_.clear();
        return path_;
    }
    const int columns = std::max(1, static_cast<int>(std::lround(plotArea().width())));
    if (columns != thinnedColumns_) {
        thinned_ = thinnedPoints(controller_->plotPoints(), controller_->xMin(),
                                 controller_->xMax(), columns);
        thinnedColumns_ = columns;
    }
    path_.reserve(thinned_.size());
    for (const QPointF& point : thinned_) {
        path_.append(positionOf(point.x(), point.y()));
    }
    return path_;
}

void CChartPlotItem::invalidate(bool chartChanged) {
    if (chartChanged) {
        thinnedColumns_ = -1;
    }
    pathValid_ = false;
    emit drawnPointsChanged();
    update();
}

void CChartPlotItem::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) {
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size()) {
        emit plotAreaChanged();
        invalidate(false);
    }
}

CChartPlotItem::Frame CChartPlotItem::frame() const {
    Frame frame;
    frame.bounds = QRectF(0, 0, width(), height());
    frame.plot = plotArea();
    frame.path = drawnPath();
    frame.left = std::round(frame.plot.left());
    frame.bottom = std::round(frame.plot.bottom());
    for (int i = 0; i < kYTickCount; ++i) {
        frame.gridY.append(
            std::round(frame.plot.bottom() - frame.plot.height() * i / (kYTickCount - 1)));
    }
    if (controller_ != nullptr) {
        for (const QVariant& tick : controller_->xAxisTicks()) {
            const qreal x = tick.toMap().value(QStringLiteral("value")).toReal();
            frame.gridX.append(std::round(positionOf(x, 0).x()));
        }
    }
    frame.lineColor = lineColor_;
    frame.fillColor = fillColor_;
    frame.gridColor = gridColor_;
    frame.axisColor = axisColor_;
    return frame;
}

QSGNode* CChartPlotItem::updatePaintNode(QSGNode* oldNode, UpdatePaintNodeData*) {
    Frame plot = frame();
    if (window()->rendererInterface()->graphicsApi() == QSGRendererInterface::Software) {
        auto* node = static_cast<PaintedPlotNode*>(oldNode);
        if (node == nullptr) {
            node = new PaintedPlotNode(window());
        }
        node->setFrame(std::move(plot));
        return node;
    }

    // Bottom to top: grid, axes, area, its outline (over the x axis where they meet).
    QSGNode* node = oldNode;
    if (node == nullptr) {
        node = new QSGNode;
        node->appendChildNode(geometryNode(QSGGeometry::DrawLines));
        node->appendChildNode(geometryNode(QSGGeometry::DrawLines));
        node->appendChildNode(geometryNode(QSGGeometry::DrawTriangleStrip));
        node->appendChildNode(geometryNode(QSGGeometry::DrawLineStrip));
    }
    setVertices(node->childAtIndex(0), plot.gridLines(), plot.gridColor, 0.5);
    setVertices(node->childAtIndex(1), plot.axisLines(), plot.axisColor, 0.5);
    setVertices(node->childAtIndex(2), areaStrip(plot.path, plot.bottom + 1), plot.fillColor, 0);
    setVertices(node->childAtIndex(3), plot.outline(), plot.lineColor, 0);
    return node;
}

QList<QPointF> CChartPlotItem::thinnedPoints(const QList<QPointF>& points, qreal xMin, qreal xMax,
                                             int columns) {
    if (columns <= 0 || points.size() <= 2 * columns || xMax <= xMin) {
        return points;
    }
    QList<QPointF> result;
    result.reserve(2 * columns + 2);
    const qreal scale = columns / (xMax - xMin);
    qsizetype i = 0;
    const qsizetype n = points.size();
    while (i < n) {
        const auto column = static_cast<qint64>(std::floor((points[i].x() - xMin) * scale));
        qsizetype low = i;
        qsizetype high = i;
        qsizetype j = i + 1;
        for (; j < n && static_cast<qint64>(std::floor((points[j].x() - xMin) * scale)) == column;
             ++j) {
            if (points[j].y() < points[low].y()) {
                low = j;
            }
            if (points[j].y() > points[high].y()) {
                high = j;
            }
        }
        result.append(points[std::min(low, high)]);
        if (low != high) {
            result.append(points[std::max(low, high)]);
        }
        i = j;
    }
    return result;
}

QList<QPointF> CChartPlotItem::areaStrip(const QList<QPointF>& path, qreal bottom) {
    QList<QPointF> strip;
    strip.reserve(2 * path.size());
    for (const QPointF& p : path) {
        strip << p << QPointF(p.x(), bottom);
    }
    return strip;
}
