#include "tray/tray_icon.h"

#include <algorithm>

#include "app/event_routing.h"
#include "tray/icon_from_data.h"
#include "tray/tooltip.h"

namespace tovrelle {

void TrayIcon::store_tooltip(std::wstring_view tooltip) {
    NOTIFYICONDATAW probe{};
    tooltip_.assign(tooltip.substr(0, tip_length(tooltip, std::size(probe.szTip))));
}

NOTIFYICONDATAW TrayIcon::record(UINT flags) const {
    NOTIFYICONDATAW data{};
    data.cbSize = kNotifyIconDataSize;
    data.hWnd = owner_;
    data.uID = kIconNumber;
    data.uFlags = flags;
    if ((flags & NIF_MESSAGE) != 0) {
        data.uCallbackMessage = kTrayCallbackMessage;
    }
    if ((flags & NIF_ICON) != 0) {
        data.hIcon = icon_.get();
    }
    // tooltip_ was cut to leave room for the terminator; the record is zeroed past it.
    std::copy(tooltip_.begin(), tooltip_.end(), data.szTip);
    return data;
}

void TrayIcon::set_version() const {
    NOTIFYICONDATAW data = record(0);
    data.uVersion = kIconVersion;
    shell_.notify_icon(NIM_SETVERSION, &data);
}

void TrayIcon::set(std::span<const std::uint8_t> icon_data,
                   std::optional<std::wstring_view> tooltip) {
    UniqueTrayIcon fresh = icon_from_data(shell_, icon_data, tray_icon_width(owner_));
    const bool was_registered = icon_.valid();
    UniqueTrayIcon previous = std::move(icon_);
    icon_ = std::move(fresh);
    store_tooltip(tooltip.value_or(std::wstring_view()));
    if (was_registered) {
        if (icon_) {
            NOTIFYICONDATAW data = record(kIconFlags);
            shell_.notify_icon(NIM_MODIFY, &data);
        } else {
            NOTIFYICONDATAW data = record(0);
            shell_.notify_icon(NIM_DELETE, &data);
        }
    } else if (icon_) {
        NOTIFYICONDATAW data = record(kIconFlags);
        shell_.notify_icon(NIM_ADD, &data);
        set_version();
    }
    if (!icon_) {
        tooltip_.clear();
    }
    // previous is destroyed here, after the shell has let go of it.
}

void TrayIcon::update_tooltip(std::wstring_view tooltip) {
    if (!icon_) {
        return;
    }
    store_tooltip(tooltip);
    NOTIFYICONDATAW data = record(NIF_TIP | NIF_SHOWTIP);
    shell_.notify_icon(NIM_MODIFY, &data);
}

void TrayIcon::restore() {
    if (!icon_) {
        return;
    }
    NOTIFYICONDATAW data = record(kIconFlags);
    if (!shell_.notify_icon(NIM_ADD, &data)) {
        shell_.notify_icon(NIM_MODIFY, &data);
    }
    // A notification area made anew knows nothing of the version either.
    set_version();
}

}  // namespace tovrelle
