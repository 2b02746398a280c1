#include "tray/popup_menu.h"

namespace tovrelle {

UniqueMenu make_popup_menu(const std::vector<PopupItem>& items) {
    UniqueMenu menu(CreatePopupMenu());
    if (!menu) {
        return {};
    }
    for (const PopupItem& item : items) {
        UINT flags = (item.greyed ? MF_GRAYED : 0) | (item.checked ? MF_CHECKED : 0);
        BOOL appended = FALSE;
        if (item.separator) {
            appended = AppendMenuW(menu.get(), flags | MF_SEPARATOR, item.command, nullptr);
        } else if (!item.submenu.empty()) {
            UniqueMenu sub = make_popup_menu(item.submenu);
            if (!sub) {
                return {};
            }
            appended = AppendMenuW(menu.get(), flags | MF_STRING | MF_POPUP,
                                   reinterpret_cast<UINT_PTR>(sub.get()), item.text.c_str());
            if (appended) {
                (void)sub.release();  // the parent menu destroys it now
            }
        } else {
            appended = AppendMenuW(menu.get(), flags | MF_STRING, item.command, item.text.c_str());
        }
        if (!appended) {
            return {};
        }
    }
    return menu;
}

void show_popup_menu(MainWindow& window, Identity entry, std::optional<int> x,
                     std::optional<int> y) {
    const WindowDef& def = window.definition();
    const std::optional<int> index = menu_index(def, entry);
    if (!index.has_value() || window.hwnd() == nullptr) {
        return;
    }
    const std::optional<std::vector<PopupItem>> items =
        build_popup(def.menu, static_cast<std::size_t>(*index));
    if (!items.has_value() || items->empty()) {
        return;
    }
    const UniqueMenu menu = make_popup_menu(*items);
    if (!menu) {
        return;
    }
    POINT at{};
    GetCursorPos(&at);
    at.x = x.value_or(at.x + kPopupOffset);
    at.y = y.value_or(at.y + kPopupOffset);
    // Left and top aligned at the point; either button chooses. The menu's own loop runs
    // until it closes, and a choice arrives afterwards as WM_COMMAND.
    TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON, at.x, at.y, 0, window.hwnd(), nullptr);
}

}  // namespace tovrelle
