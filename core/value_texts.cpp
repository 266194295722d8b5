#include "core/value_texts.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <type_traits>

#include "core/clock.h"
#include "core/ext.h"
#include "core/text.h"

namespace tallaro {

// Every intermediate result below is carried with a 64-bit significand (Ext)
// and is rounded to a double only where it is stored as one; the displayed
// digits depend on it.
static_assert(!std::is_same_v<Ext, long double> || std::numeric_limits<long double>::digits == 64,
              "the hardware extended format has a 64-bit significand");

namespace {

// ---------------------------------------------------------------- float text

// log10(2) rounded to a double.
constexpr double kLog10Of2 = 0.3010299956639812;

// 10^n as the nearest double (exact up to 10^22).
constexpr double kPowersOf10[] = {
    1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
    1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19,
    1e20, 1e21, 1e22, 1e23, 1e24, 1e25, 1e26, 1e27, 1e28, 1e29,
    1e30, 1e31, 1e32, 1e33, 1e34, 1e35, 1e36, 1e37, 1e38,
};

// A float rounded to six significant digits: |x| ~ digits * 10^(exponent - 5).
struct SixDigits {
    std::int32_t digits;    // 0 .. 1000000
    std::int32_t exponent;  // k
};

// The binary exponent of x as a signed byte: the field minus 127, wrapping,
// so that zeros and subnormals give -127 and infinities and NaN give -128.
int binary_exponent(float x) {
    const std::uint32_t field = (std::bit_cast<std::uint32_t>(x) >> 23) & 0xFFu;
    return static_cast<std::int8_t>(static_cast<std::uint8_t>(field - 127u));
}

SixDigits round_to_six_digits(float x) {
    const int e = binary_exponent(x);
    // The product has at most 61 significant bits, so it is exact here.
    int k = static_cast<int>(static_cast<Ext>(e) * static_cast<Ext>(kLog10Of2));
    const Ext p(kPowersOf10[k < 0 ? -k : k]);

    using std::fabs;
    const Ext ax = fabs(static_cast<Ext>(x));
    const Ext m = k > 0 ? ax / p : ax * p;
    Ext t_ext;
    if (m >= Ext(10)) {
        k += 1;
        t_ext = m * Ext(10000);
    } else if (m >= Ext(1)) {
        t_ext = m * Ext(100000);
    } else {  // below 1, or NaN
        k -= 1;
        t_ext = m * Ext(1000000);
    }
    const double t = static_cast<double>(t_ext);  // t is stored as a double

    // Halves round up.
    double whole = std::trunc(t);
    if (t - whole >= 0.5) whole += 1;
    // NaN digits never reach the writer; keep the conversion defined anyway.
    const std::int32_t digits = std::isnan(whole) || std::isinf(whole)
                                    ? 0
                                    : static_cast<std::int32_t>(whole);
    return SixDigits{digits, k};
}

// Writes d (1 .. 1000000) x 10^(k - 5) in "%g" style with a three-digit
// exponent, into out; returns the number of bytes written.
std::size_t write_six_digits(bool negative, SixDigits r, char* out) {
    char digits[8];
    const int count = std::snprintf(digits, sizeof digits, "%d",
                                    static_cast<int>(r.digits));
    // Decimal exponent of the first digit: six digits give k itself.
    const int lead = r.exponent + count - 6;
    int significant = count;
    while (significant > 1 && digits[significant - 1] == '0') --significant;

    char* o = out;
    if (negative) *o++ = '-';
    if (lead >= -4 && lead <= 5) {
        if (lead < 0) {
            *o++ = '0';
            *o++ = '.';
            for (int i = 0; i < -lead - 1; ++i) *o++ = '0';
            for (int i = 0; i < significant; ++i) *o++ = digits[i];
        } else {
            for (int i = 0; i <= lead; ++i) *o++ = i < significant ? digits[i] : '0';
            if (significant > lead + 1) {
                *o++ = '.';
                for (int i = lead + 1; i < significant; ++i) *o++ = digits[i];
            }
        }
    } else {
        *o++ = digits[0];
        if (significant > 1) {
            *o++ = '.';
            for (int i = 1; i < significant; ++i) *o++ = digits[i];
        }
        const int magnitude = lead < 0 ? -lead : lead;
        *o++ = 'e';
        *o++ = lead < 0 ? '-' : '+';
        *o++ = static_cast<char>('0' + magnitude / 100);
        *o++ = static_cast<char>('0' + magnitude / 10 % 10);
        *o++ = static_cast<char>('0' + magnitude % 10);
    }
    return static_cast<std::size_t>(o - out);
}

// ------------------------------------------------------------- date-time text

constexpr double kLatestDateTime = 2958465;     // 9999-12-31
constexpr double kEarliestDateTime = -657434;   // 0100-01-01
constexpr double kHalfSecond = 1.0 / 172800;    // in days, as a double
constexpr double kDayPerSecond = 1.0 / 86400;   // as a double

constexpr std::chrono::sys_days kEpoch =
    std::chrono::year{1899} / std::chrono::December / 30;

// GBK bytes of the date-time units.
constexpr const char* kYear = "\xC4\xEA";    // 年
constexpr const char* kMonth = "\xD4\xC2";   // 月
constexpr const char* kDay = "\xC8\xD5";     // 日
constexpr const char* kHour = "\xCA\xB1";    // 时
constexpr const char* kMinute = "\xB7\xD6";  // 分
constexpr const char* kSecond = "\xC3\xEB";  // 秒

// ------------------------------------------------------------- text to number

// The text with the GBK full-width forms of ASCII characters folded to
// ASCII, one character at a time: nothing of the text is copied. A two-byte
// character that is not folded comes out as its lead byte alone, which ends
// any number.
class FoldedText {
public:
    explicit FoldedText(std::string_view text) : text_(text) {}

    // The next folded byte, or -1 at the end.
    int next() {
        if (at_ == text_.size()) return -1;
        const auto lead = static_cast<unsigned char>(text_[at_++]);
        if (lead < 0x80) return lead;
        if (at_ == text_.size()) return -1;  // a lone lead byte at the end
        const auto trail = static_cast<unsigned char>(text_[at_++]);
        if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) return trail - 0x80;
        if (lead == 0xA1 && trail == 0xA1) return ' ';
        if (lead == 0xA1 && trail == 0xAB) return '~';
        if (lead == 0xA1 && (trail == 0xEE || trail == 0xEF)) return '*';
        return lead;
    }

private:
    std::string_view text_;
    std::size_t at_ = 0;
};

bool is_digit(int c) { return c >= '0' && c <= '9'; }

// Exponents beyond this are saturated; any number with one is out of range
// whatever its digits, and the sums below stay far from overflow.
constexpr std::int64_t kExponentLimit = 1'000'000'000'000;

// More significant digits than this never change the rounding to a double
// (a half-way point between two doubles has at most 767); the rest only needs
// to be known as non-zero.
constexpr std::size_t kMaxDigits = 800;

// Reads the leading number of a text; 0 when there is none. Keeps only the
// significant digits that can matter, in a buffer of its own: a pasted text
// of any length costs no memory here.
double read_number(FoldedText s) {
    int c = s.next();
    while (c == ' ' || (c >= 0x09 && c <= 0x0D)) c = s.next();
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = s.next();
    }

    // The significant digits, without leading zeros, and where the point
    // stands: value = 0.DIGITS x 10^point. A non-zero digit beyond the kept
    // ones is remembered as a sticky 1 after them.
    char digits[kMaxDigits + 1];
    std::size_t count = 0;
    bool dropped_nonzero = false;
    std::int64_t point = 0;
    bool any_digit = false;
    bool seen_point = false;
    for (;; c = s.next()) {
        if (is_digit(c)) {
            any_digit = true;
            if (count == 0 && c == '0') {
                if (seen_point) --point;
                continue;
            }
            if (count < kMaxDigits) {
                digits[count++] = static_cast<char>(c);
            } else if (c != '0') {
                dropped_nonzero = true;
            }
            if (!seen_point) ++point;
        } else if (c == '.' && !seen_point) {
            seen_point = true;
        } else {
            break;
        }
    }
    if (!any_digit) return 0.0;

    // An exponent without digits is no part of the number; nothing after it
    // is read either way.
    if (c == 'e' || c == 'E' || c == 'd' || c == 'D') {
        c = s.next();
        bool exponent_negative = false;
        if (c == '+' || c == '-') {
            exponent_negative = c == '-';
            c = s.next();
        }
        std::int64_t exponent = 0;
        for (; is_digit(c); c = s.next()) exponent = std::min(exponent * 10 + (c - '0'), kExponentLimit);
        point += exponent_negative ? -exponent : exponent;
    }

    if (dropped_nonzero) {
        digits[count++] = '1';
    } else {
        while (count > 0 && digits[count - 1] == '0') --count;
    }
    const double zero = negative ? -0.0 : 0.0;
    const double infinity =
        negative ? -std::numeric_limits<double>::infinity()
                 : std::numeric_limits<double>::infinity();
    if (count == 0) return zero;
    // The value lies in [10^(point-1), 10^point).
    if (point > 310) return infinity;
    if (point < -330) return zero;

    // "-DIGITSeSCALE" for the standard conversion, which rounds to nearest.
    char normal[1 + kMaxDigits + 1 + 24];
    char* o = normal;
    if (negative) *o++ = '-';
    for (std::size_t i = 0; i < count; ++i) *o++ = digits[i];
    *o++ = 'e';
    const auto scale = static_cast<long long>(point) - static_cast<long long>(count);
    o = std::to_chars(o, normal + sizeof normal, scale).ptr;

    double value = 0.0;
    const auto [end, error] = std::from_chars(normal, o, value, std::chars_format::general);
    (void)end;
    if (error == std::errc::result_out_of_range) return point > 0 ? infinity : zero;
    return value;
}

}  // namespace

std::string integer_to_text(std::int32_t value) {
    char buffer[16];
    const int n = std::snprintf(buffer, sizeof buffer, "%d", static_cast<int>(value));
    return copy_text(std::string_view(buffer, static_cast<std::size_t>(n)));
}

std::string float_to_text(float value) {
    char buffer[32];
    std::size_t n = 0;
    if (std::isnan(value)) {
        n = std::strlen(std::strcpy(buffer, "1.#QNAN"));
    } else if (std::isinf(value)) {
        n = std::strlen(std::strcpy(buffer, value < 0 ? "-1.#INF" : "1.#INF"));
    } else {
        const SixDigits r = round_to_six_digits(value);
        if (r.digits == 0) {
            n = std::strlen(std::strcpy(buffer, "0"));
        } else {
            n = write_six_digits(value < 0, r, buffer);
        }
    }
    return copy_text(std::string_view(buffer, n));
}

// An empty text gives an absent one, and asks for no memory.
std::string text_to_text(std::string_view text) { return copy_text(text); }

double current_date_time() {
    using namespace std::chrono;
    const LocalTime now = installed_clock().now();
    const sys_days date = year{now.year} / month{static_cast<unsigned>(now.month)} /
                          day{static_cast<unsigned>(now.day)};
    const auto days_since_epoch = (date - kEpoch).count();
    const int second_of_day = now.hour * 3600 + now.minute * 60 + now.second;

    // Before the epoch the day number counts backwards while the time of
    // day still runs forwards: the time is the fraction's absolute value.
    const Ext time_of_day = static_cast<Ext>(second_of_day) * Ext(kDayPerSecond);
    const Ext days = static_cast<Ext>(days_since_epoch);
    const Ext sum = days_since_epoch < 0 ? days - time_of_day : days + time_of_day;
    const double date_time = static_cast<double>(sum);
    return date_time;
}

std::string date_time_to_text(double date_time) {
    using namespace std::chrono;
    double d = date_time;
    if (std::isnan(d) || d > kLatestDateTime) d = kLatestDateTime;
    if (d < kEarliestDateTime) d = kEarliestDateTime;

    // Half a second is added so that the truncations below round to a second.
    const Ext shifted = d > 0 ? static_cast<Ext>(d) + Ext(kHalfSecond)
                              : static_cast<Ext>(d) - Ext(kHalfSecond);
    // Before the epoch a half second that carries into the next day moves
    // the date forwards in time, which is one day number up, not down.
    const auto whole_days = static_cast<long>(std::trunc(d));
    auto day_number = static_cast<long>(shifted);  // truncates toward zero
    if (day_number < whole_days) day_number = whole_days + 1;
    const year_month_day date{kEpoch + days{day_number}};

    // Before the epoch the time of day is the fraction's absolute value.
    const double a = std::fabs(static_cast<double>(shifted));
    const Ext seconds = static_cast<Ext>(a - std::floor(a)) * Ext(86400);
    const int s = static_cast<int>(seconds);
    const int hour = s / 3600, minute = s / 60 % 60, second = s % 60;

    char buffer[64];
    int n = std::snprintf(buffer, sizeof buffer, "%d%s%u%s%u%s",
                          static_cast<int>(date.year()), kYear,
                          static_cast<unsigned>(date.month()), kMonth,
                          static_cast<unsigned>(date.day()), kDay);
    char* rest = buffer + n;
    const std::size_t room = sizeof buffer - static_cast<std::size_t>(n);
    if (second != 0) {
        n += std::snprintf(rest, room, "%d%s%d%s%d%s", hour, kHour, minute, kMinute,
                           second, kSecond);
    } else if (minute != 0) {
        n += std::snprintf(rest, room, "%d%s%d%s", hour, kHour, minute, kMinute);
    } else if (hour != 0) {
        n += std::snprintf(rest, room, "%d%s", hour, kHour);
    }
    return copy_text(std::string_view(buffer, static_cast<std::size_t>(n)));
}

double text_to_number(std::string_view text) { return read_number(FoldedText(text)); }

double text_to_number(double value) { return value; }

}  // namespace tallaro
