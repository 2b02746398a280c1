// The context menu as Windows shows it: built from the model, opened by a real right press
// at the pointer, and by nothing else.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "app/notice_box.h"
#include "tests/win32/support/win32_test_support.h"
#include "tests/win32/tray/fake_tray_shell.h"
#include "tray/hidden_mode.h"
#include "tray/icon_from_data.h"
#include "tray/popup_menu.h"

namespace tovrelle {
namespace {

using namespace std::chrono_literals;

// ---- the system menu made from a model ----

struct ItemInfo {
    UINT id;
    UINT type;
    UINT state;
    HMENU submenu;
    std::wstring text;
};

std::vector<ItemInfo> items_of(HMENU menu) {
    std::vector<ItemInfo> out;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[128] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 127;
        GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
        out.push_back({info.wID, info.fType, info.fState, info.hSubMenu, text});
    }
    return out;
}

PopupItem item(std::wstring text, unsigned command, bool greyed = false, bool checked = false) {
    return PopupItem{std::move(text), command, false, greyed, checked, {}};
}

TEST(MakePopupMenu, ItemsFlagsSeparatorsAndSubmenus) {
    PopupItem more = item(L"更多", 20004);
    more.submenu = {item(L"甲", 20005), item(L"乙\tF5", 20006, false, true)};
    PopupItem separator = item(L"", 20002);
    separator.separator = true;
    const std::vector<PopupItem> model = {item(L"打开\tCtrl+O", 20001), separator,
                                          item(L"选项", 20003, true, true), more};
    const UniqueMenu menu = make_popup_menu(model);
    ASSERT_TRUE(menu);
    const std::vector<ItemInfo> items = items_of(menu.get());
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0].id, 20001u);
    EXPECT_EQ(items[0].text, L"打开\tCtrl+O");
    EXPECT_EQ(items[0].state & (MFS_GRAYED | MFS_CHECKED), 0u);
    EXPECT_NE(items[1].type & MFT_SEPARATOR, 0u);
    EXPECT_EQ(items[2].id, 20003u);
    EXPECT_NE(items[2].state & MFS_GRAYED, 0u);
    EXPECT_NE(items[2].state & MFS_CHECKED, 0u);
    ASSERT_NE(items[3].submenu, nullptr);
    EXPECT_EQ(items[3].text, L"更多");
    const std::vector<ItemInfo> sub = items_of(items[3].submenu);
    ASSERT_EQ(sub.size(), 2u);
    EXPECT_EQ(sub[0].id, 20005u);
    EXPECT_EQ(sub[1].id, 20006u);
    EXPECT_EQ(sub[1].text, L"乙\tF5");
    EXPECT_NE(sub[1].state & MFS_CHECKED, 0u);
}

// ---- opening it on the main window ----

// What a timer running inside the menu's own loop saw; it closes the menu without a choice.
struct MenuSeen {
    bool seen = false;
    RECT rect{};
    std::vector<ItemInfo> items;
};
MenuSeen g_seen;

bool ours_opened() {
    for (const ItemInfo& i : g_seen.items) {
        if (i.id == 20001 || i.id == 20002) {
            return true;
        }
    }
    return false;
}

void CALLBACK look_for_menu(HWND, UINT, UINT_PTR, DWORD) {
    HWND menu = FindWindowW(L"#32768", nullptr);
    if (menu == nullptr || !IsWindowVisible(menu)) {
        // F10 released (Shift+F10 too) puts the frame into keyboard menu mode on the system
        // menu, with no popup open: leave it as a user would, with Esc.
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        if (GetGUIThreadInfo(GetCurrentThreadId(), &info) && (info.flags & GUI_INMENUMODE) != 0) {
            test::press_key(VK_ESCAPE);
        }
        return;
    }
    g_seen.seen = true;
    GetWindowRect(menu, &g_seen.rect);
    if (HMENU h = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0)); h != nullptr) {
        g_seen.items = items_of(h);
    }
    EndMenu();
}

int g_notice_count = 0;
class CountingNotices : public NoticeBox {
  public:
    void show(std::wstring_view, std::wstring_view) override { ++g_notice_count; }
};

class ContextMenuTest : public ::testing::Test {
  protected:
    void SetUp() override {
        g_seen = {};
        g_notice_count = 0;
        hidden_mode.bind(window.events());
        ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
        SetForegroundWindow(window.hwnd());
        test::pump(200ms, &window);
        timer = SetTimer(nullptr, 0, 50, look_for_menu);
    }
    void TearDown() override {
        KillTimer(nullptr, timer);
        if (window.hwnd() != nullptr) {
            DestroyWindow(window.hwnd());
        }
    }

    POINT client_to_screen(int x, int y) const {
        POINT p{x, y};
        ClientToScreen(window.hwnd(), &p);
        return p;
    }
    // Pumps (through pretranslate, as the event loop does) long enough for a menu to open and
    // for the timer to find it.
    void settle() {
        test::pump_until([] { return g_seen.seen; }, 700ms, &window);
        test::pump(100ms, &window);
    }

    test::FakeTrayShell shell;
    StatusSuffix suffix;
    CountingNotices notices;
    MainWindow window;
    HiddenMode hidden_mode{window, tray_icon_data(GetModuleHandleW(nullptr)), suffix, notices,
                           shell};
    UINT_PTR timer = 0;
};

TEST_F(ContextMenuTest, RightPressOnTheClientAreaOpensTheMenuBelowRightOfThePointer) {
    // A free spot of the client area, and the group box, which lets presses through.
    const POINT spots[] = {client_to_screen(120, 150), client_to_screen(200, 28)};
    for (const POINT at : spots) {
        SCOPED_TRACE(::testing::Message() << at.x << "," << at.y);
        g_seen = {};
        test::click_at_screen(at, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
        settle();
        ASSERT_TRUE(g_seen.seen);
        EXPECT_EQ(g_seen.rect.left, at.x + 3);
        EXPECT_EQ(g_seen.rect.top, at.y + 3);
        ASSERT_EQ(g_seen.items.size(), 2u);
        EXPECT_EQ(g_seen.items[0].id, 20001u);
        EXPECT_EQ(g_seen.items[0].text, L"隐身运行");
        EXPECT_EQ(g_seen.items[1].id, 20002u);
        EXPECT_EQ(g_seen.items[1].text, L"退出软件");
    }
    // Closed without a choice: nothing happened.
    EXPECT_EQ(g_notice_count, 0);
    EXPECT_TRUE(IsWindowVisible(window.hwnd()));
    EXPECT_TRUE(shell.calls.empty());
}

TEST_F(ContextMenuTest, RightPressOnAControlOpensNotThisMenu) {
    for (const Identity id : {ids::按钮1, ids::按钮3, ids::编辑框1, ids::透明标签2}) {
        SCOPED_TRACE(id);
        g_seen = {};
        RECT r;
        GetWindowRect(window.control(id), &r);
        test::click_at_screen({(r.left + r.right) / 2, (r.top + r.bottom) / 2},
                              MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP);
        settle();
        // An edit box has a context menu of its own (cut, copy, paste); ours must not open.
        EXPECT_FALSE(ours_opened());
    }
}

TEST_F(ContextMenuTest, ContextMenuMessageAndKeysOpenNothing) {
    const POINT at = client_to_screen(120, 150);
    SendMessageW(window.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window.hwnd()),
                 MAKELPARAM(at.x, at.y));
    settle();
    EXPECT_FALSE(g_seen.seen);
    SendMessageW(window.hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window.hwnd()),
                 MAKELPARAM(-1, -1));
    settle();
    EXPECT_FALSE(g_seen.seen);

    SetFocus(window.control(ids::按钮1));
    test::press_key(VK_APPS);
    settle();
    EXPECT_FALSE(g_seen.seen);
    INPUT shift_f10[4]{};
    for (INPUT& in : shift_f10) {
        in.type = INPUT_KEYBOARD;
    }
    shift_f10[0].ki.wVk = VK_SHIFT;
    shift_f10[1].ki.wVk = VK_F10;
    shift_f10[2].ki.wVk = VK_F10;
    shift_f10[2].ki.dwFlags = KEYEVENTF_KEYUP;
    shift_f10[3].ki.wVk = VK_SHIFT;
    shift_f10[3].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(4, shift_f10, sizeof(INPUT));
    settle();
    EXPECT_FALSE(g_seen.seen);
    EXPECT_TRUE(IsWindow(window.hwnd()));
}

TEST_F(ContextMenuTest, GivenPositionReplacesEachCoordinate) {
    SetCursorPos(300, 300);
    test::pump(50ms, &window);
    struct Case {
        std::optional<int> x, y;
        LONG left, top;
    };
    for (const Case& c : {Case{100, 200, 100, 200}, Case{100, std::nullopt, 100, 303},
                          Case{std::nullopt, 50, 303, 50}}) {
        g_seen = {};
        show_popup_menu(window, ids::菜单, c.x, c.y);  // returns once the timer closed it
        EXPECT_TRUE(g_seen.seen);
        EXPECT_EQ(g_seen.rect.left, c.left);
        EXPECT_EQ(g_seen.rect.top, c.top);
    }
}

TEST_F(ContextMenuTest, EntriesWithoutItemsOrNotTheWindowsShowNothing) {
    for (const Identity id : {ids::隐身运行, ids::退出软件, ids::按钮1, Identity{0}}) {
        SCOPED_TRACE(id);
        show_popup_menu(window, id);
        settle();
        EXPECT_FALSE(g_seen.seen);
    }
}

}  // namespace
}  // namespace tovrelle
