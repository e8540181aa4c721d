#include "CTutorialView.h"

#include "UserDefaults.h"

#include <QJSEngine>

CTutorialView& CTutorialView::tutorialView() {
    static CTutorialView* const instance = new CTutorialView();
    return *instance;
}

CTutorialView* CTutorialView::create(QQmlEngine*, QJSEngine*) {
    CTutorialView* view = &tutorialView();
    QJSEngine::setObjectOwnership(view, QJSEngine::CppOwnership);
    return view;
}

UserDefaults& CTutorialView::store() const {
    return defaults_ != nullptr ? *defaults_ : UserDefaults::standardUserDefaults();
}

bool CTutorialView::showStartTutorial(UserDefaults& defaults) {
    if (!defaults.registeredDefaults().contains(ShowStartTutorialKey)) {
        defaults.registerDefaults({{ShowStartTutorialKey, true}});
    }
    return defaults.boolForKey(ShowStartTutorialKey);
}

void CTutorialView::setShowStartTutorial(UserDefaults& defaults, bool show) {
    defaults.setObject(show, ShowStartTutorialKey);
    defaults.synchronize();
}

qreal CTutorialView::rotationForOrientation(int orientation) {
    switch (orientation) {
        case PortraitUpsideDown:
            return 180;
        case LandscapeRight:
            return 90;
        case LandscapeLeft:
            return -90;
        default:
            return 0;
    }
}

void CTutorialView::showStartTutorialForOrientation(int orientation, bool tablet) {
    if (!showStartTutorial(store())) {
        return;
    }
    showsStartTutorial_ = true;
    padContent_ = tablet;
    rotation_ = rotationForOrientation(orientation);
    visible_ = true;
    animated_ = true;
    emit visibleChanged();
}

void CTutorialView::dismissAnimated(bool animated) {
    if (!visible_) {
        return;
    }
    visible_ = false;
    animated_ = animated;
    emit visibleChanged();
}

void CTutorialView::onTapGesture() {
    const bool wasStart = showsStartTutorial_;
    dismissAnimated(true);
    if (wasStart) {
        showsStartTutorial_ = false;
        setShowStartTutorial(store(), false);
        emit visibleChanged();
    }
}
