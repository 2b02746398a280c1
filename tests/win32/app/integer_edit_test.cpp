// The integer-only edit boxes of the main window, driven with real keyboard and mouse input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/integer_edit.h"
#include "app/main_window.h"
#include "base/win_handles.h"
#include "tests/win32/support/message_sequence.h"
#include "tests/win32/support/win32_test_support.h"

namespace tovrelle {
namespace {

using namespace std::chrono_literals;

// Characters typed through the keyboard input of the system: each reaches the focused box as
// a WM_CHAR after TranslateMessage, as a user's typing does.
void type_text(std::wstring_view text) {
    std::vector<INPUT> in;
    for (wchar_t c : text) {
        INPUT key{};
        key.type = INPUT_KEYBOARD;
        key.ki.wScan = c;
        key.ki.dwFlags = KEYEVENTF_UNICODE;
        in.push_back(key);
        key.ki.dwFlags |= KEYEVENTF_KEYUP;
        in.push_back(key);
    }
    SendInput(static_cast<UINT>(in.size()), in.data(), sizeof(INPUT));
}

void press_with_ctrl(WORD vk) {
    INPUT in[4]{};
    const WORD keys[4] = {VK_CONTROL, vk, vk, VK_CONTROL};
    for (int i = 0; i < 4; ++i) {
        in[i].type = INPUT_KEYBOARD;
        in[i].ki.wVk = keys[i];
        in[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
    }
    SendInput(4, in, sizeof(INPUT));
}

bool put_on_clipboard(const std::wstring& text) {
    if (!OpenClipboard(nullptr)) {
        return false;
    }
    EmptyClipboard();
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    bool done = false;
    if (block != nullptr) {
        memcpy(GlobalLock(block), text.c_str(), bytes);
        GlobalUnlock(block);
        done = SetClipboardData(CF_UNICODETEXT, block) != nullptr;
        if (!done) {
            GlobalFree(block);
        }
    }
    CloseClipboard();
    return done;
}

POINT centre_on_screen(HWND h) {
    RECT r;
    GetWindowRect(h, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

void left_click(POINT screen) {
    test::click_at_screen(screen, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
}

class IntegerEditTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
        SetForegroundWindow(window.hwnd());
        test::pump(200ms, &window);
        hour = window.control(ids::编辑框1);
        minute = window.control(ids::编辑框2);
        second = window.control(ids::编辑框3);
        ASSERT_NE(IntegerEdit::of(hour), nullptr);
    }

    // Types into a box that has the focus and waits until the last character has arrived.
    void type_into(HWND box, std::wstring_view text, std::wstring_view then_shows) {
        SetFocus(box);
        type_text(text);
        EXPECT_TRUE(
            test::pump_until([&] { return test::window_text(box) == then_shows; }, 2000ms, &window))
            << "typed into the box, it shows \"" << testing::PrintToString(test::window_text(box))
            << "\"";
    }

    MainWindow window;
    HWND hour = nullptr;
    HWND minute = nullptr;
    HWND second = nullptr;
};

TEST_F(IntegerEditTest, EveryBoxHasTheInputAndOnlyOnce) {
    for (HWND box : {hour, minute, second}) {
        EXPECT_NE(IntegerEdit::of(box), nullptr);
        EXPECT_EQ(IntegerEdit::install(box), nullptr);
    }
    EXPECT_EQ(IntegerEdit::of(window.control(ids::按钮1)), nullptr);
}

TEST_F(IntegerEditTest, TypedLettersSpacesAndPlusNeverReachTheBox) {
    type_into(hour, L"a1 b+2-Z.3", L"12-3");
    // A digit typed last arrives after everything before it: only it may show.
    type_into(minute, L"xyz +++   QWERTY,./;'时9", L"9");
}

TEST_F(IntegerEditTest, BackspaceIsNotFiltered) {
    type_into(hour, L"123", L"123");
    test::press_key(VK_BACK);
    EXPECT_TRUE(test::pump_until([&] { return test::window_text(hour) == L"12"; }, 2000ms, &window))
        << "the box shows " << testing::PrintToString(test::window_text(hour));
}

TEST_F(IntegerEditTest, OfThePrintableCharactersOnlyDigitsAndMinusArrive) {
    SetFocus(second);
    for (wchar_t c = 32; c < 127; ++c) {
        SendMessageW(second, WM_CHAR, c, 0);
    }
    for (wchar_t c : std::wstring(L"时分秒０－＋")) {
        SendMessageW(second, WM_CHAR, c, 0);
    }
    EXPECT_EQ(test::window_text(second), L"-0123456789");
}

struct LeaveCase {
    const wchar_t* typed;
    const wchar_t* after;
};

TEST_F(IntegerEditTest, LeavingTheBoxTidiesItsText) {
    const LeaveCase cases[] = {
        {L"0", L""},
        {L"-", L""},
        {L"--5", L""},
        {L"007", L"7"},
        {L"12-3", L"12"},
        {L"-0", L""},
        {L"23", L"23"},
        {L"-45", L"-45"},
        {L"99999999999", L"2147483647"},
        {L"-99999999999", L"-2147483648"},
        {L"99999999999999999999", L"2147483647"},
        {L"-99999999999999999999", L"-2147483648"},
        {L"  8", L"8"},  // pasted spaces
        {L"abc", L""},   // pasted letters
    };
    for (const LeaveCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.typed)));
        SetFocus(hour);
        SetWindowTextW(hour, c.typed);
        SetFocus(minute);
        EXPECT_EQ(test::window_text(hour), c.after);
        EXPECT_EQ(window.edit_text(ids::编辑框1), c.after);
    }
}

// The parent and whoever listens to the box's lost-focus event must find the tidy text: the
// box replaces its text on WM_KILLFOCUS before its own procedure tells the parent
// (EN_KILLFOCUS), and raises the event after that.
TEST_F(IntegerEditTest, TidiesItsTextBeforeTheParentHearsTheFocusLeft) {
    constexpr UINT kLostFocusEvent = 1;
    test::MessageRecorder recorder;
    IntegerEdit::of(hour)->lost_focus = [&] {
        recorder.mark(kLostFocusEvent, L"lost-focus event");
    };
    ASSERT_TRUE(recorder.watch(hour, L"编辑框1"));
    ASSERT_TRUE(recorder.watch(window.hwnd(), L"窗口"));
    // The parent paints and colours its children whenever it likes; none of that is the order
    // under test.
    for (UINT noise : {WM_CTLCOLOREDIT, WM_CTLCOLORSTATIC, WM_CTLCOLORBTN, WM_PAINT, WM_ERASEBKGND,
                       WM_NCPAINT}) {
        recorder.ignore(noise);
    }
    SetFocus(hour);
    SetWindowTextW(hour, L"007");
    recorder.clear();
    SetFocus(minute);

    const HWND parent = window.hwnd();
    using test::kNotifyCode;
    using test::kOptional;
    using test::kText;
    const std::vector<test::Expected> expected = {
        {hour, WM_KILLFOCUS},
        // How the box reads its text and keeps its caret is its own business.
        {hour, WM_GETTEXTLENGTH, kOptional},
        {hour, WM_GETTEXT, kOptional},
        {hour, EM_GETSEL, kOptional},
        {hour, WM_SETTEXT, kText, 0, 0, 0, L"7"},
        {parent, WM_COMMAND, kNotifyCode | kOptional, MAKEWPARAM(0, EN_UPDATE)},
        {parent, WM_COMMAND, kNotifyCode | kOptional, MAKEWPARAM(0, EN_CHANGE)},
        {hour, EM_SETSEL, kOptional},
        {parent, WM_COMMAND, kNotifyCode, MAKEWPARAM(0, EN_KILLFOCUS)},
        {nullptr, test::kMarkBase + kLostFocusEvent},
        // The box that takes the focus tells the parent afterwards.
        {parent, WM_COMMAND, kNotifyCode | kOptional, MAKEWPARAM(0, EN_SETFOCUS)},
    };
    EXPECT_SEQUENCE(recorder, expected, "focus from 编辑框1 to 编辑框2");
    EXPECT_EQ(test::window_text(hour), L"7");
}

TEST_F(IntegerEditTest, TabAndAClickElsewhereBothTidyTheBox) {
    type_into(hour, L"007", L"007");
    test::press_key(VK_TAB);
    ASSERT_TRUE(test::pump_until([&] { return GetFocus() == minute; }, 2000ms, &window));
    EXPECT_EQ(test::window_text(hour), L"7");

    type_into(minute, L"--30", L"--30");
    left_click(centre_on_screen(second));
    ASSERT_TRUE(test::pump_until([&] { return GetFocus() == second; }, 2000ms, &window));
    EXPECT_EQ(test::window_text(minute), L"");
}

TEST_F(IntegerEditTest, PastedLettersStayUntilTheBoxLosesTheFocus) {
    ASSERT_TRUE(put_on_clipboard(L"abc"));
    SetFocus(hour);
    press_with_ctrl('V');
    ASSERT_TRUE(
        test::pump_until([&] { return test::window_text(hour) == L"abc"; }, 2000ms, &window))
        << "the box shows " << testing::PrintToString(test::window_text(hour));
    EXPECT_EQ(window.edit_text(ids::编辑框1), L"abc");
    SetFocus(minute);
    EXPECT_EQ(test::window_text(hour), L"");
}

TEST_F(IntegerEditTest, ACaretGoesToTheStartOfTheFormerSelection) {
    SetFocus(hour);
    SetWindowTextW(hour, L"00705");
    SendMessageW(hour, EM_SETSEL, 3, 5);
    SetFocus(minute);
    ASSERT_EQ(test::window_text(hour), L"705");
    DWORD start = 99;
    DWORD end = 99;
    SendMessageW(hour, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 3u);
    EXPECT_EQ(end, 3u);
}

TEST_F(IntegerEditTest, ATextAlreadyTidyIsNotReplaced) {
    SetFocus(hour);
    SetWindowTextW(hour, L"1234");
    SendMessageW(hour, EM_SETSEL, 1, 3);
    SendMessageW(hour, EM_SETMODIFY, TRUE, 0);
    SetFocus(minute);
    EXPECT_EQ(test::window_text(hour), L"1234");
    DWORD start = 99;
    DWORD end = 99;
    SendMessageW(hour, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 3u);
    // Replacing the text would have cleared the box's modified flag.
    EXPECT_NE(SendMessageW(hour, EM_GETMODIFY, 0, 0), 0);
}

TEST_F(IntegerEditTest, TheLostFocusEventComesAfterTheTidying) {
    std::vector<std::wstring> seen;
    IntegerEdit::of(hour)->lost_focus = [&] { seen.push_back(test::window_text(hour)); };
    SetFocus(hour);
    SetWindowTextW(hour, L"0042");
    EXPECT_TRUE(seen.empty());
    SetFocus(minute);
    EXPECT_EQ(seen, std::vector<std::wstring>{L"42"});
}

TEST_F(IntegerEditTest, AButtonClickReadsTidyTextWhileAFocusedBoxReadsAsTyped) {
    std::wstring read_by_click;
    int clicks = 0;
    window.events().clicked[ids::按钮3] = [&] {
        ++clicks;
        read_by_click = window.edit_text(ids::编辑框1);
    };
    type_into(hour, L"007", L"007");
    EXPECT_EQ(window.edit_text(ids::编辑框1), L"007");  // still has the focus: as typed
    left_click(centre_on_screen(window.control(ids::按钮3)));
    ASSERT_TRUE(test::pump_until([&] { return clicks == 1; }, 2000ms, &window));
    EXPECT_EQ(read_by_click, L"7");
}

TEST_F(IntegerEditTest, TheOneLineSitsMidwayWithBandsOfTheBoxBackground) {
    const int edge_x = GetSystemMetrics(SM_CXEDGE);
    const int edge_y = GetSystemMetrics(SM_CYEDGE);
    for (HWND box : {hour, minute, second}) {
        RECT outer;
        GetWindowRect(box, &outer);
        RECT client;
        GetClientRect(box, &client);
        POINT origin{0, 0};
        ClientToScreen(box, &origin);

        // One line of the box's font high: the height of "W".
        HDC dc = GetDC(box);
        HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(box, WM_GETFONT, 0, 0)));
        SIZE w{};
        GetTextExtentPoint32W(dc, L"W", 1, &w);
        SelectObject(dc, old);
        ReleaseDC(box, dc);
        ASSERT_GT(w.cy, 0);
        EXPECT_EQ(client.bottom, w.cy);
        EXPECT_EQ(client.right, (outer.right - outer.left) - 2 * edge_x);

        const int above = origin.y - outer.top - edge_y;
        const int below = outer.bottom - edge_y - (origin.y + client.bottom);
        EXPECT_EQ(above, ((outer.bottom - outer.top) - 2 * edge_y - w.cy) / 2);
        EXPECT_GE(below, above);
        EXPECT_LE(below, above + 1);
        ASSERT_GT(above, 0) << "the boxes are higher than one line and its edges";

        // The bands show the box's white, right across, whatever was on the screen there
        // before the frame was painted.
        {
            HDC whole = GetWindowDC(box);
            RECT bands{0, 0, outer.right - outer.left, outer.bottom - outer.top};
            FillRect(whole, &bands, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
            ReleaseDC(box, whole);
        }
        RedrawWindow(box, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        test::pump(50ms, &window);
        for (int x = origin.x; x < origin.x + client.right; x += 3) {
            SCOPED_TRACE(x - origin.x);
            HDC screen = GetDC(nullptr);
            const COLORREF top_band = GetPixel(screen, x, origin.y - 1);
            const COLORREF bottom_band = GetPixel(screen, x, origin.y + client.bottom);
            ReleaseDC(nullptr, screen);
            EXPECT_EQ(top_band, 0x00FFFFFFu);
            EXPECT_EQ(bottom_band, 0x00FFFFFFu);
        }

        // The bands answer as the border; the line as the client area.
        const POINT in_band{origin.x + client.right / 2, origin.y - 1};
        const POINT in_line{origin.x + client.right / 2, origin.y + client.bottom / 2};
        EXPECT_EQ(SendMessageW(box, WM_NCHITTEST, 0, MAKELPARAM(in_band.x, in_band.y)), HTBORDER);
        EXPECT_EQ(SendMessageW(box, WM_NCHITTEST, 0, MAKELPARAM(in_line.x, in_line.y)), HTCLIENT);
    }
}

TEST_F(IntegerEditTest, APressInABandIsAPressOnTheBorder) {
    ASSERT_EQ(GetFocus(), window.control(ids::按钮1));
    RECT client;
    GetClientRect(minute, &client);
    POINT origin{0, 0};
    ClientToScreen(minute, &origin);
    left_click(POINT{origin.x + client.right / 2, origin.y + client.bottom});  // the band below
    test::pump(300ms, &window);
    EXPECT_EQ(GetFocus(), window.control(ids::按钮1)) << "a press on the border takes no focus";
    left_click(POINT{origin.x + client.right / 2, origin.y + client.bottom / 2});
    EXPECT_TRUE(test::pump_until([&] { return GetFocus() == minute; }, 2000ms, &window));
}

TEST_F(IntegerEditTest, TheInputCanBePutOnAnyEditBox) {
    HWND parent = window.hwnd();
    HWND box =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10,
                        200, 60, 24, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(box, nullptr);
    const LONG_PTR own = GetWindowLongPtrW(box, GWLP_WNDPROC);
    IntegerEdit* input = IntegerEdit::install(box);
    ASSERT_NE(input, nullptr);
    EXPECT_NE(GetWindowLongPtrW(box, GWLP_WNDPROC), own);
    SendMessageW(box, WM_CHAR, L'x', 0);
    SendMessageW(box, WM_CHAR, L'4', 0);
    EXPECT_EQ(test::window_text(box), L"4");
    SetFocus(box);
    SendMessageW(box, WM_CHAR, L'0', 0);
    SetFocus(hour);
    EXPECT_EQ(test::window_text(box), L"40");
    SetFocus(box);
    SetWindowTextW(box, L"000");
    SetFocus(hour);
    EXPECT_EQ(test::window_text(box), L"");
    DestroyWindow(box);  // takes the input with it at its last message
}

// A parent of its own that hands its edit boxes a yellow background.
constexpr COLORREF kYellow = 0x0000FFFF;

LRESULT CALLBACK yellow_parent_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CTLCOLOREDIT) {
        static const UniqueBrush yellow = adopt_gdi(CreateSolidBrush(kYellow));
        SetBkColor(reinterpret_cast<HDC>(wp), kYellow);
        return reinterpret_cast<LRESULT>(yellow.get());
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

TEST(IntegerEditBands, TheBandsTakeTheBackgroundTheParentGivesTheBox) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = yellow_parent_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    wc.lpszClassName = L"TovrelleYellowParent";
    RegisterClassW(&wc);
    UniqueWindow parent(CreateWindowExW(0, wc.lpszClassName, L"",
                                        WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 200, 100,
                                        nullptr, nullptr, wc.hInstance, nullptr));
    ASSERT_TRUE(parent);
    HWND box =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 20,
                        20, 80, 40, parent.get(), nullptr, wc.hInstance, nullptr);
    ASSERT_NE(box, nullptr);
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), TRUE);
    ASSERT_NE(IntegerEdit::install(box), nullptr);
    RedrawWindow(parent.get(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    test::pump(200ms);

    RECT client;
    GetClientRect(box, &client);
    POINT origin{0, 0};
    ClientToScreen(box, &origin);
    RECT outer;
    GetWindowRect(box, &outer);
    const int edge = GetSystemMetrics(SM_CYEDGE);
    ASSERT_GT(origin.y - outer.top - edge, 5) << "a 40-pixel box has wide bands";
    HDC screen = GetDC(nullptr);
    const int x = origin.x + client.right / 2;
    for (int y = outer.top + edge; y < origin.y; ++y) {
        EXPECT_EQ(GetPixel(screen, x, y), kYellow) << "above the line, row " << y - outer.top;
    }
    for (int y = origin.y + client.bottom; y < outer.bottom - edge; ++y) {
        EXPECT_EQ(GetPixel(screen, x, y), kYellow) << "below the line, row " << y - outer.top;
    }
    EXPECT_EQ(GetPixel(screen, x, origin.y + client.bottom / 2), kYellow) << "the line itself";
    ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace tovrelle
