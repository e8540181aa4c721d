#include "CChartPeriod.h"
#include "ChartProviderSupport.h"
#include "ChartProviderTestSupport.h"
#include "ChartTestSupport.h"

#include <QTimeZone>

#include <algorithm>

using namespace charttest;
using namespace ChartProviderSupport;

TEST(ChartProviderSupportTest, DaysAreReadStrictlyInEachLayout) {
    struct Row {
        const char* text;
        DayLayout layout;
        QDate expected;  // invalid: nothing
    };
    const QList<Row> rows = {
        {"20120315", DayLayout::YearMonthDay, QDate(2012, 3, 15)},
        {" 20120315 ", DayLayout::YearMonthDay, QDate(2012, 3, 15)},
        {"20120230", DayLayout::YearMonthDay, QDate()},
        {"2012031", DayLayout::YearMonthDay, QDate()},
        {"201203150", DayLayout::YearMonthDay, QDate()},
        {"2012-3-15", DayLayout::YearMonthDay, QDate()},
        {"00000101", DayLayout::YearMonthDay, QDate()},
        {"20000229", DayLayout::YearMonthDay, QDate(2000, 2, 29)},
        {"19000229", DayLayout::YearMonthDay, QDate()},
        {"2012031x", DayLayout::YearMonthDay, QDate()},
        {"2012-03-15", DayLayout::IsoDate, QDate(2012, 3, 15)},
        {"2012-03-1x", DayLayout::IsoDate, QDate()},
        {"2012-02-29", DayLayout::IsoDate, QDate(2012, 2, 29)},
        {"2012/03/15", DayLayout::IsoDate, QDate()},
        {"2012-13-01", DayLayout::IsoDate, QDate()},
        {"2012-02-30", DayLayout::IsoDate, QDate()},  // in the month read just before
        {"2013-02-29", DayLayout::IsoDate, QDate()},
        {"2013-02-28", DayLayout::IsoDate, QDate(2013, 2, 28)},
        {"2013-02-00", DayLayout::IsoDate, QDate()},
        {" 2013-02-28", DayLayout::IsoDate, QDate(2013, 2, 28)},  // only the general reader
        {"0000-01-01", DayLayout::IsoDate, QDate()},
        {"15.03.2012", DayLayout::DayDotMonthYear, QDate(2012, 3, 15)},
        {"29.02.2012", DayLayout::DayDotMonthYear, QDate(2012, 2, 29)},
        {"29.02.2013", DayLayout::DayDotMonthYear, QDate()},
        {"1.03.2012", DayLayout::DayDotMonthYear, QDate()},
        {"", DayLayout::DayDotMonthYear, QDate()},
        {"\xd9\xa1\xd9\xa2.03.2012", DayLayout::DayDotMonthYear, QDate()},  // Arabic-Indic digits
    };
    // One reader per form for the whole table: a month read stays for the next row.
    IsoDayReader isoDays;
    IsoDayReader basicDays(DayLayout::YearMonthDay);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        if (row.layout == DayLayout::IsoDate || row.layout == DayLayout::YearMonthDay) {
            const bool basic = row.layout == DayLayout::YearMonthDay;
            const bool exact = std::string_view(row.text).size() == (basic ? 8U : 10U);
            EXPECT_EQ((basic ? basicDays : isoDays).julianDay(row.text),
                      exact && row.expected.isValid() ? row.expected.toJulianDay() : noDay);
        }
        const std::optional<QDate> fromQString =
            dayFromText(QStringView(QString::fromUtf8(row.text)), row.layout);
        const std::optional<QDate> fromBytes = dayFromText(std::string_view(row.text), row.layout);
        EXPECT_EQ(fromQString.value_or(QDate()), row.expected);
        EXPECT_EQ(fromBytes.value_or(QDate()), row.expected);
        EXPECT_EQ(julianDayFromText(row.text, row.layout),
                  row.expected.isValid() ? row.expected.toJulianDay() : noDay);
    }
}

TEST(ChartProviderSupportTest, PlainRateTokensReadAsTheGeneralReaderReadsThem) {
    for (const char* token : {"1.3036", "133", "0.00781", "007.50", "5.", "0", "123456789012345678",
                              "0.00000000000000001", "98765432109876.54"}) {
        SCOPED_TRACE(token);
        Decimal value;
        double number = 0;
        ASSERT_TRUE(readPlainDecimal(token, value, number));
        const Decimal general = Decimal::fromString(std::string_view(token));
        EXPECT_EQ(value.bits().w[0], general.bits().w[0]);
        EXPECT_EQ(value.bits().w[1], general.bits().w[1]);
        EXPECT_EQ(number, general.toDouble());
    }
    // Left to the general readers: signs, exponents, white space, more than 18 digits.
    for (const char* token : {"", ".", "-1", "+1", "1e5", " 1", "1 ", "1.2.3", "1,5",
                              "1234567890123456789", "0.1234567890123456789"}) {
        Decimal value;
        double number = 0;
        EXPECT_FALSE(readPlainDecimal(token, value, number)) << token;
    }
}

TEST(ChartProviderSupportTest, ExtremesWithEqualDoublesAreDecidedByTheDecimals) {
    const Decimal low = Decimal::fromString(u"0.3");
    const Decimal lowAgain = Decimal::fromString(u"0.30");
    const Decimal high = Decimal::fromString(u"0.3000000000000000000000000001");
    ASSERT_EQ(low.toDouble(), high.toDouble());
    for (const QList<Decimal>& values :
         {QList<Decimal>{low, high, lowAgain}, QList<Decimal>{high, lowAgain, low}}) {
        CCurrencyChartInfo record;
        Extremes extremes;
        for (qsizetype i = 0; i < values.size(); ++i) {
            record.plotPoints.append(CCurrencyChartPoint(values[i], 86400000 * i));
            extremes.add(86400000 * i, values[i], values[i].toDouble(), i);
        }
        extremes.apply(record);
        // The same extremes (ties keep the first value) as the list operations find.
        CCurrencyChartInfo reference = record;
        reference.updateExtremes();
        EXPECT_EQ(record.maxCurrencyValue.bits().w[0], reference.maxCurrencyValue.bits().w[0]);
        EXPECT_EQ(record.minCurrencyValue.bits().w[0], reference.minCurrencyValue.bits().w[0]);
        EXPECT_EQ(record, reference);
        EXPECT_EQ(record.maxCurrencyValue, high);
    }
}

TEST(ChartProviderSupportTest, DayStartsAgreeWithTheZoneOnEveryDayInEitherOrder) {
    for (const char* name : {"UTC", "Europe/Berlin", "America/New_York", "America/Sao_Paulo",
                             "Australia/Lord_Howe", "Asia/Tokyo", "Europe/Moscow"}) {
        SCOPED_TRACE(name);
        const QTimeZone zone(name);
        ASSERT_TRUE(zone.isValid());
        QList<QDate> days;
        for (QDate day(1985, 1, 1); day <= QDate(2025, 12, 31); day = day.addDays(1)) {
            days.append(day);
        }
        for (bool reversed : {false, true}) {
            if (reversed) {
                std::reverse(days.begin(), days.end());
            }
            DayStarts starts(zone);
            int mismatches = 0;
            for (const QDate& day : days) {
                const QDateTime expected(day, QTime(0, 0), zone);
                if (starts.at(day) != expected && ++mismatches < 5) {
                    ADD_FAILURE() << day.toString(Qt::ISODate).toStdString() << " reversed "
                                  << reversed;
                }
            }
            EXPECT_EQ(mismatches, 0);
        }
    }
    EXPECT_FALSE(DayStarts(QTimeZone::utc()).at(QDate()).isValid());
}

TEST(ChartProviderSupportTest, CombiningLeavesOutPointsWithoutAValue) {
    const CCurrencyChartPointList numerators = series({{utc(2012, 3, 1), "2"},
                                                       {utc(2012, 3, 2), "4"},
                                                       {utc(2012, 3, 5), "6"},
                                                       {utc(2012, 3, 6), "0"}});
    const CCurrencyChartPointList divisors = series({{utc(2012, 3, 1), "0"},
                                                     {utc(2012, 3, 2), "2"},
                                                     {utc(2012, 3, 5), "3"},
                                                     {utc(2012, 3, 6), "3"}});
    SeriesCombinationInput input;
    input.combination = SeriesCombination::CrossRate;
    input.series = numerators;
    input.divisor = divisors;
    input.chartPeriod = ChartPeriodOverall;
    input.firstCurrencyCode = "USD";
    input.lastCurrencyCode = "GBP";
    std::optional<CCurrencyChartInfo> cross = combineSeries(input, notCancelled);
    ASSERT_TRUE(cross);
    EXPECT_EQ(cross->plotPoints, series({{utc(2012, 3, 2), "2"}, {utc(2012, 3, 5), "2"}}));
    EXPECT_EQ(cross->firstCurrencyCode + cross->lastCurrencyCode, QStringLiteral("USDGBP"));
    // A flat series still has its extremes.
    EXPECT_TRUE(cross->minCurrencyValue == dec("2") && cross->maxCurrencyValue == dec("2"));

    input.combination = SeriesCombination::Inverted;
    std::optional<CCurrencyChartInfo> inverted = combineSeries(input, notCancelled);
    ASSERT_TRUE(inverted);
    EXPECT_EQ(valueTexts(*inverted),
              (QStringList{"0.5", "0.25", "0.1666666666666666666666666666666667"}))
        << "the zero has no reciprocal";

    input.combination = SeriesCombination::AsDelivered;
    input.series = {};
    std::optional<CCurrencyChartInfo> empty = combineSeries(input, notCancelled);
    ASSERT_TRUE(empty);
    EXPECT_FALSE(empty->hasData());
}

TEST(ChartProviderSupportTest, CombiningStopsAtEveryCancellationCheck) {
    SeriesCombinationInput input;
    input.combination = SeriesCombination::CrossRate;
    input.series = dailySeries(utc(2012, 1, 2), 74);
    input.divisor = dailySeries(utc(2012, 1, 2), 74);
    input.cutToPeriod = true;
    input.chartPeriod = ChartPeriod1Month;
    input.timeZone = QTimeZone::utc();
    const int checks = expectCancellationAtEveryCheck([&](const CancelCheck& isCancelled) {
        return combineSeries(input, isCancelled).has_value();
    });
    EXPECT_GE(checks, 4);
}
