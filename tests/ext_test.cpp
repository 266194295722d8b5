// The software extended format against the x87 hardware, operation by
// operation, for every kind of step the register logic takes: random bit
// patterns (zeros, subnormals, infinities and NaN among them), values on and
// next to the rounding boundaries of 64, 53 and 24 bits, and the operands of
// the value texts. Built only where long double is the x87 format.

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <ostream>
#include <cstring>
#include <limits>
#include <random>

#include "core/ext.h"

namespace tallaro {
namespace {

static_assert(std::numeric_limits<long double>::digits == 64);

SoftExt::Bits hardware_bits(long double x) {
    unsigned char raw[sizeof(long double)];
    std::memcpy(raw, &x, sizeof x);
    SoftExt::Bits b{};
    std::memcpy(&b.significand, raw, 8);
    std::memcpy(&b.sign_exponent, raw + 8, 2);
    return b;
}

std::uint64_t bits_of(double x) { return std::bit_cast<std::uint64_t>(x); }
std::uint32_t bits_of(float x) { return std::bit_cast<std::uint32_t>(x); }

// One comparison: the extended results bit for bit, and both roundings.
#define EXPECT_SAME(soft, hard, what)                                                          \
    do {                                                                                       \
        const SoftExt s_ = (soft);                                                             \
        const long double h_ = (hard);                                                         \
        ASSERT_EQ(s_.bits(), hardware_bits(h_)) << what;                                       \
        ASSERT_EQ(bits_of(static_cast<double>(s_)), bits_of(static_cast<double>(h_))) << what; \
        ASSERT_EQ(bits_of(static_cast<float>(s_)), bits_of(static_cast<float>(h_))) << what;   \
    } while (0)

[[maybe_unused]] std::ostream& operator<<(std::ostream& o, const SoftExt::Bits& b) {
    return o << std::hex << b.sign_exponent << ":" << b.significand << std::dec;
}

class Operands {
public:
    explicit Operands(std::uint64_t seed) : random_(seed) {}

    // Any float or double: half the time any bit pattern at all, otherwise
    // values of a cashier's size, or exact halves and quarters. NaNs are
    // quiet, as every NaN the register logic stores is the result of
    // arithmetic; for a signalling operand the hardware's answer depends on
    // which instruction the compiler picked.
    float any_float() {
        switch (random_() % 4) {
        case 0:
        case 1:
            return quiet(std::bit_cast<float>(static_cast<std::uint32_t>(random_())));
        case 2:
            return static_cast<float>(std::ldexp(static_cast<double>(random_() % 2000000) - 1000000, -int(random_() % 24)));
        default:
            return static_cast<float>(static_cast<int>(random_() % 200001) - 100000) / 4;
        }
    }
    double any_double() {
        switch (random_() % 4) {
        case 0:
            return quiet(std::bit_cast<double>(random_()));
        case 1:
            return std::ldexp(static_cast<double>(random_() >> 11), -int(random_() % 120));
        case 2:
            return static_cast<double>(any_float());
        default:
            return static_cast<double>(static_cast<long long>(random_() % 2000001) - 1000000) / 100;
        }
    }
    // A double that lands a sum with x next to a rounding boundary of the
    // 64-bit significand: an odd multiple of a power of two near x's last
    // bits.
    double near_boundary(double x) {
        const int e = std::isfinite(x) && x != 0 ? std::ilogb(x) : 0;
        const double odd = static_cast<double>((random_() >> 12) | 1);
        const double d = std::ldexp(odd, e - 64 - 52 + static_cast<int>(random_() % 9) - 4);
        return random_() % 2 ? d : -d;
    }
    int any_int(int range) { return static_cast<int>(random_() % (2 * range + 1)) - range; }
    std::uint64_t next() { return random_(); }

private:
    static float quiet(float x) {
        return std::isnan(x) ? std::bit_cast<float>(std::bit_cast<std::uint32_t>(x) | 0x00400000u) : x;
    }
    static double quiet(double x) {
        return std::isnan(x) ? std::bit_cast<double>(std::bit_cast<std::uint64_t>(x) | (std::uint64_t{1} << 51)) : x;
    }

    std::mt19937_64 random_;
};

constexpr int k_rounds = 1'000'000;

TEST(SoftExt, SumsOfAFloatAndADouble) {
    Operands o(1);
    for (int i = 0; i < k_rounds; ++i) {
        const float total = o.any_float();
        const double price = i % 2 ? o.any_double() : o.near_boundary(total);
        EXPECT_SAME(SoftExt(total) + SoftExt(price), static_cast<long double>(total) + price,
                    total << " + " << price);
    }
}

TEST(SoftExt, DifferencesOfTwoFloats) {
    Operands o(2);
    for (int i = 0; i < k_rounds; ++i) {
        const float a = o.any_float();
        const float b = i % 3 ? o.any_float() : std::nextafter(a, i % 2 ? 1e30f : -1e30f);
        EXPECT_SAME(SoftExt(a) - SoftExt(b), static_cast<long double>(a) - b, a << " - " << b);
    }
}

TEST(SoftExt, ProductsAndQuotients) {
    Operands o(3);
    for (int i = 0; i < k_rounds; ++i) {
        const double a = o.any_double();
        const double b = i % 2 ? o.any_double() : std::pow(10.0, o.any_int(38));
        EXPECT_SAME(SoftExt(a) * SoftExt(b), static_cast<long double>(a) * b, a << " * " << b);
        EXPECT_SAME(SoftExt(a) / SoftExt(b), static_cast<long double>(a) / b, a << " / " << b);
        // Products and quotients of extended values, rounded again.
        const long double ha = static_cast<long double>(a) / 3;
        const SoftExt sa = SoftExt(a) / SoftExt(3);
        EXPECT_SAME(sa * SoftExt(b), ha * b, a << "/3 * " << b);
        EXPECT_SAME(sa / SoftExt(b), ha / b, a << "/3 / " << b);
        EXPECT_SAME(sa + SoftExt(b), ha + b, a << "/3 + " << b);
    }
}

// The steps of float to text: the decimal exponent estimate, the scaling by
// a power of ten, the six-digit product, the comparisons.
TEST(SoftExt, ScalingStepsOfFloatToText) {
    Operands o(4);
    for (int i = 0; i < k_rounds; ++i) {
        const float x = o.any_float();
        if (!std::isfinite(x)) continue;
        const int e = o.any_int(127);
        const double log2 = 0.3010299956639812;
        ASSERT_EQ(static_cast<int>(SoftExt(e) * SoftExt(log2)),
                  static_cast<int>(static_cast<long double>(e) * static_cast<long double>(log2)));
        const double p = std::pow(10.0, o.any_int(38));
        const long double hm = std::fabs(static_cast<long double>(x)) / p;
        const SoftExt sm = fabs(SoftExt(x)) / SoftExt(p);
        EXPECT_SAME(sm, hm, x << " / " << p);
        ASSERT_EQ(sm >= SoftExt(10), hm >= 10);
        ASSERT_EQ(sm >= SoftExt(1), hm >= 1);
        for (int scale : {10000, 100000, 1000000}) EXPECT_SAME(sm * SoftExt(scale), hm * scale, x << " * " << scale);
    }
}

// The steps of the date-time texts: seconds to days, days and a time of day
// added or subtracted, half a second added, truncations.
TEST(SoftExt, DateTimeSteps) {
    Operands o(5);
    for (int i = 0; i < k_rounds; ++i) {
        const int second = o.any_int(86400);
        const long day = o.any_int(3000000);
        const long double ht = static_cast<long double>(second) * (1.0 / 86400);
        const SoftExt st = SoftExt(second) * SoftExt(1.0 / 86400);
        EXPECT_SAME(st, ht, second);
        EXPECT_SAME(SoftExt(day) + st, static_cast<long double>(day) + ht, day << " + " << second);
        EXPECT_SAME(SoftExt(day) - st, static_cast<long double>(day) - ht, day << " - " << second);

        const double d = i % 2 ? o.any_double() : static_cast<double>(static_cast<long double>(day) + ht);
        if (!std::isfinite(d) || std::fabs(d) > 3e6) continue;
        const long double hd = d;
        const long double hs = d > 0 ? hd + 1.0 / 172800 : hd - 1.0 / 172800;
        const SoftExt ss = d > 0 ? SoftExt(d) + SoftExt(1.0 / 172800) : SoftExt(d) - SoftExt(1.0 / 172800);
        EXPECT_SAME(ss, hs, d);
        ASSERT_EQ(static_cast<long>(ss), static_cast<long>(hs)) << d;
        const double a = std::fabs(static_cast<double>(hs));
        const double f = a - std::floor(a);
        ASSERT_EQ(static_cast<int>(SoftExt(f) * SoftExt(86400)), static_cast<int>(static_cast<long double>(f) * 86400))
            << f;
    }
}

// Conversions of extended values to double and float near every boundary:
// ties, subnormal results, overflow.
TEST(SoftExt, ConversionsToDoubleAndFloat) {
    Operands o(6);
    for (int i = 0; i < k_rounds; ++i) {
        // A random 64-bit significand at an exponent that reaches the
        // subnormal and overflow ranges of both formats.
        const int exponent = o.any_int(1100);
        std::uint64_t sig = o.next() | (std::uint64_t{1} << 63);
        if (i % 4 == 0) sig = (sig & ~std::uint64_t{0x7FF}) | 0x400;        // a tie at 53 bits
        if (i % 4 == 1) sig = (sig & ~((std::uint64_t{1} << 40) - 1)) | (std::uint64_t{1} << 39);  // at 24
        const double high = std::ldexp(static_cast<double>(sig >> 11), exponent - 52);
        const double low = std::ldexp(static_cast<double>(sig & 0x7FF), exponent - 63);
        const long double h = static_cast<long double>(high) + low;  // exact: 64 bits
        const SoftExt s = SoftExt(high) + SoftExt(low);
        EXPECT_SAME(i % 2 ? s : -s, i % 2 ? h : -h, exponent);
    }
}

TEST(SoftExt, SpecialValues) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double values[] = {0.0, -0.0, 1.0, -1.0, inf, -inf, nan, -nan, 5e-324, -1.5e300};
    for (double a : values) {
        for (double b : values) {
            const long double ha = a;
            EXPECT_SAME(SoftExt(a) + SoftExt(b), ha + b, a << " + " << b);
            EXPECT_SAME(SoftExt(a) - SoftExt(b), ha - b, a << " - " << b);
            EXPECT_SAME(SoftExt(a) * SoftExt(b), ha * b, a << " * " << b);
            EXPECT_SAME(SoftExt(a) / SoftExt(b), ha / b, a << " / " << b);
            EXPECT_EQ(SoftExt(a) >= SoftExt(b), ha >= b) << a << " >= " << b;
            EXPECT_EQ(SoftExt(a) < SoftExt(b), ha < b) << a << " < " << b;
        }
    }
}

}  // namespace
}  // namespace tallaro
