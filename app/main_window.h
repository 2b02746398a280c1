// The main window 窗口: created from the window definition, with its controls, timers and
// menu entries, the property access the handlers use, and the events it raises.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "app/message_filter.h"
#include "app/timer_control.h"
#include "app/transparent_label.h"
#include "app/window_def.h"
#include "app/window_events.h"
#include "base/win_handles.h"
#include "base/window_base.h"

namespace tovrelle {

using PropertyValue = std::variant<std::monostate, bool, int, std::wstring>;

class MainWindow : public WindowBase<MainWindow> {
  public:
    static constexpr const wchar_t* kClassName = L"TovrelleMainWindow";

    // filter: lets the window's messages from other processes through to an elevated window.
    explicit MainWindow(const WindowDef& def = main_window_def(),
                        MessageFilter& filter = windows_message_filter());
    ~MainWindow();

    MainWindowEvents& events() noexcept { return events_; }
    [[nodiscard]] const WindowDef& definition() const noexcept { return def_; }

    // Creates the window and its controls, raises the created event, then shows the window
    // (unless show is false, for tests). False when a window or control could not be made.
    bool create(HINSTANCE instance, bool show = true);

    // The window handle of a control, or nullptr.
    [[nodiscard]] HWND control(Identity id) const;
    [[nodiscard]] TimerControl* timer(Identity id) const;
    [[nodiscard]] TransparentLabel* label(Identity id) const;

    // Property access by (window identity, control identity, property number).
    PropertyValue read(Identity window, Identity control, int property) const;
    void write(Identity window, Identity control, int property, const PropertyValue& value);

    // Typed helpers on top of the property access.
    [[nodiscard]] std::wstring edit_text(Identity edit) const;
    void set_caption(Identity label, std::wstring_view caption);
    void set_timer_period(Identity timer, int period_ms);
    void set_visible(bool visible);
    [[nodiscard]] bool visible() const;

    // The DPI the window is laid out at, and the font its controls use at that DPI.
    [[nodiscard]] int dpi() const noexcept { return dpi_; }
    [[nodiscard]] HFONT font() const noexcept;
    [[nodiscard]] HICON icon(bool big) const noexcept {
        return big ? big_icon_.get() : small_icon_.get();
    }

    // High contrast: the labels and the colours the window hands its controls come from the
    // system's colour scheme instead of the definition.
    void use_system_colours(bool on);
    [[nodiscard]] bool system_colours() const noexcept { return system_colours_; }

    // A message that other processes send the window (the tray callback is one from the start)
    // reaches it even when the program runs as administrator; from creation on, or at once.
    void let_through(UINT message);

    // Keyboard and right-button handling of the event loop, before a message is dispatched.
    // True when the message was consumed.
    bool pretranslate(MSG& msg);

    // The event loop is running: the window's destruction posts the quit message.
    void set_loop_running(bool running) noexcept { loop_running_ = running; }

  private:
    friend class WindowBase<MainWindow>;
    LRESULT handle_message(UINT msg, WPARAM wp, LPARAM lp);

    bool create_controls(HINSTANCE instance);
    HWND create_control(HINSTANCE instance, const ControlDef& c, HWND parent);
    HWND create_button(HINSTANCE instance, const ControlDef& c, HWND parent);
    HWND create_group_box(HINSTANCE instance, const ControlDef& c, HWND parent);
    HWND create_edit(HINSTANCE instance, const ControlDef& c, HWND parent);
    HWND create_label(HINSTANCE instance, const ControlDef& c, HWND parent);
    HWND create_timer(HINSTANCE instance, const ControlDef& c, HWND parent);
    HWND container_hwnd(Identity container) const;
    bool handle_key(const MSG& msg);
    void move_focus_forward();
    void on_command(WPARAM wp, LPARAM lp);
    void on_destroy();
    // Font and icons for the window's DPI; the previous ones are freed once replaced.
    void apply_font();
    void apply_icons(HINSTANCE instance);
    void layout_controls();
    int min_edit_height(HWND edit) const;
    void on_dpi_changed(int dpi, const RECT& suggested);
    bool run_message_hooks(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    [[nodiscard]] bool may_close() const;
    void on_close();
    LRESULT on_query_end_session(WPARAM wp, LPARAM lp);
    void remember_focus(WPARAM wp);
    void restore_focus();
    void on_tray_callback(LPARAM lp);

    const WindowDef& def_;
    MessageFilter& message_filter_;
    std::vector<UINT> let_through_;
    MainWindowEvents events_;
    std::map<Identity, HWND> controls_;  // every control; owned by the window as its children
    std::map<Identity, std::unique_ptr<TimerControl>> timers_;
    std::map<Identity, std::unique_ptr<TransparentLabel>> labels_;
    UniqueIcon big_icon_;
    UniqueIcon small_icon_;
    UniqueFont font_;  // the stock font's face for dpi_, when that is not the system DPI
    int dpi_ = 96;
    bool system_colours_ = false;
    HWND focus_on_deactivate_ = nullptr;
    bool loop_running_ = false;
};

}  // namespace tovrelle
