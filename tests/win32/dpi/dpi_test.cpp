// The main window on a display at 150 % (a Wine prefix whose LogPixels is 144): its frame and
// every control at their scaled places, the font and icons made for the DPI, the theming
// layer's lines at their scaled widths, a move to a display of another scale, and high
// contrast coming and going (through the contrast setting passed in: Wine cannot switch it).
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "base/gdi_tally.h"
#include "app/accessible_names.h"
#include "app/main_window.h"
#include "app/run_directory.h"
#include "appearance/looks.h"
#include "appearance/skin_binding.h"
#include "appearance/theming.h"
#include "base/win_dpi.h"
#include "base/win_handles.h"
#include "skinlib/format/backdrop.h"
#include "skinlib/format/skin_format.h"
#include "tests/win32/support/win32_test_support.h"
#include "tray/icon_directory.h"
#include "tray/icon_from_data.h"

namespace tovrelle {
namespace {

using namespace std::chrono_literals;

constexpr int kDpi = 144;
constexpr COLORREF kBorder2 = 0x00066237;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kRingNormalBottom = 0x00D6DFE2;
constexpr COLORREF kFaceTop = 0x00FBFCFC;
constexpr COLORREF kEditFrame2 = 0x007FB9A4;
constexpr COLORREF kGroupFrame = 0x00BFB8BF;
constexpr COLORREF kViolet = 0x00FF0090;

const Identity kThemed[] = {ids::按钮1,   ids::按钮2,   ids::按钮3,   ids::按钮4,  ids::按钮5,
                            ids::编辑框1, ids::编辑框2, ids::编辑框3, ids::分组框1};

LOGFONTW font_of(HWND hwnd) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof lf, &lf);
    return lf;
}

LOGFONTW stock_font() {
    LOGFONTW lf{};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    return lf;
}

int icon_width(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !GetIconInfo(icon, &info)) {
        return 0;
    }
    BITMAP bm{};
    GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
    if (info.hbmColor != nullptr) {
        DeleteObject(info.hbmColor);
    }
    if (info.hbmMask != nullptr) {
        DeleteObject(info.hbmMask);
    }
    return bm.bmWidth;
}

std::wstring test_directory() {
    wchar_t name[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, name, MAX_PATH);
    return run_directory(name);
}

// The contrast setting as the test says it is.
class FakeContrast : public ContrastSetting {
  public:
    [[nodiscard]] bool high_contrast() const override { return on; }
    bool on = false;
};

// The accessible names set and cleared, in order.
class RecordedNames : public AccessibleNames {
  public:
    bool set_name(HWND control, std::wstring_view name) override {
        set.emplace_back(control, std::wstring(name));
        return true;
    }
    void clear_name(HWND control) override { cleared.push_back(control); }
    std::vector<std::pair<HWND, std::wstring>> set;
    std::vector<HWND> cleared;
};

class DpiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        state.run_directory = test_directory();
        window.events().created = [this] { looks.dress(); };
        window.events().settings_changed = [this] { looks.settings_changed(); };
        ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
        SetForegroundWindow(window.hwnd());
        test::pump(300ms, &window);
        ASSERT_EQ(window.dpi(), kDpi) << "the test prefix is not at 144 DPI (LogPixels)";
    }

    void TearDown() override {
        if (window.hwnd() != nullptr) {
            DestroyWindow(window.hwnd());
        }
        theming::set_scheme(0);
    }

    HWND control(Identity id) const { return window.control(id); }

    void expect_layout(int dpi) {
        for (const ControlDef& c : window.definition().controls) {
            if (c.kind == ControlKind::Timer) {
                continue;
            }
            const PixelRect want = control_rect(c, dpi);
            const RECT got = test::rect_in_parent(control(c.id));
            EXPECT_EQ(got.left, want.left) << std::hex << c.id;
            EXPECT_EQ(got.top, want.top) << std::hex << c.id;
            EXPECT_EQ(got.right - got.left, want.width) << std::hex << c.id;
            EXPECT_EQ(got.bottom - got.top, want.height) << std::hex << c.id;
            const LOGFONTW lf = font_of(control(c.id));
            EXPECT_EQ(lf.lfHeight, font_height_for_dpi(stock_font().lfHeight, system_dpi(), dpi))
                << std::hex << c.id;
            EXPECT_STREQ(lf.lfFaceName, stock_font().lfFaceName) << std::hex << c.id;
        }
    }

    // Members in this order: the window goes before the skin library is released.
    FakeContrast contrast;
    ProgramState state;
    LoadedLibraries libraries;
    MainWindow window;
    Looks looks{window, libraries, state, GetModuleHandleW(nullptr), contrast};
};

TEST_F(DpiTest, WindowAndEveryControlAtTheirScaledRectsWithTheFontForTheDpi) {
    RECT outer;
    GetWindowRect(window.hwnd(), &outer);
    EXPECT_EQ(outer.right - outer.left, 600);
    EXPECT_EQ(outer.bottom - outer.top, 375);
    EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - 600) / 2) << "still centred";
    EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - 375) / 2);
    const RECT b1 = test::rect_in_parent(control(ids::按钮1));
    EXPECT_EQ(b1.left, 12);
    EXPECT_EQ(b1.top, 60);
    EXPECT_EQ(b1.right - b1.left, 120);
    EXPECT_EQ(b1.bottom - b1.top, 38);
    expect_layout(kDpi);
    EXPECT_EQ(icon_width(window.icon(true)), system_metric_for_dpi(SM_CXICON, kDpi));
    EXPECT_EQ(icon_width(window.icon(false)), system_metric_for_dpi(SM_CXSMICON, kDpi));
}

// The clock line at its longest fits its label at 150 % as it does at 100 %, and the edit
// boxes keep their one line centred in the font of this DPI.
TEST_F(DpiTest, ClockLineFitsItsLabelAndEditBoxesCentreTheirLine) {
    HWND label = control(ids::透明标签1);
    RECT rc;
    GetClientRect(label, &rc);
    WindowDc dc(label);
    SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    const std::wstring longest = L"当前时间：2026年12月31日23时59分59秒";
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), longest.c_str(), static_cast<int>(longest.size()), &size);
    EXPECT_LE(size.cx, rc.right) << "the clock line is cut";
    EXPECT_LE(size.cy, rc.bottom) << "the clock line is taller than its label";

    for (Identity id : {ids::编辑框1, ids::编辑框2, ids::编辑框3}) {
        HWND edit = control(id);
        WindowDc edc(edit);
        SelectedObject efont(edc.get(),
                             reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
        SIZE w{};
        GetTextExtentPoint32W(edc.get(), L"W", 1, &w);
        RECT client;
        GetClientRect(edit, &client);
        EXPECT_EQ(client.bottom, w.cy) << "one line of the box's font";
        RECT outer;
        GetWindowRect(edit, &outer);
        POINT origin{0, 0};
        ClientToScreen(edit, &origin);
        const int above = origin.y - outer.top;
        const int below = outer.bottom - (origin.y + client.bottom);
        EXPECT_LE(std::abs(above - below), 1) << "the line sits in the middle";
    }
}

// 按钮2 (120 x 38, without the focus): outer line and border 2 pixels each, the ring 3, the
// rounded corners in squares of 2.
TEST_F(DpiTest, ThemedButtonRingAndBorderAtScaledPositions) {
    HWND b = control(ids::按钮2);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    struct Expect {
        const char* what;
        int x, y;
        COLORREF colour;
        int tolerance;
    };
    const Expect points[] = {
        {"outer line", 60, 0, face, 0},
        {"outer line, second row", 60, 1, face, 0},
        {"border, top", 60, 2, kBorder2, 0},
        {"border, top, second row", 60, 3, kBorder2, 0},
        {"border, left", 2, 19, kBorder2, 0},
        {"border, left, second column", 3, 19, kBorder2, 0},
        {"border, right", 116, 19, kBorder2, 0},
        {"border, right, second column", 117, 19, kBorder2, 0},
        {"border, bottom", 60, 34, kBorder2, 0},
        {"border, bottom, second row", 60, 35, kBorder2, 0},
        {"outer line, bottom", 60, 37, face, 0},
        {"ring, top", 60, 4, kWhite, 2},
        {"ring, bottom", 60, 33, kRingNormalBottom, 6},
        {"face, top", 60, 7, kFaceTop, 4},
        {"rounded corner", 2, 2, face, 0},
        {"rounded corner", 3, 3, face, 0},
        {"rounded corner, inside", 4, 4, kBorder2, 0},
        {"rounded corner, inside", 5, 5, kBorder2, 0},
        {"rounded corner, bottom right", 117, 35, face, 0},
        {"rounded corner, bottom right, inside", 114, 32, kBorder2, 0},
    };
    for (const Expect& e : points) {
        const COLORREF got = test::window_pixel(b, e.x, e.y);
        EXPECT_TRUE(test::close_to(got, e.colour, e.tolerance))
            << e.what << " at (" << e.x << ", " << e.y << "): " << test::hex(got) << ", expected "
            << test::hex(e.colour);
    }
    // The edit box's two frame lines, 2 pixels each.
    HWND edit = control(ids::编辑框1);
    EXPECT_EQ(test::window_pixel(edit, 30, 0), kEditFrame2);
    EXPECT_EQ(test::window_pixel(edit, 30, 1), kEditFrame2);
    EXPECT_EQ(test::window_pixel(edit, 30, 2), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(test::window_pixel(edit, 30, 3), GetSysColor(COLOR_WINDOW));
    // The group box's bottom line, 2 pixels.
    HWND box = control(ids::分组框1);
    RECT r;
    GetWindowRect(box, &r);
    EXPECT_EQ(test::window_pixel(box, 300, r.bottom - r.top - 1), kGroupFrame);
    EXPECT_EQ(test::window_pixel(box, 300, r.bottom - r.top - 2), kGroupFrame);
}

// What Windows sends when the window is dragged onto a display at 200 %, and back.
TEST_F(DpiTest, DpiChangeRelaysOutAtTheSuggestedRectAndLeaksNothing) {
    const auto change = [&](int dpi) {
        RECT now;
        GetWindowRect(window.hwnd(), &now);
        const PixelRect size = window_rect(window.definition(), dpi);
        // Around the same centre, a few pixels off the centring the program would choose.
        const int left = (now.left + now.right - size.width) / 2 + 3;
        const int top = (now.top + now.bottom - size.height) / 2 + 2;
        RECT suggested{left, top, left + size.width, top + size.height};
        SendMessageW(window.hwnd(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi),
                     reinterpret_cast<LPARAM>(&suggested));
        return suggested;
    };
    const HICON first_big = window.icon(true);
    const HICON first_small = window.icon(false);
    const gdi_tally::Counts gdi_before = gdi_tally::counts();

    const RECT suggested = change(192);
    RECT outer;
    GetWindowRect(window.hwnd(), &outer);
    EXPECT_TRUE(EqualRect(&outer, &suggested)) << "the rectangle Windows suggested";
    EXPECT_EQ(window.dpi(), 192);
    expect_layout(192);
    EXPECT_EQ(icon_width(window.icon(true)), system_metric_for_dpi(SM_CXICON, 192));
    EXPECT_EQ(icon_width(window.icon(false)), system_metric_for_dpi(SM_CXSMICON, 192));
    EXPECT_EQ(gdi_tally::counts().live_objects, gdi_before.live_objects + 1)
        << "one font for 192 DPI";
    EXPECT_EQ(icon_width(first_big), 0) << "the icons of the old DPI are destroyed";
    EXPECT_EQ(icon_width(first_small), 0);
    test::pump(100ms, &window);

    const int dpis[] = {120, 96, 192, 144};
    for (int i = 0; i < 100; ++i) {
        change(dpis[i % 4]);
    }
    test::pump(300ms, &window);
    EXPECT_EQ(window.dpi(), kDpi);
    expect_layout(kDpi);
    EXPECT_EQ(gdi_tally::counts().live_objects, gdi_before.live_objects)
        << "100 changes leave the GDI balance at 0";
    EXPECT_EQ(gdi_tally::counts().live_dcs, gdi_before.live_dcs);
    // Painted as before, in the new places.
    EXPECT_EQ(test::window_pixel(control(ids::按钮2), 60, 3), kBorder2);
}

// High contrast at run time, as WM_SYSCOLORCHANGE and WM_SETTINGCHANGE announce it; the setting
// itself comes from the test, since Wine's SPI_SETHIGHCONTRAST fails.
TEST_F(DpiTest, HighContrastGivesEveryControlBackAndTakesThemOverAgain) {
    const std::vector<std::uint8_t> skin_file = embedded_skin(GetModuleHandleW(nullptr));
    const skinh::ReadResult skin =
        skinh::read_skin(skin_file.data(), static_cast<int>(skin_file.size()));
    ASSERT_EQ(skin.code, skinh::Code::kOk);
    RECT client;
    GetClientRect(window.hwnd(), &client);
    // A free spot of the client area, between the buttons and the time boxes.
    const POINT spot{180, 230};
    const COLORREF backdrop =
        skinh::render_backdrop(skin.skin, client.right, client.bottom,
                               kDpi)[static_cast<std::size_t>(spot.y * client.right + spot.x)];
    const auto client_colour = [&] { return test::client_pixel(window.hwnd(), spot.x, spot.y); };
    const auto themed = [&](Identity id) {
        return GetWindowLongPtrW(control(id), GWLP_WNDPROC) ==
               reinterpret_cast<LONG_PTR>(theming::layer_procedure());
    };

    ASSERT_EQ(libraries.size(), 1u) << "the skin library beside the test";
    EXPECT_EQ(theming::taken_over_count(), std::size(kThemed));
    EXPECT_EQ(client_colour(), backdrop);
    EXPECT_EQ(window.label(ids::透明标签1)->colour(), kViolet);

    contrast.on = true;
    SendMessageW(window.hwnd(), WM_SYSCOLORCHANGE, 0, 0);
    test::pump(300ms, &window);
    EXPECT_EQ(theming::taken_over_count(), 0u);
    for (Identity id : kThemed) {
        EXPECT_FALSE(themed(id)) << std::hex << id;
    }
    EXPECT_EQ(libraries.size(), 0u) << "the skin library released";
    EXPECT_EQ(client_colour(), GetSysColor(COLOR_BTNFACE)) << "no backdrop";
    for (Identity id : {ids::透明标签1, ids::透明标签2, ids::透明标签3, ids::透明标签4}) {
        EXPECT_EQ(window.label(id)->colour(), GetSysColor(COLOR_BTNTEXT)) << std::hex << id;
    }
    // The buttons draw themselves: the theming layer's olive border is gone.
    EXPECT_NE(test::window_pixel(control(ids::按钮2), 60, 2), kBorder2);

    // Another setting changes while high contrast stays on: nothing moves.
    SendMessageW(window.hwnd(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    EXPECT_EQ(theming::taken_over_count(), 0u);
    EXPECT_EQ(libraries.size(), 0u);

    contrast.on = false;
    SendMessageW(window.hwnd(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    test::pump(300ms, &window);
    EXPECT_EQ(theming::taken_over_count(), std::size(kThemed));
    for (Identity id : kThemed) {
        EXPECT_TRUE(themed(id)) << std::hex << id;
        EXPECT_EQ(theming::records_of(control(id)), 1) << std::hex << id;
    }
    EXPECT_EQ(theming::current_scheme(), 2);
    EXPECT_EQ(libraries.size(), 1u) << "the skin attached again";
    EXPECT_EQ(client_colour(), backdrop);
    EXPECT_EQ(window.label(ids::透明标签1)->colour(), kViolet);
    EXPECT_EQ(window.label(ids::透明标签2)->colour(), 0x00000000u);
    EXPECT_EQ(test::window_pixel(control(ids::按钮2), 60, 2), kBorder2);
}

TEST(DpiStart, InHighContrastNothingIsDressed) {
    FakeContrast contrast;
    contrast.on = true;
    ProgramState state;
    state.run_directory = test_directory();
    LoadedLibraries libraries;
    MainWindow window;
    Looks looks(window, libraries, state, GetModuleHandleW(nullptr), contrast);
    window.events().created = [&] { looks.dress(); };
    ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
    test::pump(200ms, &window);
    EXPECT_TRUE(looks.giving_way());
    EXPECT_FALSE(theming::hook_installed());
    EXPECT_EQ(theming::taken_over_count(), 0u);
    EXPECT_EQ(libraries.size(), 0u);
    EXPECT_FALSE(state.skin_data.empty()) << "kept for when high contrast ends";
    EXPECT_EQ(window.label(ids::透明标签1)->colour(), GetSysColor(COLOR_BTNTEXT));
    DestroyWindow(window.hwnd());
}

// The tray's first pass asks for the small-icon width of the DPI, not a fixed 16.
TEST_F(DpiTest, TrayIconFirstPassTakesTheSmallIconWidthOfTheDpi) {
    const int width = tray_icon_width(window.hwnd());
    EXPECT_EQ(width, system_metric_for_dpi(SM_CXSMICON, kDpi));
    const std::span<const std::uint8_t> data = tray_icon_data(GetModuleHandleW(nullptr));
    const std::optional<IconImage> image = select_icon_image(data, width);
    ASSERT_TRUE(image.has_value());
    UniqueTrayIcon icon = icon_from_data(windows_tray_shell(), data, width);
    EXPECT_EQ(icon_width(icon.get()), image->width);
    EXPECT_NE(select_icon_image(data, 16)->bytes.data(), image->bytes.data())
        << "another image than the 16-pixel one of 100 %";
}

// Each edit box is announced with its unit, through the accessible names passed in (Wine's
// oleacc does not carry dynamic annotations out).
TEST_F(DpiTest, EditBoxesAreNamedByTheirUnits) {
    RecordedNames names;
    EXPECT_TRUE(name_edit_boxes(window, names));
    ASSERT_EQ(names.set.size(), 3u);
    EXPECT_EQ(names.set[0], std::make_pair(control(ids::编辑框1), std::wstring(L"时")));
    EXPECT_EQ(names.set[1], std::make_pair(control(ids::编辑框2), std::wstring(L"分")));
    EXPECT_EQ(names.set[2], std::make_pair(control(ids::编辑框3), std::wstring(L"秒")));
    forget_edit_box_names(window, names);
    EXPECT_EQ(names.cleared, (std::vector<HWND>{control(ids::编辑框1), control(ids::编辑框2),
                                                control(ids::编辑框3)}));
}

}  // namespace
}  // namespace tovrelle
