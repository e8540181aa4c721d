#pragma once

#include "Facebook.h"

#include <QPointer>
#include <QUrl>

/// The process-wide holder of the current Facebook client, through which the application hands
/// addresses opened by a Facebook sign-in back to the client.
class CFacebookSingleton {
public:
    static CFacebookSingleton& sharedInstance();
    /// Forgets the client (tests).
    static void resetSharedInstance();

    /// The client of the newest sharing manager; null when none lives.
    QPointer<Facebook> fbManager;

    /// What the application's open-URL handler answers: whether the client took the address.
    bool handleOpenURL(const QUrl& url) const;

private:
    CFacebookSingleton() = default;
};
