// One program per Windows session. A second start, say by a user whose tray icon sits in the
// notification area's overflow, would otherwise open a second window with a second schedule;
// instead it brings the first program's window into view, as a click on its tray icon does,
// and ends.
#pragma once

#include <windows.h>

#include "app/main_window.h"
#include "base/win_handles.h"

namespace tovrelle {

// Held for the life of the process; "Local\" makes it one per session, not one per machine.
inline constexpr const wchar_t* kInstanceMutexName = L"Local\\Tovrelle.Instance";
// Posted by a second start to the first program's window.
inline constexpr const wchar_t* kShowInstanceMessageName = L"Tovrelle.ShowInstance";

class InstanceLock {
  public:
    InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // Whether no other program of this session held the lock first. When the lock cannot be
    // made at all, the program runs rather than not at all.
    [[nodiscard]] bool first() const noexcept { return first_; }

  private:
    UniqueKernelHandle mutex_;
    bool first_ = true;
};

// In a second start: asks the first program's window to show itself, waiting a moment for a
// window that is still being made. True when the request was delivered.
bool show_first_instance();

// In the first: the request of a second start shows the window, out of hidden mode, restored
// and in front.
void bind_show_instance(MainWindow& window);

}  // namespace tovrelle
