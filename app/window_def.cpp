#include "app/window_def.h"

#include <algorithm>
#include <array>

#include "base/dpi_scale.h"

namespace tovrelle {
namespace {

constexpr std::uint32_t kBlack = 0x00000000;
constexpr std::uint32_t kViolet = 0x00FF0090;  // red 144, green 0, blue 255
constexpr std::uint32_t kNone = 0;

using K = ControlKind;
using namespace ids;

// clang-format off
constexpr std::array kControls = {
    //          name            id         kind                 container left top  w    h   text        tab   colour  period
    ControlDef{L"按钮1",     按钮1,     K::Button,           窗口,     8,  40,  80,  25, L"关机",      true,  kBlack,  0},
    ControlDef{L"按钮2",     按钮2,     K::Button,           窗口,     8,  72,  80,  25, L"重启",      true,  kBlack,  0},
    ControlDef{L"按钮5",     按钮5,     K::Button,           窗口,     8, 104,  80,  25, L"注销",      true,  kBlack,  0},
    ControlDef{L"编辑框1",   编辑框1,   K::Edit,             窗口,   152, 104,  40,  20, L"",          true,  kBlack,  0},
    ControlDef{L"透明标签2", 透明标签2, K::TransparentLabel, 窗口,   200, 104,  20,  20, L"时",        false, kBlack,  0},
    ControlDef{L"编辑框2",   编辑框2,   K::Edit,             窗口,   232, 104,  40,  20, L"",          true,  kBlack,  0},
    ControlDef{L"透明标签3", 透明标签3, K::TransparentLabel, 窗口,   280, 104,  20,  20, L"分",        false, kBlack,  0},
    ControlDef{L"编辑框3",   编辑框3,   K::Edit,             窗口,   304, 104,  40,  20, L"",          true,  kBlack,  0},
    ControlDef{L"透明标签4", 透明标签4, K::TransparentLabel, 窗口,   360, 104,  20,  20, L"秒",        false, kBlack,  0},
    ControlDef{L"按钮3",     按钮3,     K::Button,           窗口,   208, 168,  80,  25, L"定时关机",  true,  kBlack,  0},
    ControlDef{L"按钮4",     按钮4,     K::Button,           窗口,   304, 168,  80,  25, L"定时重启",  true,  kBlack,  0},
    ControlDef{L"分组框1",   分组框1,   K::GroupBox,         窗口,     0,  -8, 400,  40, L"",          false, kBlack,  0},
    ControlDef{L"透明标签1", 透明标签1, K::TransparentLabel, 分组框1,  8,  16, 384,  16, L"",          false, kViolet, 0},
    ControlDef{L"时钟1",     时钟1,     K::Timer,            分组框1,  0,   0,   0,   0, L"",          false, kNone,   1000},
    ControlDef{L"时钟2",     时钟2,     K::Timer,            分组框1,  0,   0,   0,   0, L"",          false, kNone,   0},
    ControlDef{L"时钟3",     时钟3,     K::Timer,            分组框1,  0,   0,   0,   0, L"",          false, kNone,   0},
};

constexpr std::array kMenu = {
    //            name        id        caption       level hidden disabled checked shortcut
    MenuEntryDef{L"菜单",     菜单,     L"菜单",      0,    true,  false,   false,  L""},
    MenuEntryDef{L"隐身运行", 隐身运行, L"隐身运行",  1,    false, false,   false,  L""},
    MenuEntryDef{L"退出软件", 退出软件, L"退出软件",  1,    false, false,   false,  L""},
};
// clang-format on

constexpr std::array kTabOrder = {按钮1, 按钮2, 按钮3, 按钮4, 按钮5, 编辑框1, 编辑框2, 编辑框3};

constexpr WindowDef kMainWindow{
    L"窗口", 窗口, 窗口_as_control, L"Tovrelle", 50, 50, 400, 250, kControls, kMenu, kTabOrder,
};

}  // namespace

const WindowDef& main_window_def() {
    return kMainWindow;
}

const ControlDef* find_control(const WindowDef& def, Identity id) {
    auto it = std::find_if(def.controls.begin(), def.controls.end(),
                           [id](const ControlDef& c) { return c.id == id; });
    return it == def.controls.end() ? nullptr : &*it;
}

PixelRect control_rect(const ControlDef& c, int dpi) {
    return PixelRect{scale_to_dpi(c.left, dpi), scale_to_dpi(c.top, dpi),
                     scale_to_dpi(c.width, dpi), scale_to_dpi(c.height, dpi)};
}

PixelRect window_rect(const WindowDef& def, int dpi) {
    return PixelRect{scale_to_dpi(def.defined_left, dpi), scale_to_dpi(def.defined_top, dpi),
                     scale_to_dpi(def.outer_width, dpi), scale_to_dpi(def.outer_height, dpi)};
}

std::wstring_view accessible_name(const WindowDef& def, Identity edit) {
    for (auto it = def.controls.begin(); it != def.controls.end(); ++it) {
        if (it->id != edit) {
            continue;
        }
        if (it->kind != ControlKind::Edit || it + 1 == def.controls.end() ||
            (it + 1)->kind != ControlKind::TransparentLabel ||
            (it + 1)->container != it->container) {
            return {};
        }
        return (it + 1)->text;
    }
    return {};
}

std::optional<int> menu_index(const WindowDef& def, Identity id) {
    for (std::size_t i = 0; i < def.menu.size(); ++i) {
        if (def.menu[i].id == id) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

}  // namespace tovrelle
