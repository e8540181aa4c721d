#pragma once

#include <QtQml/qqmlregistration.h>
#include <QObject>

class QJSEngine;
class QQmlEngine;
class UserDefaults;

/// The first-start tutorial overlay: shown over the rate list until the user taps it away
/// once ("ShowStartTutorial", true until then). One shared instance, also the QML singleton;
/// the view draws the phone or tablet content, turned by `rotation`, and fades it.
class CTutorialView : public QObject {
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON

    Q_PROPERTY(bool visible READ isVisible NOTIFY visibleChanged)
    Q_PROPERTY(bool showsStartTutorial READ showsStartTutorial NOTIFY visibleChanged)
    /// The tablet content rather than the phone one.
    Q_PROPERTY(bool showsPadContent READ showsPadContent NOTIFY visibleChanged)
    /// Degrees: 0 portrait, 180 upside down, 90 landscape right, -90 landscape left.
    Q_PROPERTY(qreal rotation READ rotation NOTIFY visibleChanged)
    /// Whether the last change of `visible` is to be animated (fade in 0.6 s, out 0.3 s).
    Q_PROPERTY(bool animated READ isAnimated NOTIFY visibleChanged)

public:
    static inline const QString ShowStartTutorialKey = QStringLiteral("ShowStartTutorial");

    /// Interface orientations as the platform numbers them.
    enum Orientation {
        Portrait = 1,
        PortraitUpsideDown = 2,
        LandscapeRight = 3,
        LandscapeLeft = 4
    };
    Q_ENUM(Orientation)

    /// The shared overlay, reading the standard settings store until told otherwise.
    static CTutorialView& tutorialView();
    static CTutorialView* create(QQmlEngine* engine, QJSEngine* scriptEngine);

    /// Reads and writes "ShowStartTutorial" (registered as true on first use); writing flushes.
    static bool showStartTutorial(UserDefaults& defaults);
    static void setShowStartTutorial(UserDefaults& defaults, bool show);

    /// The store to read and write (not owned); null: the standard store.
    void setUserDefaults(UserDefaults* defaults) { defaults_ = defaults; }

    bool isVisible() const { return visible_; }
    bool showsStartTutorial() const { return showsStartTutorial_; }
    bool showsPadContent() const { return padContent_; }
    qreal rotation() const { return rotation_; }
    bool isAnimated() const { return animated_; }

    /// Does nothing once the tutorial was tapped away; otherwise shows the start content for
    /// the idiom, turned for the orientation, fading in.
    Q_INVOKABLE void showStartTutorialForOrientation(int orientation, bool tablet);
    Q_INVOKABLE void dismissAnimated(bool animated);
    /// Dismisses with animation; after the start tutorial it is not shown again.
    Q_INVOKABLE void onTapGesture();

    static qreal rotationForOrientation(int orientation);

signals:
    void visibleChanged();

private:
    explicit CTutorialView(QObject* parent = nullptr) : QObject(parent) {}
    UserDefaults& store() const;

    UserDefaults* defaults_ = nullptr;
    bool visible_ = false;
    bool showsStartTutorial_ = false;
    bool padContent_ = false;
    qreal rotation_ = 0;
    bool animated_ = false;
};
