// A tray shell that records every call, answers as a test tells it, and makes real
// icon handles so that their creation and destruction can be balanced.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <set>
#include <string>
#include <vector>

#include "tray/tray_shell.h"

namespace tovrelle::test {

struct ShellCall {
    std::string what;  // "add", "modify", "delete", "set_version", "create_ex", "create", "destroy"
    NOTIFYICONDATAW data{};  // notify calls
    HICON icon = nullptr;    // the icon made or destroyed
    std::vector<BYTE> bits;  // creation calls
    DWORD version = 0;
    int width = 0, height = 0;
    UINT flags = 0;
};

class FakeTrayShell : public TrayShell {
  public:
    FakeTrayShell() = default;
    ~FakeTrayShell() override;  // destroys what is left, for the next test

    BOOL notify_icon(DWORD message, PNOTIFYICONDATAW data) override;
    HICON create_icon_ex(PBYTE bits, DWORD size, BOOL icon, DWORD version, int width, int height,
                         UINT flags) override;
    HICON create_icon(PBYTE bits, DWORD size, BOOL icon, DWORD version) override;
    BOOL destroy_icon(HICON icon) override;

    std::vector<ShellCall> calls;
    std::set<DWORD> refused;          // notify messages answered FALSE
    std::set<int> failing_ex_widths;  // CreateIconFromResourceEx fails for these widths
    bool plain_creation_fails = false;
    std::set<HICON> live;  // made and not yet destroyed
    int bad_destroys = 0;  // handles destroyed that were not live

    // The names of the calls, in order.
    std::vector<std::string> sequence() const;
    std::vector<ShellCall> notifications() const;
    void clear() { calls.clear(); }

  private:
    HICON made(HICON icon);  // notes a handle as live
};

std::wstring tip_of(const NOTIFYICONDATAW& data);

}  // namespace tovrelle::test
