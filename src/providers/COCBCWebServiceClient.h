#pragma once

#include "CCBRCurrenciesInfo.h"
#include "CWebServiceClient.h"
#include "Endpoints.h"

#include <QString>
#include <QStringView>

#include <optional>

/// Receives the outcome of an OCBC query, on the main thread.
class COCBCWebServiceClientDelegate {
public:
    virtual ~COCBCWebServiceClientDelegate() = default;
    virtual void ocbcQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) = 0;
    virtual void ocbcQueryFailedWithErrorDescription(const QString& description) = 0;
};

/// The OCBC bank's daily foreign-exchange page: the rows of its Singapore-dollar table, then
/// "SGD" itself, in Singapore dollars.
class COCBCWebServiceClient : public CWebServiceClient {
public:
    static inline const QString logName = QStringLiteral("OCBC Bank finance");
    static inline const QString path = QStringLiteral("/rates/daily_price_fx.html");

    explicit COCBCWebServiceClient(const Endpoints& endpoints);

    COCBCWebServiceClientDelegate* delegate() const { return delegate_; }
    void setDelegate(COCBCWebServiceClientDelegate* delegate) { delegate_ = delegate; }

    /// Starts a query; cancels the one in flight.
    void queryCurrencies();

    CCBRCurrenciesInfoPtr currenciesInfo() const { return currenciesInfo_; }

    /// Reads the next table row of `text` into `currenciesInfo`; returns the text after it, or
    /// nothing when no further row can be read.
    std::optional<QStringView> parseNextCurrencyRow(QStringView text);
    /// Appends `code` at `saleValue` for `nominal` units, quoted for one unit; adds nothing
    /// when either number cannot be read or is not above zero.
    void addCurrency(const QString& code, QStringView nominal, QStringView saleValue);

    void requestSucceeded(CHttpRequest& request, const QByteArray& data) override;
    void requestFailed(CHttpRequest& request, const std::optional<HttpError>& error,
                       const std::optional<HttpResponse>& response,
                       const std::optional<QByteArray>& data) override;

private:
    void fail(const QString& description);

    COCBCWebServiceClientDelegate* delegate_ = nullptr;
    Endpoints endpoints_;
    CCBRCurrenciesInfoPtr currenciesInfo_;
    /// Where the last row marker was found in the text being read.
    const QChar* rowMarker_ = nullptr;
};
