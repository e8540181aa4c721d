#include "FrameIncubationController.h"

#include <QQuickWindow>
#include <QTimerEvent>

namespace {
// A slice takes at most a third of a 60 Hz frame, and the next waits as long: input and frames
// go first.
constexpr int kSliceMs = 5;
}  // namespace

FrameIncubationController::FrameIncubationController(QObject* parent) : QObject(parent) {}

void FrameIncubationController::startAfterFirstFrame(QQuickWindow* window) {
    connect(
        window, &QQuickWindow::frameSwapped, this,
        [this] {
            m_started = true;
            schedule();
        },
        static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
}

void FrameIncubationController::incubatingObjectCountChanged(int count) {
    if (count > 0) {
        schedule();
    }
}

void FrameIncubationController::schedule() {
    if (m_started && incubatingObjectCount() > 0 && !m_timer.isActive()) {
        m_timer.start(kSliceMs, this);
    }
}

void FrameIncubationController::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_timer.timerId()) {
        QObject::timerEvent(event);
        return;
    }
    m_timer.stop();
    incubateFor(kSliceMs);
    schedule();
}
