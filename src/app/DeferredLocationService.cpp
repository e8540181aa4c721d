#include "DeferredLocationService.h"

DeferredLocationService::DeferredLocationService(std::function<bool()> available, Factory factory)
    : availableQuery_(std::move(available)), factory_(std::move(factory)) {}

DeferredLocationService::~DeferredLocationService() {
    if (service_) {
        service_->delegate = nullptr;
    }
}

void DeferredLocationService::activate() {
    if (activated_) {
        return;
    }
    activated_ = true;
    if (available() && factory_) {
        service_ = factory_();
    }
    if (service_ && updatesWanted_) {
        passSettings();
        service_->startUpdatingLocation();
    }
}

LocationService::AuthorizationStatus DeferredLocationService::authorizationStatus() const {
    return service_ ? service_->authorizationStatus() : AuthorizationStatus::NotDetermined;
}

bool DeferredLocationService::locationServicesEnabled() const {
    if (!activated_) {
        return available();
    }
    return service_ && service_->locationServicesEnabled();
}

void DeferredLocationService::startUpdatingLocation() {
    updatesWanted_ = true;
    if (service_) {
        passSettings();
        service_->startUpdatingLocation();
    }
}

void DeferredLocationService::stopUpdatingLocation() {
    updatesWanted_ = false;
    if (service_) {
        service_->stopUpdatingLocation();
    }
}

void DeferredLocationService::stopMonitoringSignificantLocationChanges() {
    if (service_) {
        service_->stopMonitoringSignificantLocationChanges();
    }
}

void DeferredLocationService::passSettings() {
    service_->delegate = this;
    service_->distanceFilterMeters = distanceFilterMeters;
    service_->desiredAccuracyMeters = desiredAccuracyMeters;
    service_->purpose = purpose;
}

void DeferredLocationService::locationManagerDidUpdateToLocation(
    const std::optional<GeoCoordinate>& location) {
    if (delegate != nullptr) {
        delegate->locationManagerDidUpdateToLocation(location);
    }
}

void DeferredLocationService::locationManagerDidFailWithError(int code,
                                                              const QString& description) {
    if (delegate != nullptr) {
        delegate->locationManagerDidFailWithError(code, description);
    }
}

bool DeferredLocationService::available() const {
    if (!available_) {
        available_ = availableQuery_ && availableQuery_();
    }
    return *available_;
}
