#include "CSourceComparison.h"

#include "CBankUaWebServiceClient.h"
#include "CBloombergCurrencyWebServiceClient.h"
#include "CCBRCurrenciesWebServiceClient.h"
#include "CCurrencyApiWebServiceClient.h"
#include "CCurrencyDataSource.h"
#include "CCurrencyDataSourceInfo.h"
#include "CECBCurrenciesWebServiceClient.h"
#include "CFrankfurterWebServiceClient.h"
#include "COCBCWebServiceClient.h"
#include "CPayPalWebServiceClient.h"
#include "CRootViewModel.h"
#include "CYahooFinanceWebServiceClient.h"
#include "Localization.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QTimer>

#include <algorithm>

namespace {

const QString usd = QStringLiteral("USD");

}  // namespace

QStringList CurrencyComparison::outlierIds() const {
    QStringList ids;
    for (const SourceRate& rate : rates) {
        if (rate.outlier) {
            ids.append(rate.id);
        }
    }
    return ids;
}

/// Receives every client's callbacks and tells the comparison which source answered.
class CSourceComparison::Listener : public CCBRCurrenciesWebServiceClientDelegate,
                                    public CYahooFinanceWebServiceClientDelegate,
                                    public CECBCurrenciesWebServiceClientDelegate,
                                    public CBloombergCurrencyWebServiceClientDelegate,
                                    public CPayPalWebServiceClientDelegate,
                                    public COCBCWebServiceClientDelegate,
                                    public CBankUaWebServiceClientDelegate,
                                    public CFrankfurterWebServiceClientDelegate,
                                    public CCurrencyApiWebServiceClientDelegate {
public:
    explicit Listener(CSourceComparison& owner) : owner_(&owner) {}
    /// After this, late callbacks go nowhere.
    void detach() { owner_ = nullptr; }

    void queryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr r) override {
        completed(CCurrencyDataSource::CBR, std::move(r));
    }
    void queryFailedWithErrorDescription(const QString& d) override {
        failed(CCurrencyDataSource::CBR, d);
    }
    void yahooFinanceQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr r) override {
        completed(CCurrencyDataSource::YFinance, std::move(r));
    }
    void yahooFinanceQueryFailedWithErrorDescription(const QString& d) override {
        failed(CCurrencyDataSource::YFinance, d);
    }
    void ecbCurrenciesQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr r) override {
        completed(CCurrencyDataSource::ECB, std::move(r));
    }
    void ecbCurrenciesQueryFailedWithErrorDescription(const QString& d) override {
        failed(CCurrencyDataSource::ECB, d);
    }
    void bloombergQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr r) override {
        completed(CCurrencyDataSource::Bloomberg, std::move(r));
    }
    void bloombergQueryFailedWithErrorDescription(const QString& d) override {
        failed(CCurrencyDataSource::Bloomberg, d);
    }
    void payPalQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr r) override {
        completed(CCurrencyDataSource::PayPal, std::move(r));
    }
    void payPalQueryFailedWithErrorDescription(const QString& d) override {
        failed(CCurrencyDataSource::PayPal, d);
    }
    void ocbcQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr r) override {
        completed(CCurrencyDataSource::OCBC, std::move(r));
    }
    void ocbcQueryFailedWithErrorDescription(const QString& d) override {
        failed(CCurrencyDataSource::OCBC, d);
    }
    void bankUaQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr r) override {
        completed(CCurrencyDataSource::BankUa, std::move(r));
    }
    void bankUaQueryFailedWithErrorDescription(const QString& d) override {
        failed(CCurrencyDataSource::BankUa, d);
    }
    void frankfurterQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr r) override {
        completed(CCurrencyDataSource::Frankfurter, std::move(r));
    }
    void frankfurterQueryFailedWithErrorDescription(const QString& d) override {
        failed(CCurrencyDataSource::Frankfurter, d);
    }
    void currencyApiQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr r) override {
        completed(CCurrencyDataSource::CurrencyApi, std::move(r));
    }
    void currencyApiQueryFailedWithErrorDescription(const QString& d) override {
        failed(CCurrencyDataSource::CurrencyApi, d);
    }

private:
    void completed(const QString& id, CCBRCurrenciesInfoPtr result) {
        if (owner_ != nullptr) {
            owner_->sourceCompleted(id, std::move(result));
        }
    }
    void failed(const QString& id, const QString& description) {
        if (owner_ != nullptr) {
            owner_->sourceFailed(id, description);
        }
    }

    CSourceComparison* owner_;
};

/// What one comparison has asked and gathered so far.
struct CSourceComparison::Pending {
    QStringList codes;
    QString base;
    /// The codes each asked source is to answer for.
    QHash<QString, QStringList> asked;
    /// Each code's rates by source, the institutions of Frankfurter's blend after it.
    QHash<QString, QHash<QString, QList<SourceRate>>> rates;
    int answered = 0;
    CFrankfurterWebServiceClient* frankfurter = nullptr;
    /// Receives the deferred end of a comparison that asks nobody; deleting it drops that call.
    QObject context;
};

const QStringList& CSourceComparison::builtInSources() {
    static const QStringList ids{CCurrencyDataSource::CBR,        CCurrencyDataSource::YFinance,
                                 CCurrencyDataSource::ECB,        CCurrencyDataSource::Bloomberg,
                                 CCurrencyDataSource::PayPal,     CCurrencyDataSource::OCBC,
                                 CCurrencyDataSource::BankUa,     CCurrencyDataSource::Frankfurter,
                                 CCurrencyDataSource::CurrencyApi};
    return ids;
}

CSourceComparison::CSourceComparison(const CRootViewModel& model, Endpoints endpoints)
    : model_(model),
      endpoints_(std::move(endpoints)),
      listener_(std::make_unique<Listener>(*this)) {}

CSourceComparison::~CSourceComparison() {
    cancel();
}

void CSourceComparison::cancel() {
    pending_.reset();
    running_ = false;
    if (clients_.empty()) {
        return;
    }
    // Cancelled clients deliver nothing more. They are destroyed from the event loop: this may
    // run inside one of their own callbacks (a finished handler that destroys or restarts).
    for (const auto& client : clients_) {
        client->cancelAllHttpRequests();
    }
    listener_->detach();
    auto retired = std::make_shared<
        std::pair<std::unique_ptr<Listener>, std::vector<std::unique_ptr<CWebServiceClient>>>>(
        std::move(listener_), std::move(clients_));
    clients_.clear();
    listener_ = std::make_unique<Listener>(*this);
    QTimer::singleShot(0, [retired]() mutable { retired.reset(); });
}

QString CSourceComparison::displayName(const QString& id) const {
    const QString name = model_.currencyDataSourceInfo().getDataSourceDisplayName(id);
    return name.isEmpty() ? id : name;
}

QStringList CSourceComparison::sourcesFor(const CRootViewModel& model, const QString& code,
                                          const QString& base) {
    QStringList ids;
    const CCurrencyDataSourceInfo& info = model.currencyDataSourceInfo();
    for (const QString& id : builtInSources()) {
        const QStringList offered = info.getAvailableCurrencyCodes(id);
        // Every answer carries the dollar the rows are rebased with.
        if (offered.contains(code) && (base == usd || offered.contains(base))) {
            ids.append(id);
        }
    }
    return ids;
}

void CSourceComparison::compare(const QStringList& codes, const QString& base) {
    cancel();
    pending_ = std::make_unique<Pending>();
    pending_->codes = codes;
    pending_->base = base;
    running_ = true;
    for (const QString& code : codes) {
        for (const QString& id : sourcesFor(code, base)) {
            if (code != base && !pending_->asked[id].contains(code)) {
                pending_->asked[id].append(code);
            }
        }
    }
    if (progress_) {
        progress_(0, static_cast<int>(pending_->asked.size()));
    }
    if (pending_->asked.isEmpty()) {
        QTimer::singleShot(0, &pending_->context, [this] { sourceDone(); });
        return;
    }
    // Every source is asked before any answer can arrive: answers come from the event loop.
    for (const QString& id : builtInSources()) {
        if (pending_->asked.contains(id)) {
            startSource(id, pending_->asked.value(id));
        }
    }
}

void CSourceComparison::startSource(const QString& id, const QStringList& codes) {
    Listener* listener = listener_.get();
    const CRelatedCurrenciesInfo& related = model_.relatedCurrenciesInfo();
    const QStringList offered = model_.currencyDataSourceInfo().getAvailableCurrencyCodes(id);
    QStringList wanted = codes;
    wanted.append(pending_->base);
    const QStringList request =
        CCurrencyDataSource::filterAvailableCurrencies(wanted, offered, related);
    const auto make = [&](auto client) {
        auto* raw = client.get();
        raw->setDelegate(listener);
        clients_.push_back(std::move(client));
        return raw;
    };
    if (id == CCurrencyDataSource::CBR) {
        make(std::make_unique<CCBRCurrenciesWebServiceClient>(endpoints_))
            ->queryCurrenciesForDate(QDateTime::currentDateTime());
    } else if (id == CCurrencyDataSource::YFinance) {
        make(std::make_unique<CYahooFinanceWebServiceClient>(endpoints_))
            ->queryCurrencies(request, usd);
    } else if (id == CCurrencyDataSource::ECB) {
        make(std::make_unique<CECBCurrenciesWebServiceClient>(endpoints_))->queryCurrencies();
    } else if (id == CCurrencyDataSource::Bloomberg) {
        make(std::make_unique<CBloombergCurrencyWebServiceClient>(endpoints_))->queryCurrencies();
    } else if (id == CCurrencyDataSource::PayPal) {
        make(std::make_unique<CPayPalWebServiceClient>(endpoints_))->queryCurrencies(request, usd);
    } else if (id == CCurrencyDataSource::OCBC) {
        make(std::make_unique<COCBCWebServiceClient>(endpoints_))->queryCurrencies();
    } else if (id == CCurrencyDataSource::BankUa) {
        make(std::make_unique<CBankUaWebServiceClient>(endpoints_))->queryCurrencies();
    } else if (id == CCurrencyDataSource::Frankfurter) {
        // Asked against the base itself, so that the institutions' rates need no rebasing.
        auto* client = make(std::make_unique<CFrankfurterWebServiceClient>(endpoints_));
        client->setExpandProviders(true);
        pending_->frankfurter = client;
        client->queryCurrencies(request, pending_->base);
    } else if (id == CCurrencyDataSource::CurrencyApi) {
        make(std::make_unique<CCurrencyApiWebServiceClient>(endpoints_))->queryCurrencies(usd);
    }
}

void CSourceComparison::sourceCompleted(const QString& id, CCBRCurrenciesInfoPtr result) {
    if (!pending_) {
        return;
    }
    QString failure;
    const QString name = displayName(id);
    const CCBRCurrenciesInfoPtr usable = CCurrencyDataSource::usableRebasedRows(
        result ? *result : CCBRCurrenciesInfo(), name, &failure);
    if (!usable) {
        sourceFailed(id, failure);
        return;
    }
    const QString& base = pending_->base;
    const Decimal basePrice = usable->saleValueForCurrencyWithTextCode(base);
    for (const QString& code : pending_->asked.value(id)) {
        SourceRate rate{id, name};
        const Decimal price = usable->saleValueForCurrencyWithTextCode(code);
        if (price.isNaN() || basePrice.isNaN()) {
            rate.failure = Localization::localizedString(QStringLiteral("CompareNotInAnswer"))
                               .arg(price.isNaN() ? code : base);
        } else {
            rate.value = price / basePrice;
        }
        pending_->rates[code][id].append(rate);
        if (id != CCurrencyDataSource::Frankfurter || pending_->frankfurter == nullptr) {
            continue;
        }
        // The institutions blended into Frankfurter's rate, each with its own.
        for (const CFrankfurterWebServiceClient::ProviderRate& own :
             pending_->frankfurter->providerRates()) {
            if (own.quote != code) {
                continue;
            }
            // Named short ("Frankfurter · ECB"): the key says which institution it is.
            SourceRate institution{id + u'/' + own.key, id + QStringLiteral(" · ") + own.key};
            institution.value = Decimal::fromInt(1) / own.rate;
            pending_->rates[code][id].append(institution);
        }
    }
    sourceDone();
}

void CSourceComparison::sourceFailed(const QString& id, const QString& description) {
    if (!pending_) {
        return;
    }
    const QString text = description.trimmed().isEmpty()
                             ? Localization::localizedString(QStringLiteral("CompareNoAnswer"))
                             : description.trimmed();
    for (const QString& code : pending_->asked.value(id)) {
        SourceRate rate{id, displayName(id)};
        rate.failure = text;
        pending_->rates[code][id] = {rate};
    }
    sourceDone();
}

void CSourceComparison::sourceDone() {
    if (!pending_) {
        return;
    }
    const int asked = static_cast<int>(pending_->asked.size());
    if (!pending_->asked.isEmpty()) {
        ++pending_->answered;
    }
    if (progress_) {
        progress_(pending_->answered, asked);
    }
    if (pending_->answered < asked) {
        return;
    }
    QList<CurrencyComparison> result;
    for (const QString& code : pending_->codes) {
        CurrencyComparison comparison;
        comparison.code = code;
        const auto& bySource = pending_->rates.value(code);
        for (const QString& id : builtInSources()) {
            comparison.rates.append(bySource.value(id));
        }
        summarize(comparison, threshold_);
        result.append(comparison);
    }
    // The callee may destroy this object or start anew: nothing of it is touched afterwards.
    cancel();
    if (finished_) {
        const auto finished = finished_;
        finished(result);
    }
}

void CSourceComparison::summarize(CurrencyComparison& comparison, const Decimal& thresholdPercent) {
    QList<Decimal> values;
    for (const SourceRate& rate : comparison.rates) {
        if (!rate.value.isNaN()) {
            values.append(rate.value);
        }
    }
    comparison.median = Decimal::nan();
    comparison.spread = Decimal::nan();
    if (values.isEmpty()) {
        return;
    }
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    const Decimal median = values.size() % 2 == 1
                               ? values[middle]
                               : (values[middle - 1] + values[middle]) / Decimal::fromInt(2);
    const Decimal hundred = Decimal::fromInt(100);
    comparison.median = median;
    comparison.spread = (values.last() - values.first()) / median * hundred;
    for (SourceRate& rate : comparison.rates) {
        rate.outlier = false;
        rate.deviation = Decimal::nan();
        if (rate.value.isNaN()) {
            continue;
        }
        rate.deviation = (rate.value - median) / median * hundred;
        const Decimal distance = rate.deviation.isNegative() ? -rate.deviation : rate.deviation;
        rate.outlier = distance > thresholdPercent;
    }
}
