// The integer-only edit boxes' rules: what a box keeps of what is typed, and what its text
// becomes when it loses the focus.
#include <gtest/gtest.h>

#include <ostream>

#include <string>

#include "app/integer_edit_text.h"
#include "tests/support/case_names.h"

namespace tovrelle {
namespace {

struct NormaliseCase {
    const wchar_t* text;
    const wchar_t* expected;
};

// A failing case is printed by its name, not as the bytes of the structure.
void PrintTo(const NormaliseCase& c, std::ostream* os) {
    *os << ::testing::PrintToString(std::wstring(c.text));
}

class NormaliseTest : public ::testing::TestWithParam<NormaliseCase> {};

TEST_P(NormaliseTest, PlainThirtyTwoBitNumberOrNothing) {
    EXPECT_EQ(normalised_integer_text(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, NormaliseTest,
    ::testing::Values(
        // Zero in any spelling, and no digits at all, leave the box empty.
        NormaliseCase{L"", L""}, NormaliseCase{L"0", L""}, NormaliseCase{L"-0", L""},
        NormaliseCase{L"000", L""}, NormaliseCase{L"-", L""}, NormaliseCase{L"--5", L""},
        NormaliseCase{L"+", L""}, NormaliseCase{L"   ", L""}, NormaliseCase{L"abc", L""},
        NormaliseCase{L"12:30", L"12"}, NormaliseCase{L"x12", L""},
        // Digits up to the first character that is not one.
        NormaliseCase{L"007", L"7"}, NormaliseCase{L"12-3", L"12"}, NormaliseCase{L"-12-3", L"-12"},
        NormaliseCase{L"5abc", L"5"}, NormaliseCase{L"23", L"23"}, NormaliseCase{L"-7", L"-7"},
        NormaliseCase{L"-007", L"-7"}, NormaliseCase{L"+8", L"8"},
        // Leading spaces only; a space after the sign ends the number.
        NormaliseCase{L"  42", L"42"}, NormaliseCase{L" -42", L"-42"}, NormaliseCase{L"- 4", L""},
        NormaliseCase{L"4 2", L"4"},
        // The signed 32-bit range, its edges and beyond.
        NormaliseCase{L"2147483647", L"2147483647"}, NormaliseCase{L"2147483648", L"2147483647"},
        NormaliseCase{L"-2147483648", L"-2147483648"},
        NormaliseCase{L"-2147483649", L"-2147483648"}, NormaliseCase{L"99999999999", L"2147483647"},
        NormaliseCase{L"-99999999999", L"-2147483648"},
        // Past the signed 64-bit range the value still saturates and never wraps.
        NormaliseCase{L"9223372036854775807", L"2147483647"},
        NormaliseCase{L"9223372036854775808", L"2147483647"},
        NormaliseCase{L"18446744073709551617", L"2147483647"},
        NormaliseCase{L"99999999999999999999", L"2147483647"},
        NormaliseCase{L"-99999999999999999999", L"-2147483648"},
        NormaliseCase{L"0000000000000000000000012", L"12"}),
    ::tovrelle::test::NameBy<&NormaliseCase::text>{});

TEST(Normalise, AThousandDigitsSaturate) {
    EXPECT_EQ(normalised_integer_text(std::wstring(1000, L'9')), L"2147483647");
    EXPECT_EQ(normalised_integer_text(L"-" + std::wstring(1000, L'7')), L"-2147483648");
}

TEST(Normalise, TheResultIsAlreadyNormal) {
    // Leaving a box twice changes nothing the second time.
    for (const wchar_t* text : {L"007", L"-0012x", L"99999999999", L" 5", L"abc", L"-2147483648"}) {
        const std::wstring once = normalised_integer_text(text);
        EXPECT_EQ(normalised_integer_text(once), once) << once;
    }
}

TEST(TypedCharacterFilter, DigitsMinusAndControlCharactersOnly) {
    struct Case {
        unsigned code;
        bool reaches_the_box;
    };
    // clang-format off
    const Case cases[] = {
        // Digits and the minus sign.
        {'0', true}, {'5', true}, {'9', true}, {'-', true},
        // Backspace, Tab, Enter, Esc and the other control characters.
        {8, true}, {9, true}, {13, true}, {27, true}, {1, true}, {31, true},
        // Everything else from the space on.
        {' ', false}, {'+', false}, {'a', false}, {'Z', false}, {'.', false}, {',', false},
        {'/', false}, {':', false}, {'e', false}, {127, false}, {0x00A0, false},
        // Full-width 0 and minus, the minus sign, 时, half of a surrogate pair.
        {0xFF10, false}, {0xFF0D, false}, {0x2212, false}, {0x65F6, false}, {0xD83D, false},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(integer_edit_accepts(c.code), c.reaches_the_box) << "code " << c.code;
    }
}

TEST(CentredLine, MidwayInTheInnerArea) {
    struct Case {
        int top, bottom, line;
        LineBand expected;
    };
    const Case cases[] = {
        {2, 18, 13, {3, 16}},   // the 20-pixel boxes: one pixel above, two below
        {2, 18, 14, {3, 17}},   // even room splits evenly
        {0, 30, 10, {10, 20}},  //
        {2, 18, 16, {2, 18}},   // exactly one line high: unchanged
        {2, 18, 20, {2, 18}},   // lower than a line: left as it is
        {2, 18, 0, {2, 18}},    // no font measure: left as it is
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.top << ".." << c.bottom << " line " << c.line);
        EXPECT_EQ(centred_line(c.top, c.bottom, c.line), c.expected);
    }
}

}  // namespace
}  // namespace tovrelle
