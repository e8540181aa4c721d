#pragma once

#include <QDateTime>
#include <QString>

/// When a rate is stale: older than its source's publication schedule allows. The one place
/// that knows each source's schedule; the rate list and numiva-cli ask it with their clock.
class CRateFreshness {
public:
    enum class Schedule {
        /// Central banks' daily reference rates (ECB, CBR, BankUa, Frankfurter's banks): none on
        /// weekends and bank holidays.
        OfficialDaily,
        /// The daily CDN files (Exchange API), published every day.
        DailyFeed,
        /// Market quotes (Yahoo Finance, Bloomberg, OCBC, PayPal), refreshed during the day.
        MarketQuote,
        /// A user-added feed, whose schedule nobody told us.
        CustomFeed,
    };

    struct Rule {
        Schedule schedule;
        /// How old a rate may get: calendar days between its day and today (UTC) for
        /// `calendarDays`, else hours since the moment it was fetched.
        int limit;
        bool calendarDays;
    };

    /// The schedule of a data source identifier; anything not built in is a custom feed.
    static Schedule scheduleOf(const QString& dataSource);
    static Rule ruleFor(Schedule schedule);
    /// A rate of `dataSource` dated `date` is stale at `now`. A rate without a date, or dated
    /// after `now` (a bank's rate for tomorrow), is not.
    static bool isStale(const QString& dataSource, const QDateTime& date, const QDateTime& now);
};
