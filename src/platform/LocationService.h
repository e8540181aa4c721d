#pragma once

#include <QString>

#include <memory>
#include <optional>

/// A position on Earth in degrees.
struct GeoCoordinate {
    double latitude = 0;
    double longitude = 0;
};

/// The device's location service: authorisation, and position fixes delivered on the main
/// thread to one delegate.
class LocationService {
public:
    enum class AuthorizationStatus {
        NotDetermined = 0,
        Restricted = 1,
        Denied = 2,
        Authorized = 3
    };
    /// The error code of a refusal by the user.
    static constexpr int ErrorDenied = 1;

    class Delegate {
    public:
        virtual ~Delegate() = default;
        /// A new fix; nothing when the service could not say where.
        virtual void locationManagerDidUpdateToLocation(
            const std::optional<GeoCoordinate>& location) = 0;
        virtual void locationManagerDidFailWithError(int code, const QString& description) = 0;
    };

    virtual ~LocationService() = default;

    virtual AuthorizationStatus authorizationStatus() const = 0;
    virtual bool locationServicesEnabled() const = 0;

    Delegate* delegate = nullptr;
    double distanceFilterMeters = 0;
    double desiredAccuracyMeters = 0;
    /// Shown when the user is asked for permission, where the platform asks.
    QString purpose;

    virtual void startUpdatingLocation() = 0;
    virtual void stopUpdatingLocation() = 0;
    virtual void stopMonitoringSignificantLocationChanges() = 0;
};
