#include "tests/win32/tray/fake_tray_shell.h"

#include <algorithm>

namespace tovrelle::test {

BOOL FakeTrayShell::notify_icon(DWORD message, PNOTIFYICONDATAW data) {
    ShellCall call;
    call.what = message == NIM_ADD          ? "add"
                : message == NIM_MODIFY     ? "modify"
                : message == NIM_DELETE     ? "delete"
                : message == NIM_SETVERSION ? "set_version"
                                            : "other";
    call.data = *data;
    calls.push_back(call);
    return refused.count(message) != 0 ? FALSE : TRUE;
}

HICON FakeTrayShell::create_icon_ex(PBYTE bits, DWORD size, BOOL icon, DWORD version, int width,
                                    int height, UINT flags) {
    ShellCall call;
    call.what = "create_ex";
    call.bits.assign(bits, bits + size);
    call.version = version;
    call.width = width;
    call.height = height;
    call.flags = flags;
    if (icon == TRUE && failing_ex_widths.count(width) == 0) {
        call.icon = made(CreateIconFromResourceEx(bits, size, icon, version, width, height, flags));
    }
    calls.push_back(call);
    return call.icon;
}

HICON FakeTrayShell::create_icon(PBYTE bits, DWORD size, BOOL icon, DWORD version) {
    ShellCall call;
    call.what = "create";
    call.bits.assign(bits, bits + size);
    call.version = version;
    if (icon == TRUE && !plain_creation_fails) {
        call.icon = made(CreateIconFromResource(bits, size, icon, version));
    }
    calls.push_back(call);
    return call.icon;
}

BOOL FakeTrayShell::destroy_icon(HICON icon) {
    ShellCall call;
    call.what = "destroy";
    call.icon = icon;
    calls.push_back(call);
    if (live.erase(icon) == 0) {
        ++bad_destroys;
        return FALSE;
    }
    return DestroyIcon(icon);
}

HICON FakeTrayShell::made(HICON icon) {
    if (icon != nullptr) {
        live.insert(icon);
    }
    return icon;
}

FakeTrayShell::~FakeTrayShell() {
    for (HICON icon : live) {
        DestroyIcon(icon);
    }
}

std::vector<std::string> FakeTrayShell::sequence() const {
    std::vector<std::string> names;
    for (const ShellCall& c : calls) {
        names.push_back(c.what);
    }
    return names;
}

std::vector<ShellCall> FakeTrayShell::notifications() const {
    std::vector<ShellCall> out;
    std::copy_if(calls.begin(), calls.end(), std::back_inserter(out), [](const ShellCall& c) {
        return c.what == "add" || c.what == "modify" || c.what == "delete";
    });
    return out;
}

std::wstring tip_of(const NOTIFYICONDATAW& data) {
    const std::size_t n =
        std::find(std::begin(data.szTip), std::end(data.szTip), L'\0') - std::begin(data.szTip);
    return std::wstring(data.szTip, n);
}

}  // namespace tovrelle::test
