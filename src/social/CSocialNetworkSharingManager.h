#pragma once

#include <QObject>
#include <QString>

#include <optional>

class CSocialNetworkSharingManager;

/// Hears the outcome of a post. The success selector keeps its historical spelling.
class CSocialNetworkSharingManagerDelegate {
public:
    virtual ~CSocialNetworkSharingManagerDelegate() = default;
    virtual void socialNetworkManagerPostMessageSucceeed(CSocialNetworkSharingManager* manager) = 0;
    virtual void socialNetworkManager(CSocialNetworkSharingManager* manager,
                                      const QString& errorText) = 0;
};

/// Posts an invitation to the user's Facebook feed (type 0) or as a tweet (type 1).
class CSocialNetworkSharingManager : public QObject {
    Q_OBJECT
public:
    explicit CSocialNetworkSharingManager(QObject* parent = nullptr);
    ~CSocialNetworkSharingManager() override;

    /// Not owned; the owner clears it before it goes away.
    CSocialNetworkSharingManagerDelegate* delegate = nullptr;
    /// 0: Facebook feed; 1: Twitter.
    int socialNetworkType = 0;

    void postMessageWithText(const QString& text, const std::optional<QString>& link,
                             const std::optional<QString>& picture);
    void cancelRequest();
    void logout();

    /// The "SocialNetworks" resource's values.
    std::optional<QString> getAppIdForNetwork(int network);
    QString getAppPictureExternalLink();
    QString getAppPictureLocalName();
    QString getAppShortLink();
};
