#pragma once

#include <QMetaType>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <optional>
#include <string_view>

/// An exact base-10 number (IEEE 754 decimal128: 34 significant digits) with a not-a-number value.
///
/// Every rate and amount in Numiva is a Decimal; binary floating point is only used to draw.
/// Arithmetic rounds half-even to 34 digits. Division by zero, overflow and every other
/// undefined result give NaN (never infinity), and NaN propagates through every operation.
class Decimal {
public:
    /// Zero.
    Decimal();

    static Decimal nan();
    static Decimal fromInt(std::int64_t value);
    /// The shortest text that reads back as `value`, as a decimal ("0.1" for 0.1). Settings
    /// store fees as numbers; this is the one way such a number becomes a Decimal.
    static Decimal fromDouble(double value);
    /// (-1)^negative x coefficient x 10^exponent exactly, as `fromInt(c).scaledByPowerOfTen(e)`
    /// gives it, without the library's general scaling for the usual exponents.
    static Decimal fromParts(bool negative, std::uint64_t coefficient, int exponent);

    /// Reads an optional sign, digits, at most one `separator` and an optional exponent
    /// ("e" or "E"); surrounding white space is ignored. Anything else gives nothing.
    static std::optional<Decimal> parse(QStringView text, QChar separator = u'.');
    /// The same for ASCII text (a JSON number token, an attribute read as bytes).
    static std::optional<Decimal> parse(std::string_view text, char separator = '.');
    /// As `parse`, but a text that is not a number gives NaN.
    static Decimal fromString(QStringView text, QChar separator = u'.');
    static Decimal fromString(std::string_view text, char separator = '.');

    bool isNaN() const;
    bool isZero() const;
    bool isNegative() const;

    Decimal operator+(const Decimal& other) const;
    Decimal operator-(const Decimal& other) const;
    Decimal operator*(const Decimal& other) const;
    Decimal operator/(const Decimal& other) const;
    Decimal operator-() const;
    Decimal& operator+=(const Decimal& other) { return *this = *this + other; }
    Decimal& operator-=(const Decimal& other) { return *this = *this - other; }
    Decimal& operator*=(const Decimal& other) { return *this = *this * other; }
    Decimal& operator/=(const Decimal& other) { return *this = *this / other; }

    /// Numeric comparisons: 1.50 == 1.5; every comparison with NaN is false (except !=).
    bool operator==(const Decimal& other) const;
    bool operator!=(const Decimal& other) const { return !(*this == other); }
    bool operator<(const Decimal& other) const;
    bool operator>(const Decimal& other) const { return other < *this; }
    bool operator<=(const Decimal& other) const;
    bool operator>=(const Decimal& other) const { return other <= *this; }

    /// Multiplies by 10^power exactly.
    Decimal scaledByPowerOfTen(int power) const;
    /// Rounds half-even to `fractionDigits` digits after the separator (no change when it
    /// already has fewer).
    Decimal rounded(int fractionDigits) const;

    /// Plain text with "." as separator, without exponent and without trailing fraction zeros:
    /// "0.0000012", "1200", "-3.5". Values beyond 10^±60 use exponent notation ("1.2E+70").
    /// NaN is "NaN".
    QString toString() const;
    /// For drawing only: the nearest binary double.
    double toDouble() const;

    /// The raw decimal128 bits, for storage and hashing.
    struct Bits {
        std::uint64_t w[2];
    };
    Bits bits() const { return bits_; }

private:
    explicit Decimal(Bits bits) : bits_(bits) {}
    Bits bits_;
};

Q_DECLARE_METATYPE(Decimal)
