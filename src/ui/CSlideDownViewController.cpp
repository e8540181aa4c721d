#include "CSlideDownViewController.h"

CSlideDownViewController::CSlideDownViewController(CViewController* top, CViewController* bottom,
                                                   bool tablet, QObject* parent)
    : CViewController(QStringLiteral("SlideDownView"), tablet, parent), top_(top), bottom_(bottom) {
    for (CViewController* child : {top, bottom}) {
        if (child != nullptr) {
            child->setParent(this);
        }
    }
}

void CSlideDownViewController::setVisibleControllerHeight(int height) {
    if (height == visibleControllerHeight_) {
        return;
    }
    visibleControllerHeight_ = height;
    emit visibleControllerHeightChanged();
}

void CSlideDownViewController::slideTopController(bool hide, bool animated) {
    slideAnimated_ = animated;
    if (hide == topControllerHidden_) {
        return;
    }
    topControllerHidden_ = hide;
    emit topControllerHiddenChanged();
}

qreal CSlideDownViewController::topViewY(qreal height) const {
    return topControllerHidden_ ? height - visibleControllerHeight_ : 0;
}

qreal CSlideDownViewController::bottomViewHeight(qreal height) const {
    return height - visibleControllerHeight_;
}
