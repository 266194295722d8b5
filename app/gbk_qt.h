#pragma once
// The widget boundary: GBK texts of the register logic to and from QString.
// CR LF becomes one line break on screen. Running out of memory for either
// side's copy ends in the fatal error with the bytes asked for.

#include <QString>
#include <cstddef>
#include <string>
#include <string_view>

namespace tallaro {

QString qstring_from_gbk(std::string_view gbk);
std::string gbk_from_qstring(const QString& text);

// The bytes of the last text that crossed the boundary, as the toolkit holds
// it: the best count there is when the toolkit itself later runs out of
// memory with that text in hand.
std::size_t last_boundary_text_bytes();

}  // namespace tallaro
