#include "QtLocationService.h"

#include <QGeoPositionInfoSource>

#include <memory>

namespace {

/// Qt Positioning behind the location service interface.
class QtLocationService : public LocationService {
public:
    explicit QtLocationService(QGeoPositionInfoSource* source) : source_(source) {
        QObject::connect(source_.get(), &QGeoPositionInfoSource::positionUpdated,
                         [this](const QGeoPositionInfo& info) {
                             if (delegate == nullptr) {
                                 return;
                             }
                             if (!info.isValid()) {
                                 delegate->locationManagerDidUpdateToLocation(std::nullopt);
                                 return;
                             }
                             delegate->locationManagerDidUpdateToLocation(GeoCoordinate{
                                 info.coordinate().latitude(), info.coordinate().longitude()});
                         });
        QObject::connect(source_.get(), &QGeoPositionInfoSource::errorOccurred,
                         [this](QGeoPositionInfoSource::Error error) {
                             if (error == QGeoPositionInfoSource::AccessError) {
                                 denied_ = true;
                             }
                             if (delegate != nullptr && error != QGeoPositionInfoSource::NoError) {
                                 delegate->locationManagerDidFailWithError(
                                     error == QGeoPositionInfoSource::AccessError ? ErrorDenied : 0,
                                     describe(error));
                             }
                         });
    }

    AuthorizationStatus authorizationStatus() const override {
        return denied_ ? AuthorizationStatus::Denied : AuthorizationStatus::NotDetermined;
    }
    bool locationServicesEnabled() const override { return true; }

    void startUpdatingLocation() override {
        source_->setPreferredPositioningMethods(
            desiredAccuracyMeters >= 1000 ? QGeoPositionInfoSource::NonSatellitePositioningMethods
                                          : QGeoPositionInfoSource::AllPositioningMethods);
        source_->startUpdates();
    }
    void stopUpdatingLocation() override { source_->stopUpdates(); }
    void stopMonitoringSignificantLocationChanges() override {}

private:
    static QString describe(QGeoPositionInfoSource::Error error) {
        switch (error) {
            case QGeoPositionInfoSource::AccessError:
                return QStringLiteral("Access to the location was denied.");
            case QGeoPositionInfoSource::ClosedError:
                return QStringLiteral("The location service was closed.");
            case QGeoPositionInfoSource::UpdateTimeoutError:
                return QStringLiteral("No position could be determined in time.");
            default:
                return QStringLiteral("The location service failed.");
        }
    }

    std::unique_ptr<QGeoPositionInfoSource> source_;
    bool denied_ = false;
};

}  // namespace

std::unique_ptr<LocationService> createQtLocationService() {
    QGeoPositionInfoSource* source = QGeoPositionInfoSource::createDefaultSource(nullptr);
    if (source == nullptr) {
        return nullptr;
    }
    return std::make_unique<QtLocationService>(source);
}
