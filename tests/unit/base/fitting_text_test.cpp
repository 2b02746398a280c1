#include "base/fitting_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace tovrelle {
namespace {

// A fake call over a text of a given length, answering in one of the two ways Windows does,
// and noting the capacity of every try.
struct FakeCall {
    std::wstring text;
    bool truncates = false;  // GetModuleFileNameW's way; else GetSystemDirectoryW's
    std::vector<std::size_t> tries;

    std::size_t operator()(wchar_t* buffer, std::size_t capacity) {
        tries.push_back(capacity);
        if (truncates) {
            const std::size_t copied = std::min(text.size(), capacity);
            std::copy_n(text.begin(), copied, buffer);
            return needed_from_truncated_length(copied, capacity);
        }
        if (text.size() + 1 > capacity) {
            return needed_from_size_or_length(text.size() + 1, capacity);
        }
        std::copy(text.begin(), text.end(), buffer);
        buffer[text.size()] = L'\0';
        return needed_from_size_or_length(text.size(), capacity);
    }
};

struct FitCase {
    const char* name;
    std::size_t length;
    bool truncates;
    std::vector<std::size_t> tries;
};

class FittingTextTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FittingTextTest, TheWholeTextAfterAsFewTriesAsTheCallAllows) {
    const FitCase& c = GetParam();
    std::wstring text;
    for (std::size_t i = 0; i < c.length; ++i) {
        text.push_back(static_cast<wchar_t>(L'a' + i % 26));
    }
    FakeCall call{text, c.truncates, {}};
    EXPECT_EQ(adapt_fixed_size_to_allocated(std::ref(call)), text);
    EXPECT_EQ(call.tries, c.tries);
}

INSTANTIATE_TEST_SUITE_P(
    Table, FittingTextTest,
    ::testing::Values(FitCase{"SizeAnswerShort", 20, false, {260}},
                      FitCase{"SizeAnswerFillsTheFirstBuffer", 259, false, {260}},
                      FitCase{"SizeAnswerOneTooLong", 260, false, {260, 261}},
                      FitCase{"SizeAnswerLong", 1000, false, {260, 1001}},
                      FitCase{"TruncatedShort", 20, true, {260}},
                      FitCase{"TruncatedFillsTheFirstBuffer", 259, true, {260}},
                      FitCase{"TruncatedOneTooLong", 260, true, {260, 520}},
                      FitCase{"TruncatedLong", 1000, true, {260, 520, 1040}}),
    [](const ::testing::TestParamInfo<FitCase>& info) { return std::string(info.param.name); });

TEST(FittingText, AFailedCallGivesNothing) {
    int calls = 0;
    EXPECT_EQ(adapt_fixed_size_to_allocated([&calls](wchar_t*, std::size_t) {
                  ++calls;
                  return std::size_t{0};
              }),
              L"");
    EXPECT_EQ(calls, 1);
}

TEST(FittingText, ACallThatAlwaysWantsMoreIsNotFollowedForEver) {
    int calls = 0;
    EXPECT_EQ(adapt_fixed_size_to_allocated([&calls](wchar_t*, std::size_t capacity) {
                  ++calls;
                  return capacity + 1;
              }),
              L"");
    EXPECT_LE(calls, 40000);
    FakeCall huge{std::wstring(kLargestTextCapacity, L'x'), true, {}};
    EXPECT_EQ(adapt_fixed_size_to_allocated(std::ref(huge)), L"");
}

}  // namespace
}  // namespace tovrelle
