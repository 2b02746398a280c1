// SkinH_EL.dll on real windows under Wine: what it dresses, what it leaves alone, what it
// refuses, and that freeing it gives every window back. Each test loads the library afresh.
#include <gtest/gtest.h>

#include <ostream>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include "base/win_handles.h"
#include "skinlib/format/skin_format.h"
#include "tests/win32/support/win32_test_support.h"
#include "tests/support/case_names.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Attach = int(__stdcall*)(const unsigned char*, int, const char*, int, int, int);

constexpr COLORREF kOwnText = 0x000000FF;
constexpr COLORREF kBackground = 0x00336699;
constexpr COLORREF kBandOuter = 0x00102030;
constexpr int kBandThickness = 4;
constexpr const wchar_t* kFrameClass = L"SkinTestFrame";
constexpr const wchar_t* kOwnProcProperty = L"SkinH_EL.OwnProc";

std::wstring standin_path() {
    wchar_t name[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, name, MAX_PATH);
    std::wstring path(name);
    path.resize(path.rfind(L'\\') + 1);
    for (const char* p = TOVRELLE_STANDIN_RELATIVE; *p != '\0'; ++p) {
        path.push_back(*p == '/' ? L'\\' : static_cast<wchar_t>(*p));
    }
    return path;
}

void put16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(Bytes& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
}

// Background, and a band along the bottom edge from kBandOuter inwards.
Bytes skin_file(COLORREF background) {
    Bytes b{'.', 'S', 'H', 'E'};
    put16(b, 1);
    put16(b, 2);
    put32(b, 12 + 8 + 15 + 4);
    put16(b, 1);
    put16(b, 4);
    put32(b, background);
    put16(b, 2);
    put16(b, 11);
    b.push_back(1);
    put16(b, kBandThickness);
    put32(b, kBandOuter);
    put32(b, background);
    put32(b, skinh::crc32(b.data(), b.size()));
    return b;
}

// The test window's own answers, so it can be seen what the skin keeps and what it changes.
int g_own_app_messages = 0;
LRESULT CALLBACK frame_own_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
            SetTextColor(reinterpret_cast<HDC>(wp), kOwnText);
            SetBkColor(reinterpret_cast<HDC>(wp), GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        case WM_APP:
            ++g_own_app_messages;
            return 1234;
        default:
            return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

// As the program's group box: its own erase fills it with the brush its parent hands static
// controls.
int g_group_box_erases = 0;
WNDPROC g_group_box_class_proc = nullptr;
LRESULT CALLBACK group_box_own_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_ERASEBKGND) {
        ++g_group_box_erases;
        auto brush = reinterpret_cast<HBRUSH>(
            SendMessageW(GetParent(hwnd), WM_CTLCOLORSTATIC, wp, reinterpret_cast<LPARAM>(hwnd)));
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(reinterpret_cast<HDC>(wp), &rc, brush);
        return 1;
    }
    return CallWindowProcW(g_group_box_class_proc, hwnd, msg, wp, lp);
}

struct TestFrame {
    HWND frame = nullptr;
    HWND group_box = nullptr;
    HWND button = nullptr;
    HWND edit = nullptr;
};

TestFrame make_frame(int left) {
    TestFrame t;
    t.frame = CreateWindowExW(0, kFrameClass, L"skin test",
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN | WS_VISIBLE, left, 100, 320,
                              220, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    t.group_box = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0, -8,
                                  300, 60, t.frame, nullptr, nullptr, nullptr);
    g_group_box_class_proc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        t.group_box, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&group_box_own_proc)));
    t.button = CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 10, 80,
                               80, 25, t.frame, nullptr, nullptr, nullptr);
    t.edit = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 120, 80, 22,
                             t.frame, nullptr, nullptr, nullptr);
    return t;
}

LONG_PTR proc_of(HWND h) {
    return GetWindowLongPtrW(h, GWLP_WNDPROC);
}

// What a window's WM_ERASEBKGND leaves at a point of its client area, painted off screen.
COLORREF erased_pixel(HWND hwnd, int x, int y) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    tovrelle::WindowDc screen(nullptr);
    tovrelle::UniqueMemoryDc dc = tovrelle::create_memory_dc(screen.get());
    tovrelle::UniqueBitmap bitmap =
        tovrelle::adopt_gdi(CreateCompatibleBitmap(screen.get(), rc.right, rc.bottom));
    tovrelle::SelectedObject selected(dc.get(), bitmap.get());
    RECT all{0, 0, rc.right, rc.bottom};
    FillRect(dc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SendMessageW(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc.get()), 0);
    return GetPixel(dc.get(), x, y);
}

class StandInTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = frame_own_proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        wc.lpszClassName = kFrameClass;
        RegisterClassExW(&wc);
    }

    void SetUp() override {
        module.reset(LoadLibraryW(standin_path().c_str()));
        ASSERT_TRUE(module) << "no " << std::string(standin_path().begin(), standin_path().end());
        attach_entry = reinterpret_cast<Attach>(
            reinterpret_cast<void*>(GetProcAddress(module.get(), "SkinH_AttachRes")));
        ASSERT_NE(attach_entry, nullptr);
        t = make_frame(100);
        ASSERT_NE(t.frame, nullptr);
        ASSERT_NE(t.group_box, nullptr);
        own_frame_proc = proc_of(t.frame);
        tovrelle::test::pump(50ms);
    }

    void TearDown() override {
        if (t.frame != nullptr) {
            DestroyWindow(t.frame);
        }
        module.reset();
        tovrelle::test::pump(10ms);
    }

    int attach(const Bytes& data, const char* text = nullptr, int a = 0, int b = 0,
               int c = 0) const {
        return attach_entry(data.data(), static_cast<int>(data.size()), text, a, b, c);
    }

    tovrelle::UniqueModule module;
    Attach attach_entry = nullptr;
    TestFrame t;
    LONG_PTR own_frame_proc = 0;
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
};

TEST_F(StandInTest, ExportsTheEntryPointUnderItsPlainNameOnly) {
    EXPECT_NE(GetProcAddress(module.get(), "SkinH_AttachRes"), nullptr);
    EXPECT_EQ(GetProcAddress(module.get(), "SkinH_AttachRes@24"), nullptr);
    EXPECT_EQ(GetProcAddress(module.get(), "_SkinH_AttachRes@24"), nullptr);
}

TEST_F(StandInTest, DressesTheFramedWindowsOfTheThread) {
    const int erases_before = g_group_box_erases;
    ASSERT_EQ(attach(skin_file(kBackground)), 0);
    RECT client;
    GetClientRect(t.frame, &client);
    EXPECT_EQ(erased_pixel(t.frame, 150, 100), kBackground);
    EXPECT_EQ(erased_pixel(t.frame, 150, client.bottom - 1), kBandOuter);
    // The group box's own erase, taking its brush from the window, shows the skin.
    EXPECT_EQ(erased_pixel(t.group_box, 150, 30), kBackground);
    EXPECT_GT(g_group_box_erases, erases_before);
    // Lined up with the window: a box standing on the bottom band shows the band's outer line
    // on its own last row, and the plain background just above the band.
    HWND deep = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_GROUPBOX, 0,
                                client.bottom - 20, 300, 20, t.frame, nullptr, nullptr, nullptr);
    const auto deep_class_proc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(deep, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&group_box_own_proc)));
    ASSERT_EQ(deep_class_proc, g_group_box_class_proc);
    EXPECT_EQ(erased_pixel(deep, 150, 19), kBandOuter);
    EXPECT_EQ(erased_pixel(deep, 150, 20 - kBandThickness - 1), kBackground);
    DestroyWindow(deep);
    // Messages the skin does not answer reach the window's own procedure.
    const int app_before = g_own_app_messages;
    EXPECT_EQ(SendMessageW(t.frame, WM_APP, 0, 0), 1234);
    EXPECT_EQ(g_own_app_messages, app_before + 1);
}

TEST_F(StandInTest, ControlsPaintTheBackdropWhereTheyStandAndKeepTheirTextColour) {
    ASSERT_EQ(attach(skin_file(kBackground)), 0);
    RECT client;
    GetClientRect(t.frame, &client);
    // A static and a check box standing on the bottom band, 10 pixels high: their last line is
    // the band's outer colour, their first still the plain background.
    HWND label = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 20, client.bottom - 10,
                                 60, 10, t.frame, nullptr, nullptr, nullptr);
    HWND check = CreateWindowExW(0, L"BUTTON", L"", WS_CHILD | WS_VISIBLE | BS_CHECKBOX, 100,
                                 client.bottom - 10, 60, 10, t.frame, nullptr, nullptr, nullptr);
    struct Case {
        UINT msg;
        HWND control;
        int bk_mode;
    };
    for (const Case& c :
         {Case{WM_CTLCOLORSTATIC, label, TRANSPARENT}, Case{WM_CTLCOLORBTN, check, OPAQUE}}) {
        SCOPED_TRACE(c.msg);
        tovrelle::WindowDc screen(nullptr);
        tovrelle::UniqueMemoryDc dc = tovrelle::create_memory_dc(screen.get());
        tovrelle::UniqueBitmap bitmap =
            tovrelle::adopt_gdi(CreateCompatibleBitmap(screen.get(), 60, 10));
        tovrelle::SelectedObject selected(dc.get(), bitmap.get());
        SetTextColor(dc.get(), 0);
        SetBkMode(dc.get(), OPAQUE);
        auto brush = reinterpret_cast<HBRUSH>(SendMessageW(t.frame, c.msg,
                                                           reinterpret_cast<WPARAM>(dc.get()),
                                                           reinterpret_cast<LPARAM>(c.control)));
        const RECT all{0, 0, 60, 10};
        FillRect(dc.get(), &all, brush);
        EXPECT_EQ(GetPixel(dc.get(), 30, 9), kBandOuter);
        EXPECT_EQ(GetPixel(dc.get(), 30, 0), kBackground);
        EXPECT_EQ(GetBkColor(dc.get()), kBackground);
        EXPECT_EQ(GetTextColor(dc.get()), kOwnText);
        EXPECT_EQ(GetBkMode(dc.get()), c.bk_mode);
    }
    // The inside of an edit box is its own.
    tovrelle::WindowDc screen(nullptr);
    tovrelle::UniqueMemoryDc dc = tovrelle::create_memory_dc(screen.get());
    auto edit_brush = reinterpret_cast<HBRUSH>(SendMessageW(t.frame, WM_CTLCOLOREDIT,
                                                            reinterpret_cast<WPARAM>(dc.get()),
                                                            reinterpret_cast<LPARAM>(t.edit)));
    EXPECT_EQ(edit_brush, GetSysColorBrush(COLOR_BTNFACE));
}

TEST_F(StandInTest, ShowsOnTheScreen) {
    ASSERT_EQ(attach(skin_file(kBackground)), 0);
    SetForegroundWindow(t.frame);
    tovrelle::test::pump(300ms);
    EXPECT_EQ(tovrelle::test::client_pixel(t.frame, 150, 100), kBackground);
    EXPECT_EQ(tovrelle::test::client_pixel(t.frame, 150, 20), kBackground);  // inside the group box
}

TEST_F(StandInTest, LeavesOtherControlsAndCaptionlessWindowsAlone) {
    const LONG_PTR button = proc_of(t.button);
    const LONG_PTR edit = proc_of(t.edit);
    const LONG_PTR group_box = proc_of(t.group_box);
    HWND popup = CreateWindowExW(0, kFrameClass, L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    const LONG_PTR popup_proc = proc_of(popup);
    ASSERT_EQ(attach(skin_file(kBackground)), 0);
    EXPECT_NE(proc_of(t.frame), own_frame_proc);
    EXPECT_EQ(proc_of(t.button), button);
    EXPECT_EQ(proc_of(t.edit), edit);
    EXPECT_EQ(proc_of(t.group_box), group_box);
    EXPECT_EQ(proc_of(popup), popup_proc);
    EXPECT_EQ(erased_pixel(popup, 10, 10), face);
    DestroyWindow(popup);
}

TEST_F(StandInTest, FollowsWindowsCreatedLater) {
    ASSERT_EQ(attach(skin_file(kBackground)), 0);
    TestFrame later = make_frame(450);
    HWND popup = CreateWindowExW(0, kFrameClass, L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                 nullptr, nullptr);
    EXPECT_EQ(erased_pixel(later.frame, 150, 100), kBackground);
    EXPECT_EQ(erased_pixel(later.group_box, 150, 30), kBackground);
    EXPECT_EQ(erased_pixel(popup, 10, 10), face);
    DestroyWindow(popup);
    DestroyWindow(later.frame);
}

TEST_F(StandInTest, AttachingAgainRepaintsWithTheNewSkinWithoutDressingTwice) {
    ASSERT_EQ(attach(skin_file(kBackground)), 0);
    const LONG_PTR dressed = proc_of(t.frame);
    ASSERT_EQ(attach(skin_file(0x00FFEEDD)), 0);
    EXPECT_EQ(proc_of(t.frame), dressed);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(GetPropW(t.frame, kOwnProcProperty)), own_frame_proc);
    EXPECT_EQ(erased_pixel(t.frame, 150, 100), 0x00FFEEDDu);
    EXPECT_EQ(erased_pixel(t.group_box, 150, 30), 0x00FFEEDDu);
}

TEST_F(StandInTest, FreeingTheLibraryGivesEveryWindowBack) {
    const LONG_PTR group_box = proc_of(t.group_box);
    TestFrame gone = make_frame(450);
    ASSERT_EQ(attach(skin_file(kBackground)), 0);
    DestroyWindow(gone.frame);  // forgotten when it goes
    module.reset();
    EXPECT_EQ(proc_of(t.frame), own_frame_proc);
    EXPECT_EQ(proc_of(t.group_box), group_box);
    EXPECT_EQ(GetPropW(t.frame, kOwnProcProperty), nullptr);
    EXPECT_EQ(erased_pixel(t.frame, 150, 100), face);
    EXPECT_EQ(erased_pixel(t.group_box, 150, 30), face);
    // The creation hook went with it: a new window is made without calling into freed code.
    TestFrame after = make_frame(450);
    ASSERT_NE(after.frame, nullptr);
    EXPECT_EQ(proc_of(after.frame), own_frame_proc);
    DestroyWindow(after.frame);
}

struct RefusedCase {
    const char* what;
    Bytes data;
    bool null_data;
    const char* text;
    int a;
    skinh::Code code;
};

// A failing case is printed by its name, not as the bytes of the structure.
void PrintTo(const RefusedCase& c, std::ostream* os) {
    *os << c.what;
}

class StandInRefusesTest : public StandInTest, public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(StandInRefusesTest, WithItsCodeAndChangesNothing) {
    const RefusedCase& c = GetParam();
    SCOPED_TRACE(c.what);
    const int code = attach_entry(c.null_data ? nullptr : c.data.data(),
                                  static_cast<int>(c.data.size()), c.text, c.a, 0, 0);
    EXPECT_EQ(code, static_cast<int>(c.code));
    EXPECT_EQ(proc_of(t.frame), own_frame_proc);
    EXPECT_EQ(erased_pixel(t.frame, 150, 100), face);
}

Bytes cut(Bytes b, std::size_t size) {
    b.resize(size);
    return b;
}
Bytes flipped(Bytes b, std::size_t at) {
    b.at(at) ^= 1;
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Table, StandInRefusesTest,
    ::testing::Values(
        RefusedCase{"no data", skin_file(kBackground), true, nullptr, 0, skinh::Code::kNoData},
        RefusedCase{"not a skin", flipped(skin_file(kBackground), 1), false, nullptr, 0,
                    skinh::Code::kBadMagic},
        RefusedCase{"cut short", cut(skin_file(kBackground), 20), false, nullptr, 0,
                    skinh::Code::kTruncated},
        RefusedCase{"changed", flipped(skin_file(kBackground), 20), false, nullptr, 0,
                    skinh::Code::kBadChecksum},
        RefusedCase{"a text", skin_file(kBackground), false, "blue", 0, skinh::Code::kBadArguments},
        RefusedCase{"an integer", skin_file(kBackground), false, nullptr, 1,
                    skinh::Code::kBadArguments}),
    ::tovrelle::test::NameBy<&RefusedCase::what>{});

TEST_F(StandInTest, EmptyTextIsTakenLikeNone) {
    EXPECT_EQ(attach(skin_file(kBackground), ""), 0);
}

TEST_F(StandInTest, AnotherThreadIsRefusedOnceTheSkinBelongsToOne) {
    ASSERT_EQ(attach(skin_file(kBackground)), 0);
    int code = -1;
    std::thread other([&] { code = attach(skin_file(0x00FFFFFF)); });
    other.join();
    EXPECT_EQ(code, static_cast<int>(skinh::Code::kWrongThread));
    EXPECT_EQ(erased_pixel(t.frame, 150, 100), kBackground);
}

}  // namespace
