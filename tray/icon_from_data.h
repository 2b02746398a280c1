// Making the tray's icon handle from the bytes of an icon file.
#pragma once

#include <cstdint>
#include <span>

#include "tray/tray_shell.h"

namespace tovrelle {

// The 16-pixel image the icon directory picks (a 32-pixel one when that makes no icon),
// created through shell. Empty or damaged data gives no icon.
UniqueTrayIcon icon_from_data(TrayShell& shell, std::span<const std::uint8_t> data);

// The bytes of the tray icon data the executable carries (an RCDATA resource), or none.
std::span<const std::uint8_t> tray_icon_data(HINSTANCE instance);

}  // namespace tovrelle
