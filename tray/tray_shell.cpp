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

class WindowsTrayShell final : public TrayShell {
  public:
    BOOL notify_icon(DWORD message, PNOTIFYICONDATAW data) override {
        NotifyIconFunction f = shell_notify_icon();
        if (f == nullptr) {
            SetLastError(ERROR_PROC_NOT_FOUND);
            return FALSE;
        }
        return f(message, data);
    }
    HICON create_icon_ex(PBYTE bits, DWORD size, BOOL icon, DWORD version, int width, int height,
                         UINT flags) override {
        return CreateIconFromResourceEx(bits, size, icon, version, width, height, flags);
    }
    HICON create_icon(PBYTE bits, DWORD size, BOOL icon, DWORD version) override {
        return CreateIconFromResource(bits, size, icon, version);
    }
    BOOL destroy_icon(HICON icon) override { return DestroyIcon(icon); }
};

}  // namespace

TrayShell& windows_tray_shell() {
    static WindowsTrayShell shell;
    return shell;
}

}  // namespace tovrelle
