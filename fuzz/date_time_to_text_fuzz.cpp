// Date-time to text gives at most 26 bytes of valid GBK for every double,
// NaN and infinities included, in the shape year 年 month 月 day 日 and
// optionally 时, 分, 秒 with their numbers.

#include <cstdint>
#include <cstring>
#include <string>

#include "core/gbk.h"
#include "core/value_texts.h"
#include "fuzz/fuzz_check.h"

namespace {

// Reads a decimal number at s[i]; false when there is none.
bool number(const std::string& s, std::size_t& i, int& value) {
    const std::size_t start = i;
    value = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9' && i - start < 5) value = value * 10 + (s[i++] - '0');
    return i > start && (i - start == 1 || s[start] != '0');
}

bool unit(const std::string& s, std::size_t& i, const char* gbk) {
    if (s.compare(i, 2, gbk) != 0) return false;
    i += 2;
    return true;
}

bool well_formed(const std::string& s) {
    std::size_t i = 0;
    int year, month, day, h = 0, m = 0, sec = 0;
    if (!number(s, i, year) || !unit(s, i, "\xC4\xEA") || !number(s, i, month) || !unit(s, i, "\xD4\xC2") ||
        !number(s, i, day) || !unit(s, i, "\xC8\xD5")) {
        return false;
    }
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return false;
    if (i == s.size()) return true;
    if (!number(s, i, h) || !unit(s, i, "\xCA\xB1") || h > 23) return false;
    if (i == s.size()) return h != 0;
    if (!number(s, i, m) || !unit(s, i, "\xB7\xD6") || m > 59) return false;
    if (i == s.size()) return m != 0;
    if (!number(s, i, sec) || !unit(s, i, "\xC3\xEB") || sec > 59 || sec == 0) return false;
    return i == s.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 8) return 0;
    double d;
    std::memcpy(&d, data, 8);
    const std::string text = tallaro::date_time_to_text(d);
    FUZZ_CHECK(text.size() <= 26, "%.17g gives %zu bytes", d, text.size());
    // Valid GBK: converts to UTF-8 and back without a single "?".
    FUZZ_CHECK(tallaro::gbk_from_utf8(tallaro::utf8_from_gbk(text)) == text, "%.17g gives broken GBK", d);
    FUZZ_CHECK(well_formed(text), "%.17g gives %s", d, tallaro::utf8_from_gbk(text).c_str());
    return 0;
}
