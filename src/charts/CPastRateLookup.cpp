#include "CPastRateLookup.h"

#include "CCBRHelpers.h"
#include "CChartDataStorageManager.h"
#include "CChartPeriod.h"
#include "Localization.h"

#include <QTimeZone>

#include <algorithm>

namespace {

const QString dollar = QStringLiteral("USD");
const QString frankfurter = QStringLiteral("Frankfurter");

QString dayText(const QDate& day) {
    return day.toString(Qt::ISODate);
}

}  // namespace

CPastRateLookup::CPastRateLookup(CRootViewModel& model, CChartDataStorageManager* cache,
                                 const Endpoints& endpoints)
    : model_(model),
      cache_(cache),
      endpoints_(endpoints),
      today_([] { return QDate::currentDate(); }) {}

CPastRateLookup::~CPastRateLookup() {
    cancel();
}

int CPastRateLookup::periodCovering(const QDate& day, const QDate& today,
                                    const QList<int>& periods) {
    const QDateTime now(today, QTime(12, 0), QTimeZone::utc());
    for (const int period : periods) {
        const QDateTime start =
            CCurrencyChartInfo::getStartDateForPeriod(period, now, QTimeZone::utc());
        if (period != ChartPeriod1Day && start.date() <= day.addDays(-7)) {
            return period;
        }
    }
    return periods.isEmpty() ? int(ChartPeriodOverall) : periods.last();
}

std::optional<CCurrencyChartPoint> CPastRateLookup::pointOnOrBefore(
    const CCurrencyChartPointList& points, const QDate& day) {
    // Points are oldest first: the first one after the day ends the search.
    const auto after = std::upper_bound(points.cbegin(), points.cend(), day,
                                        [](const QDate& d, const CCurrencyChartPoint& point) {
                                            return d < point.date.toUTC().date();
                                        });
    if (after == points.cbegin()) {
        return std::nullopt;
    }
    return *std::prev(after);
}

void CPastRateLookup::lookup(const QStringList& codes, const QDate& day, Finished finished) {
    cancel();
    outcome_ = Outcome();
    outcome_.rates.insert(dollar, {Decimal::fromInt(1), day, QString()});
    finished_ = std::move(finished);
    day_ = day;
    historyStart_ = QDate();
    pending_.clear();
    for (const QString& code : codes) {
        if (code != dollar && !pending_.contains(code)) {
            pending_.append(code);
        }
    }
    source_ = model_.getSelectedDataSource().value_or(QString());
    // Frankfurter thins long histories to weekly or monthly samples: its answer for the day
    // itself is exact, and one request serves every code.
    const bool hasHistory =
        CCurrencyChartDataSource::isDataSourceSupported(source_) && source_ != frankfurter;
    const QDate today = today_();
    if (!day.isValid()) {
        outcome_.failure = Localization::localizedString(QStringLiteral("ConversionDateInvalid"));
    } else if (day > today) {
        outcome_.failure = Localization::localizedString(QStringLiteral("ConversionDateInFuture"))
                               .arg(dayText(day));
    } else if (!hasHistory && day < frankfurterHistoryStart) {
        outcome_.failure =
            Localization::localizedString(QStringLiteral("ConversionDateBeforeHistory"))
                .arg(dayText(day), dayText(frankfurterHistoryStart));
    }
    if (outcome_.failure) {
        outcome_.badDate = true;
        outcome_.missing = pending_;
        pending_.clear();
        finish();
        return;
    }
    if (pending_.isEmpty()) {
        finish();
        return;
    }
    if (!hasHistory) {
        // Frankfurter answers every code for one day in one request.
        if (!frankfurter_) {
            frankfurter_ = std::make_unique<CFrankfurterWebServiceClient>(endpoints_);
        }
        frankfurter_->setDelegate(this);
        frankfurter_->queryCurrencies(pending_, dollar, day);
        return;
    }
    periods_ = CCurrencyChartDataSource::supportedPeriodsForDatasource(source_).value_or(
        QList<int>{ChartPeriodOverall});
    periods_.removeAll(int(ChartPeriod1Day));
    if (!charts_) {
        charts_ = std::make_unique<CCurrencyChartDataSource>(model_, cache_, endpoints_);
        charts_->setFailureMessageKey(QStringLiteral("PastRatesFailedMessage"));
    }
    charts_->setDelegate(this);
    covering_ = periodCovering(day, today, periods_);
    nextChart();
}

void CPastRateLookup::cancel() {
    finished_ = nullptr;
    if (charts_) {
        charts_->cancelQuery();
    }
    if (frankfurter_) {
        frankfurter_->cancelAllHttpRequests();
    }
}

bool CPastRateLookup::takeFromRecord(const QString& code, const CCurrencyChartInfo& record) {
    const std::optional<CCurrencyChartPoint> point = pointOnOrBefore(record.plotPoints, day_);
    if (!point || !(point->value > Decimal())) {
        return false;
    }
    // The CBR's metal history is per gram, its rate list (like every other) per troy ounce.
    const Decimal value =
        source_ == QStringLiteral("CBR") && model_.metalsInfo().isCurrencyMetal(code)
            ? CCBRHelpers::convertGrammToOunce(point->value)
            : point->value;
    outcome_.rates.insert(code, {value, point->date.toUTC().date(), source_});
    return true;
}

void CPastRateLookup::nextChart() {
    const qsizetype from = std::max<qsizetype>(0, periods_.indexOf(covering_));
    while (!pending_.isEmpty()) {
        const QString& code = pending_.first();
        // The chart of the dollar against the code gives the dollar price of one unit.
        const QStringList pair{dollar, code};
        // A cached record answers when it reaches past the day: a newer rate may otherwise have
        // been published since it was stored.
        for (qsizetype i = from; cache_ != nullptr && i < periods_.size(); ++i) {
            const std::optional<CCurrencyChartInfo> cached =
                cache_->getChartInfoForCurrencyPair(pair, periods_[i], source_);
            if (cached && cached->hasData() &&
                cached->plotPoints.last().date.toUTC().date() >= day_ &&
                takeFromRecord(code, *cached)) {
                break;
            }
        }
        if (outcome_.rates.contains(code)) {
            pending_.removeFirst();
            continue;
        }
        // A first try with the covering period; the whole history follows when that one
        // started after the day.
        period_ = covering_;
        charts_->queryChart(pair, period_);
        return;
    }
    finish();
}

void CPastRateLookup::queryCurrencyChartDataSourceCompletedWithResult(
    const CCurrencyChartInfo& result) {
    if (!finished_ || pending_.isEmpty()) {
        return;
    }
    const QString code = pending_.first();
    if (!takeFromRecord(code, result)) {
        if (period_ != periods_.last()) {
            // Try the whole history before saying there is none.
            period_ = periods_.last();
            charts_->queryChart({dollar, code}, period_);
            return;
        }
        if (result.hasData()) {
            const QDate first = result.plotPoints.first().date.toUTC().date();
            historyStart_ = historyStart_.isValid() ? std::min(historyStart_, first) : first;
        }
        outcome_.missing.append(code);
    }
    pending_.removeFirst();
    nextChart();
}

void CPastRateLookup::queryCurrencyChartDataSourceFailedWithErrorDescription(
    const QString& description) {
    if (!finished_ || pending_.isEmpty()) {
        return;
    }
    // One failure is the service's answer for every code: asking on would only repeat it.
    outcome_.failure = description;
    outcome_.missing.append(pending_);
    pending_.clear();
    finish();
}

void CPastRateLookup::frankfurterQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) {
    if (!finished_) {
        return;
    }
    for (const QString& code : std::as_const(pending_)) {
        const CCBRCurrencyInfoPtr row =
            result ? result->findCurrencyInfoWithTextCode(code) : nullptr;
        const Decimal value = row ? row->saleValueForCurrency() : Decimal::nan();
        // Never a rate published after the day asked for.
        if (row && value > Decimal() && row->actualDate.toUTC().date() <= day_) {
            outcome_.rates.insert(code, {value, row->actualDate.toUTC().date(), frankfurter});
        } else {
            outcome_.missing.append(code);
        }
    }
    pending_.clear();
    finish();
}

void CPastRateLookup::frankfurterQueryFailedWithErrorDescription(const QString& description) {
    if (!finished_) {
        return;
    }
    outcome_.failure = CWebServiceClient::sourceFailureText(
        Localization::localizedString(frankfurter + QStringLiteral("-CurrencyDataSource")),
        description, QStringLiteral("PastRatesFailedMessage"));
    outcome_.missing.append(pending_);
    pending_.clear();
    finish();
}

void CPastRateLookup::finish() {
    // Nothing found and the histories start after the day: the day is the problem.
    if (!outcome_.failure && outcome_.rates.size() == 1 && !outcome_.missing.isEmpty()) {
        outcome_.badDate = historyStart_.isValid();
        outcome_.failure =
            historyStart_.isValid()
                ? Localization::localizedString(QStringLiteral("ConversionDateBeforeHistory"))
                      .arg(dayText(day_), dayText(historyStart_))
                : Localization::localizedString(QStringLiteral("ConversionDateNoRates"))
                      .arg(dayText(day_));
    }
    Finished finished = std::exchange(finished_, nullptr);
    if (finished) {
        finished(outcome_);
    }
}
