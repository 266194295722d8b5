#include "core/value_texts.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/window_ops.h"
#include "core/clock.h"
#include "core/gbk.h"
#include "core/text.h"
#include "tests/allocation_script.h"
#include "tests/heap_count.h"

namespace tallaro {
namespace {

// Each table row carries a readable name for the test list.
template <class Row>
std::string row_name(const testing::TestParamInfo<Row>& info) {
    return info.param.name;
}

std::string show(double value) {
    std::ostringstream out;
    out.precision(17);
    out << value;
    return out.str();
}

// Exact equality, sign of zero included.
void expect_same_double(double got, double want) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got), std::bit_cast<std::uint64_t>(want))
        << "got " << show(got) << ", want " << show(want);
}

constexpr float kFloatInf = std::numeric_limits<float>::infinity();
constexpr float kFloatNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kTiny = std::numeric_limits<float>::denorm_min();
constexpr double kInf = std::numeric_limits<double>::infinity();

// The running total after adding the price 0.1 `times` times, each sum
// stored as a float.
float tenths_summed(int times) {
    float total = 0.0f;
    for (int i = 0; i < times; ++i) total = static_cast<float>(static_cast<double>(total) + 0.1);
    return total;
}

// ------------------------------------------------------------ float to text

struct FloatRow {
    std::string name;
    std::uint32_t bits;
    float decimal;  // the decimal the float came from (NaN rows: any NaN)
    const char* text;
};

void PrintTo(const FloatRow& row, std::ostream* out) { *out << row.name; }

class FloatToText : public testing::TestWithParam<FloatRow> {};

TEST_P(FloatToText, WritesSixSignificantDigits) {
    const FloatRow& row = GetParam();
    const float value = std::bit_cast<float>(row.bits);
    if (std::isnan(row.decimal)) {
        EXPECT_TRUE(std::isnan(value));
    } else {
        EXPECT_EQ(std::bit_cast<std::uint32_t>(row.decimal), row.bits);
    }
    EXPECT_EQ(float_to_text(value), row.text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FloatToText,
    testing::ValuesIn(std::vector<FloatRow>{
        {"Tenth", 0x3DCCCCCD, 0.1f, "0.1"},
        {"Half", 0x3F000000, 0.5f, "0.5"},
        {"SixTenths", 0x3F19999A, 0.6f, "0.6"},
        {"TwoPointSix", 0x40266666, 2.6f, "2.6"},
        {"ThreePointThree", 0x40533333, 3.3f, "3.3"},
        {"NinetyNinePointNine", 0x42C7CCCD, 99.9f, "99.9"},
        {"HundredPointFive", 0x42C90000, 100.5f, "100.5"},
        {"ThousandsWithFraction", 0x449A5000, 1234.5f, "1234.5"},
        {"ThreeTenthsSummed", 0x3E99999A, tenths_summed(3), "0.3"},
        {"FiveHundredTenthsSummed", 0x4247FFCE, tenths_summed(500), "49.9998"},
        {"JustBelowMillion", 0x497423F6, 999999.4f, "999999"},
        {"HalfBelowMillionCarriesToExponent", 0x497423F8, 999999.5f, "1e+006"},
        {"Million", 0x49742400, 1000000.0f, "1e+006"},
        {"EightDigits", 0x4B3C614E, 12345678.0f, "1.23457e+007"},
        {"TwoToTheTwentyFourth", 0x4B800000, 16777217.0f, "1.67772e+007"},
        {"TenThousandth", 0x38D1B717, 0.0001f, "0.0001"},
        {"HundredThousandth", 0x3727C5AC, 0.00001f, "1e-005"},
        {"SmallPositional", 0x390173F8, 0.000123456f, "0.000123456"},
        {"Negative", 0xC0A9999A, -5.3f, "-5.3"},
        {"NegativeCarryStaysPositional", 0xC7C34FFA, -99999.95f, "-100000"},
        {"HalfwayAtSixthDigit", 0x3F820000, 1.015625f, "1.01563"},
        {"HalfwayThousands", 0x447BC800, 1007.125f, "1007.13"},
        {"HalfwayHundredThousand", 0x47C35040, 100000.5f, "100001"},
        {"HalfwayOddDigit", 0x47C4B440, 100712.5f, "100713"},
        {"HalfwayOddLastDigit", 0x47F11FC0, 123455.5f, "123456"},
        {"HalfwayNeedsExtendedIntermediates", 0x47F12040, 123456.5f, "123457"},
        {"LargeExponent", 0x7F7FC99E, 3.4e38f, "3.4e+038"},
        {"Zero", 0x00000000, 0.0f, "0"},
        {"NegativeZero", 0x80000000, -0.0f, "0"},
        {"NegativeSmallestSubnormal", 0x80000001, -kTiny, "0"},
        {"PlusInfinity", 0x7F800000, kFloatInf, "1.#INF"},
        {"MinusInfinity", 0xFF800000, -kFloatInf, "-1.#INF"},
        {"QuietNaN", 0x7FC00000, kFloatNaN, "1.#QNAN"},
        {"NegativeQuietNaN", 0xFFC00000, kFloatNaN, "1.#QNAN"},
    }),
    row_name<FloatRow>);

// Half-way cases on both sides of the decimal point, carries, the ends of
// the float range and subnormals with fewer than six digits.
INSTANTIATE_TEST_SUITE_P(
    Boundaries, FloatToText,
    testing::ValuesIn(std::vector<FloatRow>{
        {"HalfwayBelowOne", 0x3B000000, 0.001953125f, "0.00195313"},
        {"HalfwayMillions", 0x4996B428, 1234565.0f, "1.23457e+006"},
        {"NegativeHalfwayMillions", 0xC996B428, -1234565.0f, "-1.23457e+006"},
        {"CarryIntoNextExponent", 0x4B18967B, 9999995.0f, "1e+007"},
        {"LargestPositional", 0x47C35000, 100000.0f, "100000"},
        {"SmallExponentForm", 0x35800000, 9.5367431640625e-07f, "9.53674e-007"},
        {"LargestFloat", 0x7F7FFFFF, 3.40282347e38f, "3.40282e+038"},
        {"LowestFloat", 0xFF7FFFFF, -3.40282347e38f, "-3.40282e+038"},
        {"SmallestNormal", 0x00800000, 1.17549435e-38f, "1.17549e-038"},
        {"LargestSubnormal", 0x007FFFFF, 1.17549421e-38f, "1.17549e-038"},
        {"SubnormalWithThreeDigits", 0x00000400, kTiny * 1024, "1.43e-042"},
        {"SmallestSubnormal", 0x00000001, kTiny, "0"},
        {"SubnormalJustBelowOneDigit", 0x00000003, kTiny * 3, "0"},
        {"SubnormalWithOneDigit", 0x00000004, kTiny * 4, "1e-044"},
        {"SignalingNaN", 0x7F800001, kFloatNaN, "1.#QNAN"},
        {"NegativeNaNWithPayload", 0xFFFFFFFF, kFloatNaN, "1.#QNAN"},
    }),
    row_name<FloatRow>);

// ---------------------------------------------------------- integer to text

struct IntegerRow {
    std::string name;
    std::int32_t value;
    const char* text;
};

void PrintTo(const IntegerRow& row, std::ostream* out) { *out << row.name; }

class IntegerToText : public testing::TestWithParam<IntegerRow> {};

TEST_P(IntegerToText, WritesDecimalDigits) {
    EXPECT_EQ(integer_to_text(GetParam().value), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, IntegerToText,
    testing::ValuesIn(std::vector<IntegerRow>{
        {"Zero", 0, "0"},
        {"One", 1, "1"},
        {"Twelve", 12, "12"},
        {"NegativeSeven", -7, "-7"},
        {"Largest", std::numeric_limits<std::int32_t>::max(), "2147483647"},
        {"Lowest", std::numeric_limits<std::int32_t>::min(), "-2147483648"},
    }),
    row_name<IntegerRow>);

// ------------------------------------------------------------- text to text

TEST(TextToText, CopiesBytesAndGivesEmptyAsAbsent) {
    {
        // An absent text asks for no memory; an allocated empty one would ask
        // for its zero byte.
        support::AllocationScript script;
        EXPECT_EQ(text_to_text(""), "");
        EXPECT_TRUE(script.requests().empty());
    }
    const std::string full_width = gbk_from_utf8("１２．５");
    ASSERT_EQ(full_width.size(), 8u);
    EXPECT_EQ(text_to_text(full_width), full_width);
    const std::string mixed = "a\r\nb\xA3";  // line break and a lone lead byte
    EXPECT_EQ(text_to_text(mixed), mixed);
}

// Window operations that only take the fatal error: they note how much the
// heap had handed out by the time the message arrived.
class FatalErrorOnly final : public WindowOps {
public:
    struct Raised {};
    FatalErrorOnly() { install_window_ops(this); }
    ~FatalErrorOnly() override { install_window_ops(nullptr); }

    bool load_window(Window, bool, std::optional<Window>) override { std::abort(); }
    void destroy_window(Window) override { std::abort(); }
    std::string read_text(Window, std::string_view) override { std::abort(); }
    void write_text(Window, std::string_view, std::string_view) override { std::abort(); }
    void set_disabled(Window, std::string_view, bool) override { std::abort(); }
    int set_visual_style(int) override { std::abort(); }
    [[noreturn]] void end_program(int) override { std::abort(); }
    [[noreturn]] void fatal_error(std::string_view text) override {
        heap_bytes = support::heap_counter();
        message = std::string(text);
        throw Raised{};
    }

    std::size_t heap_bytes = 0;
    std::string message;
};

// Memory has run out when the fatal error is raised for it: its message,
// count and all, is made without asking the heap for a byte.
TEST(OutOfMemory, MessageTakesNoMemory) {
    FatalErrorOnly ops;
    const std::string text(4096, 'x');
    set_text_allocation_hook([](std::size_t, void*) { return false; }, nullptr);
    {
        support::HeapCount heap;
        EXPECT_THROW(copy_text(text), FatalErrorOnly::Raised);
    }
    set_text_allocation_hook(nullptr, nullptr);
    EXPECT_EQ(ops.heap_bytes, 0u);
    EXPECT_EQ(utf8_from_gbk(ops.message), "分配 4097 字节内存失败!");
}

// Every text handed out comes from the text allocator, so that running out of
// memory there ends in the fatal error rather than an exception.
TEST(ValueTexts, TakeEveryTextFromTheTextAllocator) {
    support::AllocationScript script;
    const std::string texts[] = {integer_to_text(-7), float_to_text(1.5f), float_to_text(kFloatNaN),
                                 text_to_text("ab"), date_time_to_text(45356.5)};
    ASSERT_EQ(script.requests().size(), std::size(texts));
    for (std::size_t i = 0; i < std::size(texts); ++i) {
        EXPECT_EQ(script.requests()[i], texts[i].size() + 1) << "the zero byte counts: " << texts[i];
    }
}

// ----------------------------------------------------------- text to number

struct NumberRow {
    std::string name;
    std::string text;  // UTF-8, turned into GBK for the call
    double value;
    bool raw_gbk = false;  // the text is GBK bytes already
};

void PrintTo(const NumberRow& row, std::ostream* out) { *out << row.name; }

class TextToNumber : public testing::TestWithParam<NumberRow> {};

TEST_P(TextToNumber, ReadsLeadingNumber) {
    const NumberRow& row = GetParam();
    const std::string text = row.raw_gbk ? row.text : gbk_from_utf8(row.text);
    expect_same_double(text_to_number(text), row.value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, TextToNumber,
    testing::ValuesIn(std::vector<NumberRow>{
        {"Plain", "12.5", 12.5},
        {"LeadingSpaces", "  12.5", 12.5},
        {"FullWidth", "１２．５", 12.5},
        {"IdeographicSpace", "　３", 3},
        {"FullWidthMinus", "－５", -5},
        {"FullWidthExponent", "１ｅ３", 1000},
        {"StopsAtHanCharacter", "12元", 12},
        {"StopsAtSpace", "12 34", 12},
        {"StopsAtComma", "1,000", 1},
        {"ExponentLowerE", "1e3", 1000},
        {"ExponentUpperE", "1E3", 1000},
        {"ExponentLowerD", "1d3", 1000},
        {"ExponentUpperD", "1D3", 1000},
        {"ExponentWithoutDigits", "1e", 1},
        {"ExponentSignWithoutDigits", "1e+", 1},
        {"PointFirst", ".5", 0.5},
        {"PointLast", "5.", 5},
        {"PlusSign", "+5", 5},
        {"Empty", "", 0},
        {"SignOnly", "-", 0},
        {"PointOnly", ".", 0},
        {"Letters", "abc", 0},
        {"Hexadecimal", "0x10", 0},
        {"InfinityWord", "inf", 0},
        {"SpaceAfterSign", "  -  5", 0},
        {"FullWidthYuanSign", "￥5", 0},
        {"WrittenInfinity", "1.#INF", 1},
        {"WrittenNaN", "1.#QNAN", 1},
        {"WrittenMinusInfinity", "-1.#INF", -1},
        {"WrittenMillion", "1e+006", 1000000},
        {"WrittenExponentForm", "1.23457e+007", 12345700},
        {"Overflow", "1e400", kInf},
        {"NegativeOverflow", "-1e400", -kInf},
        {"Underflow", "1e-400", 0},
    }),
    row_name<NumberRow>);

INSTANTIATE_TEST_SUITE_P(
    Boundaries, TextToNumber,
    testing::ValuesIn(std::vector<NumberRow>{
        {"ControlWhitespace", "\t\n\v\f\r 7", 7},
        {"FullWidthD", "１ｄ２", 100},
        {"SecondPointStops", "1.5.5", 1.5},
        {"SecondExponentStops", "1e5e5", 1e5},
        {"DoubleSign", "--5", 0},
        {"ExponentDoubleSign", "1e+-5", 1},
        {"ExponentWithoutMantissaDigits", ".e5", 0},
        {"NegativeZero", "-0", -0.0},
        {"NegativeUnderflow", "-1e-400", -0.0},
        {"LargestDouble", "1.7976931348623158e308", std::numeric_limits<double>::max()},
        {"JustPastLargestDouble", "1.7976931348623159e308", kInf},
        {"NegativeJustPastLargestDouble", "-1.7976931348623159e308", -kInf},
        {"SmallestSubnormal", "4.9406564584124654e-324",
         std::numeric_limits<double>::denorm_min()},
        {"HalfSmallestSubnormal", "2.4703282292062327e-324", 0},
        {"JustAboveHalfSmallestSubnormal", "2.4703282292062328e-324",
         std::numeric_limits<double>::denorm_min()},
        {"ZeroWithHugeExponent", "0e999999999", 0},
        {"HugeExponentDigits", "1e99999999999999999999", kInf},
        {"HugeNegativeExponentDigits", "1e-99999999999999999999", 0},
        {"ManyLeadingZeros", "0." + std::string(400, '0') + "1e401", 1},
        {"ManyTrailingZeros", "1" + std::string(400, '0') + "e-400", 1},
        {"ExactDecimalOfTenth", "0.1000000000000000055511151231257827021181583404541015625", 0.1},
        {"ThousandDigits", "0." + std::string(1000, '3'), 1.0 / 3.0},
        // 1 + 2^-53 exactly lies half-way between 1 and the next double; a
        // non-zero digit far beyond the kept ones still tips it upwards.
        {"HalfWayGoesToEven", "1.00000000000000011102230246251565404236316680908203125", 1},
        {"HalfWayThenFarNonZeroDigit",
         "1.00000000000000011102230246251565404236316680908203125" + std::string(1000, '0') + "1",
         1.0000000000000002},
        {"LoneLeadByteAtEnd", "5\xA3", 5, true},
        {"LoneLeadByteAfterFullWidthDigit", "\xA3\xB5\xA3", 5, true},
        {"TwoByteCharacterWithDigitTrail", "\x81\x39" "2", 0, true},
    }),
    row_name<NumberRow>);

// A pasted text of any length is read in place: nothing of it is copied, so
// that a huge paste cannot run the program out of memory here.
TEST(TextToNumber, ReadsAHugePasteWithoutCopyingIt) {
    const std::string paste = gbk_from_utf8("１２．５") + std::string(32 << 20, '0') + gbk_from_utf8("ｅ１");
    support::HeapCount heap;
    const double value = text_to_number(paste);
    const std::size_t bytes = heap.bytes();
    expect_same_double(value, 125);
    EXPECT_LT(bytes, 4096u) << "bytes taken from the heap";
}

TEST(TextToNumberDoubleForm, GivesBackTheSameBits) {
    for (const std::uint64_t bits :
         {0x3FB999999999999AULL, 0x8000000000000000ULL, 0x0000000000000001ULL,
          0xFFF0000000000000ULL, 0x7FF8000000000001ULL, 0xFFFFFFFFFFFFFFFFULL}) {
        SCOPED_TRACE(bits);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(text_to_number(std::bit_cast<double>(bits))),
                  bits);
    }
}

// -------------------------------------------------------- date-time to text

struct DateTimeRow {
    std::string name;
    double date_time;
    const char* text;  // UTF-8
};

void PrintTo(const DateTimeRow& row, std::ostream* out) { *out << row.name; }

class DateTimeToText : public testing::TestWithParam<DateTimeRow> {};

TEST_P(DateTimeToText, WritesDateAndTimeToTheSecond) {
    const DateTimeRow& row = GetParam();
    EXPECT_EQ(utf8_from_gbk(date_time_to_text(row.date_time)), row.text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DateTimeToText,
    testing::ValuesIn(std::vector<DateTimeRow>{
        {"FullTime", 45356.33829861111, "2024年3月5日8时7分9秒"},
        {"Midnight", 45356, "2024年3月5日"},
        {"LastSecondOfYear", 45657.99998842592, "2024年12月31日23时59分59秒"},
        {"BeyondRange", 2958465.5, "9999年12月31日"},
    }),
    row_name<DateTimeRow>);

INSTANTIATE_TEST_SUITE_P(
    Boundaries, DateTimeToText,
    testing::ValuesIn(std::vector<DateTimeRow>{
        // The nearest doubles on either side of 08:07:09.5 and 23:59:59.5.
        {"JustBelowHalfSecond", 45356.338304398145, "2024年3月5日8时7分9秒"},
        {"JustAboveHalfSecond", 45356.33830439815, "2024年3月5日8时7分10秒"},
        {"JustBelowHalfSecondBeforeMidnight", 45657.99999421296, "2024年12月31日23时59分59秒"},
        {"HalfSecondBeforeMidnightCarriesIntoNewYear", 45657.999994212965, "2025年1月1日"},
        {"NaN", std::numeric_limits<double>::quiet_NaN(), "9999年12月31日"},
        {"PlusInfinity", kInf, "9999年12月31日"},
        {"MinusInfinity", -kInf, "100年1月1日"},
        {"Latest", 2958465, "9999年12月31日"},
        {"LastSecondBeforeLatestDay", 2958464.99999, "9999年12月30日23时59分59秒"},
        {"Earliest", -657434, "100年1月1日"},
        {"BelowEarliest", -657434.5, "100年1月1日"},
        {"NoonOfSecondDayOfYear100", -657433.5, "100年1月2日12时"},
        {"Epoch", 0, "1899年12月30日"},
        {"NegativeZero", -0.0, "1899年12月30日"},
        {"DayBeforeEpoch", -1, "1899年12月29日"},
        {"NoonBeforeEpoch", -1.5, "1899年12月29日12时"},
        {"MorningOfEpochWrittenNegative", -0.25, "1899年12月30日6时"},
        {"JustAfterMidnightBeforeEpoch", -1.0000001, "1899年12月29日"},
        // Before the epoch a half second rounding up into midnight still moves
        // the date forwards in time.
        {"BeforeEpochRoundsIntoNextDay", -0.9999999, "1899年12月31日"},
        {"DayBeforeEpochRoundsIntoEpoch", -1.9999999, "1899年12月30日"},
        {"NotALeapDay1900", 60, "1900年2月28日"},
        {"MarchFirst1900", 61, "1900年3月1日"},
        {"LeapDay2000", 36585.99998842592, "2000年2月29日23时59分59秒"},
        {"GregorianBefore1582", -146036, "1500年3月1日"},
    }),
    row_name<DateTimeRow>);

// ------------------------------------------------------- current date-time

class FixedClock final : public Clock {
public:
    LocalTime time;
    LocalTime now() const override { return time; }
};

class CurrentDateTime : public testing::Test {
protected:
    void SetUp() override { install_clock(&clock_); }
    void TearDown() override { install_clock(nullptr); }
    double at(LocalTime time) {
        clock_.time = time;
        return current_date_time();
    }

private:
    FixedClock clock_;
};

TEST_F(CurrentDateTime, CountsDaysAndSecondsFromTheEpoch) {
    expect_same_double(at({2024, 3, 5, 8, 7, 9}), 45356.33829861111);
    expect_same_double(at({1899, 12, 30, 0, 0, 0}), 0.0);
    expect_same_double(at({1899, 12, 29, 12, 0, 0}), -1.5);
}

struct StampRow {
    std::string name;
    LocalTime time;
    const char* text;  // UTF-8
};

void PrintTo(const StampRow& row, std::ostream* out) { *out << row.name; }

class DateTimeStamp : public CurrentDateTime,
                      public testing::WithParamInterface<StampRow> {};

// The time stamp of a bill reads back the second that the clock gave.
TEST_P(DateTimeStamp, GivesBackTheClockSecond) {
    EXPECT_EQ(utf8_from_gbk(date_time_to_text(at(GetParam().time))), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DateTimeStamp,
    testing::ValuesIn(std::vector<StampRow>{
        {"FullTime", {2024, 3, 5, 8, 7, 9}, "2024年3月5日8时7分9秒"},
        {"NoSeconds", {2024, 3, 5, 8, 7, 0}, "2024年3月5日8时7分"},
        {"WholeHour", {2024, 3, 5, 8, 0, 0}, "2024年3月5日8时"},
        {"Midnight", {2024, 3, 5, 0, 0, 0}, "2024年3月5日"},
        {"MinuteAfterMidnight", {2024, 3, 5, 0, 7, 0}, "2024年3月5日0时7分"},
        {"SecondsAfterMidnight", {2024, 3, 5, 0, 0, 9}, "2024年3月5日0时0分9秒"},
        {"LastSecondOfYear", {2024, 12, 31, 23, 59, 59}, "2024年12月31日23时59分59秒"},
        {"LastSecondBeforeLatestDay", {9999, 12, 30, 23, 59, 59},
         "9999年12月30日23时59分59秒"},
        {"NoonBeforeEpoch", {1899, 12, 29, 12, 0, 0}, "1899年12月29日12时"},
        {"LastSecondOfDayBeforeEpoch", {1899, 12, 29, 23, 59, 59},
         "1899年12月29日23时59分59秒"},
        {"NoonOfSecondDayOfYear100", {100, 1, 2, 12, 0, 0}, "100年1月2日12时"},
    }),
    row_name<StampRow>);

}  // namespace
}  // namespace tallaro
