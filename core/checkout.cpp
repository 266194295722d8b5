#include "core/ext.h"
#include "core/checkout.h"

#include <string>

#include "app/window_ops.h"
#include "core/register_state.h"
#include "core/text.h"
#include "core/value_texts.h"

namespace tallaro {

namespace {

// The texts of the checkout labels, as GBK bytes.
constexpr std::string_view k_summary_head =  // 您本次消费金额一共是：+ space
    "\xC4\xFA\xB1\xBE\xB4\xCE\xCF\xFB\xB7\xD1\xBD\xF0\xB6\xEE\xD2\xBB\xB9\xB2\xCA\xC7\xA3\xBA ";
constexpr std::string_view k_summary_tail =  // two spaces, 元人民币\r\n请结账！
    "  \xD4\xAA\xC8\xCB\xC3\xF1\xB1\xD2\r\n\xC7\xEB\xBD\xE1\xD5\xCB\xA3\xA1";
constexpr std::string_view k_due_head = "\xD3\xA6\xCA\xD5\xBD\xF0\xB6\xEE ";       // 应收金额
constexpr std::string_view k_received_head = "\xCA\xB5\xCA\xD5\xBD\xF0\xB6\xEE ";  // 实收金额
constexpr std::string_view k_change_head = "\xD5\xD2\xC1\xE3\xBD\xF0\xB6\xEE ";    // 找零金额
constexpr std::string_view k_yuan = " \xD4\xAA\xC8\xCB\xC3\xF1\xB1\xD2";          // space, 元人民币

constexpr std::string_view k_total = "编辑框3";
constexpr std::string_view k_received = "编辑框1";

// 标签1 and 标签2 each get the total box's text between their head and tail.
void show_total_between(std::string_view label, std::string_view head, std::string_view tail) {
    std::string s;
    {
        std::string c;
        {
            const std::string t = read_text(Window::main, k_total);
            c = text_to_text(t);
        }
        s = join_texts({head, c, tail});
    }
    write_text(Window::checkout, label, s);
}

}  // namespace

void open_checkout() { load_window(Window::checkout, true); }

void show_amount_due() {
    set_visual_style(1);
    show_total_between("标签1", k_summary_head, k_summary_tail);
    show_total_between("标签2", k_due_head, k_yuan);
}

void settle_payment() {
    register_state.amount_due = static_cast<float>(text_to_number(read_text(Window::main, k_total)));
    register_state.amount_received =
        static_cast<float>(text_to_number(read_text(Window::checkout, k_received)));
    const double difference =
        static_cast<double>(Ext(register_state.amount_received) - Ext(register_state.amount_due));
    register_state.change = static_cast<float>(text_to_number(difference));

    std::string s;
    {
        std::string c;
        {
            const std::string r = read_text(Window::checkout, k_received);
            c = text_to_text(r);
        }
        s = join_texts({k_received_head, c, k_yuan});
    }
    write_text(Window::checkout, "标签3", s);
    {
        const std::string ct = float_to_text(register_state.change);
        s = join_texts({k_change_head, ct, k_yuan});
    }
    write_text(Window::checkout, "标签5", s);
}

void end_bill() {
    destroy_window(Window::main);
    load_window(Window::main, false);
    destroy_window(Window::checkout);
}

}  // namespace tallaro
