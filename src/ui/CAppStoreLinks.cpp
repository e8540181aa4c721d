#include "CAppStoreLinks.h"

QUrl CAppStoreLinks::reviewUrl() const {
    return storeUrl(StoreScheme, StoreReviewPath, StoreReviewQuery);
}

QUrl CAppStoreLinks::softwareUrl() const {
    return storeUrl(StoreWebScheme, StoreSoftwarePath, StoreSoftwareQuery);
}

QUrl CAppStoreLinks::storeUrl(const QString& schemeKey, const QString& pathKey,
                              const QString& queryKey) const {
    const QString scheme = endpoints_.value(schemeKey);
    const QString host = endpoints_.value(StoreHost);
    if (scheme.isEmpty() || host.isEmpty()) {
        return {};
    }
    // The id is percent-encoded so that whatever it holds cannot change the address's shape.
    const QString id = QString::fromLatin1(QUrl::toPercentEncoding(endpoints_.value(AppStoreId)));
    QString query = endpoints_.value(queryKey);
    query.replace(QLatin1String("%1"), id);
    QString address = scheme + QLatin1String("://") + host + endpoints_.value(StorePath) +
                      endpoints_.value(pathKey);
    if (!query.isEmpty()) {
        address += u'?' + query;
    }
    const QUrl url(address, QUrl::StrictMode);
    return url.isValid() && !url.host().isEmpty() ? url : QUrl();
}

QUrl CAppStoreLinks::configuredUrl(const QString& key) const {
    const QUrl url(endpoints_.value(key), QUrl::StrictMode);
    const bool web = url.scheme() == u"https" || url.scheme() == u"http";
    return url.isValid() && web && !url.host().isEmpty() ? url : QUrl();
}
