#include "power/notice_box.h"

#include <windows.h>

#include <string>

namespace tovrelle {
namespace {

void message_box(std::wstring_view text, std::wstring_view title) {
    const std::wstring t(text);
    const std::wstring c(title);
    MessageBoxW(nullptr, t.c_str(), c.c_str(), MB_OK | MB_TASKMODAL);
}

NoticeFunction g_notice = message_box;

}  // namespace

void show_notice(std::wstring_view text, std::wstring_view title) { g_notice(text, title); }

void set_notice_function_for_testing(NoticeFunction f) { g_notice = f != nullptr ? f : message_box; }

}  // namespace tovrelle
