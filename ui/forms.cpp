#include "ui/form.h"

#include <array>

#include "core/bill_entry.h"
#include "core/checkout.h"

namespace tallaro::ui {

namespace {

constexpr std::uint32_t k_black = 0x000000;
constexpr std::uint32_t k_white = 0xFFFFFF;

constexpr Font k_bold(int px) { return Font{"", px, 700}; }

constexpr std::string_view k_price_button = "按此价格录入一件商品";

// The main window: the sales log on the left, the price pad on the right,
// start, checkout, running total, exit and the About group below it.
constexpr std::array k_main_controls = {
    Control{.kind = Kind::edit_box, .name = "编辑框3", .left = 544, .top = 312, .width = 80, .height = 28,
            .text = "", .tab_stop = true, .border = Border::sunken, .input = Input::read_only,
            .accessible_name = "目前金额总计", .accessible_description = "本单已录入商品的金额合计"},
    Control{.kind = Kind::label, .name = "标签3", .left = 464, .top = 312, .width = 88, .height = 24,
            .text = "目前金额总计："},
    Control{.kind = Kind::button, .name = "按钮14", .left = 632, .top = 312, .width = 264, .height = 48,
            .text = "使用结束 退出程序", .tab_stop = true, .font = Font{"微软雅黑", 29, 700}},
    Control{.kind = Kind::label, .name = "标签2", .parent = "分组框2", .left = 8, .top = 16, .width = 424,
            .height = 80,
            .text = "程序版本：Beta2017.2\r\n"
                    "最新版本：Beta2017.2\r\n"
                    "BUG反馈：bugs@tallaro.example\r\n"
                    "已知BUG：商品数量较多的时候，滚动条不会自动向下滚动",
            .font = Font{"", 16, 400}, .word_wrap = true},
    Control{.kind = Kind::group_box, .name = "分组框2", .left = 456, .top = 360, .width = 448, .height = 104,
            .text = "关于"},
    Control{.kind = Kind::button, .name = "按钮13", .parent = "分组框1", .left = 224, .top = 168, .width = 112,
            .height = 24, .text = "确认", .enabled = false, .tab_stop = true,
            .accessible_description = "把自定义价格作为一件商品录入"},
    Control{.kind = Kind::edit_box, .name = "编辑框2", .parent = "分组框1", .left = 80, .top = 168,
            .width = 136, .height = 20, .text = "", .tab_stop = true, .font = k_bold(14),
            .border = Border::sunken, .input = Input::number, .accessible_name = "自定义价格",
            .accessible_description = "输入一件商品的价格，再按确认录入"},
    Control{.kind = Kind::label, .name = "标签1", .parent = "分组框1", .left = 8, .top = 168, .width = 120,
            .height = 16, .text = "自定义价格："},
    Control{.kind = Kind::button, .name = "按钮12", .left = 568, .top = 152, .width = 80, .height = 32,
            .text = "500元", .enabled = false, .tab_stop = true,
            .accessible_description = k_price_button},
    Control{.kind = Kind::button, .name = "按钮11", .left = 472, .top = 152, .width = 80, .height = 32,
            .text = "100元", .enabled = false, .tab_stop = true,
            .accessible_description = k_price_button},
    Control{.kind = Kind::button, .name = "按钮10", .left = 760, .top = 104, .width = 80, .height = 32,
            .text = "50元", .enabled = false, .tab_stop = true,
            .accessible_description = k_price_button},
    Control{.kind = Kind::button, .name = "按钮9", .left = 664, .top = 104, .width = 80, .height = 32,
            .text = "20元", .enabled = false, .tab_stop = true,
            .accessible_description = k_price_button},
    Control{.kind = Kind::button, .name = "按钮8", .left = 568, .top = 104, .width = 80, .height = 32,
            .text = "10元", .enabled = false, .tab_stop = true,
            .accessible_description = k_price_button},
    Control{.kind = Kind::button, .name = "按钮7", .left = 472, .top = 104, .width = 80, .height = 32,
            .text = "5.0元", .enabled = false, .tab_stop = true,
            .accessible_description = k_price_button},
    Control{.kind = Kind::button, .name = "按钮6", .left = 760, .top = 56, .width = 80, .height = 32,
            .text = "2.0元", .enabled = false, .tab_stop = true,
            .accessible_description = k_price_button},
    Control{.kind = Kind::button, .name = "按钮5", .left = 664, .top = 56, .width = 80, .height = 32,
            .text = "1.0元", .enabled = false, .tab_stop = true,
            .accessible_description = k_price_button},
    Control{.kind = Kind::button, .name = "按钮4", .left = 568, .top = 56, .width = 80, .height = 32,
            .text = "0.5元", .enabled = false, .tab_stop = true,
            .accessible_description = k_price_button},
    Control{.kind = Kind::button, .name = "按钮3", .parent = "分组框1", .left = 8, .top = 24, .width = 80,
            .height = 32, .text = "0.1元", .enabled = false, .tab_stop = true,
            .accessible_description = k_price_button},
    Control{.kind = Kind::group_box, .name = "分组框1", .left = 464, .top = 32, .width = 440, .height = 200,
            .text = "输入商品价格（开始收银后可以开始）"},
    Control{.kind = Kind::button, .name = "按钮2", .left = 728, .top = 256, .width = 152, .height = 40,
            .text = "开始结账", .enabled = false, .tab_stop = true, .font = k_bold(16),
            .accessible_description = "打开结账窗口，收款找零"},
    Control{.kind = Kind::button, .name = "按钮1", .left = 496, .top = 256, .width = 192, .height = 40,
            .text = "开始收银", .tab_stop = true, .font = k_bold(16),
            .accessible_description = "开始新的账单，在销售记录中记下当前时间"},
    Control{.kind = Kind::edit_box, .name = "编辑框1", .left = 8, .top = 16, .width = 448, .height = 456,
            .text = "请点击下方开始收银，然后进行操作", .font = Font{"新宋体", 16, 700},
            .border = Border::single_line, .input = Input::read_only, .multi_line = true,
            .vertical_scroll = true, .crosshair = true, .word_wrap = true, .accessible_name = "销售记录",
            .accessible_description = "列出本单的每件商品及其金额"},
};

template <std::size_t Row>
void press_fixed_price() {
    enter_fixed_price(fixed_prices[Row]);
}

constexpr std::array k_main_clicks = {
    Binding{"按钮1", start_bill},
    Binding{"按钮2", open_checkout},
    Binding{"按钮3", press_fixed_price<0>},
    Binding{"按钮4", press_fixed_price<1>},
    Binding{"按钮5", press_fixed_price<2>},
    Binding{"按钮6", press_fixed_price<3>},
    Binding{"按钮7", press_fixed_price<4>},
    Binding{"按钮8", press_fixed_price<5>},
    Binding{"按钮9", press_fixed_price<6>},
    Binding{"按钮10", press_fixed_price<7>},
    Binding{"按钮11", press_fixed_price<8>},
    Binding{"按钮12", press_fixed_price<9>},
    Binding{"按钮13", enter_custom_price},
    Binding{"按钮14", exit_program},
};

// The checkout window: the amount due in large type, the amount received
// box, the received and change labels, and the button that ends the bill.
constexpr std::array k_checkout_controls = {
    Control{.kind = Kind::button, .name = "按钮2", .left = 136, .top = 296, .width = 296, .height = 48,
            .text = "结束该账单", .tab_stop = true, .font = k_bold(35),
            .accessible_description = "结束本单，为下一位顾客打开新的主窗口"},
    Control{.kind = Kind::label, .name = "标签5", .left = 8, .top = 248, .width = 592, .height = 40,
            .text = "请等待付款......", .font = k_bold(32), .accessible_description = "应找给顾客的零钱"},
    Control{.kind = Kind::button, .name = "按钮1", .left = 416, .top = 208, .width = 80, .height = 32,
            .text = "确认", .tab_stop = true, .accessible_description = "按实收金额计算找零"},
    Control{.kind = Kind::edit_box, .name = "编辑框1", .left = 112, .top = 216, .width = 272, .height = 20,
            .text = "", .tab_stop = true, .border = Border::sunken, .input = Input::number,
            .accessible_name = "实收金额", .accessible_description = "输入顾客付的金额"},
    Control{.kind = Kind::label, .name = "标签4", .left = 16, .top = 208, .width = 120, .height = 32,
            .text = "请输入实收金额："},
    Control{.kind = Kind::label, .name = "标签3", .left = 8, .top = 160, .width = 592, .height = 40,
            .text = "请等待付款......", .font = k_bold(32), .accessible_description = "顾客实付的金额"},
    Control{.kind = Kind::label, .name = "标签2", .left = 8, .top = 112, .width = 592, .height = 40,
            .text = "计算中：", .font = k_bold(32), .accessible_description = "本单应收的金额"},
    Control{.kind = Kind::label, .name = "标签1", .left = 8, .top = 16, .width = 592, .height = 80,
            .text = "计算中", .font = Font{"微软雅黑", 24, 700}, .text_color = k_white,
            .background = k_black, .word_wrap = true, .accessible_description = "应收金额与付款提示"},
};

constexpr std::array k_checkout_clicks = {
    Binding{"按钮1", settle_payment},
    Binding{"按钮2", end_bill},
};

const Form k_main_form{
    .window = Window::main,
    .object_name = "MainWindow",
    .title = "Tallaro Beta2017.2",
    .width = 926,
    .height = 506,
    .controls = k_main_controls,
    .created = reset_register,
    .clicks = k_main_clicks,
};

const Form k_checkout_form{
    .window = Window::checkout,
    .object_name = "CheckoutWindow",
    .title = "结账窗口",
    .width = 619,
    .height = 386,
    .controls = k_checkout_controls,
    .created = show_amount_due,
    .clicks = k_checkout_clicks,
};

}  // namespace

const Form& main_form() { return k_main_form; }
const Form& checkout_form() { return k_checkout_form; }
const Form& form_of(Window window) { return window == Window::main ? k_main_form : k_checkout_form; }

const Control* find_control(const Form& form, std::string_view name) {
    for (const Control& control : form.controls) {
        if (control.name == name) return &control;
    }
    return nullptr;
}

void (*click_binding(const Form& form, std::string_view control))() {
    for (const Binding& binding : form.clicks) {
        if (binding.control == control) return binding.run;
    }
    return nullptr;
}

}  // namespace tallaro::ui
