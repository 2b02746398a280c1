#include "power/text_integer.h"

#include "base/utf16.h"

namespace tovrelle {
namespace {

// The full-width forms a Chinese input method gives, folded to the ASCII ones they stand for.
wchar_t ascii_form(wchar_t c) {
    if (c >= L'０' && c <= L'９') {
        return static_cast<wchar_t>(L'0' + (c - L'０'));
    }
    switch (c) {
        case L'＋':
            return L'+';
        case L'－':
            return L'-';
        case L'　':  // ideographic space
            return L' ';
        default:
            return c;
    }
}

bool is_white_space(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\v' || c == L'\f' || c == L'\r';
}

}  // namespace

std::int32_t text_to_integer(std::wstring_view text) {
    // Half a character at the very end (a high surrogate with nothing behind it) is dropped.
    if (!text.empty() && is_high_surrogate(text.back())) {
        text.remove_suffix(1);
    }
    std::size_t i = 0;
    while (i < text.size() && is_white_space(ascii_form(text[i]))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size()) {
        const wchar_t sign = ascii_form(text[i]);
        if (sign == L'+' || sign == L'-') {
            negative = sign == L'-';
            ++i;
        }
    }
    // Unsigned arithmetic wraps around by definition; the cast back is two's complement.
    std::uint32_t value = 0;
    for (; i < text.size(); ++i) {
        const wchar_t c = ascii_form(text[i]);
        if (c < L'0' || c > L'9') {
            break;
        }
        value = value * 10u + static_cast<std::uint32_t>(c - L'0');
    }
    if (negative) {
        value = 0u - value;
    }
    return static_cast<std::int32_t>(value);
}

std::wstring integer_to_text(std::int32_t value) {
    return std::to_wstring(value);
}

}  // namespace tovrelle
