#include "CCustomDataSourceMetadataUpdater.h"

#include "CCustomDataSourceStorageManager.h"
#include "NotificationCenter.h"

#include <QCoreApplication>
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
    onUpdateTimer();
}

void CCustomDataSourceMetadataUpdater::onUpdateTimer() {
    // A one-shot timer that re-arms itself, so a slow refresh never piles up timer events.
    updateTimer_ = std::make_unique<QTimer>();
    updateTimer_->setSingleShot(true);
    updateTimer_->setInterval(interval_);
    QObject::connect(updateTimer_.get(), &QTimer::timeout, [this] { onUpdateTimer(); });
    updateTimer_->start();
    queryMetadataUpdate();
}

void CCustomDataSourceMetadataUpdater::queryMetadataUpdate() {
    for (const auto& client : serviceClients_) {
        client->delegate = nullptr;
        client->cancelAllHttpRequests();
    }
    serviceClients_.clear();
    for (const CCustomDataSourceEntity& entry : registry().getAllDataSources()) {
        auto client = std::make_shared<CCustomCurrenciesWebServiceClient>();
        client->delegate = this;
        client->queryCurrenciesWithUrl(entry.url);
        serviceClients_.push_back(std::move(client));
    }
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
    registry().updateDataSource(client->serviceUrl(), info);
    center_.post(CustomDataSourceMetadataUpdated, this);
    retire(client);
}

void CCustomDataSourceMetadataUpdater::customCurrenciesQueryFailed(
    CCustomCurrenciesWebServiceClient* client, const QString&) {
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
}
