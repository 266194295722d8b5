#pragma once
// The one GBK codec (code page 936) between UTF-8 and GBK, used where texts
// cross to the toolkit (and by the tests, to write readable expectations).
// The register logic never calls it: its own texts are GBK bytes already.
//
// A character with no form on the other side becomes "?", and U+0000 is
// dropped. A machine without a GBK converter is a fatal error that says so;
// so is running out of memory for a converted text, with its byte count.

#include <string>
#include <string_view>

namespace tallaro {

std::string gbk_from_utf8(std::string_view utf8);
std::string utf8_from_gbk(std::string_view gbk);

// Whether the converters between GBK and UTF-8 can be opened here.
bool gbk_converter_available();

// The fatal error's message for a missing converter (ASCII, so that it can
// be shown without one).
inline constexpr std::string_view k_no_gbk_converter =
    "no GBK converter: iconv cannot convert between GBK and UTF-8 "
    "(the C library's gconv modules are missing)";

}  // namespace tallaro
