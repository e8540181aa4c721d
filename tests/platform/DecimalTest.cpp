#include "Decimal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

namespace {

Decimal d(const char* text) {
    return Decimal::fromString(QString::fromLatin1(text));
}

struct ParseCase {
    const char* text;
    char16_t separator;
    const char* expected;  // nullptr: not a number
};

class DecimalParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(DecimalParse, ReadsOnlyWellFormedNumbers) {
    const ParseCase& c = GetParam();
    const auto value = Decimal::parse(QString::fromUtf8(c.text), QChar(c.separator));
    if (c.expected == nullptr) {
        EXPECT_FALSE(value.has_value()) << c.text;
    } else {
        ASSERT_TRUE(value.has_value()) << c.text;
        EXPECT_EQ(value->toString(), QString::fromLatin1(c.expected)) << c.text;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DecimalParse,
    ::testing::Values(ParseCase{"1.5", u'.', "1.5"}, ParseCase{"  -0.25 ", u'.', "-0.25"},
                      ParseCase{"+7", u'.', "7"}, ParseCase{"2,5", u',', "2.5"},
                      ParseCase{"2,5", u'.', nullptr}, ParseCase{"2.5", u',', nullptr},
                      ParseCase{".5", u'.', "0.5"}, ParseCase{"5.", u'.', "5"},
                      ParseCase{"1e3", u'.', "1000"}, ParseCase{"1.5E-3", u'.', "0.0015"},
                      ParseCase{"1e", u'.', nullptr}, ParseCase{"1e9999999", u'.', nullptr},
                      ParseCase{"", u'.', nullptr}, ParseCase{"   ", u'.', nullptr},
                      ParseCase{"-", u'.', nullptr}, ParseCase{".", u'.', nullptr},
                      ParseCase{"1.2.3", u'.', nullptr}, ParseCase{"12abc", u'.', nullptr},
                      ParseCase{"NaN", u'.', nullptr}, ParseCase{"inf", u'.', nullptr},
                      ParseCase{"1 000", u'.', nullptr}, ParseCase{"0x10", u'.', nullptr},
                      ParseCase{"000123.4500", u'.', "123.45"}));

// Results as text: exact where binary floating point is not, 34 significant digits, plain
// without an exponent for ordinary values, half-even rounding, NaN for what is undefined.
TEST(Decimal, ArithmeticAndTextGiveTheExactValue) {
    const double infinity = std::numeric_limits<double>::infinity();
    const std::pair<Decimal, const char*> cases[] = {
        {d("0.1") + d("0.2"), "0.3"},
        {d("1.1") * d("1.1"), "1.21"},
        {Decimal::fromDouble(0.1), "0.1"},
        {Decimal::fromDouble(1.5), "1.5"},
        {d("1") / d("1.3"), "0.7692307692307692307692307692307692"},
        {d("2") / d("3"), "0.6666666666666666666666666666666667"},
        {d("0.0311034768").scaledByPowerOfTen(3), "31.1034768"},
        {d("1.5").scaledByPowerOfTen(-2), "0.015"},
        {d("1E-7"), "0.0000001"},
        {d("1.2000"), "1.2"},
        {d("1E+5"), "100000"},
        {d("-0"), "0"},
        {d("0.000"), "0"},
        {d("-12.50"), "-12.5"},
        {d("31103.4768"), "31103.4768"},
        {d("1.5E+70"), "1.5E+70"},
        {d("1E-70"), "1E-70"},
        {d("2.345").rounded(2), "2.34"},
        {d("2.355").rounded(2), "2.36"},
        {d("2.5").rounded(0), "2"},
        {d("3.5").rounded(0), "4"},
        {d("-2.5").rounded(0), "-2"},
        {d("1.23").rounded(5), "1.23"},
        {d("0.7692307692307692307692307692307692").rounded(10), "0.7692307692"},
        {d("123456789012345678901234567890123").rounded(2), "123456789012345678901234567890123"},
        {d("1") / d("0"), "NaN"},
        {d("0") / d("0"), "NaN"},
        {d("-5") / d("0.000"), "NaN"},
        {d("1e6000") * d("1e6000"), "NaN"},  // overflow must not give infinity
        {Decimal::nan() + d("1"), "NaN"},
        {d("1") * Decimal::nan(), "NaN"},
        {-Decimal::nan(), "NaN"},
        {Decimal::fromDouble(infinity), "NaN"},
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(value.toString(), QString::fromLatin1(text));
        EXPECT_EQ(value.isNaN(), QByteArray(text) == "NaN") << text;
    }
}

TEST(Decimal, ComparesNumericallyAndNaNNeverEquals) {
    EXPECT_NE(Decimal::nan(), Decimal::nan());
    EXPECT_FALSE(Decimal::nan() < d("1") || Decimal::nan() >= d("1"));
    EXPECT_TRUE(Decimal().isZero() && d("-0.5").isNegative());
    EXPECT_FALSE(Decimal::nan().isNegative());
}

// Short numbers take quick paths (laid out, compared and converted without the library's
// general routines); they must agree with the general ones everywhere, edges included.
TEST(Decimal, QuickPathsAgreeWithTheGeneralOnes) {
    const char* texts[] = {"0",
                           "-0",
                           "0.000",
                           "1.5",
                           "1.50",
                           "-1.5",
                           "0.8225",
                           "1.3036",
                           "133.73",
                           "1E-7",
                           "9007199254740993",
                           "18446744073709551615",
                           "9999999999999999999",
                           "12345678901234567890123",
                           "1e22",
                           "1e23",
                           "-2.5e-300",
                           "1E+6111",
                           "0.1",
                           "0.7692307692307692307692307692307692"};
    for (const char* a : texts) {
        SCOPED_TRACE(a);
        const Decimal x = d(a);
        ASSERT_FALSE(x.isNaN());
        const std::optional<Decimal> ascii = Decimal::parse(std::string_view(a));
        ASSERT_TRUE(ascii.has_value());
        EXPECT_EQ(ascii->bits().w[0], x.bits().w[0]);
        EXPECT_EQ(ascii->bits().w[1], x.bits().w[1]);
        // The nearest double, as a correctly rounding reader finds it from the same text.
        EXPECT_EQ(x.toDouble(), std::strtod(a, nullptr));
        for (const char* b : texts) {
            const Decimal y = d(b);
            const Decimal difference = x - y;  // the library's own arithmetic
            EXPECT_EQ(x < y, difference.isNegative()) << b;
            EXPECT_EQ(x == y, difference.isZero()) << b;
            EXPECT_EQ(x <= y, difference.isNegative() || difference.isZero()) << b;
        }
    }
    EXPECT_EQ(Decimal::fromParts(false, 13036, -4).toString(), QStringLiteral("1.3036"));
    // Beyond the largest exponent the library's scaling folds the value into range.
    EXPECT_EQ(Decimal::fromParts(true, 5, 6112).toString(),
              Decimal::fromInt(-5).scaledByPowerOfTen(6112).toString());
    EXPECT_FALSE(Decimal::fromParts(true, 5, 6112).isNaN());
    EXPECT_TRUE(Decimal::fromString(std::string_view(" 1.5\n")) == d("1.5"));
    EXPECT_TRUE(Decimal::fromString(std::string_view("1.5x")).isNaN());
}

}  // namespace
