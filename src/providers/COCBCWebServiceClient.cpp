#include "COCBCWebServiceClient.h"

#include "Localization.h"
#include "ProviderParsing.h"

#include <functional>

namespace {

const QString anchor = QStringLiteral("<a name='SGD'>");
const QString tableEnd = QStringLiteral("</table>");
const QString rowStart = QStringLiteral("<tr bgcolor='#FFFFFF'>");
const QString strongStart = QStringLiteral("<strong>");
const QString strongEnd = QStringLiteral("</strong>");
const QString fontStart = QStringLiteral("<font size='2'>");
const QString fontEnd = QStringLiteral("</font>");
const QString cellEnd = QStringLiteral("</td>");

/// The text after the first `marker` in `text`, or nothing.
std::optional<QStringView> after(QStringView text, QStringView marker) {
    const qsizetype at = text.indexOf(marker);
    if (at < 0) {
        return std::nullopt;
    }
    return text.mid(at + marker.size());
}

/// The text from the start of `text` up to the first `marker`, and the text after the marker.
std::optional<std::pair<QStringView, QStringView>> upTo(QStringView text, QStringView marker) {
    const qsizetype at = text.indexOf(marker);
    if (at < 0) {
        return std::nullopt;
    }
    return std::pair{text.left(at), text.mid(at + marker.size())};
}

}  // namespace

COCBCWebServiceClient::COCBCWebServiceClient(const Endpoints& endpoints)
    : endpoints_(endpoints), currenciesInfo_(std::make_shared<CCBRCurrenciesInfo>()) {}

void COCBCWebServiceClient::queryCurrencies() {
    cancelAllHttpRequests();
    auto request = std::make_shared<CHttpRequest>(endpoints_.url(Endpoints::Ocbc, path));
    request->requestSettings.method = "GET";
    request->requestSettings.cachePolicy = HttpCachePolicy::ReloadIgnoringLocalCacheData;
    sendAsyncHttpRequest(std::move(request));
}

std::optional<QStringView> COCBCWebServiceClient::parseNextCurrencyRow(QStringView text) {
    // The row marker only has to be somewhere ahead; an occurrence found before that is still
    // ahead is not searched for again, so a long page is not scanned once per row.
    const std::less<const QChar*> before;
    const bool markerStillAhead =
        rowMarker_ != nullptr && text.size() >= rowStart.size() &&
        !before(rowMarker_, text.data()) &&
        !before(text.data() + text.size() - rowStart.size(), rowMarker_) &&
        QStringView(rowMarker_, rowStart.size()) == rowStart;
    if (!markerStillAhead) {
        const qsizetype at = text.indexOf(rowStart);
        if (at < 0) {
            rowMarker_ = nullptr;
            return std::nullopt;
        }
        rowMarker_ = text.data() + at;
    }
    const auto codeStart = after(text, strongStart);
    if (!codeStart) {
        return std::nullopt;
    }
    const auto code = upTo(*codeStart, strongEnd);
    if (!code) {
        return std::nullopt;
    }
    const auto unitStart = after(code->second, fontStart);
    if (!unitStart) {
        return std::nullopt;
    }
    const auto unit = upTo(*unitStart, fontEnd);
    if (!unit) {
        return std::nullopt;
    }
    const QList<QStringView> unitParts = unit->first.split(u' ');
    if (unitParts.size() != 2) {
        return std::nullopt;
    }
    // Past the end of the unit cell, then past the whole cell after it.
    const auto afterUnitCell = after(unit->second, cellEnd);
    if (!afterUnitCell) {
        return std::nullopt;
    }
    const auto afterSkippedCell = after(*afterUnitCell, cellEnd);
    if (!afterSkippedCell) {
        return std::nullopt;
    }
    const auto valueStart = after(*afterSkippedCell, fontStart);
    if (!valueStart) {
        return std::nullopt;
    }
    const auto value = upTo(*valueStart, fontEnd);
    if (!value) {
        return std::nullopt;
    }
    addCurrency(code->first.toString(), unitParts.first(), value->first);
    return *valueStart;
}

void COCBCWebServiceClient::addCurrency(const QString& code, QStringView nominal,
                                        QStringView saleValue) {
    const Decimal units = Decimal::fromString(nominal);
    const Decimal value = Decimal::fromString(saleValue);
    if (!ProviderParsing::isUsableValue(units) || !ProviderParsing::isUsableValue(value)) {
        return;
    }
    CCBRCurrencyInfoPtr row = ProviderParsing::makeRow(code, value / units);
    if (ProviderParsing::isUsableRow(*row)) {
        currenciesInfo_->addCurrencyInfo(row);
    }
}

void COCBCWebServiceClient::requestSucceeded(CHttpRequest&, const QByteArray& data) {
    const QString page = QString::fromUtf8(data);
    const auto afterAnchor = after(page, anchor);
    const auto section = afterAnchor ? upTo(*afterAnchor, tableEnd) : std::nullopt;
    if (!section) {
        fail(Localization::localizedString(QStringLiteral("InvalidDataFormat")));
        return;
    }
    currenciesInfo_ = std::make_shared<CCBRCurrenciesInfo>();
    rowMarker_ = nullptr;
    std::optional<QStringView> rest = section->first;
    while (rest) {
        rest = parseNextCurrencyRow(*rest);
    }
    rowMarker_ = nullptr;
    addCurrency(QStringLiteral("SGD"), u"1", u"1");
    if (delegate_ != nullptr) {
        delegate_->ocbcQueryCurrenciesCompletedWithResult(currenciesInfo_);
    }
}

void COCBCWebServiceClient::requestFailed(CHttpRequest&, const std::optional<HttpError>& error,
                                          const std::optional<HttpResponse>& response,
                                          const std::optional<QByteArray>& data) {
    fail(logRequestFailure(logName, error, response, data));
}

void COCBCWebServiceClient::fail(const QString& description) {
    if (delegate_ != nullptr) {
        delegate_->ocbcQueryFailedWithErrorDescription(description);
    }
}
