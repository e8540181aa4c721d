#include "CNavigationController.h"

#include "CViewController.h"

#include <QJSEngine>

namespace {

/// A screen's owner is whoever made it. A screen without a parent that QML receives from
/// `popViewController` would otherwise become JavaScript's, to be deleted by its collector while
/// its owner still holds it.
CViewController* keptByItsOwner(CViewController* controller) {
    QJSEngine::setObjectOwnership(controller, QJSEngine::CppOwnership);
    return controller;
}

}  // namespace

CNavigationController::CNavigationController(CViewController* root, QObject* parent)
    : QObject(parent) {
    if (root != nullptr) {
        stack_.append(keptByItsOwner(root));
    }
}

QList<CViewController*> CNavigationController::viewControllers() const {
    QList<CViewController*> list;
    for (const QPointer<CViewController>& controller : stack_) {
        if (controller) {
            list.append(controller);
        }
    }
    return list;
}

void CNavigationController::setViewControllers(const QList<CViewController*>& controllers) {
    stack_.clear();
    for (CViewController* controller : controllers) {
        if (controller != nullptr) {
            stack_.append(keptByItsOwner(controller));
        }
    }
    emit viewControllersChanged();
}

CViewController* CNavigationController::topViewController() const {
    const QList<CViewController*> list = viewControllers();
    return list.isEmpty() ? nullptr : list.last();
}

void CNavigationController::pushViewController(CViewController* controller, bool animated) {
    if (controller == nullptr || viewControllers().contains(controller)) {
        return;
    }
    stack_.append(keptByItsOwner(controller));
    emit pushed(controller, animated);
    emit viewControllersChanged();
}

CViewController* CNavigationController::popViewController(bool animated) {
    const QList<CViewController*> list = viewControllers();
    if (list.size() < 2) {
        return nullptr;
    }
    stack_.removeAll(list.last());
    emit popped(animated);
    emit viewControllersChanged();
    return list.last();
}

int CNavigationController::supportedInterfaceOrientations() const {
    return PortraitMask | (1 << 3) | (1 << 4);
}

QList<CNavigationController*> CSplitViewController::viewControllers() const {
    QList<CNavigationController*> list;
    for (const QPointer<CNavigationController>& pane : panes_) {
        if (pane) {
            list.append(pane);
        }
    }
    return list;
}

void CSplitViewController::setViewControllers(const QList<CNavigationController*>& controllers) {
    panes_.clear();
    for (CNavigationController* pane : controllers) {
        panes_.append(pane);
    }
    emit viewControllersChanged();
}
