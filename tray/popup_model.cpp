#include "tray/popup_model.h"

#include "app/event_routing.h"

namespace tovrelle {
namespace {

// A command number of the system's own range would never come back as a menu command.
constexpr std::size_t kMaxEntries = kSystemCommandFloor - kMenuCommandBase;

// The items at `level` among entries [begin, end), all of which lie below one parent.
std::vector<PopupItem> build_level(std::span<const MenuEntryDef> entries, std::size_t begin,
                                   std::size_t end, int level) {
    std::vector<PopupItem> items;
    std::size_t i = begin;
    while (i < end) {
        const MenuEntryDef& e = entries[i];
        std::size_t below_end = i + 1;
        while (below_end < end && entries[below_end].level > e.level) {
            ++below_end;
        }
        if (e.level == level && !e.hidden && i < kMaxEntries) {
            PopupItem item;
            item.command = kMenuCommandBase + static_cast<unsigned>(i);
            item.separator = e.caption == L"-";
            item.greyed = e.disabled;
            item.checked = e.checked;
            if (!item.separator) {
                item.text = std::wstring(e.caption);
                if (!e.shortcut.empty()) {
                    item.text += L'\t';
                    item.text += e.shortcut;
                }
                item.submenu = build_level(entries, i + 1, below_end, level + 1);
            }
            items.push_back(std::move(item));
        }
        i = below_end;
    }
    return items;
}

}  // namespace

std::optional<std::vector<PopupItem>> build_popup(std::span<const MenuEntryDef> entries,
                                                  std::size_t chosen) {
    if (chosen >= entries.size() || chosen + 1 == entries.size() ||
        entries[chosen + 1].level <= entries[chosen].level) {
        return std::nullopt;
    }
    std::size_t end = chosen + 1;
    while (end < entries.size() && entries[end].level > entries[chosen].level) {
        ++end;
    }
    return build_level(entries, chosen + 1, end, entries[chosen].level + 1);
}

}  // namespace tovrelle
