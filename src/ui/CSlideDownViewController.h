#pragma once

#include "CViewController.h"

#include <QPointer>

/// A container of two screens, one above the other: the top one can slide down, leaving a
/// strip of `visibleControllerHeight` points of it on screen above the bottom one (the phone's
/// landscape chart with its settings underneath).
class CSlideDownViewController : public CViewController {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Screen controllers are made in C++")

    Q_PROPERTY(CViewController* topController READ topController CONSTANT)
    Q_PROPERTY(CViewController* bottomController READ bottomController CONSTANT)
    Q_PROPERTY(int visibleControllerHeight READ visibleControllerHeight WRITE
                   setVisibleControllerHeight NOTIFY visibleControllerHeightChanged)
    Q_PROPERTY(bool topControllerHidden READ topControllerHidden NOTIFY topControllerHiddenChanged)
    /// Whether the next slide is animated (0.4 s); the view reads it when it moves the top.
    Q_PROPERTY(bool slideAnimated READ slideAnimated NOTIFY topControllerHiddenChanged)

public:
    CSlideDownViewController(CViewController* top, CViewController* bottom, bool tablet,
                             QObject* parent = nullptr);

    CViewController* topController() const { return top_; }
    CViewController* bottomController() const { return bottom_; }
    int visibleControllerHeight() const { return visibleControllerHeight_; }
    void setVisibleControllerHeight(int height);
    bool topControllerHidden() const { return topControllerHidden_; }
    bool slideAnimated() const { return slideAnimated_; }

    /// Hides (slides down) or shows the top screen.
    Q_INVOKABLE void slideTopController(bool hide, bool animated);
    /// The vertical origin of the top view in a container `height` points high.
    Q_INVOKABLE qreal topViewY(qreal height) const;
    /// The height of the bottom view in a container `height` points high.
    Q_INVOKABLE qreal bottomViewHeight(qreal height) const;

    /// Orientations both children allow.
    static int supportedOrientations(int topMask, int bottomMask) { return topMask & bottomMask; }

signals:
    void visibleControllerHeightChanged();
    void topControllerHiddenChanged();

private:
    QPointer<CViewController> top_;
    QPointer<CViewController> bottom_;
    int visibleControllerHeight_ = 0;
    bool topControllerHidden_ = false;
    bool slideAnimated_ = false;
};
