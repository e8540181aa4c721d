#pragma once

#include "CCustomCurrenciesWebServiceClient.h"

#include <QString>

#include <chrono>
#include <map>
#include <memory>
#include <vector>

class CCustomDataSourceStorageManager;
class NotificationCenter;
class QTimer;

/// Keeps the registry's names, logos and code lists current by reading every registered feed:
/// once on demand, or periodically from `scheduleMetadataUpdate`, 20 seconds (by default) after
/// the previous refresh has ended, so a slow feed is never cancelled by the next round.
/// Feeds and logos are asked for with the validators their servers gave; a 304 changes nothing.
/// A new refresh on demand abandons the feeds of the previous one that have not answered yet.
/// Posts "CustomDataSourceMetadataUpdated" after each source it changed. Main thread only.
class CCustomDataSourceMetadataUpdater : public CCustomCurrenciesWebServiceClientDelegate {
public:
    static inline const QString CustomDataSourceMetadataUpdated =
        QStringLiteral("CustomDataSourceMetadataUpdated");

    /// `registry` and `center` (not owned) must outlive the updater.
    CCustomDataSourceMetadataUpdater(CCustomDataSourceStorageManager& registry,
                                     NotificationCenter& center,
                                     std::chrono::milliseconds interval = std::chrono::seconds(20));
    ~CCustomDataSourceMetadataUpdater() override;
    CCustomDataSourceMetadataUpdater(const CCustomDataSourceMetadataUpdater&) = delete;
    CCustomDataSourceMetadataUpdater& operator=(const CCustomDataSourceMetadataUpdater&) = delete;

    /// Refreshes now and then an interval after each refresh ends, for as long as the updater
    /// lives.
    void scheduleMetadataUpdate();
    void onUpdateTimer();
    /// Refreshes every registered source once.
    void queryMetadataUpdate();
    /// Feeds of the running refresh that have not answered yet.
    int pendingQueryCount() const { return static_cast<int>(serviceClients_.size()); }
    /// The feeds of the latest refresh that failed, with what went wrong, by address.
    const std::map<QString, QString>& failures() const { return failures_; }

    void customCurrenciesQueryCurrenciesCompleted(CCustomCurrenciesWebServiceClient* client,
                                                  CCBRCurrenciesInfoPtr rates,
                                                  const std::optional<QString>& displayName,
                                                  const std::optional<QByteArray>& logo) override;
    void customCurrenciesQueryFailed(CCustomCurrenciesWebServiceClient* client,
                                     const QString& text) override;
    void customCurrenciesQueryNotModified(CCustomCurrenciesWebServiceClient* client) override;

private:
    CCustomDataSourceStorageManager& registry() const;
    /// Removes a client that is calling back; it is destroyed once its call has returned.
    void retire(CCustomCurrenciesWebServiceClient* client);
    /// Arms the next scheduled refresh once every feed of this one has answered.
    void refreshEnded();
    /// Keeps what the client learnt about its feed and logo for the next refresh.
    void keepValidators(const CCustomCurrenciesWebServiceClient& client);

    struct FeedValidators {
        CCustomCurrenciesWebServiceClient::Validators feed;
        CCustomCurrenciesWebServiceClient::Validators logo;
    };

    CCustomDataSourceStorageManager& registry_;
    NotificationCenter& center_;
    std::chrono::milliseconds interval_;
    std::vector<std::shared_ptr<CCustomCurrenciesWebServiceClient>> serviceClients_;
    std::unique_ptr<QTimer> updateTimer_;
    bool scheduled_ = false;
    std::map<QString, FeedValidators> validators_;
    std::map<QString, QString> failures_;
};
