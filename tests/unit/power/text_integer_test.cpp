// Text to integer and back, as arming reads the hour, minute and second boxes.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "power/text_integer.h"

namespace tovrelle {
namespace {

struct TextCase {
    std::wstring text;
    std::int32_t value;
};

TEST(TextToInteger, Table) {
    const TextCase cases[] = {
        // The plain forms.
        {L"", 0},
        {L"  7", 7},
        {L"08", 8},
        {L"12abc", 12},
        {L"1.9", 1},
        {L"abc", 0},
        {L"0x1F", 0},
        {L"-3", -3},
        {L"- 3", 0},
        {L"+5", 5},
        {L"+-3", 0},
        {L"--3", 0},
        {L"3 4", 3},
        {L"42   ", 42},
        {L" \t\n\v\f\r9", 9},
        {L"-0", 0},
        {L"-", 0},
        // 32-bit wrap-around without any overflow check.
        {L"4294967297", 1},
        {L"2147483648", INT_MIN},
        {L"-2147483648", INT_MIN},
        {L"2147483647", INT_MAX},
        {L"99999999999", 1215752191},
        // Full-width forms count as the ASCII ones.
        {L"＋５", 5},
        {L"－５", -5},
        {L"１２", 12},
        {L"　５", 5},
        {L"　－　５", 0},
        {L"１2３", 123},
        {L"４２９４９６７２９７", 1},
        // Other characters count as themselves: a stop after digits, nothing before them.
        {L"7时", 7},
        {L"时7", 0},
        // Half a character: dropped at the very end, a plain non-digit anywhere else.
        {std::wstring(L"7") + wchar_t(0xD800), 7},
        {std::wstring(1, wchar_t(0xD800)), 0},
        {std::wstring(1, wchar_t(0xDBFF)), 0},
        {std::wstring(1, wchar_t(0xD800)) + L"3", 0},
        {L"1" + std::wstring(1, wchar_t(0xD800)) + L"3", 1},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.text));
        EXPECT_EQ(text_to_integer(c.text), c.value);
    }
}

TEST(IntegerToText, PlainDecimal) {
    const struct {
        std::int32_t value;
        const wchar_t* text;
    } cases[] = {{0, L"0"},
                 {8, L"8"},
                 {-3, L"-3"},
                 {25, L"25"},
                 {INT_MAX, L"2147483647"},
                 {INT_MIN, L"-2147483648"}};
    for (const auto& c : cases) {
        EXPECT_EQ(integer_to_text(c.value), c.text);
    }
}

}  // namespace
}  // namespace tovrelle
