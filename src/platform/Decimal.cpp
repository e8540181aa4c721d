#include "Decimal.h"

#include <bid_conf.h>
#include <bid_functions.h>

#include <QLocale>

#include <cstring>
#include <limits>
#include <string>

static_assert(sizeof(BID_UINT128) == sizeof(Decimal::Bits));

namespace {

constexpr _IDEC_round kRounding = BID_ROUNDING_TO_NEAREST;  // half-even

BID_UINT128 raw(const Decimal::Bits& b) {
    BID_UINT128 r;
    std::memcpy(&r, &b, sizeof r);
    return r;
}

Decimal::Bits cooked(BID_UINT128 r) {
    Decimal::Bits b;
    std::memcpy(&b, &r, sizeof b);
    return b;
}

// The library's quiet NaN (what it reads from "NaN"), laid out once rather than parsed each
// time: every chart point starts as NaN.
BID_UINT128 quietNaN() {
    BID_UINT128 r;
    r.w[BID_HIGH_128W] = 0x7C00000000000000ULL;
    r.w[BID_LOW_128W] = 0;
    return r;
}

// Infinity is never a valid amount here: it becomes NaN.
BID_UINT128 finiteOrNaN(BID_UINT128 r) {
    if (bid128_isInf(r)) {
        return quietNaN();
    }
    return r;
}

}  // namespace

Decimal::Decimal() {
    // Zero with exponent 0, as the library makes it from the integer 0.
    BID_UINT128 zero;
    zero.w[BID_HIGH_128W] = 0x3040000000000000ULL;
    zero.w[BID_LOW_128W] = 0;
    bits_ = cooked(zero);
}

Decimal Decimal::nan() {
    return Decimal(cooked(quietNaN()));
}

Decimal Decimal::fromInt(std::int64_t value) {
    return Decimal(cooked(bid128_from_int64(value)));
}

Decimal Decimal::fromDouble(double value) {
    if (value != value || value == std::numeric_limits<double>::infinity() ||
        value == -std::numeric_limits<double>::infinity()) {
        return nan();
    }
    return fromString(QString::number(value, 'g', QLocale::FloatingPointShortest));
}

namespace {

constexpr int kExponentBias = 6176;
constexpr int kMinExponent = -6176;
constexpr int kMaxExponent = 6111;
constexpr std::uint64_t kSignBit = 1ULL << 63;
constexpr std::uint64_t kHighCoefficientMask = (1ULL << 49) - 1;

__extension__ typedef unsigned __int128 Wide;

/// A finite decimal128 whose coefficient fits in 64 bits, taken apart. Such numbers (every rate
/// a service writes) are laid out by hand and compared and converted without the library's
/// general routines, which cost a text round trip or a 128-bit division each.
struct SmallParts {
    bool negative = false;
    std::uint64_t coefficient = 0;
    int exponent = 0;
};

BID_UINT128 fromSmallParts(const SmallParts& p) {
    BID_UINT128 r;
    r.w[BID_HIGH_128W] = (p.negative ? kSignBit : 0) |
                         (static_cast<std::uint64_t>(p.exponent + kExponentBias) << 49);
    r.w[BID_LOW_128W] = p.coefficient;
    return r;
}

/// The sign, exponent and full coefficient of a finite value in the usual layout; false for
/// NaN, infinity and the layout of coefficients at or beyond 2^113 (which are never canonical).
bool finiteParts(const BID_UINT128& r, bool& negative, Wide& coefficient, int& exponent) {
    const std::uint64_t high = r.w[BID_HIGH_128W];
    if (((high >> 61) & 3) == 3) {
        return false;
    }
    negative = (high & kSignBit) != 0;
    exponent = static_cast<int>((high >> 49) & 0x3FFF) - kExponentBias;
    coefficient = (static_cast<Wide>(high & kHighCoefficientMask) << 64) | r.w[BID_LOW_128W];
    // The library reads a coefficient beyond 34 digits as zero; leave those to it.
    static const Wide limit = static_cast<Wide>(1000000000000000000ULL) * 10000000000000000ULL;
    return coefficient < limit;
}

bool smallParts(const BID_UINT128& r, SmallParts& parts) {
    Wide coefficient = 0;
    if (!finiteParts(r, parts.negative, coefficient, parts.exponent) || (coefficient >> 64) != 0) {
        return false;
    }
    parts.coefficient = static_cast<std::uint64_t>(coefficient);
    return true;
}

constexpr std::uint64_t kPowersOfTen[] = {1ULL,
                                          10ULL,
                                          100ULL,
                                          1000ULL,
                                          10000ULL,
                                          100000ULL,
                                          1000000ULL,
                                          10000000ULL,
                                          100000000ULL,
                                          1000000000ULL,
                                          10000000000ULL,
                                          100000000000ULL,
                                          1000000000000ULL,
                                          10000000000000ULL,
                                          100000000000000ULL,
                                          1000000000000000ULL,
                                          10000000000000000ULL,
                                          100000000000000000ULL,
                                          1000000000000000000ULL,
                                          10000000000000000000ULL};

/// What compareFinite answers when the library must decide.
constexpr int kUndecided = 2;

/// -1, 0 or 1 as a is below, equal to or above b; kUndecided where the library must decide.
/// (A plain int: an optional result costs a stalled load in every comparison.)
int compareFinite(const BID_UINT128& a, const BID_UINT128& b) {
    // The common case first: two rates written with as many decimals, sign and exponent alike.
    const std::uint64_t highA = a.w[BID_HIGH_128W];
    const std::uint64_t highB = b.w[BID_HIGH_128W];
    if (highA == highB && ((highA >> 61) & 3) != 3 && (highA & kHighCoefficientMask) == 0) {
        const std::uint64_t lowA = a.w[BID_LOW_128W];
        const std::uint64_t lowB = b.w[BID_LOW_128W];
        const int order = lowA < lowB ? -1 : (lowA > lowB ? 1 : 0);
        return (highA & kSignBit) != 0 ? -order : order;
    }
    bool negativeA = false;
    bool negativeB = false;
    Wide coefficientA = 0;
    Wide coefficientB = 0;
    int exponentA = 0;
    int exponentB = 0;
    if (!finiteParts(a, negativeA, coefficientA, exponentA) ||
        !finiteParts(b, negativeB, coefficientB, exponentB)) {
        return kUndecided;
    }
    if (coefficientA == 0 && coefficientB == 0) {
        return 0;  // +0 and -0 alike, whatever the exponents
    }
    if (negativeA != negativeB) {
        return kUndecided;
    }
    const int shift = exponentA - exponentB;
    if (shift != 0) {
        // Scaled to the smaller exponent; a coefficient below 2^64 times at most 10^19 still
        // fits in 128 bits.
        if (shift > 19 || shift < -19 || (coefficientA >> 64) != 0 || (coefficientB >> 64) != 0) {
            return kUndecided;
        }
        if (shift > 0) {
            coefficientA *= kPowersOfTen[shift];
        } else {
            coefficientB *= kPowersOfTen[-shift];
        }
    }
    const int order = coefficientA < coefficientB ? -1 : (coefficientA > coefficientB ? 1 : 0);
    return negativeA ? -order : order;
}

char16_t unit(QChar c) {
    return c.unicode();
}

char16_t unit(char c) {
    return static_cast<unsigned char>(c);
}

/// Reads the number grammar of `Decimal::parse` from text already trimmed into `bits`; false
/// for anything else.
template <class Text>
bool readNumber(const Text& t, char16_t separator, Decimal::Bits& bits) {
    const qsizetype size = static_cast<qsizetype>(t.size());
    qsizetype i = 0;
    SmallParts small;
    if (i < size && (unit(t[i]) == u'+' || unit(t[i]) == u'-')) {
        small.negative = unit(t[i]) == u'-';
        ++i;
    }
    int digits = 0;
    int significant = 0;
    int exponent = 0;
    bool seenSeparator = false;
    for (; i < size; ++i) {
        const char16_t c = unit(t[i]);
        if (c >= u'0' && c <= u'9') {
            ++digits;
            if (small.coefficient != 0 || c != u'0') {
                ++significant;
                if (significant <= 19) {
                    small.coefficient = small.coefficient * 10 + (c - u'0');
                }
            }
            if (seenSeparator) {
                --exponent;
            }
        } else if (c == separator && !seenSeparator) {
            seenSeparator = true;
        } else {
            break;
        }
    }
    if (digits == 0) {
        return false;
    }
    if (i < size && (unit(t[i]) == u'e' || unit(t[i]) == u'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < size && (unit(t[i]) == u'+' || unit(t[i]) == u'-')) {
            negativeExponent = unit(t[i]) == u'-';
            ++i;
        }
        int value = 0;
        int expDigits = 0;
        for (; i < size && unit(t[i]) >= u'0' && unit(t[i]) <= u'9'; ++i) {
            value = value * 10 + static_cast<int>(unit(t[i]) - u'0');
            if (++expDigits > 6) {
                return false;  // beyond any exponent decimal128 can hold
            }
        }
        if (expDigits == 0) {
            return false;
        }
        exponent += negativeExponent ? -value : value;
    }
    if (i != size) {
        return false;
    }
    // Up to 19 significant digits are exact in 64 bits; with an exponent in range they are
    // laid out directly.
    if (significant <= 19 && exponent >= kMinExponent && exponent <= kMaxExponent) {
        small.exponent = exponent;
        bits = cooked(fromSmallParts(small));
        return true;
    }
    // Anything longer or further out is rounded (or refused) by the library.
    std::string ascii;
    ascii.reserve(static_cast<size_t>(size));
    for (qsizetype k = 0; k < size; ++k) {
        const char16_t c = unit(t[k]);
        ascii.push_back(c == separator ? '.' : (c == u'e' ? 'E' : static_cast<char>(c)));
    }
    _IDEC_flags flags = 0;
    BID_UINT128 r = bid128_from_string(ascii.data(), kRounding, &flags);
    if (bid128_isNaN(r) || bid128_isInf(r)) {
        return false;
    }
    bits = cooked(r);
    return true;
}

}  // namespace

Decimal Decimal::fromParts(bool negative, std::uint64_t coefficient, int exponent) {
    if (exponent >= kMinExponent && exponent <= kMaxExponent) {
        return Decimal(cooked(fromSmallParts({negative, coefficient, exponent})));
    }
    _IDEC_flags flags = 0;
    BID_UINT128 r = bid128_from_uint64(coefficient);
    if (negative) {
        r = bid128_negate(r);
    }
    return Decimal(cooked(finiteOrNaN(bid128_scalbn(r, exponent, kRounding, &flags))));
}

std::optional<Decimal> Decimal::parse(QStringView text, QChar separator) {
    Bits bits;
    if (!readNumber(text.trimmed(), separator.unicode(), bits)) {
        return std::nullopt;
    }
    return Decimal(bits);
}

std::optional<Decimal> Decimal::parse(std::string_view text, char separator) {
    const Decimal value = fromString(text, separator);
    if (value.isNaN()) {
        return std::nullopt;
    }
    return value;
}

Decimal Decimal::fromString(std::string_view text, char separator) {
    auto isSpace = [](char c) {
        return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
    };
    while (!text.empty() && isSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSpace(text.back())) {
        text.remove_suffix(1);
    }
    Bits bits;
    if (!readNumber(text, static_cast<unsigned char>(separator), bits)) {
        return nan();
    }
    return Decimal(bits);
}

Decimal Decimal::fromString(QStringView text, QChar separator) {
    return parse(text, separator).value_or(nan());
}

bool Decimal::isNaN() const {
    // The library's own test (quiet and signalling NaN alike), without the call.
    constexpr std::uint64_t kNaNMask = 0x7C00000000000000ULL;
    return (raw(bits_).w[BID_HIGH_128W] & kNaNMask) == kNaNMask;
}

bool Decimal::isZero() const {
    return bid128_isZero(raw(bits_));
}

bool Decimal::isNegative() const {
    return !isNaN() && !isZero() && bid128_isSigned(raw(bits_));
}

Decimal Decimal::operator+(const Decimal& other) const {
    _IDEC_flags flags = 0;
    return Decimal(
        cooked(finiteOrNaN(bid128_add(raw(bits_), raw(other.bits_), kRounding, &flags))));
}

Decimal Decimal::operator-(const Decimal& other) const {
    _IDEC_flags flags = 0;
    return Decimal(
        cooked(finiteOrNaN(bid128_sub(raw(bits_), raw(other.bits_), kRounding, &flags))));
}

Decimal Decimal::operator*(const Decimal& other) const {
    _IDEC_flags flags = 0;
    return Decimal(
        cooked(finiteOrNaN(bid128_mul(raw(bits_), raw(other.bits_), kRounding, &flags))));
}

Decimal Decimal::operator/(const Decimal& other) const {
    if (other.isZero()) {
        return nan();
    }
    _IDEC_flags flags = 0;
    return Decimal(
        cooked(finiteOrNaN(bid128_div(raw(bits_), raw(other.bits_), kRounding, &flags))));
}

Decimal Decimal::operator-() const {
    if (isNaN()) {
        return *this;
    }
    return Decimal(cooked(bid128_negate(raw(bits_))));
}

bool Decimal::operator==(const Decimal& other) const {
    if (const int order = compareFinite(raw(bits_), raw(other.bits_)); order != kUndecided) {
        return order == 0;
    }
    _IDEC_flags flags = 0;
    return bid128_quiet_equal(raw(bits_), raw(other.bits_), &flags) != 0;
}

bool Decimal::operator<(const Decimal& other) const {
    if (const int order = compareFinite(raw(bits_), raw(other.bits_)); order != kUndecided) {
        return order < 0;
    }
    _IDEC_flags flags = 0;
    return bid128_quiet_less(raw(bits_), raw(other.bits_), &flags) != 0;
}

bool Decimal::operator<=(const Decimal& other) const {
    if (const int order = compareFinite(raw(bits_), raw(other.bits_)); order != kUndecided) {
        return order <= 0;
    }
    _IDEC_flags flags = 0;
    return bid128_quiet_less_equal(raw(bits_), raw(other.bits_), &flags) != 0;
}

Decimal Decimal::scaledByPowerOfTen(int power) const {
    _IDEC_flags flags = 0;
    return Decimal(cooked(finiteOrNaN(bid128_scalbn(raw(bits_), power, kRounding, &flags))));
}

namespace {

// Splits the library's "[+-]coefficientE[+-]exponent" text.
struct Parts {
    bool negative = false;
    std::string coefficient;
    int exponent = 0;
};

Parts split(BID_UINT128 r) {
    char buffer[64] = {};
    _IDEC_flags flags = 0;
    bid128_to_string(buffer, r, &flags);
    Parts p;
    const char* s = buffer;
    if (*s == '+' || *s == '-') {
        p.negative = (*s == '-');
        ++s;
    }
    while (*s >= '0' && *s <= '9') {
        p.coefficient.push_back(*s++);
    }
    if (*s == 'E') {
        p.exponent = std::atoi(s + 1);
    }
    return p;
}

}  // namespace

Decimal Decimal::rounded(int fractionDigits) const {
    if (isNaN()) {
        return *this;
    }
    const Parts p = split(raw(bits_));
    if (p.exponent >= -fractionDigits) {
        return *this;  // already has no more fraction digits than asked
    }
    _IDEC_flags flags = 0;
    BID_UINT128 quantum = bid128_scalbn(bid128_from_int32(1), -fractionDigits, kRounding, &flags);
    return Decimal(cooked(finiteOrNaN(bid128_quantize(raw(bits_), quantum, kRounding, &flags))));
}

QString Decimal::toString() const {
    if (isNaN()) {
        return QStringLiteral("NaN");
    }
    Parts p = split(raw(bits_));
    // Drop leading zeros of the coefficient, then move trailing zeros into the exponent.
    const size_t firstNonZero = p.coefficient.find_first_not_of('0');
    if (firstNonZero == std::string::npos) {
        return QStringLiteral("0");
    }
    std::string digits = p.coefficient.substr(firstNonZero);
    while (digits.size() > 1 && digits.back() == '0') {
        digits.pop_back();
        ++p.exponent;
    }
    const int n = static_cast<int>(digits.size());
    const int adjusted = p.exponent + n - 1;  // exponent of the leading digit
    std::string out;
    if (p.negative) {
        out.push_back('-');
    }
    if (adjusted > 60 || adjusted < -60) {
        out.push_back(digits[0]);
        if (n > 1) {
            out.push_back('.');
            out.append(digits, 1, std::string::npos);
        }
        out.push_back('E');
        out.append(adjusted >= 0 ? "+" : "-");
        out.append(std::to_string(adjusted >= 0 ? adjusted : -adjusted));
    } else if (p.exponent >= 0) {
        out.append(digits);
        out.append(static_cast<size_t>(p.exponent), '0');
    } else if (-p.exponent >= n) {
        out.append("0.");
        out.append(static_cast<size_t>(-p.exponent - n), '0');
        out.append(digits);
    } else {
        out.append(digits, 0, static_cast<size_t>(n + p.exponent));
        out.push_back('.');
        out.append(digits, static_cast<size_t>(n + p.exponent), std::string::npos);
    }
    return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

double Decimal::toDouble() const {
    // A coefficient and a power of ten that are both exact doubles give the correctly rounded
    // result in one operation, the same double the library computes the long way.
    SmallParts p;
    if (smallParts(raw(bits_), p) && p.coefficient <= (1ULL << 53) && p.exponent >= -22 &&
        p.exponent <= 22) {
        static constexpr double powers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        double value = static_cast<double>(p.coefficient);
        value = p.exponent < 0 ? value / powers[-p.exponent] : value * powers[p.exponent];
        return p.negative ? -value : value;
    }
    _IDEC_flags flags = 0;
    return bid128_to_binary64(raw(bits_), kRounding, &flags);
}
