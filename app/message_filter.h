// Messages an elevated window lets through from processes of lower integrity. Windows keeps
// such messages (registered ones and those from WM_USER on) away from a program run as
// administrator, and Explorer and a second start of the program are such processes: without
// this the tray icon would not come back after Explorer restarts, and its clicks would not
// arrive. The call goes through MessageFilter, so tests can see it where Wine only stubs it.
#pragma once

#include <windows.h>

namespace tovrelle {

class MessageFilter {
  public:
    virtual ~MessageFilter() = default;
    // ChangeWindowMessageFilterEx(window, message, MSGFLT_ALLOW, nullptr).
    virtual bool allow(HWND window, UINT message) = 0;
};

// The real call.
MessageFilter& windows_message_filter();

}  // namespace tovrelle
