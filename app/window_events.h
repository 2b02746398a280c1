// The events the main window raises, and the handlers the subsystems bind to them.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <vector>

#include "app/window_def.h"

namespace tovrelle {

// The handlers the window calls. Each is optional; an empty one means the event is not handled.
struct MainWindowEvents {
    std::function<void()> created;
    std::function<bool()> can_be_closed;
    // x, y in client coordinates, key state Ctrl 1 + Shift 2 + Alt 4. A handler that returns
    // false has the press dropped.
    std::function<std::optional<bool>(int x, int y, int keys)> right_button_down;
    std::function<void(int type)> tray_event;
    std::function<void()> destroyed;  // while the window and its controls still exist
    // WM_SETTINGCHANGE or WM_SYSCOLORCHANGE: a system setting such as high contrast may have
    // changed.
    std::function<void()> settings_changed;
    std::map<Identity, std::function<void()>> clicked;
    std::map<Identity, std::function<void()>> periodic;
    std::map<Identity, std::function<void()>> item_selected;
    // Messages no fixed event covers (registered messages, WM_TIMECHANGE). A hook that
    // handles the message sets the result and returns true.
    std::vector<std::function<bool(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result)>> message_hooks;
};

}  // namespace tovrelle
