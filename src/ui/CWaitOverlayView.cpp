#include "CWaitOverlayView.h"

QString CWaitOverlayView::state() const {
    if (!shown_) {
        return QStringLiteral("hidden");
    }
    return activityRunning_ ? QStringLiteral("loading") : QStringLiteral("error");
}

void CWaitOverlayView::show(bool show, bool animated, const QString& loadingText) {
    shown_ = show;
    animated_ = animated;
    activityRunning_ = true;
    statusText_ = loadingText;
    emit changed();
}

void CWaitOverlayView::showError(const QString& text) {
    activityRunning_ = false;
    statusText_ = text;
    emit changed();
}
