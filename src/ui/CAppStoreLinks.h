#pragma once

#include "Endpoints.h"

#include <QUrl>

/// The addresses the info screen and the rating prompt open, every part of them configured in
/// the endpoints file: the store's review page and product page (built from scheme, host, paths,
/// queries and "AppStoreId"), the maker's product list, the Facebook page and the Twitter account.
class CAppStoreLinks {
public:
    static inline const QString StoreScheme = QStringLiteral("storeScheme");
    static inline const QString StoreWebScheme = QStringLiteral("storeWebScheme");
    static inline const QString StoreHost = QStringLiteral("storeHost");
    static inline const QString StorePath = QStringLiteral("storePath");
    static inline const QString StoreReviewPath = QStringLiteral("storeReviewPath");
    static inline const QString StoreReviewQuery = QStringLiteral("storeReviewQuery");
    static inline const QString StoreSoftwarePath = QStringLiteral("storeSoftwarePath");
    static inline const QString StoreSoftwareQuery = QStringLiteral("storeSoftwareQuery");
    static inline const QString AppStoreId = QStringLiteral("AppStoreId");
    static inline const QString StoreAllProducts = QStringLiteral("storeAllProducts");
    static inline const QString FacebookPage = QStringLiteral("facebookPage");
    static inline const QString TwitterPage = QStringLiteral("twitterPage");

    explicit CAppStoreLinks(Endpoints endpoints = Endpoints::standard())
        : endpoints_(std::move(endpoints)) {}

    /// The review page, opened in the store program (or the browser).
    QUrl reviewUrl() const;
    /// The product page's web address, the link that posts carry.
    QUrl softwareUrl() const;
    QUrl allProductsUrl() const { return configuredUrl(StoreAllProducts); }
    QUrl facebookPageUrl() const { return configuredUrl(FacebookPage); }
    QUrl twitterPageUrl() const { return configuredUrl(TwitterPage); }

private:
    /// SCHEME://HOST + storePath + `pathKey` + "?" + `queryKey` with "%1" the store id; an
    /// invalid address when a part is missing.
    QUrl storeUrl(const QString& schemeKey, const QString& pathKey, const QString& queryKey) const;
    /// A full http(s) address of the endpoints file, or an invalid one.
    QUrl configuredUrl(const QString& key) const;

    Endpoints endpoints_;
};
