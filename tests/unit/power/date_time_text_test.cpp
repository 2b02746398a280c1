// The date-time text and the clock line built from it.
#include <gtest/gtest.h>

#include "power/clock_line.h"
#include "power/date_time.h"
#include "tests/support/case_names.h"

namespace tovrelle {
namespace {

struct TextCase {
    const char* what;
    DateTime moment;
    const wchar_t* expected;
};

void PrintTo(const TextCase& c, std::ostream* os) {
    *os << c.what;
}

class DateTimeTextTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(DateTimeTextTest, DateThenTimeOfDayShortenedFromTheRight) {
    SCOPED_TRACE(GetParam().what);
    EXPECT_EQ(date_time_text(GetParam().moment), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, DateTimeTextTest,
    ::testing::Values(
        TextCase{"seconds", {2019, 1, 12, 3, 44, 3}, L"2019年1月12日3时44分3秒"},
        TextCase{"full minute", {2019, 1, 12, 3, 44, 0}, L"2019年1月12日3时44分"},
        TextCase{"full hour", {2019, 1, 12, 15, 0, 0}, L"2019年1月12日15时"},
        TextCase{"seconds after midnight", {2019, 1, 12, 0, 0, 9}, L"2019年1月12日0时0分9秒"},
        TextCase{"minutes after midnight", {2019, 1, 12, 0, 5, 0}, L"2019年1月12日0时5分"},
        TextCase{"midnight", {2019, 1, 13, 0, 0, 0}, L"2019年1月13日"},
        TextCase{"eight o'clock", {2019, 1, 12, 8, 0, 0}, L"2019年1月12日8时"},
        TextCase{"half past eight", {2019, 1, 12, 8, 30, 0}, L"2019年1月12日8时30分"},
        TextCase{"zero minute with seconds", {2019, 1, 12, 8, 0, 5}, L"2019年1月12日8时0分5秒"},
        TextCase{"single digits", {2019, 1, 5, 9, 5, 7}, L"2019年1月5日9时5分7秒"},
        TextCase{
            "last second of a year", {2026, 12, 31, 23, 59, 59}, L"2026年12月31日23时59分59秒"},
        TextCase{"first moment of a year", {2027, 1, 1, 0, 0, 0}, L"2027年1月1日"},
        TextCase{"one second past midnight", {2026, 2, 28, 0, 0, 1}, L"2026年2月28日0时0分1秒"},
        TextCase{"no thousands separator", {12345, 10, 20, 23, 0, 0}, L"12345年10月20日23时"}),
    ::tovrelle::test::NameBy<&TextCase::what>{});

TEST(ClockLine, WordsDateTimeAndSuffixWithNothingBetween) {
    const DateTime t{2019, 1, 12, 3, 44, 3};
    EXPECT_EQ(clock_line_text(t, L""), L"当前时间：2019年1月12日3时44分3秒");
    EXPECT_EQ(clock_line_text(t, L"  将于23时0分0秒 关机"),
              L"当前时间：2019年1月12日3时44分3秒  将于23时0分0秒 关机");
    // At midnight the date alone stands before the suffix.
    EXPECT_EQ(clock_line_text(DateTime{2019, 1, 13, 0, 0, 0}, L""), L"当前时间：2019年1月13日");
    EXPECT_EQ(clock_line_text(DateTime{2019, 1, 13, 0, 0, 0}, L"  将于0时0分1秒 重启"),
              L"当前时间：2019年1月13日  将于0时0分1秒 重启");
}

}  // namespace
}  // namespace tovrelle
