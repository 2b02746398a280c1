// Names for the cases of a parameterised test table, so that a failure says which case it was
// (GoogleTest otherwise prints the case as raw bytes). Portable: used by the native and the
// Win32 tests alike.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace tovrelle::test {

// GoogleTest takes letters, digits and '_' in a name: the case's number comes first, so that
// two cases that read alike still differ, then its text with every other character spelt out.
inline std::string case_name(std::size_t index, std::wstring_view text) {
    std::string name = std::to_string(index);
    if (text.empty()) {
        return name + "_empty";
    }
    name += '_';
    for (wchar_t c : text) {
        if ((c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9')) {
            name += static_cast<char>(c);
        } else if (c == L'-') {
            name += "minus";
        } else if (c == L'+') {
            name += "plus";
        } else if (c < 0x80) {
            if (name.back() != '_') {
                name += '_';
            }
        } else {
            char code[8];
            std::snprintf(code, sizeof(code), "U%04X", static_cast<unsigned>(c) & 0xFFFFu);
            name += code;
        }
    }
    return name;
}

inline std::string case_name(std::size_t index, std::string_view text) {
    std::wstring wide;
    for (char c : text) {
        wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    }
    return case_name(index, wide);
}

inline std::string case_name(std::size_t index, const char* text) {
    return case_name(index, std::string_view(text != nullptr ? text : ""));
}

inline std::string case_name(std::size_t index, const wchar_t* text) {
    return case_name(index, std::wstring_view(text != nullptr ? text : L""));
}

// A name generator for INSTANTIATE_TEST_SUITE_P that names each case by one of its fields:
//   INSTANTIATE_TEST_SUITE_P(Table, SomeTest, ::testing::Values(...), NameBy<&Case::what>{});
template <auto Field>
struct NameBy {
    template <typename Info>
    std::string operator()(const Info& info) const {
        return case_name(info.index, info.param.*Field);
    }
};

}  // namespace tovrelle::test
