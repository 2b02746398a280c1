#include <gtest/gtest.h>

#include "base/path_text.h"
#include "base/utf16.h"

namespace tovrelle {
namespace {

TEST(FileInDirectory, OneBackslashBetweenAndNothingWithoutADirectory) {
    EXPECT_EQ(file_in_directory(L"C:\\Windows\\system32", L"shell32.dll"),
              L"C:\\Windows\\system32\\shell32.dll");
    EXPECT_EQ(file_in_directory(L"C:\\", L"shell32.dll"), L"C:\\shell32.dll");
    EXPECT_EQ(file_in_directory(L"", L"shell32.dll"), L"");
}

TEST(HighSurrogate, OnlyTheFirstHalfOfAPair) {
    EXPECT_FALSE(is_high_surrogate(static_cast<wchar_t>(0xD7FF)));
    EXPECT_TRUE(is_high_surrogate(static_cast<wchar_t>(0xD800)));
    EXPECT_TRUE(is_high_surrogate(static_cast<wchar_t>(0xDBFF)));
    EXPECT_FALSE(is_high_surrogate(static_cast<wchar_t>(0xDC00)));  // the second half
    EXPECT_FALSE(is_high_surrogate(L'关'));
}

}  // namespace
}  // namespace tovrelle
