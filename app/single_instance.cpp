#include "app/single_instance.h"

namespace tovrelle {
namespace {

// The first program may be starting too: its lock exists before its window does.
constexpr DWORD kWindowWaitMs = 5000;
constexpr DWORD kWindowPollMs = 50;

UINT show_instance_message() {
    static const UINT message = RegisterWindowMessageW(kShowInstanceMessageName);
    return message;
}

}  // namespace

InstanceLock::InstanceLock() {
    SetLastError(ERROR_SUCCESS);
    mutex_.reset(CreateMutexW(nullptr, FALSE, kInstanceMutexName));
    first_ = !mutex_ || GetLastError() != ERROR_ALREADY_EXISTS;
}

bool show_first_instance() {
    const UINT message = show_instance_message();
    if (message == 0) {
        return false;
    }
    for (DWORD waited = 0; waited <= kWindowWaitMs; waited += kWindowPollMs) {
        if (const HWND first = FindWindowW(MainWindow::kClassName, nullptr); first != nullptr) {
            // This process was started by the user and may hand the foreground on.
            DWORD process = 0;
            GetWindowThreadProcessId(first, &process);
            AllowSetForegroundWindow(process);
            return PostMessageW(first, message, 0, 0) != FALSE;
        }
        Sleep(kWindowPollMs);
    }
    return false;
}

void bind_show_instance(MainWindow& window) {
    const UINT message = show_instance_message();
    if (message == 0) {
        return;  // 0 would be WM_NULL: never matched
    }
    // The second start may run unelevated while this one runs as administrator.
    window.let_through(message);
    window.events().message_hooks.push_back(
        [&window, message](UINT msg, WPARAM, LPARAM, LRESULT& result) {
            if (msg != message) {
                return false;
            }
            window.set_visible(true);
            if (IsIconic(window.hwnd())) {
                ShowWindow(window.hwnd(), SW_RESTORE);
            }
            SetForegroundWindow(window.hwnd());
            result = 0;
            return true;
        });
}

}  // namespace tovrelle
