// The GBK codec at the boundary between UTF-8 and the register logic's texts.

#include <gtest/gtest.h>

#include "core/gbk.h"

namespace tallaro {
namespace {

struct CodecCase {
    const char* name;
    std::string utf8;
    std::string gbk;
};

class GbkFromUtf8 : public ::testing::TestWithParam<CodecCase> {};

TEST_P(GbkFromUtf8, MapsOrMarksEveryCharacter) { EXPECT_EQ(gbk_from_utf8(GetParam().utf8), GetParam().gbk); }

INSTANTIATE_TEST_SUITE_P(
    Gbk, GbkFromUtf8,
    ::testing::Values(
        CodecCase{"Ascii", "12.5", "12.5"},
        CodecCase{"Hanzi", "当前时间：", "\xB5\xB1\xC7\xB0\xCA\xB1\xBC\xE4\xA3\xBA"},
        CodecCase{"FullWidthDigits", "１２．５", "\xA3\xB1\xA3\xB2\xA3\xAE\xA3\xB5"},
        CodecCase{"CrLf", "a\r\nb", "a\r\nb"},
        CodecCase{"EmojiIsOneMark", "1\xF0\x9F\x98\x80" "2", "1?2"},
        CodecCase{"YenSignHasNoForm", "\xC2\xA5" "5", "?5"},
        CodecCase{"NulIsDropped", std::string("1\0" "2", 3), "12"},
        CodecCase{"BrokenUtf8", "a\xE5\xBD" "b\xFF", "a?b?"},
        CodecCase{"RightToLeftMark", "\xE2\x80\x8F" "7", "?7"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Gbk, RoundTripsWhatGbkHolds) {
    const std::string text = "请点击下方开始收银，然后进行操作\r\n第1件商品，金额 0.1 元　～☆★";
    EXPECT_EQ(utf8_from_gbk(gbk_from_utf8(text)), text);
}

TEST(Gbk, BrokenGbkIsMarkedNotFatal) {
    EXPECT_EQ(utf8_from_gbk("1\xB5"), "1?") << "a lead byte at the end";
    EXPECT_EQ(utf8_from_gbk(std::string("\xB5\xB1\0" "x", 4)), "当x");
}

}  // namespace
}  // namespace tallaro
