#include "CSocialNetworkSharingManager.h"

CSocialNetworkSharingManager::CSocialNetworkSharingManager(QObject* parent) : QObject(parent) {}

CSocialNetworkSharingManager::~CSocialNetworkSharingManager() = default;

void CSocialNetworkSharingManager::postMessageWithText(const QString&,
                                                       const std::optional<QString>&,
                                                       const std::optional<QString>&) {
    if (delegate != nullptr) {
        delegate->socialNetworkManager(this, QStringLiteral("Posting is not available yet."));
    }
}

void CSocialNetworkSharingManager::cancelRequest() {}

void CSocialNetworkSharingManager::logout() {}

std::optional<QString> CSocialNetworkSharingManager::getAppIdForNetwork(int) {
    return std::nullopt;
}

QString CSocialNetworkSharingManager::getAppPictureExternalLink() {
    return {};
}

QString CSocialNetworkSharingManager::getAppPictureLocalName() {
    return {};
}

QString CSocialNetworkSharingManager::getAppShortLink() {
    return {};
}
