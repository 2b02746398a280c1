// Hidden mode and the tray icon on a real main window: what the menu command, the tray
// callback, the shell's restart broadcast and the window's end do.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/main_window.h"
#include "app/event_routing.h"
#include "app/notice_box.h"
#include "app/program.h"
#include "power/power_request.h"
#include "power/wiring.h"
#include "tests/win32/support/win32_test_support.h"
#include "tests/win32/tray/fake_tray_shell.h"
#include "tray/hidden_mode.h"
#include "tray/icon_from_data.h"
#include "tray/wiring.h"

namespace tovrelle {
namespace {

using namespace std::chrono_literals;
using Seq = std::vector<std::string>;

struct Notice {
    std::wstring text, title;
    bool window_visible;
};
std::vector<Notice> g_notices;
HWND g_window = nullptr;

class RecordingNotices : public NoticeBox {
  public:
    void show(std::wstring_view text, std::wstring_view title) override {
        g_notices.push_back(
            {std::wstring(text), std::wstring(title), IsWindowVisible(g_window) != FALSE});
    }
};

// Where Wine only stubs ChangeWindowMessageFilterEx, the calls are watched here.
class RecordingMessageFilter : public MessageFilter {
  public:
    std::vector<std::pair<HWND, UINT>> allowed;
    bool allow(HWND window, UINT message) override {
        allowed.emplace_back(window, message);
        return true;
    }
};

class HiddenModeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_notices.clear();
        hidden_mode.bind(window.events());
        ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
        g_window = window.hwnd();
        test::pump(100ms, &window);
    }
    void TearDown() override {
        if (window.hwnd() != nullptr) {
            DestroyWindow(window.hwnd());
        }
        EXPECT_TRUE(shell.live.empty()) << "an icon handle outlived the window";
        EXPECT_EQ(shell.bad_destroys, 0);
    }

    void choose_hidden_mode() {
        SendMessageW(window.hwnd(), WM_COMMAND, kMenuCommandBase + 1, 0);  // "隐身运行"
    }
    void tray_callback(UINT mouse_message) {
        SendMessageW(window.hwnd(), kTrayCallbackMessage, 100, mouse_message);
    }
    bool shown() const { return IsWindowVisible(window.hwnd()) != FALSE; }

    test::FakeTrayShell shell;
    StatusSuffix suffix;
    RecordingNotices notices;
    RecordingMessageFilter filter;
    MainWindow window{main_window_def(), filter};
    HiddenMode hidden_mode{window, tray_icon_data(GetModuleHandleW(nullptr)), suffix, notices,
                           shell};
};

TEST_F(HiddenModeTest, HiddenModeNoticeThenHiddenThenIconWithTheSuffix) {
    suffix.replace(L"  将于22时0分0秒 关机");
    choose_hidden_mode();
    ASSERT_EQ(g_notices.size(), 1u);
    EXPECT_EQ(g_notices[0].text, L"右下角后台运行，双击左键打开界面");
    EXPECT_EQ(g_notices[0].title, L"提示消息");
    EXPECT_TRUE(g_notices[0].window_visible) << "the window hid before the notice was dismissed";
    EXPECT_FALSE(shown());
    EXPECT_FALSE(std::get<bool>(window.read(ids::窗口, ids::窗口_as_control, prop::kVisible)));
    ASSERT_EQ(shell.sequence(), (Seq{"create_ex", "add", "set_version"}));
    const NOTIFYICONDATAW& d = shell.calls[1].data;
    EXPECT_EQ(d.hWnd, window.hwnd());
    EXPECT_EQ(d.uID, 100u);
    EXPECT_EQ(d.uCallbackMessage, kTrayCallbackMessage);
    EXPECT_EQ(test::tip_of(d), L"  将于22时0分0秒 关机");
}

TEST_F(HiddenModeTest, NoScheduleGivesAnEmptyTooltip) {
    choose_hidden_mode();
    ASSERT_EQ(shell.notifications().size(), 1u);
    EXPECT_EQ(test::tip_of(shell.notifications()[0].data), L"");
}

TEST_F(HiddenModeTest, OnlyALeftReleaseOnTheIconShowsTheWindow) {
    choose_hidden_mode();
    shell.clear();
    for (UINT other :
         {WM_RBUTTONUP, WM_LBUTTONDBLCLK, WM_CONTEXTMENU, WM_MOUSEMOVE, WM_LBUTTONDOWN}) {
        SCOPED_TRACE(other);
        tray_callback(other);
        test::pump(50ms, &window);
        EXPECT_FALSE(shown());
    }
    tray_callback(WM_LBUTTONUP);
    EXPECT_TRUE(shown());
    // Again on a visible window: stays shown; the icon is left alone throughout.
    tray_callback(WM_LBUTTONUP);
    EXPECT_TRUE(shown());
    EXPECT_TRUE(shell.calls.empty());
    EXPECT_TRUE(hidden_mode.tray_icon()->registered());
}

TEST_F(HiddenModeTest, TheIconChosenByKeyboardOrMouseShowsTheWindow) {
    // An icon of version 4 reports the choice with the icon number in the high word.
    for (const UINT chosen : {NIN_KEYSELECT, NIN_SELECT}) {
        SCOPED_TRACE(chosen);
        choose_hidden_mode();
        ASSERT_FALSE(shown());
        SendMessageW(window.hwnd(), kTrayCallbackMessage, 0, MAKELPARAM(chosen, 100));
        EXPECT_TRUE(shown());
    }
}

TEST_F(HiddenModeTest, ExplorersMessagesReachAWindowRunAsAdministrator) {
    // Explorer runs unelevated: its restart broadcast and the icon's callback must pass the
    // message filter of an elevated window, from the window's creation on.
    const UINT taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
    ASSERT_NE(taskbar_created, 0u);
    std::vector<std::pair<HWND, UINT>> expected = {{window.hwnd(), kTrayCallbackMessage},
                                                   {window.hwnd(), taskbar_created}};
    EXPECT_EQ(filter.allowed, expected);
    // A message let through after creation is allowed at once, and only once.
    window.let_through(0xC123);
    window.let_through(0xC123);
    expected.emplace_back(window.hwnd(), 0xC123);
    EXPECT_EQ(filter.allowed, expected);
}

TEST_F(HiddenModeTest, HiddenModeTwiceModifiesTheOneIcon) {
    choose_hidden_mode();
    tray_callback(WM_LBUTTONUP);
    suffix.replace(L"  将于6时0分0秒 重启");
    choose_hidden_mode();
    EXPECT_EQ(g_notices.size(), 2u);
    EXPECT_EQ(shell.sequence(),
              (Seq{"create_ex", "add", "set_version", "create_ex", "modify", "destroy"}));
    EXPECT_EQ(test::tip_of(shell.notifications()[1].data), L"  将于6时0分0秒 重启");
    EXPECT_EQ(shell.live.size(), 1u);
}

TEST_F(HiddenModeTest, ArmingAScheduleUpdatesARegisteredTooltipAtOnce) {
    suffix.replace(L"  将于1时2分3秒 关机");
    hidden_mode.on_status_suffix_changed();  // no icon yet
    EXPECT_TRUE(shell.calls.empty());

    choose_hidden_mode();
    tray_callback(WM_LBUTTONUP);
    shell.clear();
    suffix.replace(L"  将于4时5分6秒 重启");
    hidden_mode.on_status_suffix_changed();
    ASSERT_EQ(shell.sequence(), Seq{"modify"});
    EXPECT_EQ(test::tip_of(shell.calls[0].data), L"  将于4时5分6秒 重启");
    EXPECT_EQ(shell.calls[0].data.uID, 100u);
}

TEST_F(HiddenModeTest, TaskbarCreatedPutsTheIconBack) {
    const UINT taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
    ASSERT_NE(taskbar_created, 0u);
    SendMessageW(window.hwnd(), taskbar_created, 0, 0);  // before hidden mode: no icon to restore
    EXPECT_TRUE(shell.calls.empty());

    choose_hidden_mode();
    suffix.replace(L"  将于7时8分9秒 关机");
    hidden_mode.on_status_suffix_changed();
    const HICON icon = hidden_mode.tray_icon()->icon();
    struct Case {
        const char* name;
        bool add_refused;
        Seq expected;
    };
    for (const Case& c : {Case{"new_shell", false, {"add", "set_version"}},
                          Case{"shell_kept_it", true, {"add", "modify", "set_version"}}}) {
        SCOPED_TRACE(c.name);
        shell.clear();
        shell.refused.clear();
        if (c.add_refused) {
            shell.refused.insert(NIM_ADD);
        }
        // Explorer broadcasts it to every top-level window, hidden ones too.
        SendMessageW(window.hwnd(), taskbar_created, 0, 0);
        EXPECT_EQ(shell.sequence(), c.expected);
        for (const test::ShellCall& call : shell.notifications()) {
            EXPECT_EQ(call.data.hWnd, window.hwnd());
            EXPECT_EQ(call.data.uID, 100u);
            EXPECT_EQ(call.data.hIcon, icon);
            EXPECT_EQ(call.data.uCallbackMessage, kTrayCallbackMessage);
            EXPECT_EQ(test::tip_of(call.data), L"  将于7时8分9秒 关机");
        }
    }
    EXPECT_FALSE(shown());
}

TEST_F(HiddenModeTest, DestroyingTheWindowDeletesTheIcon) {
    choose_hidden_mode();
    tray_callback(WM_LBUTTONUP);
    const HWND hwnd = window.hwnd();
    const HICON icon = hidden_mode.tray_icon()->icon();
    shell.clear();
    DestroyWindow(hwnd);
    ASSERT_EQ(shell.sequence(), (Seq{"delete", "destroy"}));
    EXPECT_EQ(shell.calls[0].data.hWnd, hwnd);
    EXPECT_EQ(shell.calls[0].data.uID, 100u);
    EXPECT_EQ(shell.calls[1].icon, icon);
}

TEST_F(HiddenModeTest, DestroyingTheWindowWithoutAnIconCallsNothing) {
    DestroyWindow(window.hwnd());
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(HiddenModeTest, RemoveIconBeforeTheEnd) {
    choose_hidden_mode();
    shell.clear();
    hidden_mode.remove_icon();
    EXPECT_EQ(shell.sequence(), (Seq{"delete", "destroy"}));
    shell.clear();
    DestroyWindow(window.hwnd());  // nothing left to delete
    EXPECT_TRUE(shell.calls.empty());
}

// The program's own wiring of the schedule buttons and of hidden mode, on one window: the
// tooltip must follow an arming made through the real button, however the news of it travels.
TEST(WiredHiddenMode, ArmingThroughTheButtonRenamesTheRegisteredIcon) {
    test::FakeTrayShell shell;
    g_notices.clear();
    RecordingNotices notices;
    {
        Program program;
        // The real power calls, clock and requests: arming asks nothing else of Windows.
        wire_power(program, PowerParts{windows_power_calls(), windows_power_requests(),
                                       windows_clock(), notices});
        wire_hidden_mode(program, notices, shell);
        MainWindow& window = program.window();
        ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
        g_window = window.hwnd();
        test::pump(100ms, &window);

        SendMessageW(window.hwnd(), WM_COMMAND, kMenuCommandBase + 1, 0);      // "隐身运行"
        SendMessageW(window.hwnd(), kTrayCallbackMessage, 100, WM_LBUTTONUP);  // shown again
        ASSERT_TRUE(IsWindowVisible(window.hwnd()));
        ASSERT_EQ(shell.notifications().size(), 1u);
        EXPECT_EQ(test::tip_of(shell.notifications()[0].data), L"");
        shell.clear();

        SetWindowTextW(window.control(ids::编辑框1), L"22");
        SetWindowTextW(window.control(ids::编辑框2), L"30");
        SetWindowTextW(window.control(ids::编辑框3), L"0");
        SendMessageW(window.control(ids::按钮3), BM_CLICK, 0, 0);  // "定时关机"
        test::pump(50ms, &window);

        ASSERT_FALSE(g_notices.empty()) << "the button did not arm";
        EXPECT_EQ(g_notices.back().title, L"定时关机成功");
        ASSERT_EQ(shell.sequence(), Seq{"modify"});
        const NOTIFYICONDATAW& d = shell.calls[0].data;
        EXPECT_EQ(d.hWnd, window.hwnd());
        EXPECT_EQ(d.uID, 100u);
        EXPECT_NE(d.uFlags & NIF_TIP, 0u);
        EXPECT_EQ(test::tip_of(d), L"  将于22时30分0秒 关机");
        EXPECT_EQ(program.state().status_suffix.text(), L"  将于22时30分0秒 关机");

        // Armed again with the other button: the icon is renamed once more.
        shell.clear();
        SetWindowTextW(window.control(ids::编辑框1), L"6");
        SendMessageW(window.control(ids::按钮4), BM_CLICK, 0, 0);  // "定时重启"
        ASSERT_EQ(shell.sequence(), Seq{"modify"});
        EXPECT_EQ(test::tip_of(shell.calls[0].data), L"  将于6时30分0秒 重启");
        DestroyWindow(window.hwnd());
    }
}

TEST(HiddenModeWithoutIconData, WindowIsNotLeftHiddenWithoutAnIcon) {
    test::FakeTrayShell shell;
    g_notices.clear();
    RecordingNotices notices;
    MainWindow window;
    const std::vector<std::uint8_t> damaged = {0, 0, 1, 0, 0, 0};  // an icon file of no images
    const StatusSuffix suffix;
    HiddenMode hidden_mode(window, damaged, suffix, notices, shell);
    hidden_mode.bind(window.events());
    ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
    g_window = window.hwnd();
    SendMessageW(window.hwnd(), WM_COMMAND, kMenuCommandBase + 1, 0);
    EXPECT_EQ(g_notices.size(), 1u);
    EXPECT_TRUE(IsWindowVisible(window.hwnd()));
    EXPECT_TRUE(shell.calls.empty());
    DestroyWindow(window.hwnd());
}

}  // namespace
}  // namespace tovrelle
