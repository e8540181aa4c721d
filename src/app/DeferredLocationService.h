#pragma once

#include "LocationService.h"

#include <functional>
#include <memory>
#include <optional>

/// The platform's location service, made only when `activate` is called: until then it answers
/// as a service whose user has not been asked yet and remembers whether updates are wanted, so
/// that the positioning plug-ins (and their D-Bus connection) load after the window is up.
class DeferredLocationService : public LocationService, private LocationService::Delegate {
public:
    using Factory = std::function<std::unique_ptr<LocationService>()>;

    /// `available` tells, when first asked, whether the platform has a position source at all
    /// (known without loading one); `factory` makes the real service, or nothing.
    DeferredLocationService(std::function<bool()> available, Factory factory);
    ~DeferredLocationService() override;

    /// Makes the real service, and starts it when updates were asked for meanwhile.
    void activate();

    AuthorizationStatus authorizationStatus() const override;
    bool locationServicesEnabled() const override;
    void startUpdatingLocation() override;
    void stopUpdatingLocation() override;
    void stopMonitoringSignificantLocationChanges() override;

private:
    void locationManagerDidUpdateToLocation(const std::optional<GeoCoordinate>& location) override;
    void locationManagerDidFailWithError(int code, const QString& description) override;
    /// Hands the settings made on this object to the real service.
    void passSettings();
    bool available() const;

    std::function<bool()> availableQuery_;
    mutable std::optional<bool> available_;
    Factory factory_;
    bool activated_ = false;
    bool updatesWanted_ = false;
    std::unique_ptr<LocationService> service_;
};
