// A skin library that records how its entry point was called and answers FAKE_SKIN_RESULT.
// Built twice: one that takes every skin (0) and one that refuses every skin (non-zero).
#include <windows.h>

#include <cstring>

#include "tests/win32/appearance/fake_skin_library.h"

namespace {
int g_calls = 0;
FakeSkinCall g_last{};
}  // namespace

extern "C" {

int __stdcall SkinH_AttachRes(const unsigned char* data, int size, const char* text, int a, int b,
                              int c) {
    ++g_calls;
    g_last = FakeSkinCall{data, size, text, {}, a, b, c};
    if (text != nullptr) {
        std::strncpy(g_last.text_copy, text, sizeof g_last.text_copy - 1);
    }
    return FAKE_SKIN_RESULT;
}

int fake_skin_calls() {
    return g_calls;
}
const FakeSkinCall* fake_skin_last_call() {
    return &g_last;
}

}  // extern "C"
