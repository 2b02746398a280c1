#include "app/event_routing.h"

namespace tovrelle {

CommandTarget route_command(unsigned command, std::size_t menu_entries) {
    command &= 0xFFFF;
    if (command >= kSystemCommandFloor) {
        return {CommandTarget::Kind::Ignored, 0};
    }
    if (command < kMenuCommandBase) {
        return {CommandTarget::Kind::Control, command};
    }
    const unsigned index = command - kMenuCommandBase;
    if (index < menu_entries) {
        return {CommandTarget::Kind::MenuEntry, index};
    }
    return {CommandTarget::Kind::Ignored, 0};
}

std::optional<int> tray_event_type(std::uint32_t callback_lparam) {
    switch (callback_lparam & 0xFFFF) {
        case 0x0202:  // WM_LBUTTONUP
        case 0x0400:  // NIN_SELECT
        case 0x0401:  // NIN_KEYSELECT: Enter or Space on the icon
            return 1;
        case 0x0203:  // WM_LBUTTONDBLCLK
            return 2;
        case 0x0205:  // WM_RBUTTONUP
        case 0x007B:  // WM_CONTEXTMENU
            return 3;
        default:
            return std::nullopt;
    }
}

}  // namespace tovrelle
