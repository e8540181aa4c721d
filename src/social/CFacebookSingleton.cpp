#include "CFacebookSingleton.h"

CFacebookSingleton& CFacebookSingleton::sharedInstance() {
    static CFacebookSingleton instance;
    return instance;
}

void CFacebookSingleton::resetSharedInstance() {
    sharedInstance().fbManager = nullptr;
}

bool CFacebookSingleton::handleOpenURL(const QUrl& url) const {
    return fbManager != nullptr && fbManager->handleOpenURL(url);
}
