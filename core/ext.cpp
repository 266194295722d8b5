#include "core/ext.h"

#include <bit>
#include <cstring>
#include <limits>

namespace tallaro {

namespace {

using u128 = unsigned __int128;

// The x87's answer to an invalid operation (∞ − ∞, 0 × ∞, 0 / 0, ∞ / ∞):
// the negative quiet NaN with no payload.
constexpr std::uint64_t k_quiet_bit = std::uint64_t{1} << 62;
constexpr std::uint64_t k_top_bit = std::uint64_t{1} << 63;

int top_bit(u128 x) {
    const auto high = static_cast<std::uint64_t>(x >> 64);
    return high ? 127 - std::countl_zero(high) : 63 - std::countl_zero(static_cast<std::uint64_t>(x));
}

}  // namespace

SoftExt SoftExt::invalid() {
    SoftExt r;
    r.kind_ = Kind::nan;
    r.negative_ = true;
    r.significand_ = k_top_bit | k_quiet_bit;
    return r;
}

// A NaN operand comes through with its sign; of two, the one with the larger
// significand, and of two with the same, the positive one, as the x87 does.
SoftExt SoftExt::pick_nan(const SoftExt& a, const SoftExt& b) {
    if (!a.is_nan()) return b;
    if (!b.is_nan()) return a;
    if (a.significand_ != b.significand_) return a.significand_ > b.significand_ ? a : b;
    return a.negative_ ? b : a;
}

// An IEEE binary value of the given fraction and exponent widths, exactly.
SoftExt SoftExt::load(std::uint64_t bits, int fraction_bits, int exponent_bits) {
    SoftExt r;
    const int max_field = (1 << exponent_bits) - 1;
    const int bias = max_field / 2;
    r.negative_ = ((bits >> (fraction_bits + exponent_bits)) & 1) != 0;
    const auto field = static_cast<int>((bits >> fraction_bits) & static_cast<std::uint64_t>(max_field));
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << fraction_bits) - 1);
    if (field == max_field) {
        r.kind_ = fraction ? Kind::nan : Kind::infinity;
        // Loading a NaN makes it quiet, as the x87 does.
        r.significand_ = k_top_bit | (fraction << (63 - fraction_bits)) | (fraction ? k_quiet_bit : 0);
    } else if (field != 0 || fraction != 0) {
        r.kind_ = Kind::finite;
        const std::uint64_t whole = field ? fraction | (std::uint64_t{1} << fraction_bits) : fraction;
        const int shift = std::countl_zero(whole);
        r.significand_ = whole << shift;
        r.exponent_ = (field ? field : 1) - bias - fraction_bits + 63 - shift;
    }
    return r;
}

SoftExt::SoftExt(double x) : SoftExt(load(std::bit_cast<std::uint64_t>(x), 52, 11)) {}

SoftExt::SoftExt(float x) : SoftExt(load(std::bit_cast<std::uint32_t>(x), 23, 8)) {}

SoftExt::SoftExt(long long x) {
    if (x == 0) return;
    kind_ = Kind::finite;
    negative_ = x < 0;
    const std::uint64_t magnitude = negative_ ? 0 - static_cast<std::uint64_t>(x) : static_cast<std::uint64_t>(x);
    const int shift = std::countl_zero(magnitude);
    significand_ = magnitude << shift;
    exponent_ = 63 - shift;
}

// magnitude × 2^(exponent − 63 − 64), plus a sticky bit for anything nonzero
// below it, rounded to 64 significant bits, ties to even.
SoftExt SoftExt::round(bool negative, std::int32_t exponent, u128 magnitude, bool sticky) {
    SoftExt r;
    r.negative_ = negative;
    if (magnitude == 0) return r;  // exact zeros are dealt with by the callers
    r.kind_ = Kind::finite;
    const int top = top_bit(magnitude);
    const int drop = top - 63;  // the bits below the 64 kept
    r.exponent_ = exponent + top - 127;
    if (drop <= 0) {
        r.significand_ = static_cast<std::uint64_t>(magnitude << -drop);
        return r;
    }
    const u128 half = u128{1} << (drop - 1);
    const u128 rest = magnitude & ((u128{1} << drop) - 1);
    std::uint64_t kept = static_cast<std::uint64_t>(magnitude >> drop);
    const bool up = rest > half || (rest == half && (sticky || (kept & 1)));
    if (up && ++kept == 0) {
        kept = k_top_bit;
        ++r.exponent_;
    }
    r.significand_ = kept;
    return r;
}

SoftExt SoftExt::add(const SoftExt& a, const SoftExt& b_in, bool subtract) {
    if (a.is_nan() || b_in.is_nan()) return pick_nan(a, b_in);  // a NaN keeps its sign
    SoftExt b = b_in;
    if (subtract) b.negative_ = !b.negative_;
    if (a.kind_ == Kind::infinity || b.kind_ == Kind::infinity) {
        if (a.kind_ == Kind::infinity && b.kind_ == Kind::infinity && a.negative_ != b.negative_) return invalid();
        return a.kind_ == Kind::infinity ? a : b;
    }
    if (b.kind_ == Kind::zero) {
        if (a.kind_ != Kind::zero) return a;
        SoftExt z;
        z.negative_ = a.negative_ && b.negative_;  // −0 only from −0 + −0
        return z;
    }
    if (a.kind_ == Kind::zero) return b;

    // The larger magnitude first; the other shifted to its exponent, with
    // what falls off the 128 bits folded into the lowest bit.
    const bool a_larger =
        a.exponent_ > b.exponent_ || (a.exponent_ == b.exponent_ && a.significand_ >= b.significand_);
    const SoftExt& big = a_larger ? a : b;
    const SoftExt& small = a_larger ? b : a;
    const std::int64_t shift = std::int64_t{big.exponent_} - small.exponent_;
    const u128 big_m = u128{big.significand_} << 62;  // room for a carry on top
    const u128 small_full = u128{small.significand_} << 62;
    u128 small_m;
    if (shift >= 126) {
        small_m = 1;  // only its sticky bit is left
    } else {
        small_m = small_full >> shift;
        if (shift > 0 && (small_full & ((u128{1} << shift) - 1)) != 0) small_m |= 1;
    }
    if (big.negative_ == small.negative_) {
        return round(big.negative_, big.exponent_ + 2, big_m + small_m, false);
    }
    const u128 difference = big_m - small_m;
    if (difference == 0) return SoftExt{};  // x − x is +0 when rounding to nearest
    return round(big.negative_, big.exponent_ + 2, difference, false);
}

SoftExt operator+(const SoftExt& a, const SoftExt& b) { return SoftExt::add(a, b, false); }
SoftExt operator-(const SoftExt& a, const SoftExt& b) { return SoftExt::add(a, b, true); }

SoftExt operator*(const SoftExt& a, const SoftExt& b) {
    using Kind = SoftExt::Kind;
    if (a.is_nan() || b.is_nan()) return SoftExt::pick_nan(a, b);
    const bool negative = a.negative_ != b.negative_;
    if (a.kind_ == Kind::infinity || b.kind_ == Kind::infinity) {
        if (a.kind_ == Kind::zero || b.kind_ == Kind::zero) return SoftExt::invalid();
        SoftExt r = a.kind_ == Kind::infinity ? a : b;
        r.negative_ = negative;
        return r;
    }
    if (a.kind_ == Kind::zero || b.kind_ == Kind::zero) {
        SoftExt z;
        z.negative_ = negative;
        return z;
    }
    // The product of the significands is 2^126 ≤ p < 2^128.
    const u128 product = u128{a.significand_} * b.significand_;
    return SoftExt::round(negative, a.exponent_ + b.exponent_ + 1, product, false);
}

SoftExt operator/(const SoftExt& a, const SoftExt& b) {
    using Kind = SoftExt::Kind;
    if (a.is_nan() || b.is_nan()) return SoftExt::pick_nan(a, b);
    const bool negative = a.negative_ != b.negative_;
    SoftExt r;
    r.negative_ = negative;
    if (a.kind_ == Kind::infinity) {
        if (b.kind_ == Kind::infinity) return SoftExt::invalid();
        r.kind_ = Kind::infinity;
        r.significand_ = k_top_bit;
        return r;
    }
    if (b.kind_ == Kind::infinity) return r;  // a signed zero
    if (b.kind_ == Kind::zero) {
        if (a.kind_ == Kind::zero) return SoftExt::invalid();
        r.kind_ = Kind::infinity;  // masked division by zero
        r.significand_ = k_top_bit;
        return r;
    }
    if (a.kind_ == Kind::zero) return r;
    // Quotient bits: 64 from one long division, two more from the remainder,
    // and whether anything is left.
    const u128 dividend = u128{a.significand_} << 64;
    const u128 first = dividend / b.significand_;
    const u128 remainder = dividend % b.significand_;
    const u128 more = (remainder << 2) / b.significand_;
    const bool sticky = (remainder << 2) % b.significand_ != 0;
    const u128 quotient = (first << 2) | more;
    // quotient ≈ (a / b) × 2^(66 − a.exponent_ + b.exponent_)
    return SoftExt::round(negative, a.exponent_ - b.exponent_ + 61, quotient, sticky);
}

int SoftExt::compare(const SoftExt& a, const SoftExt& b) {
    if (a.is_nan() || b.is_nan()) return 2;
    const auto sign_of = [](const SoftExt& x) { return x.kind_ == Kind::zero ? 0 : (x.negative_ ? -1 : 1); };
    const int sa = sign_of(a), sb = sign_of(b);
    if (sa != sb) return sa < sb ? -1 : 1;
    if (sa == 0) return 0;
    // Same sign: compare magnitudes, infinity above every finite value.
    int magnitude;
    if (a.kind_ == Kind::infinity || b.kind_ == Kind::infinity) {
        magnitude = (a.kind_ == Kind::infinity) - (b.kind_ == Kind::infinity);
    } else if (a.exponent_ != b.exponent_) {
        magnitude = a.exponent_ < b.exponent_ ? -1 : 1;
    } else {
        magnitude = a.significand_ < b.significand_ ? -1 : (a.significand_ > b.significand_ ? 1 : 0);
    }
    return sa < 0 ? -magnitude : magnitude;
}

// The IEEE binary encoding with the given fraction width and exponent range,
// rounded once, ties to even, subnormals included; overflow gives infinity.
std::uint64_t SoftExt::to_binary(int fraction_bits, int min_exponent, int max_exponent) const {
    const int width = fraction_bits + 1 + (max_exponent == 127 ? 8 : 11);  // 32 or 64
    const std::uint64_t sign = negative_ ? std::uint64_t{1} << (width - 1) : 0;
    const std::uint64_t exponent_all_ones = static_cast<std::uint64_t>((max_exponent + 1) * 2 - 1) << fraction_bits;
    switch (kind_) {
    case Kind::zero:
        return sign;
    case Kind::infinity:
        return sign | exponent_all_ones;
    case Kind::nan:
        return sign | exponent_all_ones | ((significand_ & ~k_top_bit) >> (63 - fraction_bits)) |
               (std::uint64_t{1} << (fraction_bits - 1));
    case Kind::finite:
        break;
    }
    // Bits of the significand to drop: the 63 − fraction_bits below a normal
    // result's precision, more below the smallest normal exponent.
    std::int64_t drop = 63 - fraction_bits;
    if (exponent_ < min_exponent) drop += std::int64_t{min_exponent} - exponent_;
    std::uint64_t kept;
    if (drop > 64) {
        kept = 0;  // less than half the smallest subnormal
    } else {
        const u128 full = significand_;
        const u128 rest = full & ((u128{1} << drop) - 1);
        const u128 half = u128{1} << (drop - 1);
        kept = static_cast<std::uint64_t>(full >> drop);
        if (rest > half || (rest == half && (kept & 1))) ++kept;
    }
    // kept is the significand at the result's precision. A normal result
    // has its leading bit at fraction_bits (or one above after a carry).
    std::int64_t exponent = exponent_ < min_exponent ? min_exponent : exponent_;
    if (kept >> (fraction_bits + 1)) {
        kept >>= 1;
        ++exponent;
    }
    if (exponent > max_exponent) return sign | exponent_all_ones;
    if (!(kept >> fraction_bits)) return sign | kept;  // subnormal (or zero)
    const auto field = static_cast<std::uint64_t>(exponent - min_exponent + 1);
    return sign | (field << fraction_bits) | (kept & ((std::uint64_t{1} << fraction_bits) - 1));
}

SoftExt::operator double() const { return std::bit_cast<double>(to_binary(52, -1022, 1023)); }

SoftExt::operator float() const {
    return std::bit_cast<float>(static_cast<std::uint32_t>(to_binary(23, -126, 127)));
}

SoftExt::operator long long() const {
    if (kind_ != Kind::finite || exponent_ < 0) return 0;
    const std::uint64_t magnitude = exponent_ >= 63 ? significand_ : significand_ >> (63 - exponent_);
    return negative_ ? static_cast<long long>(0 - magnitude) : static_cast<long long>(magnitude);
}

SoftExt::Bits SoftExt::bits() const {
    const std::uint16_t sign = negative_ ? 0x8000 : 0;
    switch (kind_) {
    case Kind::zero:
        return {sign, 0};
    case Kind::infinity:
        return {static_cast<std::uint16_t>(sign | 0x7FFF), k_top_bit};
    case Kind::nan:
        return {static_cast<std::uint16_t>(sign | 0x7FFF), significand_};
    case Kind::finite:
        break;
    }
    return {static_cast<std::uint16_t>(sign | static_cast<std::uint16_t>(exponent_ + 16383)), significand_};
}

}  // namespace tallaro
