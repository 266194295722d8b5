#include "core/ext.h"
#include "core/checkout.h"

#include <string>

#include "app/window_ops.h"
#include "core/gbk.h"
#include "core/register_state.h"
#include "core/text.h"
#include "core/value_texts.h"

namespace tallaro {

namespace {

const std::string k_summary_head = gbk_from_utf8("您本次消费金额一共是： ");
const std::string k_summary_tail = gbk_from_utf8("  元人民币\r\n请结账！");
const std::string k_due_head = gbk_from_utf8("应收金额 ");
const std::string k_received_head = gbk_from_utf8("实收金额 ");
const std::string k_change_head = gbk_from_utf8("找零金额 ");
const std::string k_yuan = gbk_from_utf8(" 元人民币");

constexpr std::string_view k_total = "编辑框3";
constexpr std::string_view k_received = "编辑框1";

// A fresh copy of the main window's total box text.
std::string total_box_text() { return text_to_text(read_text(Window::main, k_total)); }

}  // namespace

void open_checkout() { load_window(Window::checkout, true); }

void show_amount_due() {
    set_visual_style(1);
    write_text(Window::checkout, "标签1", join_texts({k_summary_head, total_box_text(), k_summary_tail}));
    write_text(Window::checkout, "标签2", join_texts({k_due_head, total_box_text(), k_yuan}));
}

void settle_payment() {
    register_state.amount_due = static_cast<float>(text_to_number(read_text(Window::main, k_total)));
    register_state.amount_received =
        static_cast<float>(text_to_number(read_text(Window::checkout, k_received)));
    const double difference =
        static_cast<double>(Ext(register_state.amount_received) - Ext(register_state.amount_due));
    register_state.change = static_cast<float>(text_to_number(difference));

    const std::string received = text_to_text(read_text(Window::checkout, k_received));
    write_text(Window::checkout, "标签3", join_texts({k_received_head, received, k_yuan}));
    const std::string change = float_to_text(register_state.change);
    write_text(Window::checkout, "标签5", join_texts({k_change_head, change, k_yuan}));
}

void end_bill() {
    destroy_window(Window::main);
    load_window(Window::main, false);
    destroy_window(Window::checkout);
}

}  // namespace tallaro
