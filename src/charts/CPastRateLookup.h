#pragma once

#include "CCurrencyChartDataSource.h"
#include "CFrankfurterWebServiceClient.h"
#include "CRootViewModel.h"

#include <QDate>
#include <QHash>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class CChartDataStorageManager;

/// Finds the rates of a past day for a conversion: for each code, the dollar price of one unit
/// published on that day or, where nothing was published that day (a weekend, a holiday), on
/// the nearest earlier day. A selected source with a history is asked through the chart cache
/// first, then its chart service; Frankfurter and a source without a history through
/// Frankfurter's rates of that day.
///
/// Main thread only. One lookup at a time: a new one, `cancel` or destroying the lookup ends
/// the one running without an answer.
class CPastRateLookup : public CCurrencyChartDataSourceDelegate,
                        public CFrankfurterWebServiceClientDelegate {
public:
    struct Outcome {
        /// By code; the dollar is always there at 1.
        QHash<QString, CRootViewModel::DatedRate> rates;
        /// Codes with no rate on or before the day.
        QStringList missing;
        /// Why nothing could be found; the rates found are still given.
        std::optional<QString> failure;
        /// The failure is the day itself (in the future, before the history starts).
        bool badDate = false;
    };
    using Finished = std::function<void(const Outcome&)>;

    /// Frankfurter's history starts with the euro's first reference rates.
    static inline const QDate frankfurterHistoryStart = QDate(1999, 1, 4);

    /// Neither `model` nor `cache` (optional) is owned; both must outlive the lookup.
    CPastRateLookup(CRootViewModel& model, CChartDataStorageManager* cache,
                    const Endpoints& endpoints);
    ~CPastRateLookup() override;
    CPastRateLookup(const CPastRateLookup&) = delete;
    CPastRateLookup& operator=(const CPastRateLookup&) = delete;

    /// Today's date for the checks (the local date by default).
    void setToday(std::function<QDate()> today) { today_ = std::move(today); }

    /// Starts looking up `codes` on `day`; `finished` hears the outcome once, on the main
    /// thread (at once for a day that cannot be asked for).
    void lookup(const QStringList& codes, const QDate& day, Finished finished);
    void cancel();

    /// The shortest of `periods` whose span back from `today` reaches a week before `day`, so a
    /// rate published shortly before it is in the answer; the last period when none does.
    static int periodCovering(const QDate& day, const QDate& today, const QList<int>& periods);
    /// The last point published on or before `day` (as a UTC day), or nothing; `points` oldest
    /// first.
    static std::optional<CCurrencyChartPoint> pointOnOrBefore(const CCurrencyChartPointList& points,
                                                              const QDate& day);

    void queryCurrencyChartDataSourceCompletedWithResult(const CCurrencyChartInfo& result) override;
    void queryCurrencyChartDataSourceFailedWithErrorDescription(
        const QString& description) override;
    void frankfurterQueryCurrenciesCompletedWithResult(CCBRCurrenciesInfoPtr result) override;
    void frankfurterQueryFailedWithErrorDescription(const QString& description) override;

private:
    void nextChart();
    /// Takes the rate of `code` from `record` when it has one on or before the day.
    bool takeFromRecord(const QString& code, const CCurrencyChartInfo& record);
    void finish();

    CRootViewModel& model_;
    CChartDataStorageManager* cache_;
    Endpoints endpoints_;
    std::function<QDate()> today_;
    std::unique_ptr<CCurrencyChartDataSource> charts_;
    std::unique_ptr<CFrankfurterWebServiceClient> frankfurter_;

    QString source_;
    QDate day_;
    QList<int> periods_;
    QStringList pending_;
    /// The shortest period reaching the day, and the period asked for the code in flight.
    int covering_ = 0;
    int period_ = 0;
    /// The earliest day the history answered for a code had, when it started after the day.
    QDate historyStart_;
    Outcome outcome_;
    Finished finished_;
};
