#pragma once

#include "CCBRCurrenciesInfo.h"
#include "Decimal.h"
#include "Endpoints.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

class CRootViewModel;
class CWebServiceClient;

/// One source's rate for one currency in a comparison.
struct SourceRate {
    SourceRate() = default;
    SourceRate(QString id, QString name) : id(std::move(id)), name(std::move(name)) {}

    /// The source's identifier ("ECB"); an institution inside Frankfurter's answer is
    /// "Frankfurter/KEY".
    QString id;
    QString name;
    /// Units of the base currency for one unit of the currency; NaN when `failure` is set.
    Decimal value = Decimal::nan();
    /// Why there is no value: the source's failure or a missing row.
    QString failure;
    /// Distance from the median in percent (signed); NaN without a value.
    Decimal deviation = Decimal::nan();
    bool outlier = false;
};

/// Every source's rate for one currency, with the median, the spread and the outliers.
struct CurrencyComparison {
    QString code;
    QList<SourceRate> rates;
    /// NaN when no source delivered a value.
    Decimal median = Decimal::nan();
    /// (max - min) / median, in percent; NaN when no source delivered a value.
    Decimal spread = Decimal::nan();

    bool hasValues() const { return !median.isNaN(); }
    QStringList outlierIds() const;
};

/// Asks every built-in source that quotes a currency and the base for its rate, all sources
/// at once (each client runs on its own queue, so a comparison takes about as long as the
/// slowest source), and compares the answers. Where Frankfurter answers, the institutions it
/// blends are listed with their own rates too. Failing sources are listed with their failure.
///
/// Main thread only. Destroying it, or starting anew, drops whatever is still in flight: no
/// callback comes after that.
class CSourceComparison {
public:
    /// The identifiers asked, in the order listed.
    static const QStringList& builtInSources();
    static Decimal defaultThresholdPercent() { return Decimal::fromInt(2); }

    /// `model` (not owned, must outlive this) names the sources and what they offer.
    CSourceComparison(const CRootViewModel& model, Endpoints endpoints);
    ~CSourceComparison();
    CSourceComparison(const CSourceComparison&) = delete;
    CSourceComparison& operator=(const CSourceComparison&) = delete;

    void setThresholdPercent(const Decimal& percent) { threshold_ = percent; }
    /// Called as each source answers (answered, asked).
    void setProgress(std::function<void(int, int)> progress) { progress_ = std::move(progress); }
    /// Called once per comparison, with one entry per code in the order given. The callee may
    /// destroy this object.
    void setFinished(std::function<void(const QList<CurrencyComparison>&)> finished) {
        finished_ = std::move(finished);
    }

    /// The sources that would be asked for `code` against `base`: those offering both.
    static QStringList sourcesFor(const CRootViewModel& model, const QString& code,
                                  const QString& base);
    QStringList sourcesFor(const QString& code, const QString& base) const {
        return sourcesFor(model_, code, base);
    }
    /// Starts a comparison of `codes` against `base`, cancelling one in progress. Codes no
    /// source offers get an entry without rates; with none at all, `finished` comes from the
    /// event loop.
    void compare(const QStringList& codes, const QString& base);
    void cancel();
    bool isRunning() const { return running_; }

    /// Fills in the median, the spread, each rate's deviation and the outliers (strictly more
    /// than `thresholdPercent` from the median). Exact decimal arithmetic; an even count takes
    /// the mean of the middle two.
    static void summarize(CurrencyComparison& comparison, const Decimal& thresholdPercent);

private:
    class Listener;
    struct Pending;

    void sourceCompleted(const QString& id, CCBRCurrenciesInfoPtr result);
    void sourceFailed(const QString& id, const QString& description);
    void sourceDone();
    QString displayName(const QString& id) const;
    void startSource(const QString& id, const QStringList& codes);

    const CRootViewModel& model_;
    Endpoints endpoints_;
    Decimal threshold_ = defaultThresholdPercent();
    std::function<void(int, int)> progress_;
    std::function<void(const QList<CurrencyComparison>&)> finished_;
    std::unique_ptr<Listener> listener_;
    /// Clients of this comparison, made for it and destroyed with it (which cancels them).
    std::vector<std::unique_ptr<CWebServiceClient>> clients_;
    std::unique_ptr<Pending> pending_;
    bool running_ = false;
};
