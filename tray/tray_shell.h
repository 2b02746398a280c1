// The Windows calls behind the tray icon, reached through one table so that a test can watch
// the add / modify / delete sequence and the icon handles without a notification area.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "base/unique_resource.h"

namespace tovrelle {

struct TrayShell {
    BOOL(WINAPI* notify_icon)(DWORD message, PNOTIFYICONDATAW data);
    HICON(WINAPI* create_icon_ex)
    (PBYTE bits, DWORD size, BOOL icon, DWORD version, int width, int height, UINT flags);
    HICON(WINAPI* create_icon)(PBYTE bits, DWORD size, BOOL icon, DWORD version);
    BOOL(WINAPI* destroy_icon)(HICON icon);
};

// The table in use: the real calls unless a test has put its own in place.
const TrayShell& tray_shell();

// Tests replace the table (it must outlive its use); nullptr puts the real calls back.
void set_tray_shell_for_testing(const TrayShell* shell);

namespace policy {
// An icon made through the table is destroyed through it too.
struct TrayShellIcon {
    using Handle = HICON;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { tray_shell().destroy_icon(h); }
};
}  // namespace policy

using UniqueTrayIcon = UniqueResource<policy::TrayShellIcon>;

}  // namespace tovrelle
