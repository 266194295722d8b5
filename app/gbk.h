#pragma once
// The one GBK codec (code page 936) between UTF-8 and the register logic's
// GBK texts. A character with no form on the other side becomes "?", and
// U+0000 is dropped; no input makes either function fail.

#include <string>
#include <string_view>

namespace tallaro {

std::string gbk_from_utf8(std::string_view utf8);
std::string utf8_from_gbk(std::string_view gbk);

}  // namespace tallaro
