#include "tray/tray_shell.h"

#include <string>

#include "base/path_text.h"
#include "base/system_directory.h"
#include "base/win_handles.h"

namespace tovrelle {
namespace {

using NotifyIconFunction = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);

// shell32 pulls a dozen more libraries in with it. Most runs never hide the window, so it is
// loaded when the tray icon is first wanted, from the system directory by its full path.
NotifyIconFunction shell_notify_icon() {
    static UniqueModule shell32;
    static NotifyIconFunction function = nullptr;
    if (function == nullptr && !shell32) {
        const std::wstring path = file_in_directory(system_directory(), L"shell32.dll");
        if (path.empty()) {
            return nullptr;
        }
        shell32.reset(LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
        if (shell32) {
            function = reinterpret_cast<NotifyIconFunction>(
                reinterpret_cast<void*>(GetProcAddress(shell32.get(), "Shell_NotifyIconW")));
        }
    }
    return function;
}

BOOL WINAPI notify_icon(DWORD message, PNOTIFYICONDATAW data) {
    NotifyIconFunction f = shell_notify_icon();
    if (f == nullptr) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return FALSE;
    }
    return f(message, data);
}

constexpr TrayShell kRealShell{notify_icon, CreateIconFromResourceEx, CreateIconFromResource, DestroyIcon};

const TrayShell* g_shell = &kRealShell;

}  // namespace

const TrayShell& tray_shell() {
    return *g_shell;
}

void set_tray_shell_for_testing(const TrayShell* shell) {
    g_shell = shell != nullptr ? shell : &kRealShell;
}

}  // namespace tovrelle
