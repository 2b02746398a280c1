// The Windows calls behind the tray icon, reached through an interface handed to the icon, so
// that a test can watch the add / modify / delete sequence and the icon handles without a
// notification area.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "base/unique_resource.h"

namespace tovrelle {

class TrayShell {
  public:
    virtual ~TrayShell() = default;
    // Shell_NotifyIconW.
    virtual BOOL notify_icon(DWORD message, PNOTIFYICONDATAW data) = 0;
    // CreateIconFromResourceEx, CreateIconFromResource, DestroyIcon.
    virtual HICON create_icon_ex(PBYTE bits, DWORD size, BOOL icon, DWORD version, int width,
                                 int height, UINT flags) = 0;
    virtual HICON create_icon(PBYTE bits, DWORD size, BOOL icon, DWORD version) = 0;
    virtual BOOL destroy_icon(HICON icon) = 0;
};

// The real calls.
TrayShell& windows_tray_shell();

// An icon made through a shell, with the shell that destroys it again.
struct ShellIcon {
    HICON icon = nullptr;
    TrayShell* shell = nullptr;
    operator HICON() const noexcept { return icon; }  // NOLINT: used where an HICON goes
    // Which icon it is; no icon is no icon, whoever would have made it.
    friend bool operator==(const ShellIcon& a, const ShellIcon& b) { return a.icon == b.icon; }
};

namespace policy {
struct TrayShellIcon {
    using Handle = ShellIcon;
    static Handle invalid() noexcept { return {}; }
    static void close(Handle h) noexcept { h.shell->destroy_icon(h.icon); }
};
}  // namespace policy

using UniqueTrayIcon = UniqueResource<policy::TrayShellIcon>;

}  // namespace tovrelle
