#include "CCurrencyChartInfo.h"

#include "CChartPeriod.h"
#include "ChartTestSupport.h"

#include <QCborArray>
#include <QCborParserError>
#include <QCborValue>

#include <gtest/gtest.h>

using namespace charttest;

namespace {

QString texts(const CCurrencyChartPointList& points) {
    QStringList out;
    for (const CCurrencyChartPoint& p : points) {
        out.append(p.date.toUTC().toString(Qt::ISODate) + QLatin1Char('=') + p.value.toString());
    }
    return out.join(u' ');
}

const QDateTime d1 = utc(2012, 3, 1);
const QDateTime d2 = utc(2012, 3, 2);
const QDateTime d3 = utc(2012, 3, 3);
const QDateTime d4 = utc(2012, 3, 4);

}  // namespace

TEST(ChartListOperations, CrossDivision) {
    struct Case {
        const char* name;
        CCurrencyChartPointList a;
        CCurrencyChartPointList b;
        CCurrencyChartPointList expected;
    };
    const Case cases[] = {
        {"A trimmed to start at d2", series({{d1, "2"}, {d2, "4"}, {d3, "6"}}),
         series({{d2, "2"}, {d3, "3"}}), series({{d2, "2"}, {d3, "2"}})},
        {"B trimmed to start at d2", series({{d2, "9"}, {d3, "8"}}),
         series({{d1, "1"}, {d2, "3"}, {d3, "4"}}), series({{d2, "3"}, {d3, "2"}})},
        {"stops at the shorter list", series({{d1, "1"}, {d2, "2"}, {d3, "3"}}),
         series({{d1, "4"}, {d2, "8"}}), series({{d1, "0.25"}, {d2, "0.25"}})},
        {"no point at the start date: the list is used whole, paired by position",
         series({{d1, "10"}, {d3, "30"}}), series({{d2, "5"}, {d4, "6"}}),
         series({{d1, "2"}, {d3, "5"}})},
        {"empty numerators", {}, series({{d1, "1"}}), {}},
        {"empty divisors", series({{d1, "1"}}), {}, {}},
        {"a zero divisor gives no point", series({{d1, "1"}, {d2, "2"}, {d3, "3"}}),
         series({{d1, "2"}, {d2, "0"}, {d3, "3"}}), series({{d1, "0.5"}, {d3, "1"}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto result = CCurrencyChartInfo::divideValuesFromList(c.a, c.b);
        EXPECT_EQ(texts(result), texts(c.expected));
    }
}

TEST(ChartListOperations, PeriodCut) {
    // Daily at 10:30 from 1 January to 15 March 2012 (a leap year).
    const auto daily = dailySeries(utc(2012, 1, 1, 10, 30), 75);
    ASSERT_EQ(daily.last().date, utc(2012, 3, 15, 10, 30));
    const auto fromDate = [&daily](const QDateTime& start) {
        for (qsizetype i = 0; i < daily.size(); ++i) {
            if (daily[i].date == start) {
                return daily.mid(i);
            }
        }
        return CCurrencyChartPointList{};
    };
    CCurrencyChartPointList gappy = daily;
    gappy.removeIf([](const CCurrencyChartPoint& p) { return p.date == utc(2012, 2, 15, 10, 30); });
    CCurrencyChartPointList shifted = daily;
    shifted.last().date = shifted.last().date.addSecs(1);

    struct Case {
        const char* name;
        CCurrencyChartPointList points;
        int period;
        CCurrencyChartPointList expected;
    };
    const Case cases[] = {
        {"one month: from 15 February at the same time of day", daily, ChartPeriod1Month,
         fromDate(utc(2012, 2, 15, 10, 30))},
        {"one week", daily, ChartPeriod1Week, fromDate(utc(2012, 3, 8, 10, 30))},
        {"one day: the last point alone", daily, ChartPeriod1Day, daily.mid(daily.size() - 1)},
        {"overall: unchanged", daily, ChartPeriodOverall, daily},
        {"no point exactly at the start: the whole list", gappy, ChartPeriod1Month, gappy},
        {"start one second off: the whole list", shifted, ChartPeriod1Month, shifted},
        {"longer than the series: the whole list", daily, ChartPeriod1Year, daily},
        {"empty", {}, ChartPeriod1Month, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(texts(CCurrencyChartInfo::filterPointList(c.points, c.period, QTimeZone::utc())),
                  texts(c.expected));
    }
}

TEST(ChartListOperations, StartDatesUseCalendarArithmetic) {
    struct Case {
        int period;
        QDateTime last;
        QDateTime expected;
    };
    const Case cases[] = {
        {ChartPeriod1Day, utc(2012, 3, 15, 12), utc(2012, 3, 15, 12)},
        {ChartPeriod1Week, utc(2012, 3, 1, 12), utc(2012, 2, 23, 12)},
        {ChartPeriod1Month, utc(2012, 3, 15, 12), utc(2012, 2, 15, 12)},
        {ChartPeriod1Month, utc(2012, 3, 31), utc(2012, 2, 29)},  // month end, leap year
        {ChartPeriod1Month, utc(2011, 3, 31), utc(2011, 2, 28)},  // month end, common year
        {ChartPeriod1Month, utc(2012, 1, 31), utc(2011, 12, 31)},
        {ChartPeriod3Months, utc(2012, 5, 31), utc(2012, 2, 29)},
        {ChartPeriod6Months, utc(2012, 8, 31), utc(2012, 2, 29)},
        {ChartPeriod6Months, utc(2012, 12, 31, 23, 59, 59), utc(2012, 6, 30, 23, 59, 59)},
        {ChartPeriod1Year, utc(2012, 2, 29), utc(2011, 2, 28)},
        {ChartPeriod2Years, utc(2012, 2, 29), utc(2010, 2, 28)},
        {ChartPeriod3Years, utc(2015, 3, 1), utc(2012, 3, 1)},
        {ChartPeriod5Years, utc(2016, 2, 29), utc(2011, 2, 28)},
        {ChartPeriod10Years, utc(2012, 3, 15), utc(2002, 3, 15)},
        {ChartPeriodOverall, utc(2012, 3, 15), utc(1912, 3, 15)},
        {11, utc(2012, 3, 15), utc(2012, 3, 15)},
        {-1, utc(2012, 3, 15), utc(2012, 3, 15)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "period " << c.period << " from "
                                        << c.last.toString(Qt::ISODate).toStdString());
        EXPECT_EQ(CCurrencyChartInfo::getStartDateForPeriod(c.period, c.last, QTimeZone::utc()),
                  c.expected);
    }
}

TEST(ChartListOperations, StartDatesKeepTheWallClockAcrossDaylightSaving) {
    const QTimeZone berlin("Europe/Berlin");
    if (!berlin.isValid()) {
        GTEST_SKIP() << "no time zone data";
    }
    // Midnight in Berlin on 1 April 2012 (summer time) is 22:00 UTC; a week earlier midnight
    // (winter time) is 23:00 UTC.
    EXPECT_EQ(
        CCurrencyChartInfo::getStartDateForPeriod(ChartPeriod1Week, utc(2012, 3, 31, 22), berlin),
        utc(2012, 3, 24, 23));
    // Shifted to local wall-clock time: 12:00 UTC shows as 14:00 in summer, 13:00 in winter.
    EXPECT_EQ(CCurrencyChartInfo::toLocalTime(utc(2012, 7, 1, 12), berlin), utc(2012, 7, 1, 14));
    EXPECT_EQ(CCurrencyChartInfo::toLocalTime(utc(2012, 1, 1, 12), berlin), utc(2012, 1, 1, 13));
}

TEST(ChartRecord, FlatSeriesStillHasADefinedRange) {
    struct Case {
        const char* name;
        CCurrencyChartPointList points;
    };
    const Case cases[] = {
        {"equal values", series({{d1, "1.3"}, {d2, "1.3"}, {d3, "1.30"}})},
        {"one point", series({{d1, "31.5"}})},
        {"large equal values", series({{d1, "12345678901234"}, {d2, "12345678901234"}})},
        {"zero", series({{d1, "0"}, {d2, "0"}})},
        {"rising", series({{d1, "1"}, {d2, "2"}})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CCurrencyChartInfo info;
        info.plotPoints = c.points;
        info.updateExtremes();
        const auto values = info.getValueRange();
        ASSERT_TRUE(values.has_value());
        EXPECT_GT(values->length, Decimal());
        EXPECT_LT(values->location, info.minCurrencyValue);
        EXPECT_GT(values->location + values->length, info.maxCurrencyValue);
        // Still distinct after the conversion to binary floating point for drawing.
        EXPECT_LT(values->location.toDouble(), info.minCurrencyValue.toDouble());
        EXPECT_GT((values->location + values->length).toDouble(), info.maxCurrencyValue.toDouble());

        const auto dates = info.getDateRange();
        ASSERT_TRUE(dates.has_value());
        EXPECT_GT(dates->lengthMSecs, 0);
        EXPECT_LE(dates->location, info.minDate);
        EXPECT_GT(dates->location.addMSecs(dates->lengthMSecs), info.maxDate);
    }
    // Away from the flat case the plotted extent is the usual one.
    CCurrencyChartInfo info;
    info.plotPoints = series({{d1, "1"}, {d2, "2"}});
    info.updateExtremes();
    EXPECT_EQ(info.getValueRange()->location.toString(), "0.9999999");
    EXPECT_EQ(info.getValueRange()->length.toString(), "1.20000012");
    EXPECT_EQ(info.getDateRange()->location, d1);
    EXPECT_EQ(info.getDateRange()->lengthMSecs, 86400000LL * 103 / 100);

    EXPECT_FALSE(CCurrencyChartInfo().getValueRange().has_value());
    EXPECT_FALSE(CCurrencyChartInfo().getDateRange().has_value());
}

TEST(ChartRecord, ArchiveRoundTripKeepsEveryField) {
    CCurrencyChartInfo info;
    info.plotPoints = {
        CCurrencyChartPoint(Decimal::fromString(u"1.2345678901234567890123456789012"),
                            utc(2012, 3, 1).addMSecs(123)),
        CCurrencyChartPoint(Decimal::fromString(u"0.00000000001"), utc(2012, 3, 2, 23, 59, 59)),
        CCurrencyChartPoint(Decimal::nan(), utc(2012, 3, 3)),
    };
    info.updateExtremes();
    info.chartPeriod = ChartPeriod3Months;
    info.firstCurrencyCode = QStringLiteral("USD");
    info.lastCurrencyCode = QStringLiteral("EUR");

    const auto back = CCurrencyChartInfo::fromArchiveData(info.toArchiveData());
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, info);
    EXPECT_EQ(back->plotPoints[0].value.toString(), "1.2345678901234567890123456789012");
    EXPECT_EQ(back->plotPoints[0].date.toMSecsSinceEpoch(),
              utc(2012, 3, 1).toMSecsSinceEpoch() + 123);
    EXPECT_TRUE(back->plotPoints[2].value.isNaN());

    // The sentinels of an empty record survive too.
    CCurrencyChartInfo empty;
    empty.updateExtremes();
    const auto emptyBack = CCurrencyChartInfo::fromArchiveData(empty.toArchiveData());
    ASSERT_TRUE(emptyBack.has_value());
    EXPECT_EQ(*emptyBack, empty);
    EXPECT_EQ(emptyBack->minCurrencyValue, CCurrencyChartInfo::largestValue());
    EXPECT_EQ(emptyBack->minDate, CCurrencyChartInfo::distantFuture());

    // Stored files are read by these keys; values are exact decimal text.
    info.plotPoints = series({{d1, "1.10"}});
    info.updateExtremes();
    const QCborMap map = info.encode();
    EXPECT_EQ(map.keys().size(), 8);
    for (const char* key : {"minCurrencyValue", "maxCurrencyValue", "minDate", "maxDate",
                            "plotPoints", "firstCurrencyCode", "lastCurrencyCode", "chartPeriod"}) {
        EXPECT_TRUE(map.contains(QString::fromLatin1(key))) << key;
    }
    EXPECT_EQ(map.value(QStringLiteral("chartPeriod")).toInteger(), 3);
    EXPECT_EQ(map.value(QStringLiteral("maxCurrencyValue")).toString(), "1.1");
    const QCborMap pointMap = map.value(QStringLiteral("plotPoints")).toArray().at(0).toMap();
    EXPECT_EQ(pointMap.value(QStringLiteral("value")).toString(), "1.1");
    EXPECT_EQ(pointMap.value(QStringLiteral("date")).toDateTime(), d1);
}

// Archives are read in one pass when they have the written shape and by the CBOR tree otherwise;
// both must give the same record for every archive, odd or broken ones included.
TEST(ChartRecord, EveryArchiveReadsAsTheTreeReadsIt) {
    CCurrencyChartInfo info;
    info.plotPoints = series({{d1, "1.10"}, {d2, "2.5E-7"}});
    info.updateExtremes();
    info.chartPeriod = ChartPeriod3Months;
    info.firstCurrencyCode = QStringLiteral("USD");
    info.lastCurrencyCode = QStringLiteral("\u20BD\u00E9");
    const QCborMap written = info.encode();
    const auto withPoint = [&](const QString& key, const QCborValue& value) {
        QCborMap map = written;
        QCborArray points = map.value(QStringLiteral("plotPoints")).toArray();
        QCborMap point = points.at(0).toMap();
        point.insert(key, value);
        points[0] = point;
        map.insert(QStringLiteral("plotPoints"), points);
        return QCborValue(map).toCbor();
    };
    const auto with = [&](const QString& key, const QCborValue& value) {
        QCborMap map = written;
        map.insert(key, value);
        return QCborValue(map).toCbor();
    };
    const auto tagged = [](const char* text) {
        return QCborValue(QCborKnownTags::DateTimeString, QString::fromLatin1(text));
    };
    const QByteArray plain = QCborValue(written).toCbor();
    QCborArray mixed = written.value(QStringLiteral("plotPoints")).toArray();
    mixed.append(42);
    const QByteArray cases[] = {
        plain,
        plain + QByteArray(1, '\0'),  // bytes after the record
        plain.left(plain.size() - 3),
        withPoint(QStringLiteral("date"), QStringLiteral("2012-03-01T00:00:00.000Z")),
        withPoint(QStringLiteral("date"), tagged("2012-03-01T01:00:00.000+01:00")),
        withPoint(QStringLiteral("date"), tagged("2012-02-30T00:00:00.000Z")),
        withPoint(QStringLiteral("date"), tagged("0000-01-01T00:00:00.000Z")),
        withPoint(QStringLiteral("value"), 7),
        withPoint(QStringLiteral("extra"), QCborArray{1, QCborMap{{1, 2}}}),
        with(QStringLiteral("plotPoints"), mixed),
        with(QStringLiteral("chartPeriod"), -1),
        with(QStringLiteral("chartPeriod"), 2.5),
        with(QStringLiteral("chartPeriod"), qint64(1) << 40),
        with(QStringLiteral("firstCurrencyCode"), 3),
        with(QStringLiteral("minDate"), tagged("2012-03-01T00:00:00Z")),
        with(QStringLiteral("unknown"), QCborMap{{QStringLiteral("minDate"), 1}}),
        QCborValue(QCborArray{1}).toCbor(),
    };
    for (const QByteArray& archive : cases) {
        QCborParserError error;
        const QCborValue tree = QCborValue::fromCbor(archive, &error);
        const auto back = CCurrencyChartInfo::fromArchiveData(archive);
        if (error.error != QCborError::NoError || !tree.isMap()) {
            EXPECT_FALSE(back.has_value()) << archive.toHex().toStdString();
            continue;
        }
        const CCurrencyChartInfo expected = CCurrencyChartInfo::decode(tree.toMap());
        ASSERT_TRUE(back.has_value()) << archive.toHex().toStdString();
        EXPECT_EQ(*back, expected) << archive.toHex().toStdString();
        EXPECT_EQ(back->firstCurrencyCode, expected.firstCurrencyCode);
        EXPECT_EQ(back->lastCurrencyCode, expected.lastCurrencyCode);
        for (qsizetype i = 0; i < back->plotPoints.size(); ++i) {
            EXPECT_EQ(back->plotPoints[i].date.timeSpec(), expected.plotPoints[i].date.timeSpec());
        }
    }
}
