// Decisions of the main window's event wiring that need no Windows calls: where a command
// number goes, the tray event a callback names, the key state of a right press.
#pragma once

#include <cstdint>
#include <optional>

namespace tovrelle {

// Menu entry n reaches the window as command number kMenuCommandBase + n.
inline constexpr unsigned kMenuCommandBase = 20000;
// Commands from here on are the system's own (SC_* range and above); the window ignores them.
inline constexpr unsigned kSystemCommandFloor = 0xE100;

struct CommandTarget {
    enum class Kind { Ignored, Control, MenuEntry };
    Kind kind;
    unsigned index;  // the control number, or the menu entry's position
};

// Where a WM_COMMAND number goes, for a window with menu_entries entries.
CommandTarget route_command(unsigned command, std::size_t menu_entries);

// The tray callback message, and the tray event type its second parameter gives: 1 left
// release, or the icon chosen by mouse or keyboard (NIN_SELECT, NIN_KEYSELECT); 2 left double
// click; 3 right release or context menu; or none. The notification is its low word: the shell
// puts the icon number in the high word for icons of version 4, and nothing for older ones.
inline constexpr unsigned kTrayCallbackMessage = 0x8064;  // WM_APP + 100
std::optional<int> tray_event_type(std::uint32_t callback_lparam);

// Key state of the right-button event: Ctrl 1 + Shift 2 + Alt 4.
constexpr int key_state(bool ctrl, bool shift, bool alt) {
    return (ctrl ? 1 : 0) + (shift ? 2 : 0) + (alt ? 4 : 0);
}

}  // namespace tovrelle
