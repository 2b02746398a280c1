// The main window's one icon in the notification area (number 100), with the status suffix
// as its tooltip. Every shell call goes through the TrayShell it is given.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "tray/tray_shell.h"

namespace tovrelle {

class TrayIcon {
  public:
    static constexpr UINT kIconNumber = 100;

    // Every shell call goes through shell.
    TrayIcon(HWND owner, TrayShell& shell) noexcept : owner_(owner), shell_(shell) {}
    ~TrayIcon() { remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Set tray icon: an icon made from the data is added, or replaces the registered one in
    // place (modify); data that makes no icon deletes a registered icon. The replaced icon
    // handle is destroyed. The shell's answer is not looked at: the icon counts as
    // registered either way.
    void set(std::span<const std::uint8_t> icon_data, std::optional<std::wstring_view> tooltip);

    // Deletes the registered icon, if there is one.
    void remove() { set({}, std::nullopt); }

    // A registered icon takes the new tooltip at once (the schedule it names has changed).
    void update_tooltip(std::wstring_view tooltip);

    // The notification area was created anew (Explorer restarted) and has lost every icon:
    // add the registered one again with its current tooltip, or modify it when the shell
    // refuses the add because it still has it.
    void restore();

    [[nodiscard]] bool registered() const noexcept { return icon_.valid(); }
    [[nodiscard]] HICON icon() const noexcept { return icon_.get(); }
    // The tooltip as the shell was given it, already cut to fit.
    [[nodiscard]] const std::wstring& tooltip() const noexcept { return tooltip_; }

  private:
    NOTIFYICONDATAW record(UINT flags) const;
    void set_version() const;
    void store_tooltip(std::wstring_view tooltip);

    HWND owner_;
    TrayShell& shell_;
    UniqueTrayIcon icon_;
    std::wstring tooltip_;
};

// The record in its full size: the shell shows the standard tooltip of an icon of version 4
// only for a record that has it, and only with NIF_SHOWTIP.
inline constexpr DWORD kNotifyIconDataSize = sizeof(NOTIFYICONDATAW);
inline constexpr UINT kIconFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
// Version 4 reports a choice of the icon by keyboard (Win+B, the arrows, Enter or Space) as
// NIN_KEYSELECT, which older versions do not.
inline constexpr UINT kIconVersion = NOTIFYICON_VERSION_4;

}  // namespace tovrelle
