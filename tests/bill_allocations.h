#pragma once
// The text allocations of one bill, worked out from the texts the bill
// passes through rather than taken from a run: started at 2024-03-05
// 08:07:09, then 按钮6, 按钮3, 3.5 typed and 确认, 开始结账, 10 received and
// 确认, 结束该账单. Each count is the text's GBK bytes and its zero byte.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/gbk.h"

namespace tallaro::support {

inline std::size_t bytes_of(std::string_view utf8) { return gbk_from_utf8(utf8).size() + 1; }

inline std::vector<std::size_t> bill_allocations() {
    const std::string start = "当前时间：2024年3月5日8时7分9秒\r\n初始化完成，开始收银：";
    const std::string log1 = start + "\r\n第1件商品，金额 2.0 元";
    const std::string log2 = log1 + "\r\n第2件商品，金额 0.1 元";
    const std::string log3 = log2 + "\r\n第3件商品，金额 3.5 元";
    return {
        // 开始收银: the time stamp, the start line.
        bytes_of("2024年3月5日8时7分9秒"), bytes_of(start),
        // 按钮6: the number, the log read back, the joined log, the total.
        bytes_of("1"), bytes_of(start), bytes_of(log1), bytes_of("2"),
        // 按钮3.
        bytes_of("2"), bytes_of(log1), bytes_of(log2), bytes_of("2.1"),
        // 确认 with 3.5: the number, the log, the price, the joined log, the
        // price read again for its value, the total.
        bytes_of("3"), bytes_of(log2), bytes_of("3.5"), bytes_of(log3), bytes_of("3.5"), bytes_of("5.6"),
        // The checkout window's created event: the total box read and copied,
        // twice, each time joined into a label.
        bytes_of("5.6"), bytes_of("5.6"), bytes_of("您本次消费金额一共是： 5.6  元人民币\r\n请结账！"),
        bytes_of("5.6"), bytes_of("5.6"), bytes_of("应收金额 5.6 元人民币"),
        // 确认 in the checkout window: the total box and the amount received
        // for their values, the amount received again for its label, its copy,
        // the label, the change and its label.
        bytes_of("5.6"), bytes_of("10"), bytes_of("10"), bytes_of("10"), bytes_of("实收金额 10 元人民币"),
        bytes_of("4.4"), bytes_of("找零金额 4.4 元人民币"),
        // 结束该账单 makes no text.
    };
}

}  // namespace tallaro::support
