#include "CChartPointInfoView.h"

#include <algorithm>

void CChartPointInfoView::setTexts(const QString& valueText, const QString& dateText) {
    if (valueText == valueText_ && dateText == dateText_) {
        return;
    }
    valueText_ = valueText;
    dateText_ = dateText;
    emit textsChanged();
}

void CChartPointInfoView::setWidth(qreal width) {
    if (width == width_) {
        return;
    }
    width_ = width;
    emit sizeChanged();
}

void CChartPointInfoView::setParentWidth(qreal width) {
    if (width == parentWidth_) {
        return;
    }
    parentWidth_ = width;
    emit sizeChanged();
}

qreal CChartPointInfoView::leftEdge(qreal xPoint, qreal width, qreal parentWidth) {
    qreal left = std::max<qreal>(0, xPoint - width / 2);
    if (left >= parentWidth - width) {
        left = parentWidth - width;
    }
    // A bubble wider than its parent starts at the left edge rather than outside it.
    return std::max<qreal>(0, left);
}

void CChartPointInfoView::showWithYOrigin(qreal yOrigin, qreal xPoint) {
    x_ = leftEdge(xPoint, width_, parentWidth_);
    y_ = yOrigin;
    visible_ = true;
    emit placeChanged();
}

void CChartPointInfoView::hide() {
    if (!visible_) {
        return;
    }
    visible_ = false;
    emit placeChanged();
}
