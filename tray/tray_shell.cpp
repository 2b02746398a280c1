#include "tray/tray_shell.h"

namespace tovrelle {
namespace {

constexpr TrayShell kRealShell{Shell_NotifyIconW, CreateIconFromResourceEx, CreateIconFromResource,
                               DestroyIcon};

const TrayShell* g_shell = &kRealShell;

}  // namespace

const TrayShell& tray_shell() {
    return *g_shell;
}

void set_tray_shell_for_testing(const TrayShell* shell) {
    g_shell = shell != nullptr ? shell : &kRealShell;
}

}  // namespace tovrelle
