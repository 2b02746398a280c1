#pragma once

#include <string_view>

namespace tovrelle {

// A task-modal message box with one OK button, no icon and no owner. Its own message loop
// keeps the program's timers running while it is open. Returns when it is dismissed.
void show_notice(std::wstring_view text, std::wstring_view title);

// Tests replace the box with a recorder; nullptr puts the real box back.
using NoticeFunction = void (*)(std::wstring_view text, std::wstring_view title);
void set_notice_function_for_testing(NoticeFunction f);

}  // namespace tovrelle
