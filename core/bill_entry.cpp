#include "core/ext.h"
#include "core/bill_entry.h"

#include "app/window_ops.h"
#include "core/gbk.h"
#include "core/register_state.h"
#include "core/text.h"
#include "core/value_texts.h"

namespace tallaro {

namespace {

const std::string k_time_prefix = gbk_from_utf8("当前时间：");
const std::string k_start_suffix = gbk_from_utf8("\r\n初始化完成，开始收银：");
const std::string k_line_start = gbk_from_utf8("\r\n第");
const std::string k_custom_middle = gbk_from_utf8("件商品，金额 ");
const std::string k_custom_end = gbk_from_utf8(" 元");

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
    {"按钮3", 0.1, gbk_from_utf8("件商品，金额 0.1 元")},
    {"按钮4", 0.5, gbk_from_utf8("件商品，金额 0.5 元")},
    {"按钮5", 1.0, gbk_from_utf8("件商品，金额 1.0 元")},
    {"按钮6", 2.0, gbk_from_utf8("件商品，金额 2.0 元")},
    {"按钮7", 5.0, gbk_from_utf8("件商品，金额 5.0 元")},
    {"按钮8", 10.0, gbk_from_utf8("件商品，金额 10.0 元")},
    {"按钮9", 20.0, gbk_from_utf8("件商品，金额 20.0 元")},
    {"按钮10", 50.0, gbk_from_utf8("件商品，金额 50.0 元")},
    {"按钮11", 100.0, gbk_from_utf8("件商品，金额 100.0 元")},
    {"按钮12", 500.0, gbk_from_utf8("件商品，金额 500.0 元")},
}};

void reset_register() {
    set_visual_style(1);
    register_state.item_number = 1;
    register_state.running_total = 0.0f;
}

void start_bill() {
    const std::string stamp = date_time_to_text(current_date_time());
    write_text(Window::main, k_sales_log, join_texts({k_time_prefix, stamp, k_start_suffix}));
    set_disabled(Window::main, "按钮1", true);
    for (std::string_view button : {"按钮2", "按钮3", "按钮4", "按钮5", "按钮6", "按钮7", "按钮8",
                                    "按钮9", "按钮10", "按钮11", "按钮12", "按钮13"}) {
        set_disabled(Window::main, button, false);
    }
}

void enter_fixed_price(const FixedPrice& row) {
    {
        const std::string number = integer_to_text(register_state.item_number);
        const std::string log = read_text(Window::main, k_sales_log);
        write_text(Window::main, k_sales_log, join_texts({log, k_line_start, number, row.label}));
    }
    advance_item_number();
    // The sum keeps a 64-bit significand and is rounded once, to 32 bits.
    register_state.running_total =
        static_cast<float>(Ext(register_state.running_total) + Ext(row.price));
    show_running_total();
}

void enter_custom_price() {
    {
        const std::string number = integer_to_text(register_state.item_number);
        const std::string log = read_text(Window::main, k_sales_log);
        const std::string price = read_text(Window::main, k_custom_price);
        write_text(Window::main, k_sales_log,
                   join_texts({log, k_line_start, number, k_custom_middle, price, k_custom_end}));
    }
    advance_item_number();
    const double value = text_to_number(read_text(Window::main, k_custom_price));
    // Unlike a fixed price, a typed price's sum passes through a double.
    register_state.running_total =
        static_cast<float>(static_cast<double>(Ext(register_state.running_total) + Ext(value)));
    show_running_total();
}

}  // namespace tallaro
