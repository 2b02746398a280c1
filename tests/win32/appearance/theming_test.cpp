// The control theming layer on real controls under Wine, checked by what they show on the
// screen: the main window's buttons, edit boxes and group box, controls created later (a
// message box's OK button among them), and the take-over and give-back of procedures.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "app/main_window.h"
#include "appearance/theming.h"
#include "base/win_handles.h"
#include "tests/win32/support/message_sequence.h"
#include "tests/win32/support/win32_test_support.h"

namespace tovrelle {
namespace {

using namespace std::chrono_literals;
using theming::Kind;

constexpr COLORREF kBorder2 = 0x00066237;
constexpr COLORREF kWhite = 0x00FFFFFF;
constexpr COLORREF kPaleYellow = 0x00CFF0FF;
constexpr COLORREF kOrange = 0x000097E5;
constexpr COLORREF kBeige = 0x00CEE3EF;
constexpr COLORREF kRingNormalBottom = 0x00D6DFE2;
constexpr COLORREF kFaceTop = 0x00FBFCFC;
constexpr COLORREF kFaceBottom = 0x00C9E1EC;
constexpr COLORREF kEditFrame2 = 0x007FB9A4;

COLORREF face() {
    return GetSysColor(COLOR_BTNFACE);
}

// A pixel of a window (its outer rectangle, frame included) as the screen shows it. Under Xvfb
int brightness(COLORREF c) {
    return GetRValue(c) + GetGValue(c) + GetBValue(c);
}

// Waits (pumping) until the pixel shows the colour; gives the last colour seen.
COLORREF wait_pixel(HWND hwnd, int x, int y, COLORREF want, int tolerance = 0,
                    MainWindow* window = nullptr) {
    COLORREF seen = test::window_pixel(hwnd, x, y);
    test::pump_until(
        [&] {
            seen = test::window_pixel(hwnd, x, y);
            return test::close_to(seen, want, tolerance);
        },
        3000ms, window);
    return seen;
}

struct Expect {
    const char* what;
    int x, y;
    COLORREF colour;
    int tolerance;
};

void expect_pixels(HWND hwnd, const std::vector<Expect>& points) {
    for (const Expect& e : points) {
        const COLORREF got = test::window_pixel(hwnd, e.x, e.y);
        EXPECT_TRUE(test::close_to(got, e.colour, e.tolerance))
            << e.what << " at (" << e.x << ", " << e.y << "): " << test::hex(got) << ", expected "
            << test::hex(e.colour);
    }
}

// Real pointer movement and buttons through the system's input queue.
void move_pointer(POINT screen) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    SendInput(1, &in, sizeof(INPUT));
}

void mouse_button(DWORD flag) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = flag;
    SendInput(1, &in, sizeof(INPUT));
}

POINT on_screen(HWND hwnd, int x, int y) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return POINT{r.left + x, r.top + y};
}

int width_of(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r.right - r.left;
}

int height_of(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    return r.bottom - r.top;
}

// Neighbouring pixels along a row that differ: a vertical gradient has none, the dots of a
// focus rectangle many.
int changes_along_row(HWND hwnd, int y, int from, int to) {
    int changes = 0;
    for (int x = from; x < to; ++x) {
        changes += test::window_pixel(hwnd, x, y) != test::window_pixel(hwnd, x + 1, y) ? 1 : 0;
    }
    return changes;
}

struct Darkest {
    COLORREF colour = 0x00FFFFFF;
};

Darkest darkest_in(HWND hwnd, RECT area) {
    Darkest d;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            const COLORREF c = test::window_pixel(hwnd, x, y);
            if (brightness(c) < brightness(d.colour)) {
                d.colour = c;
            }
        }
    }
    return d;
}

// Rows of a window that hold text darker than its face, grouped into runs: one run per line.
int text_lines(HWND hwnd, RECT area) {
    int lines = 0;
    bool in_line = false;
    for (int y = area.top; y < area.bottom; ++y) {
        bool dark = false;
        for (int x = area.left; x < area.right && !dark; ++x) {
            dark = brightness(test::window_pixel(hwnd, x, y)) < 560;
        }
        if (dark && !in_line) {
            ++lines;
        }
        in_line = dark;
    }
    return lines;
}

// A parent for controls the tests make themselves: the button face behind them, like the main
// window, and the same answer to WM_CTLCOLORBTN.
LRESULT CALLBACK parent_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CTLCOLORBTN || msg == WM_CTLCOLORSTATIC) {
        SetTextColor(reinterpret_cast<HDC>(wp), 0x00000000);
        SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

UniqueWindow make_parent() {
    static const bool registered = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = parent_proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = L"TovrelleThemingTestParent";
        return RegisterClassExW(&wc) != 0;
    }();
    EXPECT_TRUE(registered);
    UniqueWindow parent(CreateWindowExW(0, L"TovrelleThemingTestParent", L"theming test",
                                        WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20, 400, 300,
                                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    EXPECT_TRUE(parent.valid());
    return parent;
}

HWND make_child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y,
                int w, int h, int id = 0) {
    HWND hwnd = CreateWindowExW(0, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent,
                                reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(hwnd, nullptr) << "could not create a child of class "
                             << std::string(cls, cls + wcslen(cls));
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)),
                 TRUE);
    return hwnd;
}

const Identity kThemed[] = {ids::按钮1,   ids::按钮2,   ids::按钮3,   ids::按钮4,  ids::按钮5,
                            ids::编辑框1, ids::编辑框2, ids::编辑框3, ids::分组框1};

class ThemingTest : public ::testing::Test {
  protected:
    void SetUp() override {
        park_pointer();
        // As the program does: on in the created handler, while the window is still hidden.
        window.events().created = [this] {
            for (const ControlDef& c : window.definition().controls) {
                own_procedures[c.id] = GetWindowLongPtrW(window.control(c.id), GWLP_WNDPROC);
            }
            switched_on = theming::set_scheme(2);
        };
        ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
        SetForegroundWindow(window.hwnd());
        test::pump(300ms, &window);
    }

    void TearDown() override {
        mouse_button(MOUSEEVENTF_LEFTUP);
        theming::set_scheme(0);
    }

    // Somewhere no control is: the top-left corner of the screen.
    void park_pointer() {
        move_pointer(POINT{2, 2});
        test::pump(100ms, &window);
    }

    HWND control(Identity id) const { return window.control(id); }

    MainWindow window;
    std::map<Identity, LONG_PTR> own_procedures;
    int switched_on = -1;
};

TEST_F(ThemingTest, TakesOverTheButtonsEditBoxesAndGroupBoxOfTheWindow) {
    EXPECT_EQ(switched_on, 1);
    EXPECT_EQ(theming::current_scheme(), 2);
    EXPECT_TRUE(theming::hook_installed());
    EXPECT_EQ(theming::taken_over_count(), std::size(kThemed));
    for (Identity id : kThemed) {
        SCOPED_TRACE(id);
        EXPECT_EQ(theming::records_of(control(id)), 1);
        EXPECT_EQ(GetWindowLongPtrW(control(id), GWLP_WNDPROC),
                  reinterpret_cast<LONG_PTR>(theming::layer_procedure()));
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(theming::own_procedure_of(control(id))),
                  own_procedures[id]);
    }
    EXPECT_EQ(theming::kind_of(control(ids::按钮3)), Kind::PushButton);
    EXPECT_EQ(theming::kind_of(control(ids::编辑框2)), Kind::Edit);
    EXPECT_EQ(theming::kind_of(control(ids::分组框1)), Kind::GroupBox);
    // Labels and timers keep their own procedures.
    for (Identity id : {ids::透明标签1, ids::透明标签2, ids::时钟1}) {
        EXPECT_EQ(theming::records_of(control(id)), 0);
        EXPECT_EQ(GetWindowLongPtrW(control(id), GWLP_WNDPROC), own_procedures[id]);
    }
}

TEST_F(ThemingTest, ButtonAtRestHasOliveBorderWhiteToGreyRingAndBeigeFace) {
    HWND b = control(ids::按钮2);  // 80 x 25, without the focus
    ASSERT_EQ(width_of(b), 80);
    ASSERT_EQ(height_of(b), 25);
    expect_pixels(b, {
                         {"outer line", 40, 0, face(), 0},
                         {"outer line, left", 0, 12, face(), 0},
                         {"border, top", 40, 1, kBorder2, 0},
                         {"border, left", 1, 12, kBorder2, 0},
                         {"border, right", 78, 12, kBorder2, 0},
                         {"border, bottom", 40, 23, kBorder2, 0},
                         {"ring, top", 40, 2, kWhite, 2},
                         {"ring, bottom", 40, 22, kRingNormalBottom, 6},
                         {"ring, left side", 2, 12, 0x00EBEFF1, 8},
                         {"face, top", 40, 4, kFaceTop, 3},
                         {"face, bottom", 40, 20, kFaceBottom, 8},
                         {"face, near the left", 5, 12, 0x00E3EFF4, 8},
                         {"rounded corner", 1, 1, face(), 0},
                         {"rounded corner, inside", 2, 2, kBorder2, 0},
                         {"rounded corner", 78, 23, face(), 0},
                         {"rounded corner, inside", 77, 22, kBorder2, 0},
                     });
    EXPECT_EQ(changes_along_row(b, 3, 6, 73), 0) << "a focus rectangle without the focus";
    // The text is black.
    EXPECT_LT(brightness(darkest_in(b, RECT{20, 5, 60, 20}).colour), 120);
}

TEST_F(ThemingTest, RingTurnsOrangeUnderThePointerAndBackWhenItLeaves) {
    HWND b = control(ids::按钮2);
    move_pointer(on_screen(b, 40, 12));
    EXPECT_TRUE(test::close_to(wait_pixel(b, 40, 2, kPaleYellow, 2, &window), kPaleYellow, 2));
    EXPECT_TRUE(test::close_to(test::window_pixel(b, 40, 22), kOrange, 12))
        << test::hex(test::window_pixel(b, 40, 22));
    EXPECT_TRUE(test::close_to(test::window_pixel(b, 40, 12), 0x00E3EFF4, 8))
        << "the face stays: " << test::hex(test::window_pixel(b, 40, 12));
    ASSERT_TRUE(theming::state_of(b).has_value());
    EXPECT_TRUE(theming::state_of(b)->hot);

    // Onto a free part of the window: the system reports the leave.
    move_pointer(on_screen(window.hwnd(), 200, 90));
    EXPECT_TRUE(test::close_to(wait_pixel(b, 40, 2, kWhite, 2, &window), kWhite, 2));
    EXPECT_TRUE(test::close_to(test::window_pixel(b, 40, 22), kRingNormalBottom, 6))
        << test::hex(test::window_pixel(b, 40, 22));
    EXPECT_FALSE(theming::state_of(b)->hot);
}

TEST_F(ThemingTest, MovingOntoAButtonWithTheLeftButtonHeldChangesNothing) {
    HWND b = control(ids::按钮2);
    const POINT free_spot = on_screen(window.hwnd(), 200, 90);
    move_pointer(free_spot);
    test::pump(100ms, &window);
    mouse_button(MOUSEEVENTF_LEFTDOWN);
    test::pump(100ms, &window);
    for (int x = 0; x <= 40; x += 8) {
        move_pointer(on_screen(b, x, 12));
        test::pump(60ms, &window);
    }
    test::pump(300ms, &window);
    EXPECT_EQ(test::window_pixel(b, 40, 2), kWhite);
    EXPECT_FALSE(theming::state_of(b)->hot);
    EXPECT_FALSE(theming::state_of(b)->pressed);
    move_pointer(free_spot);
    test::pump(100ms, &window);
    mouse_button(MOUSEEVENTF_LEFTUP);
    test::pump(200ms, &window);
    EXPECT_EQ(test::window_pixel(b, 40, 2), kWhite);
}

TEST_F(ThemingTest, PressedButtonHasAFlatBeigeRingAndFace) {
    HWND b = control(ids::按钮2);
    move_pointer(on_screen(b, 40, 12));
    wait_pixel(b, 40, 2, kPaleYellow, 2, &window);
    mouse_button(MOUSEEVENTF_LEFTDOWN);
    EXPECT_EQ(wait_pixel(b, 40, 2, kBeige, 0, &window), kBeige);
    expect_pixels(b, {
                         {"border", 40, 1, kBorder2, 0},
                         {"ring, bottom", 40, 22, kBeige, 0},
                         {"face, top", 40, 4, kBeige, 0},
                         {"face, left", 5, 12, kBeige, 0},
                         {"face, bottom", 70, 20, kBeige, 0},
                     });
    EXPECT_TRUE(theming::state_of(b)->pressed);
    // Slid off before letting go: no click, and the press is over.
    move_pointer(on_screen(window.hwnd(), 200, 90));
    test::pump(200ms, &window);
    mouse_button(MOUSEEVENTF_LEFTUP);
    test::pump(200ms, &window);
    EXPECT_FALSE(theming::state_of(b)->pressed);
    EXPECT_NE(test::window_pixel(b, 40, 12), kBeige);
}

TEST_F(ThemingTest, FocusedButtonKeepsTheOrangeRingAndShowsAFocusRectangle) {
    // Right after start the focus is on 按钮1.
    HWND first = control(ids::按钮1);
    ASSERT_EQ(GetFocus(), first);
    EXPECT_TRUE(test::close_to(test::window_pixel(first, 40, 2), kPaleYellow, 2))
        << test::hex(test::window_pixel(first, 40, 2));

    HWND b = control(ids::按钮2);
    EXPECT_EQ(changes_along_row(b, 3, 6, 73), 0);
    SetFocus(b);
    EXPECT_TRUE(test::close_to(wait_pixel(b, 40, 2, kPaleYellow, 2, &window), kPaleYellow, 2));
    EXPECT_TRUE(test::close_to(test::window_pixel(b, 40, 22), kOrange, 12))
        << test::hex(test::window_pixel(b, 40, 22));
    EXPECT_TRUE(theming::state_of(b)->focused);
    // The dotted rectangle one pixel outside the face, on all four sides.
    EXPECT_GE(changes_along_row(b, 3, 6, 73), 30);
    EXPECT_GE(changes_along_row(b, 21, 6, 73), 30);
    EXPECT_NE(test::window_pixel(b, 3, 10), test::window_pixel(b, 3, 11));
    EXPECT_NE(test::window_pixel(b, 76, 10), test::window_pixel(b, 76, 11));

    // 按钮1 lost it: white ring, no dots.
    EXPECT_EQ(wait_pixel(first, 40, 2, kWhite, 0, &window), kWhite);
    EXPECT_EQ(changes_along_row(first, 3, 6, 73), 0);
}

TEST_F(ThemingTest, DisabledButtonIsFlatLightWithGreyText) {
    HWND b = control(ids::按钮5);
    EnableWindow(b, FALSE);
    EXPECT_EQ(wait_pixel(b, 40, 4, theming::kDisabledFace, 0, &window), theming::kDisabledFace);
    const COLORREF disabled_border = theming::darken(face(), theming::kDisabledBorderStep);
    expect_pixels(
        b,
        {
            {"border", 40, 1, disabled_border, 0},
            {"border, left", 1, 12, disabled_border, 0},
            {"no ring", 40, 2, theming::kDisabledFace, 0},
            {"no ring, bottom", 40, 22, theming::kDisabledFace, 0},
            {"flat face", 5, 12, theming::kDisabledFace, 0},
            {"flat face", 74, 20, theming::kDisabledFace, 0},
            {"corner", 1, 1, theming::darken(face(), theming::kDisabledCornerOuterStep), 0},
            {"corner, inside", 2, 2, theming::darken(face(), theming::kDisabledCornerInnerStep), 0},
        });
    EXPECT_TRUE(theming::state_of(b)->disabled);
    // Grey text: smoothed glyphs blend the text colour into the face, so its darkest pixel
    // lies on the way from the face to the grey, part for part alike, and nowhere near black.
    const COLORREF darkest = darkest_in(b, RECT{20, 5, 60, 20}).colour;
    const double coverage[3] = {
        double(GetRValue(theming::kDisabledFace) - GetRValue(darkest)) /
            (GetRValue(theming::kDisabledFace) - GetRValue(theming::kDisabledText)),
        double(GetGValue(theming::kDisabledFace) - GetGValue(darkest)) /
            (GetGValue(theming::kDisabledFace) - GetGValue(theming::kDisabledText)),
        double(GetBValue(theming::kDisabledFace) - GetBValue(darkest)) /
            (GetBValue(theming::kDisabledFace) - GetBValue(theming::kDisabledText))};
    EXPECT_GT(coverage[0], 0.4) << "no text: " << test::hex(darkest);
    EXPECT_LE(coverage[0], 1.05) << "darker than the grey: " << test::hex(darkest);
    EXPECT_NEAR(coverage[1], coverage[0], 0.12) << test::hex(darkest);
    EXPECT_NEAR(coverage[2], coverage[0], 0.12) << test::hex(darkest);

    EnableWindow(b, TRUE);
    EXPECT_EQ(wait_pixel(b, 40, 2, kWhite, 0, &window), kWhite);
    EXPECT_EQ(test::window_pixel(b, 40, 1), kBorder2);
    EXPECT_FALSE(theming::state_of(b)->disabled);
}

TEST_F(ThemingTest, EditBoxHasAFlatTwoLineFrame) {
    HWND e = control(ids::编辑框1);
    const int w = width_of(e);
    const int h = height_of(e);
    const auto frame_at = [&](COLORREF outer, COLORREF inner) {
        return std::vector<Expect>{
            {"outer, top", w / 2, 0, outer, 0},       {"outer, left", 0, h / 2, outer, 0},
            {"outer, right", w - 1, h / 2, outer, 0}, {"outer, bottom", w / 2, h - 1, outer, 0},
            {"inner, top", w / 2, 1, inner, 0},       {"inner, left", 1, h / 2, inner, 0},
            {"inner, right", w - 2, h / 2, inner, 0}, {"inner, bottom", w / 2, h - 2, inner, 0},
        };
    };
    expect_pixels(e, frame_at(kEditFrame2, kWhite));

    // Focus and typing repaint the box; the frame stays.
    SetFocus(e);
    SendMessageW(e, WM_CHAR, L'7', 0);
    test::pump(200ms, &window);
    expect_pixels(e, frame_at(kEditFrame2, kWhite));

    // Read-only after the take-over: the inner line turns to the button face, and back.
    SendMessageW(e, EM_SETREADONLY, TRUE, 0);
    test::pump(100ms, &window);
    EXPECT_TRUE(theming::state_of(e)->read_only);
    expect_pixels(e, frame_at(kEditFrame2, face()));
    SendMessageW(e, EM_SETREADONLY, FALSE, 0);
    test::pump(100ms, &window);
    expect_pixels(e, frame_at(kEditFrame2, kWhite));

    SetFocus(control(ids::按钮1));
    EnableWindow(e, FALSE);
    test::pump(100ms, &window);
    expect_pixels(e, frame_at(theming::darken(face(), theming::kDisabledBorderStep), face()));
}

// The five pixels of a rounded corner that go back to the background and the two that carry
// the frame, for the corner at (x0, y0) running in the directions dx, dy.
void expect_round_corner(HWND g, int x0, int y0, int dx, int dy, COLORREF background) {
    const int cleared[5][2] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {0, 2}};
    const int diagonal[2][2] = {{2, 1}, {1, 2}};
    for (const auto& p : cleared) {
        EXPECT_EQ(test::window_pixel(g, x0 + dx * p[0], y0 + dy * p[1]), background)
            << "cleared corner pixel (" << x0 + dx * p[0] << ", " << y0 + dy * p[1] << ")";
    }
    for (const auto& p : diagonal) {
        EXPECT_EQ(test::window_pixel(g, x0 + dx * p[0], y0 + dy * p[1]), theming::kGroupFrame)
            << "diagonal corner pixel (" << x0 + dx * p[0] << ", " << y0 + dy * p[1] << ")";
    }
    // The straight lines start right after the rounding.
    EXPECT_EQ(test::window_pixel(g, x0 + dx * 3, y0), theming::kGroupFrame);
    EXPECT_EQ(test::window_pixel(g, x0, y0 + dy * 3), theming::kGroupFrame);
}

int line_height(HWND control) {
    WindowDc dc(control);
    SelectedObject font(dc.get(), reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc.get(), &tm);
    return tm.tmHeight;
}

TEST_F(ThemingTest, GroupBoxFrameLiesHalfALineDownWithRoundedCorners) {
    UniqueWindow parent = make_parent();
    HWND plain = make_child(parent.get(), L"Button", L"", BS_GROUPBOX, 10, 10, 120, 60);
    HWND titled =
        make_child(parent.get(), L"Button", L"分组", BS_GROUPBOX | BS_LEFT, 150, 10, 120, 60);
    test::pump(300ms, &window);
    ASSERT_EQ(theming::kind_of(plain), Kind::GroupBox);
    const int top = line_height(plain) / 2;
    ASSERT_GT(top, 3);
    const COLORREF bg = face();
    expect_pixels(plain, {
                             {"top line", 60, top, theming::kGroupFrame, 0},
                             {"above the top line", 60, top - 1, bg, 0},
                             {"top of the box", 60, 0, bg, 0},
                             {"below the top line", 60, top + 1, bg, 0},
                             {"left line", 0, 30, theming::kGroupFrame, 0},
                             {"inside the left line", 1, 30, bg, 0},
                             {"right line", 119, 30, theming::kGroupFrame, 0},
                             {"inside the right line", 118, 30, bg, 0},
                             {"bottom line", 60, 59, theming::kGroupFrame, 0},
                             {"inside the bottom line", 60, 58, bg, 0},
                         });
    expect_round_corner(plain, 0, top, 1, 1, bg);
    expect_round_corner(plain, 119, top, -1, 1, bg);
    expect_round_corner(plain, 0, 59, 1, -1, bg);
    expect_round_corner(plain, 119, 59, -1, -1, bg);

    // With a caption: the line is broken under it, the caption starts 9 pixels in.
    EXPECT_EQ(test::window_pixel(titled, 5, top), theming::kGroupFrame);
    EXPECT_EQ(test::window_pixel(titled, 100, top), theming::kGroupFrame);
    EXPECT_NE(test::window_pixel(titled, 16, top), theming::kGroupFrame);
    EXPECT_LT(brightness(darkest_in(titled, RECT{9, 0, 40, line_height(titled)}).colour), 200);
    EXPECT_GT(brightness(darkest_in(titled, RECT{0, 0, 8, top}).colour), 600)
        << "nothing left of the caption";
}

TEST_F(ThemingTest, GroupBoxOfTheWindowShowsItsFrameBackgroundAndStatusLine) {
    HWND g = control(ids::分组框1);  // 400 x 40 from 8 pixels above the client area
    const int w = width_of(g);
    expect_pixels(g, {
                         {"bottom line", 200, 39, theming::kGroupFrame, 0},
                         {"inside the bottom line", 200, 38, face(), 0},
                         {"left line", 0, 30, theming::kGroupFrame, 0},
                         {"its background", 200, 34, face(), 0},
                         {"its background, right", w - 20, 30, face(), 0},
                     });
    expect_round_corner(g, 0, 39, 1, -1, face());

    // The status line inside it still shows, violet on the box's background.
    window.set_caption(ids::透明标签1, L"当前时间：2019年1月12日21时5分17秒");
    test::pump(300ms, &window);
    HWND label = control(ids::透明标签1);
    int violet = 0;
    for (int y = 0; y < height_of(label); ++y) {
        for (int x = 0; x < 200; ++x) {
            const COLORREF c = test::window_pixel(label, x, y);
            violet += (GetBValue(c) > 200 && GetGValue(c) < 120 && GetRValue(c) < 200) ? 1 : 0;
        }
    }
    EXPECT_GT(violet, 20);
    EXPECT_EQ(test::window_pixel(label, 380, 8), face()) << "behind the label, past its text";
    expect_pixels(g, {{"bottom line, after the label changed", 200, 39, theming::kGroupFrame, 0}});
}

// The message box test follows the OK button through hooks of its own.
struct BoxWatch {
    static inline HHOOK creation_hook = nullptr;
    static inline HWND ok_button = nullptr;
    static inline bool taken_over_at_creation = false;
    static inline bool visible_at_creation = true;
    static inline bool inspected = false;
    static inline COLORREF border = 0;
    static inline COLORREF ring_top = 0;
    static inline COLORREF ring_bottom = 0;
    static inline COLORREF face_top = 0;
    static inline int records = -1;

    // Called after the layer's own hook, which was installed later: by the button's WM_CREATE,
    // before it can paint at all, it must already be the layer's.
    static LRESULT CALLBACK on_message(int code, WPARAM wp, LPARAM lp) {
        if (code == HC_ACTION) {
            const auto* m = reinterpret_cast<const CWPSTRUCT*>(lp);
            wchar_t cls[32] = {};
            wchar_t parent_cls[32] = {};
            GetClassNameW(m->hwnd, cls, 32);
            GetClassNameW(GetParent(m->hwnd), parent_cls, 32);
            if (m->message == WM_CREATE && lstrcmpiW(cls, L"Button") == 0 &&
                lstrcmpW(parent_cls, L"#32770") == 0 && GetDlgCtrlID(m->hwnd) == IDOK) {
                ok_button = m->hwnd;
                taken_over_at_creation = theming::records_of(m->hwnd) == 1 &&
                                         GetWindowLongPtrW(m->hwnd, GWLP_WNDPROC) ==
                                             reinterpret_cast<LONG_PTR>(theming::layer_procedure());
                visible_at_creation = IsWindowVisible(m->hwnd) != FALSE;
            }
        }
        return CallNextHookEx(creation_hook, code, wp, lp);
    }

    static void CALLBACK inspect(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        HWND box = FindWindowW(L"#32770", L"主题测试");
        HWND ok = box != nullptr ? GetDlgItem(box, IDOK) : nullptr;
        if (ok != nullptr) {
            inspected = true;
            records = theming::records_of(ok);
            const int w = width_of(ok);
            const int h = height_of(ok);
            border = test::window_pixel(ok, w / 2, 1);
            ring_top = test::window_pixel(ok, w / 2, 2);
            ring_bottom = test::window_pixel(ok, w / 2, h - 3);
            face_top = test::window_pixel(ok, w / 2, 4);
        }
        if (box != nullptr) {
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                         reinterpret_cast<LPARAM>(ok));
        }
    }

    static void CALLBACK show(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        SetTimer(nullptr, 0, 700, &BoxWatch::inspect);
        MessageBoxW(nullptr, L"到点了", L"主题测试", MB_OK | MB_TASKMODAL);
    }
};

TEST_F(ThemingTest, MessageBoxOkButtonIsThemedFromItsFirstPaint) {
    BoxWatch::creation_hook =
        SetWindowsHookExW(WH_CALLWNDPROC, &BoxWatch::on_message, nullptr, GetCurrentThreadId());
    ASSERT_NE(BoxWatch::creation_hook, nullptr);
    // On again, so the layer's hook is the newer one and runs first.
    ASSERT_EQ(theming::set_scheme(2), 1);
    SetTimer(nullptr, 0, 50, &BoxWatch::show);
    test::pump_until(
        [] { return BoxWatch::inspected && FindWindowW(L"#32770", L"主题测试") == nullptr; },
        8000ms, &window);
    UnhookWindowsHookEx(BoxWatch::creation_hook);

    ASSERT_NE(BoxWatch::ok_button, nullptr) << "no OK button was created";
    EXPECT_TRUE(BoxWatch::taken_over_at_creation);
    EXPECT_FALSE(BoxWatch::visible_at_creation);
    ASSERT_TRUE(BoxWatch::inspected);
    EXPECT_EQ(BoxWatch::records, 1);
    EXPECT_EQ(BoxWatch::border, kBorder2) << test::hex(BoxWatch::border);
    // The OK button has the focus in its box: the focused ring.
    EXPECT_TRUE(test::close_to(BoxWatch::ring_top, kPaleYellow, 2))
        << test::hex(BoxWatch::ring_top);
    EXPECT_TRUE(test::close_to(BoxWatch::ring_bottom, kOrange, 12))
        << test::hex(BoxWatch::ring_bottom);
    EXPECT_TRUE(test::close_to(BoxWatch::face_top, kFaceTop, 3)) << test::hex(BoxWatch::face_top);
    // Given back when it was destroyed with its box.
    EXPECT_EQ(theming::records_of(BoxWatch::ok_button), 0);
    EXPECT_EQ(theming::taken_over_count(), std::size(kThemed));
}

TEST_F(ThemingTest, SwitchingOnTwiceTakesEachControlOverOnce) {
    ASSERT_EQ(theming::set_scheme(2), 1);
    ASSERT_EQ(theming::set_scheme(3), 1);
    EXPECT_EQ(theming::current_scheme(), 3);
    EXPECT_EQ(theming::taken_over_count(), std::size(kThemed));
    for (Identity id : kThemed) {
        SCOPED_TRACE(id);
        EXPECT_EQ(theming::records_of(control(id)), 1);
        EXPECT_EQ(GetWindowLongPtrW(control(id), GWLP_WNDPROC),
                  reinterpret_cast<LONG_PTR>(theming::layer_procedure()));
        // Had it been taken over on top of itself, it would call itself.
        EXPECT_EQ(reinterpret_cast<LONG_PTR>(theming::own_procedure_of(control(id))),
                  own_procedures[id]);
    }
    // Each scheme draws with its own colours.
    HWND b = control(ids::按钮2);
    test::pump(100ms, &window);
    EXPECT_EQ(test::window_pixel(b, 40, 1), 0x00743C00u);
    EXPECT_TRUE(test::close_to(test::window_pixel(control(ids::编辑框1), 20, 0), 0x00D7C5C6, 0));
    ASSERT_EQ(theming::set_scheme(1), 1);
    test::pump(100ms, &window);
    EXPECT_EQ(test::window_pixel(b, 40, 1), 0x00733C00u);
    EXPECT_EQ(test::window_pixel(control(ids::编辑框1), 20, 0), 0x00BD9E7Bu);
}

TEST_F(ThemingTest, SwitchingOffGivesEveryControlItsOwnProcedureBack) {
    EXPECT_EQ(theming::set_scheme(0), 1);
    EXPECT_FALSE(theming::hook_installed());
    EXPECT_EQ(theming::taken_over_count(), 0u);
    for (Identity id : kThemed) {
        SCOPED_TRACE(id);
        EXPECT_EQ(GetWindowLongPtrW(control(id), GWLP_WNDPROC), own_procedures[id]);
        EXPECT_EQ(theming::records_of(control(id)), 0);
    }
    // The group box's own is the window's background painter, not the system's procedure.
    EXPECT_NE(own_procedures[ids::分组框1], own_procedures[ids::按钮1]);
    // The system's look again.
    test::pump(200ms, &window);
    EXPECT_NE(test::window_pixel(control(ids::按钮2), 40, 1), kBorder2);
    EXPECT_NE(test::window_pixel(control(ids::编辑框1), 20, 0), kEditFrame2);
    // Already off: nothing to do, whatever number switches it off.
    EXPECT_EQ(theming::set_scheme(0), 0);
    EXPECT_EQ(theming::set_scheme(4), 0);
    EXPECT_EQ(theming::set_scheme(-1), 0);
    // And no hook: a later button keeps the system's look.
    UniqueWindow parent = make_parent();
    HWND later = make_child(parent.get(), L"Button", L"later", BS_PUSHBUTTON, 10, 10, 80, 25);
    EXPECT_EQ(theming::records_of(later), 0);
}

// A procedure someone else puts on a control after the layer took it over.
struct OnTop {
    static inline LONG_PTR below = 0;
    static inline int messages = 0;
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        ++messages;
        return CallWindowProcW(reinterpret_cast<WNDPROC>(below), hwnd, msg, wp, lp);
    }
};

TEST_F(ThemingTest, ControlWithAnotherProcedureOnTopIsPassedThroughWhenGivenBack) {
    HWND b = control(ids::按钮2);
    OnTop::below = SetWindowLongPtrW(b, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&OnTop::proc));
    ASSERT_EQ(OnTop::below, reinterpret_cast<LONG_PTR>(theming::layer_procedure()));

    ASSERT_EQ(theming::set_scheme(0), 1);
    // Ours cannot come out of the middle: the procedure on top stays, ours passes everything on.
    EXPECT_EQ(GetWindowLongPtrW(b, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&OnTop::proc));
    EXPECT_EQ(theming::records_of(b), 0);
    EXPECT_EQ(theming::passed_through_count(), 1u);
    test::pump(200ms, &window);
    EXPECT_NE(test::window_pixel(b, 40, 1), kBorder2) << "still themed after being given back";
    wchar_t text[16] = {};
    GetWindowTextW(b, text, 16);
    EXPECT_STREQ(text, L"重启");

    // On again: the control is the layer's once more, without a second layer procedure.
    ASSERT_EQ(theming::set_scheme(2), 1);
    EXPECT_EQ(theming::records_of(b), 1);
    EXPECT_EQ(theming::passed_through_count(), 0u);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(theming::own_procedure_of(b)), own_procedures[ids::按钮2]);
    EXPECT_EQ(wait_pixel(b, 40, 1, kBorder2, 0, &window), kBorder2);
    const int before = OnTop::messages;
    SetWindowTextW(b, L"重启!");
    EXPECT_GT(OnTop::messages, before);

    // Off and destroyed: the passed-through record goes with the window.
    ASSERT_EQ(theming::set_scheme(0), 1);
    SetWindowLongPtrW(b, GWLP_WNDPROC, OnTop::below);  // the other party leaves as it came
    EXPECT_EQ(theming::passed_through_count(), 1u);
    DestroyWindow(b);
    EXPECT_EQ(theming::taken_over_count(), 0u);
    EXPECT_EQ(theming::passed_through_count(), 0u);
}

BOOL CALLBACK collect_window(HWND hwnd, LPARAM lp) {
    reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
    return TRUE;
}

TEST_F(ThemingTest, ControlsCreatedLaterAreTakenOverByKind) {
    UniqueWindow parent = make_parent();
    HWND p = parent.get();
    INITCOMMONCONTROLSEX icc{sizeof(icc),
                             ICC_INTERNET_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    struct Case {
        const char* what;
        HWND hwnd;
        Kind kind;
    };
    HWND disabled = make_child(p, L"Button", L"off", BS_PUSHBUTTON | WS_DISABLED, 10, 10, 60, 25);
    HWND def = make_child(p, L"Button", L"OK", BS_DEFPUSHBUTTON, 80, 10, 60, 25);
    HWND checked = make_child(p, L"Button", L"check", BS_AUTOCHECKBOX, 150, 10, 80, 20);
    SendMessageW(checked, BM_SETCHECK, BST_CHECKED, 0);
    const Case taken[] = {
        {"disabled push button", disabled, Kind::PushButton},
        {"default push button", def, Kind::PushButton},
        {"check box", checked, Kind::CheckBox},
        {"push-like check box",
         make_child(p, L"Button", L"like", BS_AUTOCHECKBOX | BS_PUSHLIKE, 240, 10, 60, 25),
         Kind::PushButton},
        {"radio button", make_child(p, L"Button", L"radio", BS_AUTORADIOBUTTON, 10, 40, 80, 20),
         Kind::RadioButton},
        {"edit box", make_child(p, L"Edit", L"", WS_BORDER, 100, 40, 60, 20), Kind::Edit},
        {"drop-down combo box", make_child(p, L"ComboBox", L"", CBS_DROPDOWNLIST, 170, 40, 80, 100),
         Kind::ComboBox},
        {"up-down control", make_child(p, L"msctls_updown32", L"", 0, 260, 40, 16, 24),
         Kind::UpDown},
        {"group box", make_child(p, L"Button", L"", BS_GROUPBOX, 290, 40, 100, 50), Kind::GroupBox},
    };
    for (const Case& c : taken) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(theming::records_of(c.hwnd), 1);
        EXPECT_EQ(theming::kind_of(c.hwnd), c.kind);
    }
    // The state each shows from the start.
    EXPECT_TRUE(theming::state_of(disabled)->disabled);
    EXPECT_TRUE(theming::state_of(def)->default_button);
    EXPECT_TRUE(theming::state_of(checked)->checked);

    HWND address = make_child(p, L"SysIPAddress32", L"", 0, 10, 100, 150, 22);
    std::vector<HWND> address_fields;
    EnumChildWindows(address, &collect_window, reinterpret_cast<LPARAM>(&address_fields));
    EXPECT_FALSE(address_fields.empty()) << "the address control made no fields";
    const Case left_alone[] = {
        {"owner-drawn button", make_child(p, L"Button", L"o", BS_OWNERDRAW, 170, 100, 60, 25),
         Kind::None},
        {"bitmap button",
         make_child(p, L"Button", L"b", BS_PUSHBUTTON | BS_BITMAP, 240, 100, 60, 25), Kind::None},
        {"simple combo box", make_child(p, L"ComboBox", L"", CBS_SIMPLE, 10, 140, 80, 60),
         Kind::None},
        {"list box", make_child(p, L"ListBox", L"", WS_BORDER, 100, 140, 80, 60), Kind::None},
        {"scroll bar", make_child(p, L"ScrollBar", L"", SBS_HORZ, 190, 140, 80, 16), Kind::None},
        {"static text", make_child(p, L"Static", L"text", 0, 280, 140, 80, 16), Kind::None},
        {"address control", address, Kind::None},
    };
    for (const Case& c : left_alone) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(theming::records_of(c.hwnd), 0);
    }
    for (HWND field : address_fields) {
        EXPECT_EQ(theming::records_of(field), 0) << "an address field was taken over";
    }
    // The text-less bare tab-stop button: created without WS_VISIBLE, its style is exactly
    // WS_CHILD | WS_TABSTOP.
    HWND bare = CreateWindowExW(0, L"Button", L"", WS_CHILD | WS_TABSTOP, 0, 0, 10, 10, p, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(theming::records_of(bare), 0);

    // A default button shows the focused ring even without the focus.
    test::pump(300ms, &window);
    EXPECT_TRUE(test::close_to(test::window_pixel(def, 30, 2), kPaleYellow, 2))
        << test::hex(test::window_pixel(def, 30, 2));
    // BM_SETSTYLE makes it an ordinary button: the white ring.
    SendMessageW(def, BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    test::pump(100ms, &window);
    EXPECT_FALSE(theming::state_of(def)->default_button);
    EXPECT_EQ(test::window_pixel(def, 30, 2), kWhite);
}

bool has_colour(HWND hwnd, RECT area, COLORREF c) {
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x) {
            if (test::window_pixel(hwnd, x, y) == c) {
                return true;
            }
        }
    }
    return false;
}

TEST_F(ThemingTest, CheckBoxRadioButtonComboBoxAndUpDownDrawTheirMarks) {
    UniqueWindow parent = make_parent();
    HWND p = parent.get();
    const theming::MarkColours& m = theming::mark_colours();
    HWND check = make_child(p, L"Button", L"check", BS_AUTOCHECKBOX, 10, 10, 90, 20);
    HWND three = make_child(p, L"Button", L"three", BS_AUTO3STATE, 10, 40, 90, 20);
    HWND radio = make_child(p, L"Button", L"radio", BS_AUTORADIOBUTTON, 10, 70, 90, 20);
    HWND combo = make_child(p, L"ComboBox", L"", CBS_DROPDOWNLIST, 120, 10, 100, 120);
    SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"一"));
    HWND spin = make_child(p, L"msctls_updown32", L"", 0, 240, 10, 18, 30);
    test::pump(300ms, &window);
    const RECT box{0, 0, 13, 13};
    EXPECT_EQ(test::window_pixel(check, 0, 0), m.frame);
    EXPECT_EQ(test::window_pixel(check, 12, 12), m.frame);
    EXPECT_FALSE(has_colour(check, box, m.tick)) << "a tick while unchecked";
    SendMessageW(check, BM_SETCHECK, BST_CHECKED, 0);
    test::pump(100ms, &window);
    EXPECT_TRUE(has_colour(check, box, m.tick));
    SendMessageW(three, BM_SETCHECK, BST_INDETERMINATE, 0);
    test::pump(100ms, &window);
    EXPECT_EQ(test::window_pixel(three, 6, 6), m.tick) << "indeterminate: a filled square";
    EXPECT_TRUE(theming::state_of(three)->indeterminate);
    EXPECT_FALSE(has_colour(radio, box, m.tick));
    SendMessageW(radio, BM_SETCHECK, BST_CHECKED, 0);
    test::pump(100ms, &window);
    EXPECT_EQ(test::window_pixel(radio, 6, 6), m.tick) << "checked: the dot";
    // A click ticks an automatic check box and the layer follows.
    SendMessageW(check, BM_CLICK, 0, 0);
    test::pump(100ms, &window);
    EXPECT_FALSE(theming::state_of(check)->checked);
    EXPECT_FALSE(has_colour(check, box, m.tick));

    const theming::Scheme& s = theming::scheme(2);
    EXPECT_EQ(test::window_pixel(combo, 50, 0), s.edit_frame);
    EXPECT_EQ(test::window_pixel(combo, 50, 1), GetSysColor(COLOR_WINDOW));
    EXPECT_TRUE(has_colour(combo,
                           RECT{width_of(combo) - 16, 4, width_of(combo) - 3, height_of(combo) - 4},
                           s.arrow_glyph))
        << "no arrow on the combo box";

    // The half of the up-down control under the pointer lights up.
    const COLORREF upper_at_rest = test::window_pixel(spin, 9, 3);
    const COLORREF lower_at_rest = test::window_pixel(spin, 9, 18);
    EXPECT_EQ(upper_at_rest, lower_at_rest) << "both halves alike at rest";
    move_pointer(on_screen(spin, 9, 5));
    test::pump_until([&] { return test::window_pixel(spin, 9, 3) != upper_at_rest; }, 3000ms,
                     &window);
    EXPECT_NE(test::window_pixel(spin, 9, 3), upper_at_rest);
    EXPECT_EQ(test::window_pixel(spin, 9, 18), lower_at_rest);
    move_pointer(on_screen(spin, 9, 25));
    test::pump_until([&] { return test::window_pixel(spin, 9, 3) == upper_at_rest; }, 3000ms,
                     &window);
    EXPECT_EQ(test::window_pixel(spin, 9, 3), upper_at_rest);
    EXPECT_NE(test::window_pixel(spin, 9, 18), lower_at_rest);
    park_pointer();
}

TEST_F(ThemingTest, EditBoxJoinsTheUpDownControlBesideIt) {
    UniqueWindow parent = make_parent();
    HWND edit = make_child(parent.get(), L"Edit", L"5", 0, 20, 20, 60, 22);
    SetWindowLongW(edit, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
    SetWindowPos(edit, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    HWND spin = make_child(parent.get(), L"msctls_updown32", L"", UDS_ALIGNRIGHT | UDS_SETBUDDYINT,
                           0, 0, 16, 22);
    SendMessageW(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    HWND lone = make_child(parent.get(), L"Edit", L"", 0, 20, 60, 60, 22);
    for (HWND e : {edit, lone}) {
        SetWindowLongW(e, GWL_EXSTYLE, WS_EX_CLIENTEDGE);
        SetWindowPos(e, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    }
    // The buddy is looked at when the layer takes the up-down control over, whichever of the
    // two the walk meets first.
    ASSERT_EQ(theming::set_scheme(2), 1);
    test::pump(200ms, &window);
    const int w = width_of(edit);
    const int h = height_of(edit);
    EXPECT_EQ(test::window_pixel(edit, w - 1, h / 2), kWhite)
        << "the side towards the up-down control";
    EXPECT_EQ(test::window_pixel(edit, 0, h / 2), kEditFrame2);
    EXPECT_EQ(test::window_pixel(edit, w / 2, 0), kEditFrame2);
    EXPECT_EQ(test::window_pixel(lone, width_of(lone) - 1, 10), kEditFrame2)
        << "a box without a buddy";
}

TEST_F(ThemingTest, ButtonTextThatDoesNotFitIsBrokenIntoLines) {
    UniqueWindow parent = make_parent();
    HWND chinese =
        make_child(parent.get(), L"Button", L"定时关机定时", BS_PUSHBUTTON, 10, 10, 44, 60);
    HWND latin =
        make_child(parent.get(), L"Button", L"Abcdefghijkl", BS_PUSHBUTTON, 70, 10, 36, 60);
    HWND words = make_child(parent.get(), L"Button", L"ab cd", BS_PUSHBUTTON, 120, 10, 30, 60);
    HWND fits = make_child(parent.get(), L"Button", L"关机", BS_PUSHBUTTON, 160, 10, 80, 60);
    HWND crowded =
        make_child(parent.get(), L"Button", L"定时关机定时重启", BS_PUSHBUTTON, 250, 10, 40, 25);
    test::pump(300ms, &window);
    const RECT face{4, 4, 0, 56};
    const auto lines = [&](HWND b) {
        return text_lines(b, RECT{face.left, face.top, width_of(b) - 4, face.bottom});
    };
    EXPECT_GE(lines(chinese), 2) << "CJK text breaks between characters";
    EXPECT_GE(lines(latin), 2) << "a word wider than the face breaks between characters";
    EXPECT_EQ(lines(words), 2) << "breaks at the space";
    EXPECT_EQ(lines(fits), 1);
    // Lines beyond the face are cut off at its edge: border and ring stay whole.
    for (int x = 4; x < 36; ++x) {
        EXPECT_EQ(test::window_pixel(crowded, x, 1), kBorder2) << x;
        EXPECT_EQ(test::window_pixel(crowded, x, 2), kWhite) << x;
        EXPECT_EQ(test::window_pixel(crowded, x, 23), kBorder2) << x;
    }
}

// A pressed button must show the layer's look, not the system's: the layer hands BM_SETSTATE
// to the button's own procedure first (which may paint the system look) and paints over it
// afterwards. The recorder sits between the layer and the button's own procedure, so it sees
// what the layer hands on; the layer's painting asks the button for its text, font and keyboard
// cues through the whole chain, which the recorder sees too.
TEST_F(ThemingTest, PaintsAfterTheButtonsOwnProcedureHandledBmSetState) {
    UniqueWindow parent = make_parent();
    ASSERT_EQ(theming::set_scheme(0), 1);
    HWND button = make_child(parent.get(), L"Button", L"按下", BS_PUSHBUTTON, 10, 10, 90, 26);
    test::MessageRecorder recorder;
    ASSERT_TRUE(recorder.watch(button, L"button"));
    ASSERT_EQ(theming::set_scheme(2), 1);  // the layer goes on top of the recorder
    ASSERT_EQ(GetWindowLongPtrW(button, GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(theming::layer_procedure()));
    test::pump(100ms, &window);
    // The button repaints itself later on its own; the order under test is that of one call.
    for (UINT noise : {WM_PAINT, WM_ERASEBKGND, WM_NCPAINT, WM_PRINTCLIENT}) {
        recorder.ignore(noise);
    }

    using test::kOptional;
    using test::kWparam;
    for (const WPARAM pressed : {TRUE, FALSE}) {
        SCOPED_TRACE(pressed ? "pressed" : "released");
        recorder.clear();
        SendMessageW(button, BM_SETSTATE, pressed, 0);
        const std::vector<test::Expected> expected = {
            {button, BM_SETSTATE, kWparam, pressed},
            // The layer's painting, after the button's own procedure has returned.
            {button, WM_GETTEXT},
            {button, WM_GETFONT},
            {button, WM_QUERYUISTATE, kOptional},
        };
        EXPECT_SEQUENCE(recorder, expected, "BM_SETSTATE on a themed push button");
        ASSERT_TRUE(theming::state_of(button).has_value());
        EXPECT_EQ(theming::state_of(button)->pressed, pressed != FALSE);
    }
}

TEST_F(ThemingTest, ThousandRepaintsLeaveNoGdiObjectOrDcBehind) {
    UniqueWindow parent = make_parent();
    HWND p = parent.get();
    std::vector<HWND> controls = {control(ids::按钮2), control(ids::编辑框1),
                                  control(ids::分组框1)};
    controls.push_back(make_child(p, L"Button", L"check", BS_AUTOCHECKBOX, 10, 10, 90, 20));
    controls.push_back(
        make_child(p, L"Button", L"radio", BS_AUTORADIOBUTTON | WS_GROUP, 10, 40, 90, 20));
    controls.push_back(make_child(p, L"ComboBox", L"", CBS_DROPDOWN, 120, 10, 100, 120));
    controls.push_back(make_child(p, L"msctls_updown32", L"", 0, 240, 10, 18, 30));
    SendMessageW(controls[3], BM_SETCHECK, BST_CHECKED, 0);
    SendMessageW(controls[4], BM_SETCHECK, BST_CHECKED, 0);
    test::pump(200ms, &window);

    const gdi_tally::Counts before = gdi_tally::counts();
    const auto start = std::chrono::steady_clock::now();
    constexpr int kRepaints = 1000;
    for (int i = 0; i < kRepaints; ++i) {
        HWND c = controls[static_cast<std::size_t>(i) % controls.size()];
        RedrawWindow(c, nullptr, nullptr,
                     RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ERASENOW);
        if (i % 100 == 0) {
            test::pump(std::chrono::milliseconds(0), &window);
        }
    }
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const gdi_tally::Counts after = gdi_tally::counts();
    std::printf("%d repaints in %.0f ms (%.2f ms each), %ld GDI objects made, %ld DCs taken\n",
                kRepaints, ms, ms / kRepaints, after.made_objects - before.made_objects,
                after.made_dcs - before.made_dcs);
    // Every paint made its objects and took its DCs (the window's and one in memory) through
    // the counting wrappers, and gave them all back.
    EXPECT_GE(after.made_objects - before.made_objects, kRepaints);
    EXPECT_GE(after.made_dcs - before.made_dcs, 2 * kRepaints);
    EXPECT_EQ(after.live_objects, before.live_objects);
    EXPECT_EQ(after.live_dcs, before.live_dcs);
}

}  // namespace
}  // namespace tovrelle
