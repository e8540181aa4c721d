#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>
#include <QPointer>

#include "CViewController.h"

class QJSEngine;
class QQmlEngine;

/// Holds the one popover shown on a tablet. A screen that opens a popover stores it here,
/// which first closes the one shown before without animation; a screen shown in a popover
/// closes itself through `dismissActivePopover`.
class CPopoverGlobalHolder : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    Q_PROPERTY(CViewController* activePopover READ activePopover NOTIFY activePopoverChanged)

public:
    static CPopoverGlobalHolder& sharedInstance();
    static CPopoverGlobalHolder* create(QQmlEngine* engine, QJSEngine* scriptEngine);

    CViewController* activePopover() const { return activePopover_; }
    /// Dismisses the current popover without animation (unless it is `popover`), then holds
    /// `popover`.
    void setActivePopover(CViewController* popover);
    /// Closes the held popover; nothing when none is held.
    Q_INVOKABLE void dismissActivePopover(bool animated = true);
    /// Lets go of `popover` when it is the one held (its presenter has closed it).
    void forget(CViewController* popover);

signals:
    void activePopoverChanged();

private:
    CPopoverGlobalHolder() = default;
    QPointer<CViewController> activePopover_;
};
