#pragma once

#include <QtQml/qqmlregistration.h>
#include <QList>
#include <QObject>
#include <QPointer>

#include "CViewController.h"

/// A navigation stack of screens: the view shows the top one with a back button to the one
/// below. The stack does not own its screens.
class CNavigationController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Navigation stacks are made in C++")

    Q_PROPERTY(
        QList<CViewController*> viewControllers READ viewControllers NOTIFY viewControllersChanged)
    Q_PROPERTY(
        CViewController* topViewController READ topViewController NOTIFY viewControllersChanged)
    Q_PROPERTY(int supportedInterfaceOrientations READ supportedInterfaceOrientations CONSTANT)

public:
    /// Orientation masks: bit 1 portrait, 2 upside down, 3 landscape right, 4 landscape left.
    static constexpr int PortraitMask = 1 << 1;
    static constexpr int AllOrientationsMask = (1 << 1) | (1 << 2) | (1 << 3) | (1 << 4);

    explicit CNavigationController(CViewController* root, QObject* parent = nullptr);

    QList<CViewController*> viewControllers() const;
    void setViewControllers(const QList<CViewController*>& controllers);
    CViewController* topViewController() const;

    Q_INVOKABLE void pushViewController(CViewController* controller, bool animated = true);
    /// Removes the top screen unless it is the only one; the popped screen or nullptr.
    Q_INVOKABLE CViewController* popViewController(bool animated = true);

    /// Every orientation but upside down, as the platform's standard container.
    virtual int supportedInterfaceOrientations() const;

signals:
    void viewControllersChanged();
    void pushed(CViewController* controller, bool animated);
    void popped(bool animated);

private:
    QList<QPointer<CViewController>> stack_;
};

/// The navigation stack of presented screens and of the phone's main stack: all four
/// orientations on a tablet, upright portrait only on a phone.
class CRootNavigationController : public CNavigationController {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Navigation stacks are made in C++")

public:
    CRootNavigationController(CViewController* root, bool tablet, QObject* parent = nullptr)
        : CNavigationController(root, parent), tablet_(tablet) {}

    int supportedInterfaceOrientations() const override {
        return tablet_ ? AllOrientationsMask : PortraitMask;
    }

private:
    bool tablet_;
};

/// The tablet's two panes: the master (settings) on the left, the detail (rate list) on the
/// right, each a navigation stack.
class CSplitViewController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Split containers are made in C++")

    Q_PROPERTY(QList<CNavigationController*> viewControllers READ viewControllers NOTIFY
                   viewControllersChanged)

public:
    using QObject::QObject;

    QList<CNavigationController*> viewControllers() const;
    void setViewControllers(const QList<CNavigationController*>& controllers);

signals:
    void viewControllersChanged();

private:
    QList<QPointer<CNavigationController>> panes_;
};
