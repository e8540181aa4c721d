#pragma once

#include <QtQml/qqmlregistration.h>
#include <QList>
#include "MailComposer.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>

/// What every screen controller shares: its title, the view that shows it, the device idiom,
/// the alerts it asks for, and the one screen it presents (modally on a phone, in a popover on
/// a tablet). The view is the QML file named by `viewName`; it only lays out and animates.
class CViewController : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_UNCREATABLE("Screen controllers are made in C++")

    Q_PROPERTY(QString title READ title NOTIFY titleChanged)
    Q_PROPERTY(QString viewName READ viewName CONSTANT)
    Q_PROPERTY(bool isTablet READ isTablet NOTIFY isTabletChanged)
    Q_PROPERTY(CViewController* presentedController READ presentedController NOTIFY
                   presentedControllerChanged)
    /// Where the presented screen's popover points: a row of this screen's view (-1 for the
    /// header row) and the side the arrow points to ("left" or "right").
    Q_PROPERTY(
        int presentationAnchorRow READ presentationAnchorRow NOTIFY presentedControllerChanged)
    Q_PROPERTY(QString presentationArrow READ presentationArrow NOTIFY presentedControllerChanged)
    /// On a tablet this screen is presented as a centred form sheet instead of a popover.
    Q_PROPERTY(bool isFormSheet READ isFormSheet CONSTANT)
    /// This screen is presented over the whole window, on a tablet too.
    Q_PROPERTY(bool isFullScreen READ isFullScreen CONSTANT)

public:
    CViewController(QString viewName, bool tablet, QObject* parent = nullptr);
    ~CViewController() override;

    QString title() const { return title_; }
    QString viewName() const { return viewName_; }
    bool isTablet() const { return tablet_; }
    /// The window changed layout: the screen behaves (and its view lays out) for the other
    /// idiom from now on. Whatever it presented belongs to the old layout: close it first.
    void setTablet(bool tablet);

    CViewController* presentedController() const { return presented_; }
    CViewController* presentingController() const { return presenting_; }
    int presentationAnchorRow() const { return anchorRow_; }
    QString presentationArrow() const { return anchorArrow_; }

    bool isFormSheet() const { return formSheet_; }
    /// Set before the screen is presented.
    void setFormSheet(bool formSheet) { formSheet_ = formSheet; }
    bool isFullScreen() const { return fullScreen_; }
    /// Set before the screen is presented; a full-screen screen is no popover.
    void setFullScreen(bool fullScreen) { fullScreen_ = fullScreen; }

    /// An alert whose title is `text`, without a message, with the localized "OK".
    void showMessage(const QString& text);
    /// Hands `message` to the user's mail program (`composer`, or the platform's when null):
    /// "CannotSendEmail" without one, the program's error text when it fails.
    void composeMail(MailComposer* composer, const MailMessage& message);

    /// An alert with a title, a message and a button per entry of `buttons`, one under the
    /// other; `answer` hears the index of the pressed one (-1 when closed without a button).
    void askChoice(const QString& title, const QString& message, const QStringList& buttons,
                   std::function<void(int)> answer);
    /// The view's report of the pressed button of the choice asked last.
    Q_INVOKABLE void answerChoice(int index);

    /// Shows `controller` over this screen and takes ownership of it. On a tablet it becomes
    /// the active popover, which first dismisses the one shown before.
    void presentViewController(CViewController* controller, int anchorRow = -1,
                               const QString& arrow = QStringLiteral("left"));
    /// Closes the presented screen (if any) and releases it once the view has let go.
    Q_INVOKABLE void dismissViewController(bool animated = true);
    /// Closes this screen when it is presented: the active popover on a tablet, the modal
    /// screen on a phone.
    Q_INVOKABLE void dismissSelf(bool animated = true);
    /// Deletes the screens dismissed so far (the view calls it when it has let go of them).
    Q_INVOKABLE void releaseDismissedControllers();

    /// The localized text of `key` (the key itself without an entry).
    static QString localized(const QString& key);

signals:
    void titleChanged();
    void isTabletChanged();
    void presentedControllerChanged();
    /// An alert with a title, a message (may be empty) and one button.
    void alertRequested(const QString& title, const QString& message, const QString& button);
    void choiceRequested(const QString& title, const QString& message, const QStringList& buttons);
    /// The presented screen is going away; `animated` tells the view how.
    void dismissAnimationRequested(bool animated);

protected:
    void setTitle(const QString& title);

private:
    QString viewName_;
    bool tablet_;
    QString title_;
    QPointer<CViewController> presented_;
    QPointer<CViewController> presenting_;
    QList<QPointer<CViewController>> dismissed_;
    int anchorRow_ = -1;
    QString anchorArrow_ = QStringLiteral("left");
    bool formSheet_ = false;
    bool fullScreen_ = false;
    std::function<void(int)> choiceAnswer_;
};
