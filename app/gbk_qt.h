#pragma once
// The widget boundary: GBK texts of the register logic to and from QString.
// CR LF becomes one line break on screen.

#include <QString>
#include <string>
#include <string_view>

namespace tallaro {

QString qstring_from_gbk(std::string_view gbk);
std::string gbk_from_qstring(const QString& text);

}  // namespace tallaro
