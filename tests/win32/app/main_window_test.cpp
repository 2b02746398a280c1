// The main window as created from its definition, checked on a real window under Wine.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/single_instance.h"
#include "base/win_handles.h"
#include "tests/win32/support/message_sequence.h"
#include "tests/win32/support/win32_test_support.h"

namespace tovrelle {
namespace {

using namespace std::chrono_literals;

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.events().created = [this] {
            created_calls++;
            created_while_visible = IsWindowVisible(window.hwnd()) != FALSE;
        };
        window.events().right_button_down = [this](int x, int y, int keys) -> std::optional<bool> {
            right_presses.push_back({x, y});
            last_keys = keys;
            return std::nullopt;
        };
        ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
        SetForegroundWindow(window.hwnd());
        test::pump(200ms, &window);
    }

    MainWindow window;
    int created_calls = 0;
    bool created_while_visible = true;
    std::vector<POINT> right_presses;
    int last_keys = -1;
};

TEST_F(MainWindowTest, FrameIsCentredFixedToolWindow) {
    RECT r;
    GetWindowRect(window.hwnd(), &r);
    const int cx = GetSystemMetrics(SM_CXSCREEN);
    const int cy = GetSystemMetrics(SM_CYSCREEN);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 250);
    EXPECT_EQ(r.left, (cx - 400) / 2);
    EXPECT_EQ(r.top, (cy - 250) / 2);
    EXPECT_FALSE(r.left == 50 && r.top == 50);

    const LONG style = GetWindowLongW(window.hwnd(), GWL_STYLE);
    const LONG ex = GetWindowLongW(window.hwnd(), GWL_EXSTYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN),
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN);
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME | WS_CHILD), 0);
    EXPECT_NE(ex & WS_EX_TOOLWINDOW, 0);
    EXPECT_EQ(ex & WS_EX_TOPMOST, 0);
    EXPECT_EQ(GetWindow(window.hwnd(), GW_OWNER), nullptr);
    EXPECT_EQ(GetMenu(window.hwnd()), nullptr);
    EXPECT_EQ(test::window_text(window.hwnd()), L"Tovrelle");
    EXPECT_NE(SendMessageW(window.hwnd(), WM_GETICON, ICON_BIG, 0), 0);
    EXPECT_NE(SendMessageW(window.hwnd(), WM_GETICON, ICON_SMALL, 0), 0);
}

TEST_F(MainWindowTest, CreatedEventRunsOnceBeforeTheWindowShows) {
    EXPECT_EQ(created_calls, 1);
    EXPECT_FALSE(created_while_visible);
    EXPECT_TRUE(IsWindowVisible(window.hwnd()));
}

TEST_F(MainWindowTest, EveryControlMatchesTheDefinition) {
    HGDIOBJ gui_font = GetStockObject(DEFAULT_GUI_FONT);
    for (const ControlDef& c : window.definition().controls) {
        SCOPED_TRACE(testing::Message() << "control 0x" << std::hex << c.id);
        HWND h = window.control(c.id);
        ASSERT_NE(h, nullptr);
        const HWND expected_parent =
            c.container == ids::窗口 ? window.hwnd() : window.control(c.container);
        EXPECT_EQ(GetParent(h), expected_parent);
        EXPECT_EQ(GetDlgCtrlID(h), child_number(c.id));
        const LONG style = GetWindowLongW(h, GWL_STYLE);
        const LONG ex = GetWindowLongW(h, GWL_EXSTYLE);
        EXPECT_EQ(style & (WS_CHILD | WS_CLIPSIBLINGS), WS_CHILD | WS_CLIPSIBLINGS);
        if (c.kind != ControlKind::Timer) {
            EXPECT_EQ(reinterpret_cast<HGDIOBJ>(SendMessageW(h, WM_GETFONT, 0, 0)), gui_font);
            const RECT r = test::rect_in_parent(h);
            EXPECT_EQ(r.left, c.left);
            EXPECT_EQ(r.top, c.top);
            EXPECT_EQ(r.right - r.left, c.width);
            EXPECT_EQ(r.bottom - r.top, c.height);
            EXPECT_TRUE(IsWindowVisible(h));
            EXPECT_TRUE(IsWindowEnabled(h));
            EXPECT_EQ(test::window_text(h), std::wstring(c.text));
        } else {
            EXPECT_FALSE(IsWindowVisible(h));
        }
        EXPECT_EQ((style & WS_TABSTOP) != 0, c.tab_stop);
        switch (c.kind) {
            case ControlKind::Button:
                EXPECT_EQ(test::class_name(h), L"Button");
                EXPECT_EQ(style & BS_TYPEMASK, BS_PUSHBUTTON);
                EXPECT_EQ(style & (BS_CENTER | BS_VCENTER | BS_MULTILINE),
                          BS_CENTER | BS_VCENTER | BS_MULTILINE);
                break;
            case ControlKind::Edit:
                EXPECT_EQ(test::class_name(h), L"Edit");
                EXPECT_NE(ex & WS_EX_CLIENTEDGE, 0);
                EXPECT_NE(style & ES_AUTOHSCROLL, 0);
                EXPECT_EQ(style & (ES_MULTILINE | ES_READONLY | ES_PASSWORD | ES_UPPERCASE |
                                   ES_LOWERCASE | ES_NOHIDESEL | ES_CENTER | ES_RIGHT),
                          0);
                EXPECT_GE(SendMessageW(h, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
                break;
            case ControlKind::GroupBox:
                EXPECT_EQ(test::class_name(h), L"Button");
                EXPECT_EQ(style & BS_TYPEMASK, BS_GROUPBOX);
                break;
            case ControlKind::TransparentLabel:
                EXPECT_EQ(test::class_name(h), L"TovrelleLabel");
                EXPECT_NE(ex & WS_EX_TRANSPARENT, 0);
                EXPECT_EQ(window.label(c.id)->colour(), c.text_colour);
                break;
            case ControlKind::Timer:
                EXPECT_EQ(test::class_name(h), L"TovrelleTimer");
                EXPECT_EQ(window.timer(c.id)->period(), c.timer_period_ms);
                EXPECT_EQ(window.timer(c.id)->running(), c.timer_period_ms > 0);
                break;
        }
    }
}

TEST_F(MainWindowTest, FocusStartsOnFirstButtonAndTabFollowsTheOrderWithWrap) {
    ASSERT_EQ(GetFocus(), window.control(ids::按钮1));
    const Identity expected[] = {ids::按钮2,   ids::按钮3,   ids::按钮4,   ids::按钮5,
                                 ids::编辑框1, ids::编辑框2, ids::编辑框3, ids::按钮1};
    for (Identity id : expected) {
        test::press_key(VK_TAB);
        ASSERT_TRUE(
            test::pump_until([&] { return GetFocus() == window.control(id); }, 2000ms, &window))
            << "focus did not reach the next control of the tab order";
    }
}

TEST_F(MainWindowTest, ShiftTabIsNotNavigation) {
    ASSERT_EQ(GetFocus(), window.control(ids::按钮1));
    INPUT in[4]{};
    const WORD keys[4] = {VK_SHIFT, VK_TAB, VK_TAB, VK_SHIFT};
    for (int i = 0; i < 4; ++i) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = keys[i];
        in[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, in, sizeof(INPUT));
    test::pump(300ms, &window);
    EXPECT_EQ(GetFocus(), window.control(ids::按钮1));
}

TEST_F(MainWindowTest, FocusComesBackToTheControlThatHadIt) {
    SetFocus(window.control(ids::编辑框2));
    SendMessageW(window.hwnd(), WM_ACTIVATE, WA_INACTIVE, 0);
    SetFocus(nullptr);
    SendMessageW(window.hwnd(), WM_SETFOCUS, 0, 0);
    EXPECT_EQ(GetFocus(), window.control(ids::编辑框2));
}

TEST_F(MainWindowTest, EscClosesTheWindow) {
    bool asked = false;
    window.events().can_be_closed = [&] {
        asked = true;
        return true;
    };
    SetFocus(window.control(ids::编辑框1));
    test::press_key(VK_ESCAPE);
    EXPECT_TRUE(test::pump_until([&] { return window.hwnd() == nullptr; }, 2000ms, &window));
    EXPECT_TRUE(asked);
}

TEST_F(MainWindowTest, CloseAndEndSessionAskTheCanBeClosedHandler) {
    bool allow = false;
    int asked = 0;
    window.events().can_be_closed = [&] {
        ++asked;
        return allow;
    };
    EXPECT_EQ(SendMessageW(window.hwnd(), WM_QUERYENDSESSION, 0, 0), FALSE);
    SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_NE(window.hwnd(), nullptr);  // refused: the window stays
    allow = true;
    EXPECT_EQ(SendMessageW(window.hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    EXPECT_EQ(asked, 3);
    SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
    EXPECT_EQ(window.hwnd(), nullptr);
}

// What Windows sends before a logoff, shutdown or restart, in its order: the question, then
// the outcome. The window puts the question to its can-be-closed handler and answers with it;
// the outcome changes nothing in the window (Windows itself ends the process), whether the
// session ends or another program refused.
TEST_F(MainWindowTest, AnswersTheEndOfTheSessionAndLeavesTheRestToWindows) {
    constexpr UINT kAsked = 1;
    using test::kLparam;
    using test::kResult;
    using test::kWparam;
    for (const bool allow : {true, false}) {
        SCOPED_TRACE(allow ? "the handler lets the session end" : "the handler refuses");
        test::MessageRecorder recorder;
        window.events().can_be_closed = [&] {
            recorder.mark(kAsked, L"can-be-closed handler");
            return allow;
        };
        ASSERT_TRUE(recorder.watch(window.hwnd(), L"窗口"));
        const HWND w = window.hwnd();
        const LRESULT answer = SendMessageW(w, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF);
        SendMessageW(w, WM_ENDSESSION, answer, ENDSESSION_LOGOFF);
        const std::vector<test::Expected> expected = {
            {w, WM_QUERYENDSESSION, kLparam | kResult, 0, static_cast<LPARAM>(ENDSESSION_LOGOFF),
             allow ? TRUE : FALSE},
            {nullptr, test::kMarkBase + kAsked},
            {w, WM_ENDSESSION, kWparam | kLparam | kResult, static_cast<WPARAM>(allow),
             static_cast<LPARAM>(ENDSESSION_LOGOFF), 0},
        };
        EXPECT_SEQUENCE(recorder, expected, "WM_QUERYENDSESSION then WM_ENDSESSION");
        EXPECT_TRUE(IsWindow(w));
        EXPECT_EQ(window.hwnd(), w);
    }
}

TEST_F(MainWindowTest, RightPressOnGroupBoxReachesTheWindowButNotOnAButton) {
    auto centre_of = [](HWND h, int dy) {
        RECT r;
        GetWindowRect(h, &r);
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2 + dy};
    };
    // The visible band of the group box below the status label.
    RECT group;
    GetWindowRect(window.control(ids::分组框1), &group);
    test::click_at_screen(POINT{group.left + 4, group.bottom - 4}, MOUSEEVENTF_RIGHTDOWN,
                          MOUSEEVENTF_RIGHTUP);
    ASSERT_TRUE(test::pump_until([&] { return !right_presses.empty(); }, 2000ms, &window));
    POINT client{group.left + 4, group.bottom - 4};
    ScreenToClient(window.hwnd(), &client);
    EXPECT_EQ(right_presses[0].x, client.x);
    EXPECT_EQ(right_presses[0].y, client.y);
    EXPECT_EQ(last_keys, 0);

    right_presses.clear();
    test::click_at_screen(centre_of(window.control(ids::按钮1), 0), MOUSEEVENTF_RIGHTDOWN,
                          MOUSEEVENTF_RIGHTUP);
    test::click_at_screen(centre_of(window.control(ids::透明标签2), 0), MOUSEEVENTF_RIGHTDOWN,
                          MOUSEEVENTF_RIGHTUP);
    test::pump(300ms, &window);
    EXPECT_TRUE(right_presses.empty());
}

// The window's answer to its group box's WM_CTLCOLORSTATIC, for the case under way; it also
// leaves its own colours and brush origin on the DC, as a skin's answer does.
struct ParentAnswer {
    static inline WNDPROC window_proc = nullptr;
    static inline HWND group_box = nullptr;
    static inline HBRUSH brush = nullptr;
    static inline int asked = 0;
    static LRESULT CALLBACK proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        if (msg == WM_CTLCOLORSTATIC && reinterpret_cast<HWND>(lp) == group_box) {
            ++asked;
            SetBkColor(reinterpret_cast<HDC>(wp), RGB(1, 2, 3));
            SetBrushOrgEx(reinterpret_cast<HDC>(wp), 3, 5, nullptr);
            return reinterpret_cast<LRESULT>(brush);
        }
        return CallWindowProcW(window_proc, hwnd, msg, wp, lp);
    }
};

TEST_F(MainWindowTest, GroupBoxTakesItsBackgroundFromTheBrushItsWindowHandsIt) {
    HWND group = window.control(ids::分组框1);
    HWND label = window.control(ids::透明标签1);
    ASSERT_NE(group, nullptr);
    ASSERT_NE(label, nullptr);
    UniqueBrush yellow = adopt_gdi(CreateSolidBrush(RGB(255, 255, 0)));
    ParentAnswer::group_box = group;
    ParentAnswer::window_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        window.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ParentAnswer::proc)));
    struct Case {
        const char* what;
        HBRUSH answer;
        COLORREF background;
    };
    for (const Case& c : {Case{"a yellow brush", yellow.get(), RGB(255, 255, 0)},
                          Case{"no brush: the button face", nullptr, GetSysColor(COLOR_BTNFACE)}}) {
        SCOPED_TRACE(c.what);
        ParentAnswer::brush = c.answer;
        ParentAnswer::asked = 0;
        RECT rc;
        GetClientRect(group, &rc);
        WindowDc screen(nullptr);
        UniqueMemoryDc dc = create_memory_dc(screen.get());
        UniqueBitmap bitmap = adopt_gdi(CreateCompatibleBitmap(screen.get(), rc.right, rc.bottom));
        SelectedObject selected(dc.get(), bitmap.get());
        SetBkColor(dc.get(), RGB(9, 9, 9));
        EXPECT_NE(SendMessageW(group, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0), 0);
        EXPECT_EQ(ParentAnswer::asked, 1);
        EXPECT_EQ(GetPixel(dc.get(), rc.right / 2, rc.bottom / 2), c.background);
        EXPECT_EQ(GetPixel(dc.get(), rc.right - 1, rc.bottom - 1), c.background);
        // What the answer left on the DC is put back for the box's own painting.
        EXPECT_EQ(GetBkColor(dc.get()), RGB(9, 9, 9));
        POINT origin{-1, -1};
        GetBrushOrgEx(dc.get(), &origin);
        EXPECT_EQ(origin.x, 0);
        EXPECT_EQ(origin.y, 0);

        // On the screen: the status line shows it past the end of its text.
        window.set_caption(ids::透明标签1, L"当前时间");
        RedrawWindow(group, nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        test::pump(200ms, &window);
        RECT label_rc;
        GetClientRect(label, &label_rc);
        EXPECT_EQ(test::client_pixel(label, label_rc.right - 20, label_rc.bottom / 2),
                  c.background);
    }
    SetWindowLongPtrW(window.hwnd(), GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(ParentAnswer::window_proc));
}

TEST_F(MainWindowTest, PropertyAccessByIdentity) {
    EXPECT_EQ(std::get<bool>(window.read(ids::窗口, ids::窗口_as_control, prop::kVisible)), true);
    window.write(ids::窗口, ids::窗口_as_control, prop::kVisible, false);
    EXPECT_FALSE(IsWindowVisible(window.hwnd()));
    EXPECT_EQ(std::get<bool>(window.read(ids::窗口, ids::窗口_as_control, prop::kVisible)), false);
    window.write(ids::窗口, ids::窗口_as_control, prop::kVisible, true);
    EXPECT_TRUE(IsWindowVisible(window.hwnd()));

    SetWindowTextW(window.control(ids::编辑框1), L"007");
    EXPECT_EQ(std::get<std::wstring>(window.read(ids::窗口, ids::编辑框1, prop::kContent)), L"007");
    EXPECT_EQ(window.edit_text(ids::编辑框2), L"");

    window.write(ids::窗口, ids::透明标签1, prop::kContent, std::wstring(L"当前时间："));
    EXPECT_EQ(test::window_text(window.control(ids::透明标签1)), L"当前时间：");
    window.write(ids::窗口, ids::透明标签1, prop::kContent,
                 PropertyValue{});  // absent counts as ""
    EXPECT_EQ(test::window_text(window.control(ids::透明标签1)), L"");

    window.write(ids::窗口, ids::时钟2, prop::kContent, 1000);
    EXPECT_EQ(std::get<int>(window.read(ids::窗口, ids::时钟2, prop::kContent)), 1000);
    // Another window's identity addresses nothing.
    EXPECT_TRUE(std::holds_alternative<std::monostate>(
        window.read(0x52010002, ids::编辑框1, prop::kContent)));
}

TEST_F(MainWindowTest, ButtonClickRaisesClickedAndMenuCommandsRouteByNumber) {
    std::vector<std::string> log;
    window.events().clicked[ids::按钮3] = [&] { log.push_back("按钮3"); };
    window.events().item_selected[ids::隐身运行] = [&] { log.push_back("隐身运行"); };
    window.events().item_selected[ids::退出软件] = [&] { log.push_back("退出软件"); };
    SendMessageW(window.control(ids::按钮3), BM_CLICK, 0, 0);
    for (WPARAM command : {20001u, 20002u, 20003u, 57600u, 19999u}) {
        SendMessageW(window.hwnd(), WM_COMMAND, command, 0);
    }
    EXPECT_EQ(log, (std::vector<std::string>{"按钮3", "隐身运行", "退出软件"}));
}

TEST_F(MainWindowTest, SpaceClicksTheFocusedButton) {
    int clicks = 0;
    window.events().clicked[ids::按钮1] = [&] { ++clicks; };
    ASSERT_EQ(GetFocus(), window.control(ids::按钮1));
    test::press_key(VK_SPACE);
    EXPECT_TRUE(test::pump_until([&] { return clicks == 1; }, 2000ms, &window));
}

TEST_F(MainWindowTest, TrayCallbackRaisesTypedEvents) {
    std::vector<int> types;
    window.events().tray_event = [&](int t) { types.push_back(t); };
    for (LPARAM mouse : {WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_RBUTTONUP, WM_CONTEXTMENU, WM_MOUSEMOVE,
                         WM_LBUTTONDOWN}) {
        SendMessageW(window.hwnd(), 0x8064, 100, mouse);
    }
    EXPECT_EQ(types, (std::vector<int>{1, 2, 3, 3}));
}

TEST(SingleInstance, ASecondStartShowsTheFirstWindowRestoredAndInFront) {
    MainWindow window;
    bind_show_instance(window);
    ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
    const UINT show = RegisterWindowMessageW(kShowInstanceMessageName);
    for (const int hidden_as : {SW_HIDE, SW_MINIMIZE}) {
        SCOPED_TRACE(hidden_as);
        ShowWindow(window.hwnd(), hidden_as);
        test::pump(std::chrono::milliseconds(100), &window);
        // What a second start does, from this side.
        ASSERT_TRUE(show_first_instance());
        ASSERT_TRUE(test::pump_until([&] { return window.visible() && !IsIconic(window.hwnd()); },
                                     std::chrono::milliseconds(3000), &window));
        EXPECT_EQ(GetForegroundWindow(), window.hwnd());
    }
    EXPECT_NE(show, 0u);
}

TEST(SingleInstance, TheFirstStartHoldsTheLockForTheSession) {
    const InstanceLock first;
    EXPECT_TRUE(first.first());
    const InstanceLock second;
    EXPECT_FALSE(second.first());
}

}  // namespace
}  // namespace tovrelle
