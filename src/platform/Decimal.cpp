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

BID_UINT128 quietNaN() {
    _IDEC_flags flags = 0;
    char text[] = "NaN";
    return bid128_from_string(text, kRounding, &flags);
}

// Infinity is never a valid amount here: it becomes NaN.
BID_UINT128 finiteOrNaN(BID_UINT128 r) {
    if (bid128_isInf(r)) {
        return quietNaN();
    }
    return r;
}

}  // namespace

Decimal::Decimal() : bits_(cooked(bid128_from_int32(0))) {}

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

std::optional<Decimal> Decimal::parse(QStringView text, QChar separator) {
    const QStringView t = text.trimmed();
    std::string ascii;
    ascii.reserve(static_cast<size_t>(t.size()));
    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) {
        ascii.push_back(static_cast<char>(t[i].unicode()));
        ++i;
    }
    int digits = 0;
    bool seenSeparator = false;
    for (; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c >= u'0' && c <= u'9') {
            ascii.push_back(static_cast<char>(c.unicode()));
            ++digits;
        } else if (c == separator && !seenSeparator) {
            ascii.push_back('.');
            seenSeparator = true;
        } else {
            break;
        }
    }
    if (digits == 0) {
        return std::nullopt;
    }
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        ascii.push_back('E');
        ++i;
        if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) {
            ascii.push_back(static_cast<char>(t[i].unicode()));
            ++i;
        }
        int expDigits = 0;
        for (; i < t.size() && t[i] >= u'0' && t[i] <= u'9'; ++i) {
            ascii.push_back(static_cast<char>(t[i].unicode()));
            if (++expDigits > 6) {
                return std::nullopt;  // beyond any exponent decimal128 can hold
            }
        }
        if (expDigits == 0) {
            return std::nullopt;
        }
    }
    if (i != t.size()) {
        return std::nullopt;
    }
    _IDEC_flags flags = 0;
    BID_UINT128 r = bid128_from_string(ascii.data(), kRounding, &flags);
    if (bid128_isNaN(r) || bid128_isInf(r)) {
        return std::nullopt;
    }
    return Decimal(cooked(r));
}

Decimal Decimal::fromString(QStringView text, QChar separator) {
    return parse(text, separator).value_or(nan());
}

bool Decimal::isNaN() const {
    return bid128_isNaN(raw(bits_));
}

bool Decimal::isZero() const {
    return bid128_isZero(raw(bits_));
}

bool Decimal::isNegative() const {
    return !isNaN() && !isZero() && bid128_isSigned(raw(bits_));
}

Decimal Decimal::operator+(const Decimal& other) const {
    _IDEC_flags flags = 0;
    return Decimal(cooked(finiteOrNaN(bid128_add(raw(bits_), raw(other.bits_), kRounding, &flags))));
}

Decimal Decimal::operator-(const Decimal& other) const {
    _IDEC_flags flags = 0;
    return Decimal(cooked(finiteOrNaN(bid128_sub(raw(bits_), raw(other.bits_), kRounding, &flags))));
}

Decimal Decimal::operator*(const Decimal& other) const {
    _IDEC_flags flags = 0;
    return Decimal(cooked(finiteOrNaN(bid128_mul(raw(bits_), raw(other.bits_), kRounding, &flags))));
}

Decimal Decimal::operator/(const Decimal& other) const {
    if (other.isZero()) {
        return nan();
    }
    _IDEC_flags flags = 0;
    return Decimal(cooked(finiteOrNaN(bid128_div(raw(bits_), raw(other.bits_), kRounding, &flags))));
}

Decimal Decimal::operator-() const {
    if (isNaN()) {
        return *this;
    }
    return Decimal(cooked(bid128_negate(raw(bits_))));
}

bool Decimal::operator==(const Decimal& other) const {
    _IDEC_flags flags = 0;
    return bid128_quiet_equal(raw(bits_), raw(other.bits_), &flags) != 0;
}

bool Decimal::operator<(const Decimal& other) const {
    _IDEC_flags flags = 0;
    return bid128_quiet_less(raw(bits_), raw(other.bits_), &flags) != 0;
}

bool Decimal::operator<=(const Decimal& other) const {
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
    _IDEC_flags flags = 0;
    return bid128_to_binary64(raw(bits_), kRounding, &flags);
}
