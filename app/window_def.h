// The window definition: the one table of the main window, its controls, timers and menu
// entries. The code that creates windows reads it; nothing else holds a second copy.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace tovrelle {

using Identity = std::uint32_t;

enum class ControlKind { Button, Edit, TransparentLabel, GroupBox, Timer };

struct ControlDef {
    std::wstring_view name;  // the name of the control in the window definition
    Identity id;
    ControlKind kind;
    Identity container;  // the window itself, or the group box
    int left, top, width, height;
    std::wstring_view text;  // initial text or caption
    bool tab_stop;
    std::uint32_t text_colour;  // COLORREF 0x00BBGGRR; labels and edit boxes
    int timer_period_ms;        // timers only
};

struct MenuEntryDef {
    std::wstring_view name;
    Identity id;
    std::wstring_view caption;
    int level;
    bool hidden, disabled, checked;
    std::wstring_view shortcut;  // name of the shortcut key, empty for none
};

struct WindowDef {
    std::wstring_view name;
    Identity id;
    Identity id_as_control;
    std::wstring_view caption;
    int defined_left, defined_top;  // kept in the definition, replaced by centring
    int outer_width, outer_height;
    std::span<const ControlDef> controls;
    std::span<const MenuEntryDef> menu;
    std::span<const Identity> tab_order;
};

// Identities of the window, its controls and menu entries.
namespace ids {
inline constexpr Identity 窗口 = 0x52010001;
inline constexpr Identity 窗口_as_control = 0x06010000;
inline constexpr Identity 菜单 = 0x26010113;
inline constexpr Identity 隐身运行 = 0x26010114;
inline constexpr Identity 退出软件 = 0x260125BE;
inline constexpr Identity 按钮1 = 0x160100E2;
inline constexpr Identity 按钮2 = 0x160100E3;
inline constexpr Identity 按钮3 = 0x160100E4;
inline constexpr Identity 按钮4 = 0x160100E5;
inline constexpr Identity 按钮5 = 0x160100E6;
inline constexpr Identity 编辑框1 = 0x160100E7;
inline constexpr Identity 编辑框2 = 0x160100E9;
inline constexpr Identity 编辑框3 = 0x160100EC;
inline constexpr Identity 透明标签1 = 0x160100DE;
inline constexpr Identity 透明标签2 = 0x160100E8;
inline constexpr Identity 透明标签3 = 0x160100EA;
inline constexpr Identity 透明标签4 = 0x160100EB;
inline constexpr Identity 分组框1 = 0x160100DC;
inline constexpr Identity 时钟1 = 0x160100DF;
inline constexpr Identity 时钟2 = 0x160100F4;
inline constexpr Identity 时钟3 = 0x160100F5;
}  // namespace ids

// Property numbers of the property access.
namespace prop {
inline constexpr int kVisible = 5;
inline constexpr int kContent = 8;  // edit box content, label caption, timer period
}  // namespace prop

const WindowDef& main_window_def();

// The control with this identity, or nullptr.
const ControlDef* find_control(const WindowDef& def, Identity id);

// Position of a menu entry in the menu list, if it is one of the window's.
std::optional<int> menu_index(const WindowDef& def, Identity id);

// A rectangle in pixels: position in the container's client area, and size.
struct PixelRect {
    int left, top, width, height;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The definition is written for 96 DPI; a control and the window's outer size at `dpi`. Each
// number is scaled on its own, so controls of one size in the definition stay of one size.
PixelRect control_rect(const ControlDef& c, int dpi);
PixelRect window_rect(const WindowDef& def, int dpi);  // left and top: the defined position

// The label that names an edit box for a screen reader: the unit that follows the box in the
// definition (时 after the hour box). Empty for anything else.
std::wstring_view accessible_name(const WindowDef& def, Identity edit);

// Windows carries a control's number in 16 bits (WM_COMMAND); the low half of each identity
// is unique within the window and below the menu command range, so it serves as that number.
constexpr int child_number(Identity id) {
    return static_cast<int>(id & 0xFFFF);
}

}  // namespace tovrelle
