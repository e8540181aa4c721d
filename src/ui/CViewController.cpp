#include "CViewController.h"

#include "CPopoverGlobalHolder.h"
#include "Localization.h"

#include <QPointer>

#include <utility>

CViewController::CViewController(QString viewName, bool tablet, QObject* parent)
    : QObject(parent), viewName_(std::move(viewName)), tablet_(tablet) {}

CViewController::~CViewController() {
    // A presented screen goes with its presenter.
    delete presented_.data();
    for (const QPointer<CViewController>& gone : std::as_const(dismissed_)) {
        delete gone.data();
    }
}

QString CViewController::localized(const QString& key) {
    return Localization::localizedString(key);
}

void CViewController::setTitle(const QString& title) {
    if (title == title_) {
        return;
    }
    title_ = title;
    emit titleChanged();
}

void CViewController::showMessage(const QString& text) {
    emit alertRequested(text, QString(), localized(QStringLiteral("OK")));
}

void CViewController::composeMail(MailComposer* composer, const MailMessage& message) {
    MailComposer& mail = composer != nullptr ? *composer : MailComposer::platformDefault();
    if (!mail.canSendMail()) {
        showMessage(localized(QStringLiteral("CannotSendEmail")));
        return;
    }
    QPointer<CViewController> self(this);
    mail.compose(message, [self](MailComposer::Result result, const QString& errorText) {
        if (self && result == MailComposer::Result::Failed) {
            self->showMessage(errorText);
        }
    });
}

void CViewController::askChoice(const QString& title, const QString& message,
                                const QStringList& buttons, std::function<void(int)> answer) {
    choiceAnswer_ = std::move(answer);
    emit choiceRequested(title, message, buttons);
}

void CViewController::answerChoice(int index) {
    // One answer per question: a second report (a double tap) finds nothing to call.
    std::function<void(int)> answer = std::exchange(choiceAnswer_, nullptr);
    if (answer) {
        answer(index);
    }
}

void CViewController::presentViewController(CViewController* controller, int anchorRow,
                                            const QString& arrow) {
    if (controller == nullptr) {
        return;
    }
    releaseDismissedControllers();
    if (presented_) {
        dismissViewController(false);
    }
    controller->setParent(this);
    controller->presenting_ = this;
    presented_ = controller;
    anchorRow_ = anchorRow;
    anchorArrow_ = arrow;
    if (tablet_ && !controller->isFormSheet() && !controller->isFullScreen()) {
        CPopoverGlobalHolder::sharedInstance().setActivePopover(controller);
    }
    emit presentedControllerChanged();
}

void CViewController::dismissViewController(bool animated) {
    CViewController* controller = presented_;
    if (controller == nullptr) {
        return;
    }
    presented_.clear();
    controller->presenting_.clear();
    CPopoverGlobalHolder::sharedInstance().forget(controller);
    // The view may still animate it out; it is deleted with the next presentation.
    dismissed_.append(controller);
    emit dismissAnimationRequested(animated);
    emit presentedControllerChanged();
}

void CViewController::setTablet(bool tablet) {
    if (tablet_ == tablet) {
        return;
    }
    tablet_ = tablet;
    emit isTabletChanged();
}

void CViewController::dismissSelf(bool animated) {
    if (tablet_) {
        CPopoverGlobalHolder& holder = CPopoverGlobalHolder::sharedInstance();
        if (holder.activePopover() == this) {
            holder.dismissActivePopover(animated);
            return;
        }
    }
    if (presenting_) {
        presenting_->dismissViewController(animated);
    }
}

void CViewController::releaseDismissedControllers() {
    const QList<QPointer<CViewController>> gone = std::exchange(dismissed_, {});
    for (const QPointer<CViewController>& controller : gone) {
        if (controller) {
            controller->deleteLater();
        }
    }
}
