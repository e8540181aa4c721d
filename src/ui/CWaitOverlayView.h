#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QString>

/// The dimmed overlay over the chart while it loads or when it cannot be shown: a status text
/// with an activity indicator under it. The view fades it in and out (0.4 s when animated).
class CWaitOverlayView : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Made by the chart screen")

    /// The overlay's target opacity is 1 (shown) or 0 (hidden).
    Q_PROPERTY(bool shown READ isShown NOTIFY changed)
    Q_PROPERTY(bool animated READ isAnimated NOTIFY changed)
    Q_PROPERTY(bool activityRunning READ isActivityRunning NOTIFY changed)
    Q_PROPERTY(QString statusText READ statusText NOTIFY changed)
    /// "hidden", "loading" or "error".
    Q_PROPERTY(QString state READ state NOTIFY changed)

public:
    using QObject::QObject;

    bool isShown() const { return shown_; }
    bool isAnimated() const { return animated_; }
    bool isActivityRunning() const { return activityRunning_; }
    QString statusText() const { return statusText_; }
    QString state() const;

    /// Shows (or hides) the overlay with the running indicator and `loadingText`.
    void show(bool show, bool animated, const QString& loadingText);
    /// Stops the indicator and shows `text`; whether the overlay is visible does not change, so
    /// an error over a chart already on screen stays unseen.
    void showError(const QString& text);

signals:
    void changed();

private:
    bool shown_ = false;
    bool animated_ = false;
    bool activityRunning_ = true;
    QString statusText_;
};
