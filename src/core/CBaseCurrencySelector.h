#pragma once

#include "CWebServiceClient.h"
#include "Endpoints.h"
#include "LocationService.h"
#include "XmlParser.h"

#include <QLocale>
#include <QString>
#include <QVariantMap>

#include <memory>

class CRootViewModel;
class NotificationCenter;

/// Makes the currency of the country the device is in the base currency: one position fix, the
/// GeoNames country-code service, and the "CountriesAndCurrenciesData" table.
///
/// Without a location service auto-selection is unavailable. Main thread only.
class CBaseCurrencySelector : public LocationService::Delegate, private XmlParserDelegate {
public:
    static inline const QString BaseCurrencyAutoselectDisabled =
        QStringLiteral("BaseCurrencyAutoselectDisabled");

    /// `location` (not owned) may be null; the GeoNames service comes from `endpoints`. Without
    /// `dataModel` answers are read but change nothing (a harness feeding answers directly).
    CBaseCurrencySelector(CRootViewModel* dataModel, LocationService* location,
                          NotificationCenter& center, Endpoints endpoints);
    ~CBaseCurrencySelector() override;

    /// The currency of a region through the country table; empty when it has none.
    static QString currencyForTerritory(QLocale::Territory territory);

    /// Not refused and not restricted, and the device has location services.
    bool isBaseCurrencyAutoselectAvailable() const;
    /// Starts (true) or stops (false) looking for the device's position.
    void enableBaseCurrencyAutoSelect(bool enable);

    void locationManagerDidUpdateToLocation(const std::optional<GeoCoordinate>& location) override;
    void locationManagerDidFailWithError(int code, const QString& description) override;

    /// The GeoNames answer arrived (called by the selector's web client).
    void geoNamesAnswered(const std::optional<QByteArray>& data,
                          const std::optional<HttpResponse>& response,
                          const std::optional<HttpError>& error);

private:
    void parserDidStartElement(const QString& name, const Attributes& attributes) override;
    void parserFoundCharacters(const QString& text) override;
    void parserDidEndElement(const QString& name) override;

    class GeoNamesClient;

    CRootViewModel* dataModel_;
    LocationService* locationManager_;
    NotificationCenter& center_;
    Endpoints endpoints_;
    bool locationManagerSetUp_ = false;
    std::unique_ptr<GeoNamesClient> geoNamesServiceConnection_;
    QString currentParsedElementName_;
    QString countryCodeValue_;
};
