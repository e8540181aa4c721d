#include "CPopoverGlobalHolder.h"

#include "CViewController.h"

#include <QJSEngine>

CPopoverGlobalHolder& CPopoverGlobalHolder::sharedInstance() {
    static CPopoverGlobalHolder* const instance = new CPopoverGlobalHolder();
    return *instance;
}

CPopoverGlobalHolder* CPopoverGlobalHolder::create(QQmlEngine*, QJSEngine*) {
    CPopoverGlobalHolder* holder = &sharedInstance();
    QJSEngine::setObjectOwnership(holder, QJSEngine::CppOwnership);
    return holder;
}

void CPopoverGlobalHolder::setActivePopover(CViewController* popover) {
    if (activePopover_ == popover) {
        return;
    }
    if (activePopover_) {
        dismissActivePopover(false);
    }
    activePopover_ = popover;
    if (popover != nullptr) {
        // A popover deleted with its presenter is no longer held.
        connect(popover, &QObject::destroyed, this, [this, popover] {
            if (activePopover_.isNull() || activePopover_ == popover) {
                activePopover_.clear();
                emit activePopoverChanged();
            }
        });
    }
    emit activePopoverChanged();
}

void CPopoverGlobalHolder::dismissActivePopover(bool animated) {
    CViewController* popover = activePopover_;
    if (popover == nullptr) {
        return;
    }
    activePopover_.clear();
    emit activePopoverChanged();
    if (CViewController* presenter = popover->presentingController()) {
        if (presenter->presentedController() == popover) {
            presenter->dismissViewController(animated);
        }
    }
}

void CPopoverGlobalHolder::forget(CViewController* popover) {
    if (activePopover_ == popover && popover != nullptr) {
        activePopover_.clear();
        emit activePopoverChanged();
    }
}
