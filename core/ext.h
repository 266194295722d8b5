#pragma once
// The extended format that the register logic computes in: a 64-bit
// significand, round to nearest with ties to even, a wide exponent,
// infinities and NaN, no traps. Sums, differences, products and quotients are
// rounded to 64 significant bits; a value becomes a double or a float only
// where the caller converts it, in one rounding.
//
// On x86-64 the hardware's long double is exactly this format, and `Ext` is
// it. Elsewhere `Ext` is `SoftExt`, an exact software implementation of the
// same arithmetic; building with TALLARO_PORTABLE_EXT uses it on x86-64 too,
// so that the two can be tested against each other. SoftExt's exponent is
// wider than the hardware's; the two differ only beyond 2^±16382, which no
// value of the register logic comes near.

#include <cstdint>

namespace tallaro {

class SoftExt {
public:
    SoftExt() = default;
    explicit SoftExt(float x);
    explicit SoftExt(double x);
    explicit SoftExt(int x) : SoftExt(static_cast<long long>(x)) {}
    explicit SoftExt(long x) : SoftExt(static_cast<long long>(x)) {}
    explicit SoftExt(long long x);

    explicit operator double() const;
    explicit operator float() const;
    // Truncates toward zero; the value must fit.
    explicit operator long long() const;
    explicit operator int() const { return static_cast<int>(static_cast<long long>(*this)); }
    explicit operator long() const { return static_cast<long>(static_cast<long long>(*this)); }

    friend SoftExt operator+(const SoftExt& a, const SoftExt& b);
    friend SoftExt operator-(const SoftExt& a, const SoftExt& b);
    friend SoftExt operator*(const SoftExt& a, const SoftExt& b);
    friend SoftExt operator/(const SoftExt& a, const SoftExt& b);
    friend SoftExt operator-(SoftExt a) {
        a.negative_ = !a.negative_;
        return a;
    }
    friend bool operator<(const SoftExt& a, const SoftExt& b) { return compare(a, b) < 0; }
    friend bool operator>(const SoftExt& a, const SoftExt& b) { return compare(b, a) < 0; }
    friend bool operator>=(const SoftExt& a, const SoftExt& b) { return !a.is_nan() && !b.is_nan() && !(a < b); }
    friend bool operator<=(const SoftExt& a, const SoftExt& b) { return !a.is_nan() && !b.is_nan() && !(b < a); }

    bool is_nan() const { return kind_ == Kind::nan; }
    bool is_negative() const { return negative_; }
    friend SoftExt fabs(SoftExt a) {
        a.negative_ = false;
        return a;
    }

    // The 80-bit x87 encoding (sign and exponent in the high part, the
    // significand with its explicit leading bit in the low part), for tests.
    struct Bits {
        std::uint16_t sign_exponent;
        std::uint64_t significand;
        bool operator==(const Bits&) const = default;
    };
    Bits bits() const;

private:
    enum class Kind : std::uint8_t { zero, finite, infinity, nan };

    // -1, 0 or 1; 2 when either is NaN.
    static int compare(const SoftExt& a, const SoftExt& b);
    static SoftExt add(const SoftExt& a, const SoftExt& b, bool subtract);
    static SoftExt round(bool negative, std::int32_t exponent, unsigned __int128 magnitude, bool sticky);
    static SoftExt load(std::uint64_t bits, int fraction_bits, int exponent_bits);
    static SoftExt invalid();
    static SoftExt pick_nan(const SoftExt& a, const SoftExt& b);
    std::uint64_t to_binary(int fraction_bits, int min_exponent, int max_exponent) const;

    // A finite value is significand × 2^(exponent − 63), the significand's
    // top bit set; a NaN keeps its payload in the significand.
    Kind kind_ = Kind::zero;
    bool negative_ = false;
    std::int32_t exponent_ = 0;
    std::uint64_t significand_ = 0;
};

#if (defined(__x86_64__) || defined(__i386__)) && !defined(TALLARO_PORTABLE_EXT)
using Ext = long double;
#else
using Ext = SoftExt;
#endif

}  // namespace tallaro
