#include "app/main_window.h"

#include "app/group_box.h"
#include "app/integer_edit.h"
#include "app/event_routing.h"
#include "base/win_dpi.h"
#include "base/window_text.h"

namespace tovrelle {
namespace {

constexpr DWORD kWindowStyle = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_TOOLWINDOW;
constexpr DWORD kChildStyle = WS_CHILD | WS_CLIPSIBLINGS;
constexpr DWORD kButtonStyle = BS_PUSHBUTTON | BS_CENTER | BS_VCENTER | BS_MULTILINE | WS_TABSTOP;
constexpr DWORD kEditStyle = ES_LEFT | ES_AUTOHSCROLL | WS_TABSTOP;
constexpr DWORD kGroupBoxStyle = BS_GROUPBOX | BS_LEFT;
constexpr COLORREF kEditBackground = 0x00FFFFFF;

HFONT gui_font() {
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

HMENU as_id(Identity id) {
    return reinterpret_cast<HMENU>(static_cast<INT_PTR>(child_number(id)));
}

// Where the window goes on the primary screen at its size: centred, each half truncated.
POINT centred(const PixelRect& size) {
    return POINT{(GetSystemMetrics(SM_CXSCREEN) - size.width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - size.height) / 2};
}

// Calls the handler bound to id, if there is one.
void raise(const std::map<Identity, std::function<void()>>& handlers, Identity id) {
    if (auto it = handlers.find(id); it != handlers.end() && it->second) {
        it->second();
    }
}

// Black text on white in the edit boxes; the system's window colours in high contrast.
LRESULT edit_colours(HDC dc, bool system_colours) {
    if (system_colours) {
        SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
        SetBkColor(dc, GetSysColor(COLOR_WINDOW));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_WINDOW));
    }
    SetTextColor(dc, 0x00000000);
    SetBkColor(dc, kEditBackground);
    return reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
}

// Black text on the button face on buttons, the group box and the labels; the system's text
// colour in high contrast.
LRESULT control_colours(HDC dc, bool system_colours) {
    SetTextColor(dc, system_colours ? GetSysColor(COLOR_BTNTEXT) : 0x00000000);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
}

}  // namespace

MainWindow::MainWindow(const WindowDef& def, MessageFilter& filter)
    : def_(def), message_filter_(filter), let_through_{kTrayCallbackMessage} {}

void MainWindow::let_through(UINT message) {
    if (std::find(let_through_.begin(), let_through_.end(), message) != let_through_.end()) {
        return;
    }
    let_through_.push_back(message);
    if (hwnd() != nullptr) {
        message_filter_.allow(hwnd(), message);
    }
}

// Height a one-line edit box needs for one line of its font and its sunken edge.
int MainWindow::min_edit_height(HWND edit) const {
    WindowDc dc(edit);
    SelectedObject selected(dc.get(), font());
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.get(), &tm);
    return tm.tmHeight + 2 * system_metric_for_dpi(SM_CYEDGE, dpi_);
}

HFONT MainWindow::font() const noexcept {
    return font_ ? font_.get() : gui_font();
}

// The stock font is made for the system DPI. On a display of another DPI the same face is made
// again at the same point size; on the system's own the stock font serves as it is.
void MainWindow::apply_font() {
    const int system = system_dpi();
    if (dpi_ == system) {
        font_.reset();
        return;
    }
    LOGFONTW lf{};
    if (GetObjectW(gui_font(), sizeof lf, &lf) != sizeof lf) {
        font_.reset();
        return;
    }
    lf.lfHeight = font_height_for_dpi(lf.lfHeight, system, dpi_);
    lf.lfWidth = 0;
    font_ = adopt_gdi(CreateFontIndirectW(&lf));
}

// The program's icon at the sizes Windows asks for at the window's DPI.
void MainWindow::apply_icons(HINSTANCE instance) {
    UniqueIcon big(static_cast<HICON>(
        LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, system_metric_for_dpi(SM_CXICON, dpi_),
                   system_metric_for_dpi(SM_CYICON, dpi_), LR_DEFAULTCOLOR)));
    UniqueIcon small(static_cast<HICON>(
        LoadImageW(instance, L"DEFAULT_ICON", IMAGE_ICON, system_metric_for_dpi(SM_CXSMICON, dpi_),
                   system_metric_for_dpi(SM_CYSMICON, dpi_), LR_DEFAULTCOLOR)));
    SendMessageW(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessageW(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    // The window holds the new ones now; the old ones go as these are replaced.
    big_icon_ = std::move(big);
    small_icon_ = std::move(small);
}

MainWindow::~MainWindow() {
    if (hwnd() != nullptr) {
        DestroyWindow(hwnd());
    }
}

bool MainWindow::create(HINSTANCE instance, bool show) {
    if (!register_class(instance, 0, GetSysColorBrush(COLOR_BTNFACE),
                        LoadCursorW(nullptr, IDC_ARROW))) {
        return false;
    }
    // Centred on the primary screen; the position kept in the definition is not used. The
    // definition is in 96-DPI units: the window is made at the system DPI, then, once Windows
    // has placed it on a display, laid out at that display's.
    PixelRect size = window_rect(def_, system_dpi());
    POINT at = centred(size);
    const std::wstring caption(def_.caption);
    if (create_window(kWindowExStyle, caption.c_str(), kWindowStyle, at.x, at.y, size.width,
                      size.height, nullptr, nullptr, instance) == nullptr) {
        return false;
    }
    for (const UINT message : let_through_) {
        message_filter_.allow(hwnd(), message);
    }
    dpi_ = window_dpi(hwnd());
    size = window_rect(def_, dpi_);
    at = centred(size);
    RECT outer;
    GetWindowRect(hwnd(), &outer);
    if (outer.right - outer.left != size.width || outer.bottom - outer.top != size.height) {
        SetWindowPos(hwnd(), nullptr, at.x, at.y, size.width, size.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    apply_icons(instance);
    apply_font();
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);

    if (!create_controls(instance)) {
        return false;
    }
    if (events_.created) {
        events_.created();
    }
    if (show && hwnd() != nullptr) {
        ShowWindow(hwnd(), SW_SHOW);
    }
    return hwnd() != nullptr;
}

HWND MainWindow::container_hwnd(Identity container) const {
    if (container == def_.id) {
        return hwnd();
    }
    return control(container);
}

bool MainWindow::create_controls(HINSTANCE instance) {
    for (const ControlDef& c : def_.controls) {
        HWND parent = container_hwnd(c.container);
        if (parent == nullptr) {
            return false;
        }
        HWND h = create_control(instance, c, parent);
        if (h == nullptr) {
            return false;
        }
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
        controls_[c.id] = h;
    }
    // Shown only once all exist, without taking the activation; timers have nothing to show.
    for (const ControlDef& c : def_.controls) {
        if (c.kind != ControlKind::Timer) {
            ShowWindow(controls_[c.id], SW_SHOWNA);
        }
    }
    return true;
}

// Every control to its place and size at the window's DPI, an edit box at least one line of
// its font high.
void MainWindow::layout_controls() {
    for (const ControlDef& c : def_.controls) {
        HWND h = control(c.id);
        if (h == nullptr || c.kind == ControlKind::Timer) {
            continue;
        }
        const PixelRect at = control_rect(c, dpi_);
        const int height =
            c.kind == ControlKind::Edit ? std::max(at.height, min_edit_height(h)) : at.height;
        SetWindowPos(h, nullptr, at.left, at.top, at.width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// The window moved to a display of another scale: Windows suggests where it goes and how big
// it is there; everything in it is laid out again with a font and icons made for the new DPI,
// and the ones made for the old DPI are freed.
void MainWindow::on_dpi_changed(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    UniqueFont old_font = std::move(font_);
    apply_font();
    SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
    for (const auto& [id, h] : controls_) {
        SendMessageW(h, WM_SETFONT, reinterpret_cast<WPARAM>(font()), FALSE);
    }
    layout_controls();
    apply_icons(reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(hwnd(), GWLP_HINSTANCE)));
    RedrawWindow(hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    // old_font goes here, once no control holds it any more.
}

void MainWindow::use_system_colours(bool on) {
    system_colours_ = on;
    for (const ControlDef& c : def_.controls) {
        if (c.kind == ControlKind::TransparentLabel) {
            if (TransparentLabel* l = label(c.id)) {
                l->set_colour(on ? GetSysColor(COLOR_BTNTEXT) : c.text_colour);
            }
        }
    }
    if (hwnd() != nullptr) {
        RedrawWindow(hwnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    }
}

HWND MainWindow::create_control(HINSTANCE instance, const ControlDef& c, HWND parent) {
    switch (c.kind) {
        case ControlKind::Button:
            return create_button(instance, c, parent);
        case ControlKind::GroupBox:
            return create_group_box(instance, c, parent);
        case ControlKind::Edit:
            return create_edit(instance, c, parent);
        case ControlKind::TransparentLabel:
            return create_label(instance, c, parent);
        case ControlKind::Timer:
            return create_timer(instance, c, parent);
    }
    return nullptr;
}

HWND MainWindow::create_button(HINSTANCE instance, const ControlDef& c, HWND parent) {
    const std::wstring text(c.text);
    const PixelRect at = control_rect(c, dpi_);
    return CreateWindowExW(0, L"BUTTON", text.c_str(), kChildStyle | kButtonStyle, at.left, at.top,
                           at.width, at.height, parent, as_id(c.id), instance, nullptr);
}

HWND MainWindow::create_group_box(HINSTANCE instance, const ControlDef& c, HWND parent) {
    const std::wstring text(c.text);
    const PixelRect at = control_rect(c, dpi_);
    HWND h = CreateWindowExW(0, L"BUTTON", text.c_str(), kChildStyle | kGroupBoxStyle, at.left,
                             at.top, at.width, at.height, parent, as_id(c.id), instance, nullptr);
    if (h != nullptr) {
        let_background_through(h);
    }
    return h;
}

HWND MainWindow::create_edit(HINSTANCE instance, const ControlDef& c, HWND parent) {
    const std::wstring text(c.text);
    const PixelRect at = control_rect(c, dpi_);
    HWND h =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", text.c_str(), kChildStyle | kEditStyle, at.left,
                        at.top, at.width, at.height, parent, as_id(c.id), instance, nullptr);
    if (h == nullptr) {
        return nullptr;
    }
    SendMessageW(h, EM_SETLIMITTEXT, 0, 0);
    const int need = min_edit_height(h);
    if (at.height < need) {
        SetWindowPos(h, nullptr, 0, 0, at.width, need, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    // Integer-only input; a box without it would take any text, so it counts as a control
    // that could not be made.
    if (IntegerEdit::install(h) == nullptr) {
        DestroyWindow(h);
        return nullptr;
    }
    return h;
}

HWND MainWindow::create_label(HINSTANCE instance, const ControlDef& c, HWND parent) {
    auto label = std::make_unique<TransparentLabel>();
    const PixelRect at = control_rect(c, dpi_);
    if (!label->create(instance, parent, child_number(c.id),
                       RECT{at.left, at.top, at.left + at.width, at.top + at.height}, c.text,
                       c.text_colour)) {
        return nullptr;
    }
    HWND h = label->hwnd();
    labels_[c.id] = std::move(label);
    return h;
}

HWND MainWindow::create_timer(HINSTANCE instance, const ControlDef& c, HWND parent) {
    auto timer = std::make_unique<TimerControl>();
    const Identity id = c.id;
    timer->on_periodic = [this, id] { raise(events_.periodic, id); };
    if (!timer->create(instance, parent, child_number(c.id), c.timer_period_ms)) {
        return nullptr;
    }
    HWND h = timer->hwnd();
    timers_[c.id] = std::move(timer);
    return h;
}

HWND MainWindow::control(Identity id) const {
    auto it = controls_.find(id);
    return it == controls_.end() ? nullptr : it->second;
}

TimerControl* MainWindow::timer(Identity id) const {
    auto it = timers_.find(id);
    return it == timers_.end() ? nullptr : it->second.get();
}

TransparentLabel* MainWindow::label(Identity id) const {
    auto it = labels_.find(id);
    return it == labels_.end() ? nullptr : it->second.get();
}

PropertyValue MainWindow::read(Identity window, Identity control_id, int property) const {
    if (window != def_.id || hwnd() == nullptr) {
        return {};
    }
    if (control_id == def_.id_as_control) {
        if (property == prop::kVisible) {
            return IsWindowVisible(hwnd()) != FALSE;
        }
        return {};
    }
    const ControlDef* c = find_control(def_, control_id);
    if (c == nullptr || property != prop::kContent) {
        return {};
    }
    switch (c->kind) {
        case ControlKind::Edit:
            return window_text(control(control_id));
        case ControlKind::TransparentLabel:
            return label(control_id)->caption();
        case ControlKind::Timer:
            return timer(control_id)->period();
        default:
            return {};
    }
}

void MainWindow::write(Identity window, Identity control_id, int property,
                       const PropertyValue& value) {
    if (window != def_.id || hwnd() == nullptr) {
        return;
    }
    if (control_id == def_.id_as_control) {
        if (property == prop::kVisible) {
            const bool* v = std::get_if<bool>(&value);
            set_visible(v != nullptr && *v);
        }
        return;
    }
    const ControlDef* c = find_control(def_, control_id);
    if (c == nullptr || property != prop::kContent) {
        return;
    }
    if (c->kind == ControlKind::TransparentLabel) {
        const std::wstring* text = std::get_if<std::wstring>(&value);
        label(control_id)
            ->set_caption(text != nullptr ? std::wstring_view(*text) : std::wstring_view());
    } else if (c->kind == ControlKind::Timer) {
        const int* period = std::get_if<int>(&value);
        timer(control_id)->write_period(period != nullptr ? *period : 0);
    }
}

std::wstring MainWindow::edit_text(Identity edit) const {
    PropertyValue v = read(def_.id, edit, prop::kContent);
    std::wstring* text = std::get_if<std::wstring>(&v);
    return text != nullptr ? std::move(*text) : std::wstring();
}

void MainWindow::set_caption(Identity label_id, std::wstring_view caption) {
    write(def_.id, label_id, prop::kContent, std::wstring(caption));
}

void MainWindow::set_timer_period(Identity timer_id, int period_ms) {
    write(def_.id, timer_id, prop::kContent, period_ms);
}

void MainWindow::set_visible(bool visible) {
    if (hwnd() == nullptr) {
        return;
    }
    ShowWindow(hwnd(), visible ? SW_SHOW : SW_HIDE);
}

bool MainWindow::visible() const {
    return hwnd() != nullptr && IsWindowVisible(hwnd()) != FALSE;
}

bool MainWindow::pretranslate(MSG& msg) {
    if (hwnd() == nullptr) {
        return false;
    }
    if (msg.message == WM_RBUTTONDOWN && msg.hwnd == hwnd()) {
        // Raised only for presses on the window itself: a control under the pointer takes the
        // press, except the group box, which answers hit-testing as transparent.
        if (events_.right_button_down) {
            const int x = LOWORD(msg.lParam);
            const int y = HIWORD(msg.lParam);
            const int keys = key_state(GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_SHIFT) < 0,
                                       GetKeyState(VK_MENU) < 0);
            const std::optional<bool> answer = events_.right_button_down(x, y, keys);
            if (answer.has_value() && !*answer) {
                return true;
            }
        }
        return false;
    }
    if (msg.message == WM_KEYDOWN && (msg.hwnd == hwnd() || IsChild(hwnd(), msg.hwnd))) {
        return handle_key(msg);
    }
    return false;
}

// By hand, not IsDialogMessage: that also acts on Shift+Tab, Enter, arrows and mnemonics, and
// follows the z-order, not the window's own tab order.
bool MainWindow::handle_key(const MSG& msg) {
    if (msg.wParam != VK_TAB && msg.wParam != VK_ESCAPE) {
        return false;
    }
    // A key the focused control asks for is left to it.
    const LRESULT code = SendMessageW(msg.hwnd, WM_GETDLGCODE, msg.wParam,
                                      reinterpret_cast<LPARAM>(const_cast<MSG*>(&msg)));
    if ((code & (DLGC_WANTALLKEYS | DLGC_WANTMESSAGE)) != 0) {
        return false;
    }
    if (msg.wParam == VK_ESCAPE) {
        SendMessageW(hwnd(), WM_CLOSE, 0, 0);
        return true;
    }
    if ((code & DLGC_WANTTAB) != 0) {
        return false;
    }
    if (GetKeyState(VK_SHIFT) < 0 || GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) {
        return false;
    }
    move_focus_forward();
    return true;
}

void MainWindow::move_focus_forward() {
    const auto& order = def_.tab_order;
    if (order.empty()) {
        return;
    }
    HWND focus = GetFocus();
    std::size_t start = order.size() - 1;  // nothing of ours focused: begin at the first
    for (std::size_t i = 0; i < order.size(); ++i) {
        HWND h = control(order[i]);
        if (h != nullptr && (h == focus || IsChild(h, focus))) {
            start = i;
            break;
        }
    }
    for (std::size_t step = 1; step <= order.size(); ++step) {
        HWND h = control(order[(start + step) % order.size()]);
        if (h != nullptr && IsWindowVisible(h) && IsWindowEnabled(h) &&
            (GetWindowLongW(h, GWL_STYLE) & WS_TABSTOP) != 0) {
            SetFocus(h);
            return;
        }
    }
}

void MainWindow::on_command(WPARAM wp, LPARAM lp) {
    const CommandTarget target = route_command(LOWORD(wp), def_.menu.size());
    switch (target.kind) {
        case CommandTarget::Kind::Ignored:
            return;
        case CommandTarget::Kind::Control: {
            if (lp == 0 || HIWORD(wp) != BN_CLICKED) {
                return;
            }
            for (const ControlDef& c : def_.controls) {
                if (c.kind == ControlKind::Button &&
                    static_cast<unsigned>(child_number(c.id)) == target.index &&
                    control(c.id) == reinterpret_cast<HWND>(lp)) {
                    raise(events_.clicked, c.id);
                    return;
                }
            }
            return;
        }
        case CommandTarget::Kind::MenuEntry:
            raise(events_.item_selected, def_.menu[target.index].id);
            return;
    }
}

void MainWindow::on_destroy() {
    if (events_.destroyed) {
        events_.destroyed();
    }
    if (HMENU menu = GetMenu(hwnd()); menu != nullptr) {
        SetMenu(hwnd(), nullptr);
        DestroyMenu(menu);
    }
    if (loop_running_) {
        PostQuitMessage(0);
    }
}

bool MainWindow::run_message_hooks(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    for (auto& hook : events_.message_hooks) {
        if (hook && hook(msg, wp, lp, result)) {
            return true;
        }
    }
    return false;
}

bool MainWindow::may_close() const {
    return !events_.can_be_closed || events_.can_be_closed();
}

void MainWindow::on_close() {
    if (may_close()) {
        DestroyWindow(hwnd());
    }
}

LRESULT MainWindow::on_query_end_session(WPARAM wp, LPARAM lp) {
    // The default answer first; only a yes there is put to the can-be-closed handler.
    if (DefWindowProcW(hwnd(), WM_QUERYENDSESSION, wp, lp) == FALSE) {
        return FALSE;
    }
    return may_close() ? TRUE : FALSE;
}

void MainWindow::remember_focus(WPARAM wp) {
    if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus != nullptr && IsChild(hwnd(), focus)) {
            focus_on_deactivate_ = focus;
        }
    }
}

void MainWindow::restore_focus() {
    HWND target = focus_on_deactivate_;
    if (target == nullptr || !IsWindow(target) || !IsChild(hwnd(), target)) {
        target = def_.tab_order.empty() ? nullptr : control(def_.tab_order.front());
    }
    if (target != nullptr) {
        SetFocus(target);
    }
}

void MainWindow::on_tray_callback(LPARAM lp) {
    if (const std::optional<int> type = tray_event_type(static_cast<std::uint32_t>(lp));
        type.has_value() && events_.tray_event) {
        events_.tray_event(*type);
    }
}

LRESULT MainWindow::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT result = 0; run_message_hooks(msg, wp, lp, result)) {
        return result;
    }
    switch (msg) {
        case WM_COMMAND:
            on_command(wp, lp);
            return 0;
        case WM_CLOSE:
            on_close();
            return 0;
        case WM_QUERYENDSESSION:
            return on_query_end_session(wp, lp);
        case WM_DESTROY:
            on_destroy();
            return 0;
        case WM_ACTIVATE:
            remember_focus(wp);
            return DefWindowProcW(hwnd(), msg, wp, lp);
        case WM_SETFOCUS:
            restore_focus();
            return 0;
        case WM_CTLCOLOREDIT:
            return edit_colours(reinterpret_cast<HDC>(wp), system_colours_);
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORSTATIC:
            return control_colours(reinterpret_cast<HDC>(wp), system_colours_);
        case WM_DPICHANGED:
            on_dpi_changed(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
            return 0;
        case WM_SETTINGCHANGE:
        case WM_SYSCOLORCHANGE:
            if (events_.settings_changed) {
                events_.settings_changed();
            }
            return DefWindowProcW(hwnd(), msg, wp, lp);
        case kTrayCallbackMessage:
            on_tray_callback(lp);
            return 0;
        default:
            return DefWindowProcW(hwnd(), msg, wp, lp);
    }
}

}  // namespace tovrelle
