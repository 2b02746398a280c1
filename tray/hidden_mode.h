// Hidden mode of the main window: the context menu on a right press that leads to it, the
// window hidden behind the tray icon, and the icon's life (its tooltip, the shell restarting,
// the window's end).
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "app/main_window.h"
#include "app/notice_box.h"
#include "app/program_state.h"
#include "tray/tray_icon.h"

namespace tovrelle {

inline constexpr std::wstring_view kHiddenModeNotice = L"右下角后台运行，双击左键打开界面";
inline constexpr std::wstring_view kHiddenModeNoticeTitle = L"提示消息";

// The tray event type that brings the window back: the left button released on the icon.
inline constexpr int kTrayLeftRelease = 1;

class HiddenMode {
  public:
    // status_suffix: the tray icon's tooltip; notices: where the hidden-mode notice goes;
    // shell: the calls behind the tray icon.
    HiddenMode(MainWindow& window, std::span<const std::uint8_t> tray_icon_data,
               const StatusSuffix& status_suffix, NoticeBox& notices, TrayShell& shell);

    // Binds the right-button event, the item "隐身运行", the tray event, the window's
    // destruction and the shell's "TaskbarCreated" broadcast.
    void bind(MainWindowEvents& events);

    // The notice, then the window hidden, then the tray icon set with the status suffix. When
    // no icon can be made from the data the window is shown again.
    void enter();
    // Type 1 shows the window again; the others change nothing.
    void on_tray_event(int type);
    // A new schedule was armed: a registered icon shows its status suffix at once.
    void on_status_suffix_changed();
    // The notification area was made anew: the icon goes back in.
    void on_taskbar_created();
    // Before the program ends or the window goes: no icon is left behind.
    void remove_icon();

    // The tray icon, once hidden mode has been entered.
    [[nodiscard]] const TrayIcon* tray_icon() const noexcept { return tray_ ? &*tray_ : nullptr; }

  private:
    MainWindow& window_;
    std::span<const std::uint8_t> tray_icon_data_;
    const StatusSuffix& status_suffix_;
    NoticeBox& notices_;
    TrayShell& shell_;
    std::optional<TrayIcon> tray_;
    UINT taskbar_created_ = 0;
};

}  // namespace tovrelle
