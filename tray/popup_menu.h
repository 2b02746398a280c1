// The context menu: a system popup menu built from the window's menu entries, shown at the
// mouse pointer while the right-button press is handled.
#pragma once

#include <optional>
#include <vector>

#include "app/main_window.h"
#include "base/win_handles.h"
#include "tray/popup_model.h"

namespace tovrelle {

// Where the popup's top-left corner goes relative to the pointer, so that the item under
// the pointer is not chosen by the release of the press that opened it.
inline constexpr int kPopupOffset = 3;

// Shows the items of `entry` (one of the window's own menu entries with items below it) and
// returns once the menu has closed. A chosen item reaches the window later as its command
// number. x and y replace the pointer's screen position one by one. Nothing is shown for an
// entry that is not the window's or has no items.
void show_popup_menu(MainWindow& window, Identity entry, std::optional<int> x = std::nullopt,
                     std::optional<int> y = std::nullopt);

// The system popup menu of a popup model; none when a menu or an item could not be made.
UniqueMenu make_popup_menu(const std::vector<PopupItem>& items);

}  // namespace tovrelle
