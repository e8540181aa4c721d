#include "CBaseCurrencySelector.h"

#include "CRootViewModel.h"
#include "Endpoints.h"
#include "Localization.h"
#include "Log.h"
#include "NotificationCenter.h"
#include "Resources.h"

/// Sends the country-code request and hands its outcome back to the selector.
class CBaseCurrencySelector::GeoNamesClient : public CWebServiceClient {
public:
    explicit GeoNamesClient(CBaseCurrencySelector& selector) : selector_(selector) {}

    void requestFinished(CHttpRequest&, const std::optional<QByteArray>& data,
                         const std::optional<HttpResponse>& response,
                         const std::optional<HttpError>& error) override {
        selector_.geoNamesAnswered(data, response, error);
    }

private:
    CBaseCurrencySelector& selector_;
};

CBaseCurrencySelector::CBaseCurrencySelector(CRootViewModel* dataModel, LocationService* location,
                                             NotificationCenter& center, Endpoints endpoints)
    : dataModel_(dataModel),
      locationManager_(location),
      center_(center),
      endpoints_(std::move(endpoints)) {}

namespace {

/// The currency of every country, read when a country is first looked up (most runs never do).
const QVariantMap& currencyCodeDictionary() {
    static const QVariantMap table =
        Resources::propertyList(QStringLiteral("CountriesAndCurrenciesData")).toMap();
    return table;
}

}  // namespace

QString CBaseCurrencySelector::currencyForTerritory(QLocale::Territory territory) {
    if (territory == QLocale::AnyTerritory) {
        return {};
    }
    return currencyCodeDictionary().value(QLocale::territoryToCode(territory)).toString();
}

CBaseCurrencySelector::~CBaseCurrencySelector() {
    if (locationManager_ != nullptr && locationManager_->delegate == this) {
        locationManager_->stopUpdatingLocation();
        locationManager_->delegate = nullptr;
    }
}

bool CBaseCurrencySelector::isBaseCurrencyAutoselectAvailable() const {
    if (locationManager_ == nullptr || !locationManager_->locationServicesEnabled()) {
        return false;
    }
    const auto status = locationManager_->authorizationStatus();
    return status == LocationService::AuthorizationStatus::NotDetermined ||
           status == LocationService::AuthorizationStatus::Authorized;
}

void CBaseCurrencySelector::enableBaseCurrencyAutoSelect(bool enable) {
    if (locationManager_ == nullptr) {
        return;
    }
    if (!locationManagerSetUp_) {
        locationManagerSetUp_ = true;
        locationManager_->delegate = this;
        locationManager_->distanceFilterMeters = 1000;
        locationManager_->desiredAccuracyMeters = 3000;
        locationManager_->purpose =
            Localization::localizedString(QStringLiteral("LocationTrackingPurpose"));
    }
    if (enable) {
        locationManager_->startUpdatingLocation();
    } else {
        locationManager_->stopUpdatingLocation();
    }
}

void CBaseCurrencySelector::locationManagerDidUpdateToLocation(
    const std::optional<GeoCoordinate>& location) {
    // A new fix replaces the request in flight: only its answer counts.
    geoNamesServiceConnection_ = std::make_unique<GeoNamesClient>(*this);
    const GeoCoordinate where = location.value_or(GeoCoordinate{});
    const QString query =
        QString::asprintf("lat=%f&lng=%f&username=", where.latitude, where.longitude) +
        endpoints_.value(Endpoints::GeoNamesUserName) + QStringLiteral("&type=xml");
    auto request = std::make_shared<CHttpRequest>(
        endpoints_.url(Endpoints::GeoNames, QStringLiteral("/countryCode"), query));
    geoNamesServiceConnection_->sendAsyncHttpRequest(request);
}

void CBaseCurrencySelector::locationManagerDidFailWithError(int code, const QString& description) {
    nlog(QStringLiteral("Cannot determine user location: %1").arg(description));
    if (code != LocationService::ErrorDenied) {
        return;
    }
    dataModel_->setBaseCurrencyAutoSelectEnabled(false);
    center_.post(BaseCurrencyAutoselectDisabled, this);
    locationManager_->stopUpdatingLocation();
    locationManager_->stopMonitoringSignificantLocationChanges();
}

void CBaseCurrencySelector::geoNamesAnswered(const std::optional<QByteArray>& data,
                                             const std::optional<HttpResponse>& response,
                                             const std::optional<HttpError>& error) {
    if (error) {
        nlog(QStringLiteral("GeoNames connection fail: %1").arg(error->localizedDescription));
        return;
    }
    if (!response || response->statusCode != 200) {
        nlog(QStringLiteral("GeoNames error response: %1")
                 .arg(HttpResponse::localizedStringForStatusCode(response ? response->statusCode
                                                                          : 0)));
        return;
    }
    countryCodeValue_.clear();
    XmlParser parser(data.value_or(QByteArray()));
    if (!parser.parse(*this)) {
        nlog(QStringLiteral("GeoNames response xml parse fail: %1").arg(parser.errorString()));
    }
}

void CBaseCurrencySelector::parserDidStartElement(const QString& name, const Attributes&) {
    currentParsedElementName_ = name;
}

void CBaseCurrencySelector::parserFoundCharacters(const QString& text) {
    if (currentParsedElementName_ == u"countryCode") {
        countryCodeValue_ += text;
    }
}

void CBaseCurrencySelector::parserDidEndElement(const QString&) {
    locationManager_->stopUpdatingLocation();
    if (currentParsedElementName_ != u"countryCode") {
        return;
    }
    const QString country = countryCodeValue_.trimmed();
    const QString currency = currencyCodeDictionary().value(country).toString();
    if (currency.isEmpty()) {
        nlog(QStringLiteral("No base currency for country with code: %1").arg(country));
        return;
    }
    if (dataModel_ != nullptr) {
        dataModel_->setBaseCurrencyCode(currency);
    }
}
