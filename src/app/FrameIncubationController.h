#pragma once

#include <QBasicTimer>
#include <QObject>
#include <QQmlIncubationController>

class QQuickWindow;

/// Lets QML make what it may make asynchronously (a list's rows beyond its visible area) only
/// once the window has shown its first frame, then in short slices between frames, so that
/// none of it delays a frame. Without a controller the engine makes it all at once, before
/// the first frame.
class FrameIncubationController : public QObject, public QQmlIncubationController {
public:
    explicit FrameIncubationController(QObject* parent = nullptr);

    /// Starts the slices once `window` has shown a frame.
    void startAfterFirstFrame(QQuickWindow* window);

protected:
    void incubatingObjectCountChanged(int count) override;
    void timerEvent(QTimerEvent* event) override;

private:
    void schedule();

    bool m_started = false;
    QBasicTimer m_timer;
};
