#include "CCustomDataSourceMetadataUpdater.h"

#include "CCustomDataSourceStorageManager.h"
#include "NotificationCenter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>

CCustomDataSourceMetadataUpdater::CCustomDataSourceMetadataUpdater(
    CCustomDataSourceStorageManager& registry, NotificationCenter& center,
    std::chrono::milliseconds interval)
    : registry_(registry), center_(center), interval_(interval) {}

CCustomDataSourceMetadataUpdater::~CCustomDataSourceMetadataUpdater() {
    for (const auto& client : serviceClients_) {
        client->delegate = nullptr;
    }
}

CCustomDataSourceStorageManager& CCustomDataSourceMetadataUpdater::registry() const {
    return registry_;
}

void CCustomDataSourceMetadataUpdater::scheduleMetadataUpdate() {
    scheduled_ = true;
    onUpdateTimer();
}

void CCustomDataSourceMetadataUpdater::onUpdateTimer() {
    queryMetadataUpdate();
}

void CCustomDataSourceMetadataUpdater::queryMetadataUpdate() {
    if (updateTimer_) {
        updateTimer_->stop();
    }
    for (const auto& client : serviceClients_) {
        client->delegate = nullptr;
        client->cancelAllHttpRequests();
    }
    serviceClients_.clear();
    failures_.clear();
    for (const CCustomDataSourceEntity& entry : registry().getAllDataSources()) {
        auto client = std::make_shared<CCustomCurrenciesWebServiceClient>();
        client->delegate = this;
        const auto known = validators_.find(entry.url);
        if (known != validators_.end()) {
            client->feedValidators = known->second.feed;
            // Without the file there is nothing a 304 could keep.
            if (entry.logoImagePath && QFileInfo::exists(*entry.logoImagePath)) {
                client->logoValidators = known->second.logo;
            }
        }
        client->queryCurrenciesWithUrl(entry.url);
        serviceClients_.push_back(std::move(client));
    }
    if (serviceClients_.empty()) {
        refreshEnded();
    }
}

void CCustomDataSourceMetadataUpdater::refreshEnded() {
    if (!scheduled_) {
        return;
    }
    // One-shot, armed only now: the next round never cuts a slow feed short.
    if (!updateTimer_) {
        updateTimer_ = std::make_unique<QTimer>();
        updateTimer_->setSingleShot(true);
        QObject::connect(updateTimer_.get(), &QTimer::timeout, [this] { onUpdateTimer(); });
    }
    updateTimer_->start(interval_);
}

void CCustomDataSourceMetadataUpdater::keepValidators(
    const CCustomCurrenciesWebServiceClient& client) {
    validators_[client.serviceUrl()] = {client.feedValidators, client.logoValidators};
}

void CCustomDataSourceMetadataUpdater::customCurrenciesQueryCurrenciesCompleted(
    CCustomCurrenciesWebServiceClient* client, CCBRCurrenciesInfoPtr rates,
    const std::optional<QString>& displayName, const std::optional<QByteArray>& logo) {
    CCustomDataSourceInfo info;
    info.url = client->serviceUrl();
    info.displayName = displayName;
    info.logoImageData = logo;
    for (const CCBRCurrencyInfoPtr& row : rates->currenciesInfo) {
        info.currenciesList.append(row->isoTextCode);
    }
    keepValidators(*client);
    const bool changed = registry().updateDataSource(client->serviceUrl(), info);
    retire(client);
    if (changed) {
        center_.post(CustomDataSourceMetadataUpdated, this);
    }
}

void CCustomDataSourceMetadataUpdater::customCurrenciesQueryFailed(
    CCustomCurrenciesWebServiceClient* client, const QString& text) {
    failures_[client->serviceUrl()] = text;
    retire(client);
}

void CCustomDataSourceMetadataUpdater::customCurrenciesQueryNotModified(
    CCustomCurrenciesWebServiceClient* client) {
    retire(client);
}

void CCustomDataSourceMetadataUpdater::retire(CCustomCurrenciesWebServiceClient* client) {
    auto it = std::find_if(serviceClients_.begin(), serviceClients_.end(),
                           [client](const auto& c) { return c.get() == client; });
    if (it == serviceClients_.end()) {
        return;
    }
    std::shared_ptr<CCustomCurrenciesWebServiceClient> keep = std::move(*it);
    serviceClients_.erase(it);
    keep->delegate = nullptr;
    QMetaObject::invokeMethod(
        QCoreApplication::instance(), [keep] {}, Qt::QueuedConnection);
    if (serviceClients_.empty()) {
        refreshEnded();
    }
}
