#include "tray/hidden_mode.h"

#include "tray/popup_menu.h"

namespace tovrelle {

HiddenMode::HiddenMode(MainWindow& window, std::span<const std::uint8_t> tray_icon_data,
                       const StatusSuffix& status_suffix, NoticeBox& notices, TrayShell& shell)
    : window_(window),
      tray_icon_data_(tray_icon_data),
      status_suffix_(status_suffix),
      notices_(notices),
      shell_(shell) {}

void HiddenMode::bind(MainWindowEvents& events) {
    events.right_button_down = [this](int /*x*/, int /*y*/, int /*keys*/) -> std::optional<bool> {
        show_popup_menu(window_, ids::菜单);
        return std::nullopt;  // the press goes on to the window as usual
    };
    events.item_selected[ids::隐身运行] = [this] { enter(); };
    events.tray_event = [this](int type) { on_tray_event(type); };
    events.destroyed = [this] { remove_icon(); };
    // Explorer broadcasts this when it has (re)created the taskbar; 0 means it could not be
    // registered, and must not be matched against (it would be WM_NULL).
    taskbar_created_ = RegisterWindowMessageW(L"TaskbarCreated");
    if (taskbar_created_ != 0) {
        // Explorer runs unelevated; the broadcast must reach a window run as administrator.
        window_.let_through(taskbar_created_);
        events.message_hooks.push_back([this](UINT msg, WPARAM, LPARAM, LRESULT& result) {
            if (msg != taskbar_created_) {
                return false;
            }
            on_taskbar_created();
            result = 0;
            return true;
        });
    }
}

void HiddenMode::enter() {
    // The window stays on the screen while the notice is open.
    notices_.show(kHiddenModeNotice, kHiddenModeNoticeTitle);
    window_.set_visible(false);
    if (window_.hwnd() == nullptr) {
        return;
    }
    if (!tray_) {
        tray_.emplace(window_.hwnd(), shell_);
    }
    tray_->set(tray_icon_data_, status_suffix_.text());
    if (!tray_->registered()) {
        // Without an icon nothing could bring the window back: it stays on the screen.
        OutputDebugStringW(L"tovrelle: no tray icon could be made, the window stays shown\n");
        window_.set_visible(true);
    }
}

void HiddenMode::on_tray_event(int type) {
    if (type == kTrayLeftRelease) {
        window_.set_visible(true);
    }
}

void HiddenMode::on_status_suffix_changed() {
    if (tray_) {
        tray_->update_tooltip(status_suffix_.text());
    }
}

void HiddenMode::on_taskbar_created() {
    if (tray_) {
        tray_->restore();
    }
}

void HiddenMode::remove_icon() {
    if (tray_) {
        tray_->remove();
    }
}

}  // namespace tovrelle
