#include "core/ext.h"
#include "core/bill_entry.h"

#include "app/window_ops.h"
#include "core/register_state.h"
#include "core/text.h"
#include "core/value_texts.h"

namespace tallaro {

namespace {

// The texts of this window's lines, as GBK bytes.
constexpr std::string_view k_time_prefix = "\xB5\xB1\xC7\xB0\xCA\xB1\xBC\xE4\xA3\xBA";  // 当前时间：
constexpr std::string_view k_start_suffix =  // \r\n初始化完成，开始收银：
    "\r\n\xB3\xF5\xCA\xBC\xBB\xAF\xCD\xEA\xB3\xC9\xA3\xAC\xBF\xAA\xCA\xBC\xCA\xD5\xD2\xF8\xA3\xBA";
constexpr std::string_view k_line_start = "\r\n\xB5\xDA";                            // \r\n第
#define TALLARO_ARTICLE "\xBC\xFE\xC9\xCC\xC6\xB7\xA3\xAC\xBD\xF0\xB6\xEE "    // 件商品，金额 + space
#define TALLARO_YUAN " \xD4\xAA"                                                      // space + 元
constexpr std::string_view k_custom_middle = TALLARO_ARTICLE;
constexpr std::string_view k_custom_end = TALLARO_YUAN;

constexpr std::string_view k_sales_log = "编辑框1";
constexpr std::string_view k_custom_price = "编辑框2";
constexpr std::string_view k_total = "编辑框3";

// The item number wraps as a 32-bit two's complement counter would.
void advance_item_number() {
    register_state.item_number =
        static_cast<std::int32_t>(static_cast<std::uint32_t>(register_state.item_number) + 1u);
}

void show_running_total() {
    write_text(Window::main, k_total, float_to_text(register_state.running_total));
}

}  // namespace

const std::array<FixedPrice, 10> fixed_prices = {{
    {"按钮3", 0.1, TALLARO_ARTICLE "0.1" TALLARO_YUAN},
    {"按钮4", 0.5, TALLARO_ARTICLE "0.5" TALLARO_YUAN},
    {"按钮5", 1.0, TALLARO_ARTICLE "1.0" TALLARO_YUAN},
    {"按钮6", 2.0, TALLARO_ARTICLE "2.0" TALLARO_YUAN},
    {"按钮7", 5.0, TALLARO_ARTICLE "5.0" TALLARO_YUAN},
    {"按钮8", 10.0, TALLARO_ARTICLE "10.0" TALLARO_YUAN},
    {"按钮9", 20.0, TALLARO_ARTICLE "20.0" TALLARO_YUAN},
    {"按钮10", 50.0, TALLARO_ARTICLE "50.0" TALLARO_YUAN},
    {"按钮11", 100.0, TALLARO_ARTICLE "100.0" TALLARO_YUAN},
    {"按钮12", 500.0, TALLARO_ARTICLE "500.0" TALLARO_YUAN},
}};

#undef TALLARO_ARTICLE
#undef TALLARO_YUAN

void reset_register() {
    set_visual_style(1);
    register_state.item_number = 1;
    register_state.running_total = 0.0f;
}

void start_bill() {
    std::string line;
    {
        const std::string stamp = date_time_to_text(current_date_time());
        line = join_texts({k_time_prefix, stamp, k_start_suffix});
    }
    write_text(Window::main, k_sales_log, line);
    line = std::string();
    set_disabled(Window::main, "按钮1", true);
    for (std::string_view button : {"按钮2", "按钮3", "按钮4", "按钮5", "按钮6", "按钮7", "按钮8",
                                    "按钮9", "按钮10", "按钮11", "按钮12", "按钮13"}) {
        set_disabled(Window::main, button, false);
    }
}

// Every text is released as soon as it has been joined: the log read back
// is gone before the joined log is written, so that an entry holds one copy
// of the log fewer while the box takes its own.
void enter_fixed_price(const FixedPrice& row) {
    std::string log_after;
    {
        const std::string number = integer_to_text(register_state.item_number);
        const std::string log = read_text(Window::main, k_sales_log);
        log_after = join_texts({log, k_line_start, number, row.label});
    }
    write_text(Window::main, k_sales_log, log_after);
    log_after = std::string();
    advance_item_number();
    // The sum keeps a 64-bit significand and is rounded once, to 32 bits.
    register_state.running_total =
        static_cast<float>(Ext(register_state.running_total) + Ext(row.price));
    show_running_total();
}

void enter_custom_price() {
    std::string log_after;
    {
        const std::string number = integer_to_text(register_state.item_number);
        const std::string log = read_text(Window::main, k_sales_log);
        const std::string price = read_text(Window::main, k_custom_price);
        log_after = join_texts({log, k_line_start, number, k_custom_middle, price, k_custom_end});
    }
    write_text(Window::main, k_sales_log, log_after);
    log_after = std::string();
    advance_item_number();
    const double value = text_to_number(read_text(Window::main, k_custom_price));
    // Unlike a fixed price, a typed price's sum passes through a double.
    register_state.running_total =
        static_cast<float>(static_cast<double>(Ext(register_state.running_total) + Ext(value)));
    show_running_total();
}

}  // namespace tallaro
