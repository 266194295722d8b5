// Float to text writes at most 13 bytes in one of its forms, and the text
// reads back to within half a unit of the float's sixth significant digit.

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/value_texts.h"
#include "fuzz/fuzz_check.h"

namespace {

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// The decimal exponent of the text's first digit, or false when the text is
// not one of the forms: "0", [-]digits[.digits] with at most six significant
// digits and no trailing zero after the point, or [-]d[.ddddd]e(+|-)ddd.
bool first_digit_exponent(const std::string& s, int& exponent) {
    std::size_t i = s[0] == '-' ? 1 : 0;
    const std::size_t e = s.find('e');
    const std::string mantissa = s.substr(i, e == std::string::npos ? std::string::npos : e - i);
    const std::size_t point = mantissa.find('.');
    if (mantissa.empty() || !is_digit(mantissa.front()) || !is_digit(mantissa.back())) return false;
    if (point != std::string::npos && mantissa.back() == '0') return false;
    std::string digits;
    for (char c : mantissa) {
        if (c == '.') continue;
        if (!is_digit(c)) return false;
        digits.push_back(c);
    }
    if (std::count(mantissa.begin(), mantissa.end(), '.') > 1) return false;
    const std::size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos) return false;  // "0" is handled by the caller
    if (digits.size() - first > 6) return false;
    const std::size_t int_digits = point == std::string::npos ? mantissa.size() : point;
    if (e != std::string::npos) {
        if (int_digits != 1 || mantissa[0] == '0') return false;
        if (s.size() != e + 5 || (s[e + 1] != '+' && s[e + 1] != '-')) return false;
        if (!is_digit(s[e + 2]) || !is_digit(s[e + 3]) || !is_digit(s[e + 4])) return false;
        exponent = std::stoi(s.substr(e + 2, 3)) * (s[e + 1] == '-' ? -1 : 1);
        return exponent < -4 || exponent >= 6;
    }
    if (int_digits > 1 && mantissa[0] == '0') return false;
    exponent = static_cast<int>(int_digits) - 1 - static_cast<int>(first);
    return exponent >= -4 && exponent <= 5;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 4) return 0;
    std::uint32_t bits;
    std::memcpy(&bits, data, 4);
    const float x = std::bit_cast<float>(bits);
    const std::string text = tallaro::float_to_text(x);
    FUZZ_CHECK(!text.empty() && text.size() <= 13, "%08X gives %s", bits, text.c_str());

    if (std::isnan(x)) {
        FUZZ_CHECK(text == "1.#QNAN", "%08X gives %s", bits, text.c_str());
        return 0;
    }
    if (std::isinf(x)) {
        FUZZ_CHECK(text == (x > 0 ? "1.#INF" : "-1.#INF"), "%08X gives %s", bits, text.c_str());
        return 0;
    }
    // Below 2^-126 the last digit stands for at least 1e-44.
    const bool subnormal = std::fabs(x) < FLT_MIN;
    int exponent = -39;
    if (text != "0") {
        FUZZ_CHECK(first_digit_exponent(text, exponent), "%08X gives %s", bits, text.c_str());
        FUZZ_CHECK((text[0] == '-') == (x < 0), "%08X gives %s", bits, text.c_str());
    } else {
        FUZZ_CHECK(subnormal, "%08X gives 0", bits);
    }
    long double unit = std::pow(10.0L, exponent - 5);
    if (subnormal) unit = std::max(unit, 1e-44L);
    const long double error = std::fabs(static_cast<long double>(tallaro::text_to_number(text)) - x);
    FUZZ_CHECK(error <= 0.5L * unit * (1 + 1e-9L), "%08X gives %s, off by %Lg", bits, text.c_str(), error);
    return 0;
}
