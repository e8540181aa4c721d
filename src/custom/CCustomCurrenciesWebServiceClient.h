#pragma once

#include "CCBRCurrenciesInfo.h"
#include "CCustomCurrenciesXMLParserDelegate.h"
#include "CWebServiceClient.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

class CCustomCurrenciesWebServiceClient;

/// Hears the end of one custom feed query: exactly one call per query that is not superseded.
class CCustomCurrenciesWebServiceClientDelegate {
public:
    virtual ~CCustomCurrenciesWebServiceClientDelegate() = default;
    virtual void customCurrenciesQueryCurrenciesCompleted(
        CCustomCurrenciesWebServiceClient* client, CCBRCurrenciesInfoPtr rates,
        const std::optional<QString>& displayName, const std::optional<QByteArray>& logo) = 0;
    virtual void customCurrenciesQueryFailed(CCustomCurrenciesWebServiceClient* client,
                                             const QString& text) = 0;
    /// The feed answered 304 to a query made with validators: nothing changed. Reported as a
    /// failure to a delegate that never asks with validators.
    virtual void customCurrenciesQueryNotModified(CCustomCurrenciesWebServiceClient* client) {
        customCurrenciesQueryFailed(client, QStringLiteral("304 Not Modified"));
    }
};

/// Reads a custom rate feed and then, when the feed names one, downloads its logo; delivers the
/// rates with the feed's name and logo bytes. Feed and logo must be http or https addresses;
/// a logo larger than 2 MiB fails the query.
class CCustomCurrenciesWebServiceClient : public CWebServiceClient {
public:
    static constexpr qint64 maximumLogoSize = 2 * 1024 * 1024;

    CCustomCurrenciesWebServiceClientDelegate* delegate = nullptr;

    /// What a server said about a resource, to ask again for it only when it has changed.
    struct Validators {
        /// The address they belong to; validators of another address are not sent.
        QString url;
        QByteArray entityTag;
        QByteArray lastModified;
        bool operator==(const Validators&) const = default;
    };
    /// Sent with the next query (If-None-Match, If-Modified-Since) and replaced by what the
    /// answers carry. A logo answered 304 is delivered as no logo bytes: the stored one stands.
    Validators feedValidators;
    Validators logoValidators;

    /// Starts a query; cancels the previous one (feed and logo).
    void queryCurrenciesWithUrl(const QString& url);
    QString serviceUrl() const { return serviceUrl_; }

    void requestFinished(CHttpRequest& request, const std::optional<QByteArray>& data,
                         const std::optional<HttpResponse>& response,
                         const std::optional<HttpError>& error) override;
    void requestSucceeded(CHttpRequest& request, const QByteArray& data) override;
    void requestFailed(CHttpRequest& request, const std::optional<HttpError>& error,
                       const std::optional<HttpResponse>& response,
                       const std::optional<QByteArray>& data) override;

private:
    enum Step { FeedStep = 0, LogoStep = 1 };

    QString serviceUrl_;
    std::unique_ptr<CCustomCurrenciesXMLParserDelegate> xmlParserDelegate_;
};
