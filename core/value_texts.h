#pragma once
// Value texts: the exact text forms of the numbers and date-times the user
// sees, and the reading of amounts the user types. Every text here is a
// std::string of GBK bytes with no NUL byte; an absent text is the empty
// string. Nothing here touches a window, keeps state between calls or
// reports an error.

#include <cstdint>
#include <string>
#include <string_view>

namespace tallaro {

std::string integer_to_text(std::int32_t value);
std::string float_to_text(float value);
std::string text_to_text(std::string_view text);
double current_date_time();
std::string date_time_to_text(double date_time);
double text_to_number(std::string_view text);
double text_to_number(double value);   // the double form

}  // namespace tallaro
