// What a popup menu built from a window's menu entries holds, decided without Windows: the
// Win32 layer turns it into a system popup menu item by item.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/window_def.h"

namespace tovrelle {

struct PopupItem {
    std::wstring text;  // the caption, then a tab and the shortcut key's name when it has one
    unsigned command;   // kMenuCommandBase + the entry's position in the menu list
    bool separator;     // a caption of exactly "-"
    bool greyed;
    bool checked;
    std::vector<PopupItem> submenu;  // the visible entries one level below this one
};

// The items of the popup of entry `chosen` of a menu list. None when the request does not
// hold: chosen is not in the list, it is the last entry, or the entry after it is not one
// level or more below it (it has no items). Entries marked not visible are left out with
// everything below them, but keep their command numbers; an entry more than one level below
// its predecessor has no item to hang from and is left out too.
std::optional<std::vector<PopupItem>> build_popup(std::span<const MenuEntryDef> entries,
                                                  std::size_t chosen);

}  // namespace tovrelle
