#include "NumberFormatter.h"

#include <gtest/gtest.h>

namespace {

struct FormatCase {
    const char* value;
    const char* locale;
    int minFraction;
    int maxFraction;
    bool grouping;
    bool alwaysSeparator;
    const char* expected;
};

class NumberFormat : public ::testing::TestWithParam<FormatCase> {};

TEST_P(NumberFormat, FormatsFromTheDecimalText) {
    const FormatCase& c = GetParam();
    NumberFormatter::Options options;
    options.minimumFractionDigits = c.minFraction;
    options.maximumFractionDigits = c.maxFraction;
    options.useGrouping = c.grouping;
    options.alwaysShowDecimalSeparator = c.alwaysSeparator;
    NumberFormatter formatter(options, QString::fromLatin1(c.locale));
    EXPECT_EQ(formatter.format(Decimal::fromString(QString::fromLatin1(c.value))), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NumberFormat,
    ::testing::Values(FormatCase{"1234567.891", "en_US", 2, 2, true, false, "1,234,567.89"},
                      FormatCase{"1234567.891", "en_US", 0, 4, false, false, "1234567.891"},
                      FormatCase{"12", "en_US", 0, 2, true, true, "12."},
                      FormatCase{"12", "en_US", 2, 4, true, false, "12.00"},
                      FormatCase{"0.125", "en_US", 0, 2, true, false, "0.12"},  // half-even
                      FormatCase{"0.135", "en_US", 0, 2, true, false, "0.14"},
                      FormatCase{"1234.5", "ru_RU", 2, 2, true, false, "1\u00a0234,50"},
                      FormatCase{"1234.5", "de_DE", 1, 1, true, false, "1.234,5"},
                      // 34 digits survive: no binary double on the way
                      FormatCase{"0.7692307692307692307692307692307692", "en_US", 0, 34, false, false,
                                 "0.7692307692307692307692307692307692"},
                      FormatCase{"12345678901234567890.12", "en_US", 2, 2, false, false,
                                 "12345678901234567890.12"}));

TEST(NumberFormatter, CustomSeparatorsAndNaN) {
    NumberFormatter::Options options;
    options.groupingSeparator = QStringLiteral(" ");
    options.decimalSeparator = QStringLiteral(",");
    options.minimumFractionDigits = 2;
    NumberFormatter formatter(options, QStringLiteral("en_US"));
    EXPECT_EQ(formatter.format(Decimal::fromString(u"9876543.2")), QStringLiteral("9 876 543,20"));
    EXPECT_TRUE(formatter.format(Decimal::nan()).isEmpty());
}

}  // namespace
