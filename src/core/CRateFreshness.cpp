#include "CRateFreshness.h"

#include "CCurrencyDataSource.h"

CRateFreshness::Schedule CRateFreshness::scheduleOf(const QString& dataSource) {
    using S = CCurrencyDataSource;
    if (dataSource == S::ECB || dataSource == S::CBR || dataSource == S::BankUa ||
        dataSource == S::Frankfurter) {
        return Schedule::OfficialDaily;
    }
    if (dataSource == S::CurrencyApi) {
        return Schedule::DailyFeed;
    }
    if (dataSource == S::YFinance || dataSource == S::Bloomberg || dataSource == S::OCBC ||
        dataSource == S::PayPal) {
        return Schedule::MarketQuote;
    }
    return Schedule::CustomFeed;
}

CRateFreshness::Rule CRateFreshness::ruleFor(Schedule schedule) {
    switch (schedule) {
        case Schedule::OfficialDaily:
            // Friday's rate is the latest until Monday's; a holiday next to the weekend (Good
            // Friday, Easter Monday, May Day) adds a day. Easter and Christmas, with two
            // holidays, are flagged for a day: the rates really are five days old then.
            return {schedule, 4, true};
        case Schedule::DailyFeed:
            // A new file every day, weekends included; one missed day is tolerated.
            return {schedule, 2, true};
        case Schedule::MarketQuote:
            return {schedule, 24, false};
        case Schedule::CustomFeed:
            // Feeds mostly relay a bank's daily rates: judged as those.
            return {schedule, 4, true};
    }
    return {schedule, 4, true};
}

bool CRateFreshness::isStale(const QString& dataSource, const QDateTime& date,
                             const QDateTime& now) {
    if (!date.isValid() || !now.isValid() || date > now) {
        return false;
    }
    const Rule rule = ruleFor(scheduleOf(dataSource));
    if (rule.calendarDays) {
        return date.toUTC().date().daysTo(now.toUTC().date()) > rule.limit;
    }
    return date.secsTo(now) > qint64(rule.limit) * 60 * 60;
}
