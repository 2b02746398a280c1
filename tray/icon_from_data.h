// Making the tray's icon handle from the bytes of an icon file.
#pragma once

#include <cstdint>
#include <span>

#include "tray/tray_shell.h"

namespace tovrelle {

// The image the icon directory picks at the tray's small-icon width (16 pixels at 96 DPI; a
// 32-pixel one when that makes no icon), created through shell. Empty or damaged data gives
// no icon.
inline constexpr int kTrayIconWidth = 16;
UniqueTrayIcon icon_from_data(TrayShell& shell, std::span<const std::uint8_t> data,
                              int width = kTrayIconWidth);

// The tray's small-icon width at the DPI of the owner window's display.
int tray_icon_width(HWND owner);

// The bytes of the tray icon data the executable carries (an RCDATA resource), or none.
std::span<const std::uint8_t> tray_icon_data(HINSTANCE instance);

}  // namespace tovrelle
