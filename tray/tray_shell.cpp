#include "tray/tray_shell.h"

#include "base/system_library.h"

namespace tovrelle {
namespace {

using NotifyIconFunction = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);

// shell32 pulls a dozen more libraries in with it. Most runs never hide the window, so it is
// loaded when the tray icon is first wanted, from the system directory only.
NotifyIconFunction shell_notify_icon() {
    static UniqueModule shell32;
    static NotifyIconFunction function = nullptr;
    if (function == nullptr && !shell32) {
        shell32 = load_system_library(L"shell32.dll");
        function = library_function<NotifyIconFunction>(shell32.get(), "Shell_NotifyIconW");
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
