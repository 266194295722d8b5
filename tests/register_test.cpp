// The register logic driven through the table-backed fake of the windows:
// sales log lines, totals and checkout labels, byte for byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <string>
#include <vector>

#include "core/bill_entry.h"
#include "core/checkout.h"
#include "core/gbk.h"
#include "core/register_state.h"
#include "core/text.h"
#include "tests/allocation_script.h"
#include "tests/bill_allocations.h"
#include "tests/fake_window_ops.h"

namespace tallaro::support {
namespace {

constexpr Window kMain = Window::main;
constexpr Window kCheckout = Window::checkout;

class Register : public ::testing::Test {
protected:
    void SetUp() override {
        register_state = {};
        ASSERT_TRUE(ops.load_window(kMain, false, std::nullopt));
        ops.calls.clear();
    }

    void click(std::string_view button) { ops.click(kMain, button); }
    // Types a price (UTF-8 here, GBK in the box) and presses 确认.
    void enter_custom(std::string_view price) {
        ops.write_text(kMain, "编辑框2", gbk_from_utf8(price));
        click("按钮13");
    }
    std::string log() { return ops.text(kMain, "编辑框1"); }
    std::string total() { return ops.text(kMain, "编辑框3"); }
    std::string last_line() {
        const std::string text = log();
        const auto at = text.rfind("\r\n");
        return at == std::string::npos ? text : text.substr(at + 2);
    }

    FakeWindowOps ops;
    FixedClock clock{LocalTime{2024, 3, 5, 8, 7, 9}};
};

TEST_F(Register, FreshMainWindowHasRunResetBeforeLoadReturns) {
    EXPECT_EQ(register_state.item_number, 1);
    EXPECT_EQ(register_state.running_total, 0.0f);
    EXPECT_EQ(ops.visual_style, 1);
    EXPECT_EQ(log(), "请点击下方开始收银，然后进行操作");
    EXPECT_EQ(total(), "");
    EXPECT_FALSE(ops.disabled(kMain, "按钮1"));
    EXPECT_TRUE(ops.disabled(kMain, "按钮2"));
    EXPECT_TRUE(ops.disabled(kMain, "按钮13"));
}

TEST_F(Register, WorkedExampleBillAndCheckout) {
    click("按钮1");
    EXPECT_EQ(log(), "当前时间：2024年3月5日8时7分9秒\r\n初始化完成，开始收银：");
    EXPECT_EQ(total(), "");
    EXPECT_TRUE(ops.disabled(kMain, "按钮1"));
    for (const char* b : {"按钮2", "按钮3", "按钮7", "按钮12", "按钮13"}) EXPECT_FALSE(ops.disabled(kMain, b)) << b;

    click("按钮6");
    EXPECT_EQ(total(), "2");
    click("按钮3");
    EXPECT_EQ(total(), "2.1");
    enter_custom("3.5");
    EXPECT_EQ(total(), "5.6");
    EXPECT_EQ(log(),
              "当前时间：2024年3月5日8时7分9秒\r\n初始化完成，开始收银："
              "\r\n第1件商品，金额 2.0 元"
              "\r\n第2件商品，金额 0.1 元"
              "\r\n第3件商品，金额 3.5 元");
    EXPECT_EQ(register_state.item_number, 4);
    EXPECT_EQ(register_state.running_total, 5.6f);
    EXPECT_EQ(ops.text(kMain, "编辑框2"), "3.5") << "the custom price box keeps its text";

    click("按钮2");
    ASSERT_TRUE(ops.loaded(kCheckout));
    EXPECT_EQ(ops.text(kCheckout, "标签1"), "您本次消费金额一共是： 5.6  元人民币\r\n请结账！");
    EXPECT_EQ(ops.text(kCheckout, "标签2"), "应收金额 5.6 元人民币");
    EXPECT_EQ(ops.text(kCheckout, "标签3"), "请等待付款......");

    ops.write_text(kCheckout, "编辑框1", "10");
    ops.click(kCheckout, "按钮1");
    EXPECT_EQ(ops.text(kCheckout, "标签3"), "实收金额 10 元人民币");
    EXPECT_EQ(ops.text(kCheckout, "标签5"), "找零金额 4.4 元人民币");
    EXPECT_EQ(register_state.amount_due, 5.6f);
    EXPECT_EQ(register_state.amount_received, 10.0f);
    EXPECT_EQ(register_state.change, 4.4f);
}

// A sequence of entries and the total box after each one. A step is a button
// name, or "=" followed by a typed custom price.
struct EntryCase {
    const char* name;
    std::vector<std::pair<std::string, std::string>> steps;
    std::uint32_t final_bits;  // the running total's float bits afterwards
};

class Entries : public Register, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(Entries, RunningTotalIsRoundedAtEachStoredStep) {
    click("按钮1");
    int expected_number = 1;
    for (const auto& [step, shown] : GetParam().steps) {
        if (step.starts_with("=")) {
            enter_custom(step.substr(1));
        } else {
            click(step);
        }
        ++expected_number;
        EXPECT_EQ(total(), shown) << "after " << step;
        EXPECT_EQ(register_state.item_number, expected_number) << "after " << step;
    }
    EXPECT_EQ(std::bit_cast<std::uint32_t>(register_state.running_total), GetParam().final_bits);
}

std::vector<std::pair<std::string, std::string>> repeat(const char* button, int times,
                                                        std::vector<std::string> shown) {
    std::vector<std::pair<std::string, std::string>> steps;
    for (int i = 0; i < times; ++i) steps.emplace_back(button, shown[i]);
    return steps;
}

INSTANTIATE_TEST_SUITE_P(
    Register, Entries,
    ::testing::Values(
        // 1 + 2^-23 is the float next above 1; six digits show it as 1.
        EntryCase{"TenTenths",
                  repeat("按钮3", 10, {"0.1", "0.2", "0.3", "0.4", "0.5", "0.6", "0.7", "0.8", "0.9", "1"}),
                  0x3F800001},
        EntryCase{"TwoHalfTenth", {{"按钮6", "2"}, {"按钮4", "2.5"}, {"按钮3", "2.6"}}, 0x40266666},
        EntryCase{"EveryFixedButton",
                  {{"按钮3", "0.1"}, {"按钮4", "0.6"}, {"按钮5", "1.6"}, {"按钮6", "3.6"}, {"按钮7", "8.6"},
                   {"按钮8", "18.6"}, {"按钮9", "38.6"}, {"按钮10", "88.6"}, {"按钮11", "188.6"},
                   {"按钮12", "688.6"}},
                  std::bit_cast<std::uint32_t>(688.6f)},
        // The typed price's sum passes through a double before it is stored.
        EntryCase{"CustomThroughDouble", {{"=0.1", "0.1"}, {"=0.2", "0.3"}}, 0x3E99999A},
        // 1 + this price lies just above 1 + 2^-24, half-way between two
        // floats: rounded straight to a float it would go up to 3F800001;
        // through a double it is exactly half-way and goes to even.
        EntryCase{"CustomHalfWayOnlyThroughDouble", {{"按钮5", "1"}, {"=0.00000005960464477625799", "1"}},
                  0x3F800000},
        // 1 + this price lies within half a unit of the 64-bit significand
        // above the same half-way point: the sum's rounding to 64 bits lands
        // on it, and the ties that follow go to even. Without that first
        // rounding the total would be 3F800001.
        EntryCase{"CustomSumRoundedTo64BitsFirst", {{"按钮5", "1"}, {"=0.00000005960464488641377", "1"}},
                  0x3F800000},
        EntryCase{"DottedTwiceAddsLeadingNumber", {{"=1.2.3", "1.2"}}, std::bit_cast<std::uint32_t>(1.2f)},
        EntryCase{"NoNumberAddsZero", {{"=--5", "0"}, {"=", "0"}, {"=abc", "0"}}, 0},
        EntryCase{"NegativeLowersTotal", {{"按钮6", "2"}, {"=-3", "-1"}}, std::bit_cast<std::uint32_t>(-1.0f)},
        EntryCase{"FullWidthPaste", {{"=１２．５", "12.5"}, {"=　３ｅ１", "42.5"}}, std::bit_cast<std::uint32_t>(42.5f)},
        EntryCase{"ReachesExponentForm", {{"=999999", "999999"}, {"按钮3", "999999"}, {"按钮5", "1e+006"}},
                  std::bit_cast<std::uint32_t>(1000000.1f)},
        EntryCase{"InfiniteStaysInfinite", {{"=1e39", "1.#INF"}, {"按钮6", "1.#INF"}, {"=-1e400", "1.#QNAN"}},
                  0xFFC00000}),
    [](const auto& info) { return std::string(info.param.name); });

// Each fixed-price button on a fresh bill: the article line it appends, byte
// for byte, and the total it leaves.
struct FixedButtonCase {
    const char* name;
    const char* button;
    const char* line;  // UTF-8 here; the log holds it as GBK
    const char* total;
    std::uint32_t bits;
};

class FixedButtons : public Register, public ::testing::WithParamInterface<FixedButtonCase> {};

TEST_P(FixedButtons, AppendTheirLabelAndAddTheirPrice) {
    const FixedButtonCase& c = GetParam();
    click("按钮1");
    const std::string before = ops.instance(kMain).controls.at("编辑框1").text;
    click(c.button);
    EXPECT_EQ(ops.instance(kMain).controls.at("编辑框1").text, before + gbk_from_utf8(c.line));
    EXPECT_EQ(total(), c.total);
    EXPECT_EQ(std::bit_cast<std::uint32_t>(register_state.running_total), c.bits);
    EXPECT_EQ(register_state.item_number, 2);
}

INSTANTIATE_TEST_SUITE_P(
    Register, FixedButtons,
    ::testing::Values(FixedButtonCase{"Button3", "按钮3", "\r\n第1件商品，金额 0.1 元", "0.1", 0x3DCCCCCD},
                      FixedButtonCase{"Button4", "按钮4", "\r\n第1件商品，金额 0.5 元", "0.5", 0x3F000000},
                      FixedButtonCase{"Button5", "按钮5", "\r\n第1件商品，金额 1.0 元", "1", 0x3F800000},
                      FixedButtonCase{"Button6", "按钮6", "\r\n第1件商品，金额 2.0 元", "2", 0x40000000},
                      FixedButtonCase{"Button7", "按钮7", "\r\n第1件商品，金额 5.0 元", "5", 0x40A00000},
                      FixedButtonCase{"Button8", "按钮8", "\r\n第1件商品，金额 10.0 元", "10", 0x41200000},
                      FixedButtonCase{"Button9", "按钮9", "\r\n第1件商品，金额 20.0 元", "20", 0x41A00000},
                      FixedButtonCase{"Button10", "按钮10", "\r\n第1件商品，金额 50.0 元", "50", 0x42480000},
                      FixedButtonCase{"Button11", "按钮11", "\r\n第1件商品，金额 100.0 元", "100", 0x42C80000},
                      FixedButtonCase{"Button12", "按钮12", "\r\n第1件商品，金额 500.0 元", "500", 0x43FA0000}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Register, CustomPriceIsLoggedAsTyped) {
    click("按钮1");
    struct Row {
        const char* typed;
        const char* line;
    } rows[] = {
        {"3.5", "第1件商品，金额 3.5 元"},
        {"", "第2件商品，金额  元"},
        {"1.2.3", "第3件商品，金额 1.2.3 元"},
        {"１２．５元", "第4件商品，金额 １２．５元 元"},
    };
    for (const Row& row : rows) {
        enter_custom(row.typed);
        EXPECT_EQ(last_line(), row.line) << "typed: " << row.typed;
    }
    click("按钮13");  // the same price again, on its own line
    EXPECT_EQ(last_line(), "第5件商品，金额 １２．５元 元");
}

TEST_F(Register, EachEntryFollowsTheLogControlsCurrentText) {
    click("按钮1");
    ops.write_text(kMain, "编辑框1", gbk_from_utf8("改过的"));
    click("按钮5");
    EXPECT_EQ(log(), "改过的\r\n第1件商品，金额 1.0 元");
    ops.write_text(kMain, "编辑框1", "");
    enter_custom("7");
    EXPECT_EQ(log(), "\r\n第2件商品，金额 7 元");
}

TEST_F(Register, EntryBeforeStartAppendsToThePrompt) {
    enter_fixed_price(fixed_prices[0]);
    EXPECT_EQ(log(), "请点击下方开始收银，然后进行操作\r\n第1件商品，金额 0.1 元");
}

// The total box's text and the amount received, and what settlement shows.
struct SettleCase {
    const char* name;
    const char* total_box;
    const char* received;
    const char* received_label;
    const char* change_label;
    float due;
    float change;
};

class Settlement : public Register, public ::testing::WithParamInterface<SettleCase> {};

TEST_P(Settlement, ChangeIsReceivedLessTheShownTotal) {
    const SettleCase& c = GetParam();
    click("按钮1");
    ops.write_text(kMain, "编辑框3", gbk_from_utf8(c.total_box));
    click("按钮2");
    ops.write_text(kCheckout, "编辑框1", gbk_from_utf8(c.received));
    ops.click(kCheckout, "按钮1");
    EXPECT_EQ(ops.text(kCheckout, "标签3"), c.received_label);
    EXPECT_EQ(ops.text(kCheckout, "标签5"), c.change_label);
    EXPECT_EQ(register_state.amount_due, c.due);
    EXPECT_EQ(register_state.change, c.change);
}

INSTANTIATE_TEST_SUITE_P(
    Register, Settlement,
    ::testing::Values(
        SettleCase{"WorkedExample", "5.6", "10", "实收金额 10 元人民币", "找零金额 4.4 元人民币", 5.6f, 4.4f},
        SettleCase{"TwelvePointThree", "12.3", "100", "实收金额 100 元人民币", "找零金额 87.7 元人民币", 12.3f,
                   87.7f},
        SettleCase{"Exact", "1", "1", "实收金额 1 元人民币", "找零金额 0 元人民币", 1.0f, 0.0f},
        SettleCase{"Short", "5.6", "5", "实收金额 5 元人民币", "找零金额 -0.6 元人民币", 5.6f, 5.0f - 5.6f},
        SettleCase{"EmptyReceived", "5.6", "", "实收金额  元人民币", "找零金额 -5.6 元人民币", 5.6f, -5.6f},
        SettleCase{"DottedTwice", "0.5", "10.5.5", "实收金额 10.5.5 元人民币", "找零金额 10 元人民币", 0.5f, 10.0f},
        SettleCase{"NoNumber", "2", "--5", "实收金额 --5 元人民币", "找零金额 -2 元人民币", 2.0f, -2.0f},
        SettleCase{"InfiniteTotalReadsAsOne", "1.#INF", "3", "实收金额 3 元人民币", "找零金额 2 元人民币", 1.0f,
                   2.0f},
        SettleCase{"ExponentTotal", "1.23457e+007", "20000000", "实收金额 20000000 元人民币",
                   "找零金额 7.6543e+006 元人民币", 12345700.0f, 7654300.0f},
        SettleCase{"EmptyTotal", "", "10", "实收金额 10 元人民币", "找零金额 10 元人民币", 0.0f, 10.0f}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Register, TenTenthsSettleAsExactlyOne) {
    click("按钮1");
    for (int i = 0; i < 10; ++i) click("按钮3");
    click("按钮2");
    ops.write_text(kCheckout, "编辑框1", "1");
    ops.click(kCheckout, "按钮1");
    EXPECT_EQ(register_state.amount_due, 1.0f);
    EXPECT_EQ(register_state.change, 0.0f);
    EXPECT_EQ(ops.text(kCheckout, "标签5"), "找零金额 0 元人民币");
}

TEST_F(Register, EmptyTotalShowsLiteralsOnly) {
    click("按钮1");
    click("按钮2");
    EXPECT_EQ(ops.text(kCheckout, "标签1"), "您本次消费金额一共是：   元人民币\r\n请结账！");
    EXPECT_EQ(ops.text(kCheckout, "标签2"), "应收金额  元人民币");
}

TEST_F(Register, SecondSettlementOverwritesTheFirst) {
    click("按钮1");
    click("按钮7");
    click("按钮2");
    for (const char* received : {"10", "6"}) {
        ops.write_text(kCheckout, "编辑框1", received);
        ops.click(kCheckout, "按钮1");
    }
    EXPECT_EQ(ops.text(kCheckout, "标签3"), "实收金额 6 元人民币");
    EXPECT_EQ(ops.text(kCheckout, "标签5"), "找零金额 1 元人民币");
}

TEST_F(Register, EndBillReplacesTheMainWindowAndEndsTheWait) {
    click("按钮1");
    click("按钮6");
    const int old_main = ops.instance(kMain).id;
    bool reset_before_load_returned = false;
    ops.modal_wait = [&] {
        EXPECT_FALSE(ops.instance(kMain).enabled) << "the modal window disables the main window";
        ops.click(kMain, "按钮6");  // blocked
        ops.click(kCheckout, "按钮2");
        reset_before_load_returned = register_state.item_number == 1;
    };
    ops.calls.clear();
    click("按钮2");

    EXPECT_EQ(ops.calls, (std::vector<std::string>{"load checkout modal", "style 1", "destroy main", "load main",
                                                   "style 1", "destroy checkout"}));
    EXPECT_TRUE(reset_before_load_returned);
    EXPECT_FALSE(ops.loaded(kCheckout));
    ASSERT_TRUE(ops.loaded(kMain));
    EXPECT_NE(ops.instance(kMain).id, old_main);
    EXPECT_TRUE(ops.instance(kMain).enabled);
    EXPECT_EQ(log(), "请点击下方开始收银，然后进行操作");
    EXPECT_EQ(total(), "");
    EXPECT_EQ(register_state.running_total, 0.0f);

    click("按钮1");
    click("按钮4");
    EXPECT_EQ(last_line(), "第1件商品，金额 0.5 元");
    EXPECT_EQ(total(), "0.5");
}

TEST_F(Register, ExitButtonEndsWithStatusZero) {
    try {
        click("按钮14");
        FAIL() << "exit_program returned";
    } catch (const ProgramEnded& ended) {
        EXPECT_EQ(ended.status, 0);
    }
}

// Running out of memory for the joined line ends in the fatal error with the
// byte count asked for (the text and its zero byte), not in an exception.
TEST_F(Register, FailedJoinIsAFatalErrorWithTheByteCount) {
    click("按钮1");
    const std::string before = log();
    const std::size_t joined = gbk_from_utf8(before + "\r\n第1件商品，金额 2.0 元").size() + 1;
    AllocationScript script(3);  // the number, the log read back, then the join
    try {
        click("按钮6");
        FAIL() << "no fatal error";
    } catch (const FatalError& error) {
        EXPECT_EQ(utf8_from_gbk(error.message), "分配 " + std::to_string(joined) + " 字节内存失败!");
    }
    EXPECT_EQ(log(), before) << "the log is not half written";
}

// A whole bill with each text allocation failing in turn: the allocations
// ask for exactly the bytes of the texts the bill passes through, and every
// run ends in the fatal error naming the bytes of the one that failed.
TEST_F(Register, EveryFailedAllocationOfABillIsFatal) {
    const auto bill = [&] {
        click("按钮1");
        for (const char* button : {"按钮6", "按钮3"}) click(button);
        enter_custom("3.5");
        ops.modal_wait = [&] {
            ops.write_text(kCheckout, "编辑框1", "10");
            ops.click(kCheckout, "按钮1");
            ops.click(kCheckout, "按钮2");
        };
        click("按钮2");
    };
    const auto fresh_main = [&] {
        ops.modal_wait = nullptr;
        if (ops.loaded(kCheckout)) ops.destroy_window(kCheckout);
        ops.destroy_window(kMain);
        ops.drain();
        ops.load_window(kMain, false, std::nullopt);
    };

    const std::vector<std::size_t> expected = bill_allocations();
    {
        AllocationScript count;
        bill();
        EXPECT_EQ(count.requests(), expected);
    }
    for (std::size_t n = 1; n <= expected.size(); ++n) {
        fresh_main();
        std::string message;
        {
            AllocationScript script(n);
            try {
                bill();
            } catch (const FatalError& error) {
                message = utf8_from_gbk(error.message);
            }
        }
        EXPECT_EQ(message, "分配 " + std::to_string(expected[n - 1]) + " 字节内存失败!") << "allocation " << n;
    }
}

}  // namespace
}  // namespace tallaro::support
