// The transparent labels as they show on the screen: only the caption is painted, over what
// lies behind, and a replaced caption leaves nothing of the old one.
#include <gtest/gtest.h>

#include <string>
#include <algorithm>
#include <cstdint>
#include <vector>

#include "app/main_window.h"
#include "base/win_handles.h"
#include "tests/win32/support/win32_test_support.h"

namespace tovrelle {
namespace {

using namespace std::chrono_literals;

constexpr COLORREF kViolet = 0x00FF0090;
constexpr COLORREF kBlack = 0x00000000;

// A clock line with a schedule, far wider than the 384-pixel status label.
constexpr const wchar_t* kLongLine =
    L"当前时间：2026年12月31日23时59分59秒  将于23时59分59秒 关机 WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW";

// What the screen shows of a rectangle of a window's client area (may reach outside it).
class ScreenArea {
  public:
    ScreenArea(HWND hwnd, RECT area)
        : width_(area.right - area.left), height_(area.bottom - area.top) {
        POINT origin{area.left, area.top};
        ClientToScreen(hwnd, &origin);
        WindowDc screen(nullptr);
        UniqueMemoryDc memory = create_memory_dc(screen.get());
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        UniqueBitmap bitmap =
            adopt_gdi(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!bitmap || bits == nullptr) {
            return;
        }
        {
            SelectedObject selected(memory.get(), bitmap.get());
            BitBlt(memory.get(), 0, 0, width_, height_, screen.get(), origin.x, origin.y, SRCCOPY);
            GdiFlush();
        }
        const auto* pixel = static_cast<const std::uint32_t*>(bits);
        pixels_.reserve(static_cast<std::size_t>(width_ * height_));
        for (int i = 0; i < width_ * height_; ++i) {
            const std::uint32_t p = pixel[i];  // 0x00RRGGBB in a DIB
            pixels_.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
        }
    }

    [[nodiscard]] bool valid() const { return !pixels_.empty(); }
    [[nodiscard]] int width() const { return width_; }
    [[nodiscard]] int height() const { return height_; }
    [[nodiscard]] COLORREF at(int x, int y) const {
        return pixels_[static_cast<std::size_t>(y * width_ + x)];
    }

    // Pixels of the columns [from, to) that are not the given colour.
    [[nodiscard]] int count_other_than(COLORREF colour, int from, int to) const {
        int n = 0;
        for (int y = 0; y < height_; ++y) {
            for (int x = from; x < to && x < width_; ++x) {
                n += at(x, y) != colour ? 1 : 0;
            }
        }
        return n;
    }
    [[nodiscard]] int count_of(COLORREF colour, int from, int to) const {
        return (to - from) * height_ - count_other_than(colour, from, to);
    }
    // Pixels of the columns [from, to) that are not a blend of the two colours.
    [[nodiscard]] int count_outside(COLORREF a, COLORREF b, int from, int to) const;
    // The darkest pixel's brightest channel.
    [[nodiscard]] int darkest() const {
        int dark = 255;
        for (COLORREF c : pixels_) {
            dark = std::min(dark,
                            static_cast<int>(std::max({GetRValue(c), GetGValue(c), GetBValue(c)})));
        }
        return dark;
    }

  private:
    int width_;
    int height_;
    std::vector<COLORREF> pixels_;
};

// Whether a pixel lies between two colours in every channel: text smoothed onto a background.
bool between(COLORREF c, COLORREF a, COLORREF b) {
    auto within = [](int v, int x, int y) { return v >= std::min(x, y) && v <= std::max(x, y); };
    return within(GetRValue(c), GetRValue(a), GetRValue(b)) &&
           within(GetGValue(c), GetGValue(a), GetGValue(b)) &&
           within(GetBValue(c), GetBValue(a), GetBValue(b));
}

int ScreenArea::count_outside(COLORREF a, COLORREF b, int from, int to) const {
    int n = 0;
    for (int y = 0; y < height_; ++y) {
        for (int x = from; x < to && x < width_; ++x) {
            n += between(at(x, y), a, b) ? 0 : 1;
        }
    }
    return n;
}

int text_width(const std::wstring& text) {
    WindowDc dc(nullptr);
    SelectedObject font(dc.get(), GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

class TransparentLabelTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(window.create(GetModuleHandleW(nullptr)));
        SetForegroundWindow(window.hwnd());
        SetCursorPos(0, 0);  // no hot button under the pointer
        test::pump(300ms, &window);
        status = window.control(ids::透明标签1);
        background = GetSysColor(COLOR_BTNFACE);
    }

    void set_caption_and_settle(Identity label, const std::wstring& caption) {
        window.set_caption(label, caption);
        test::pump(250ms, &window);
    }

    // The label's own area, in its client coordinates, as the screen shows it.
    ScreenArea label_area(HWND label) {
        RECT rc;
        GetClientRect(label, &rc);
        return ScreenArea(label, rc);
    }

    MainWindow window;
    HWND status = nullptr;
    COLORREF background = 0;
};

TEST_F(TransparentLabelTest, ALongLineReplacedByAShortOneLeavesNoRemnant) {
    set_caption_and_settle(ids::透明标签1, kLongLine);
    {
        const ScreenArea area = label_area(status);
        ASSERT_TRUE(area.valid());
        // One line cut at the label's right edge: the text reaches the last columns.
        EXPECT_GT(area.count_other_than(background, area.width() - 24, area.width()), 0);
    }

    const std::wstring short_line = L"当前时间：2026年1月1日";
    set_caption_and_settle(ids::透明标签1, short_line);
    const ScreenArea area = label_area(status);
    ASSERT_TRUE(area.valid());
    const int end_of_text = text_width(short_line) + 2;
    ASSERT_LT(end_of_text, area.width());
    EXPECT_EQ(area.count_other_than(background, end_of_text, area.width()), 0)
        << "something of the long line is left beyond the short one";

    // The text itself: violet where a stroke covers a whole pixel, smoothed only towards the
    // background at its edges, and no other colour.
    EXPECT_GT(area.count_of(kViolet, 0, end_of_text), 0);
    EXPECT_GT(area.count_other_than(background, 0, end_of_text), 100);
    EXPECT_EQ(area.count_outside(background, kViolet, 0, end_of_text), 0);

    // Written again and again, as the clock line is every second, the text stays as it was:
    // never drawn over itself without the background first.
    for (int i = 0; i < 3; ++i) {
        set_caption_and_settle(ids::透明标签1, short_line);
    }
    const ScreenArea again = label_area(status);
    int differing = 0;
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            differing += again.at(x, y) != area.at(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0);
}

// While the window is hidden (hidden mode) a new caption paints nothing through; showing the
// window again paints it in full, with nothing left of the caption before.
TEST_F(TransparentLabelTest, ACaptionSetWhileHiddenShowsInFullWhenTheWindowComesBack) {
    const std::wstring short_line = L"当前时间：2026年1月1日";
    set_caption_and_settle(ids::透明标签1, short_line);
    const ScreenArea shown_before = label_area(status);
    ASSERT_TRUE(shown_before.valid());

    set_caption_and_settle(ids::透明标签1, kLongLine);
    ShowWindow(window.hwnd(), SW_HIDE);
    test::pump(200ms, &window);
    set_caption_and_settle(ids::透明标签1, short_line);
    ShowWindow(window.hwnd(), SW_SHOW);
    SetForegroundWindow(window.hwnd());
    test::pump(400ms, &window);

    const ScreenArea area = label_area(status);
    ASSERT_TRUE(area.valid());
    const int end_of_text = text_width(short_line) + 2;
    EXPECT_EQ(area.count_other_than(background, end_of_text, area.width()), 0)
        << "something of the long line is left beyond the short one";
    int differing = 0;
    for (int y = 0; y < area.height(); ++y) {
        for (int x = 0; x < area.width(); ++x) {
            differing += area.at(x, y) != shown_before.at(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0) << "the caption shows otherwise than when it was set on view";
}

TEST_F(TransparentLabelTest, ALineWiderThanTheLabelIsCutAtItsEdge) {
    set_caption_and_settle(ids::透明标签1, kLongLine);
    // The columns right of the label, in its rows, inside the window's client area.
    RECT client;
    GetClientRect(window.hwnd(), &client);
    RECT label = test::rect_in_parent(status);
    MapWindowPoints(window.control(ids::分组框1), window.hwnd(), reinterpret_cast<POINT*>(&label),
                    2);
    ASSERT_LT(label.right, client.right);
    const ScreenArea beyond(window.hwnd(),
                            RECT{label.right, label.top, client.right, label.bottom});
    ASSERT_TRUE(beyond.valid());
    EXPECT_EQ(beyond.count_other_than(background, 0, beyond.width()), 0);
    // Never wrapped: nothing of a second line shows under the label either.
    const ScreenArea under(window.hwnd(),
                           RECT{label.left, label.bottom, label.right, label.bottom + 6});
    EXPECT_EQ(under.count_of(kViolet, 0, under.width()), 0);
}

TEST_F(TransparentLabelTest, AnEmptyCaptionPaintsNothing) {
    set_caption_and_settle(ids::透明标签1, kLongLine);
    set_caption_and_settle(ids::透明标签1, L"");
    const ScreenArea area = label_area(status);
    ASSERT_TRUE(area.valid());
    EXPECT_EQ(area.count_other_than(background, 0, area.width()), 0);
}

TEST_F(TransparentLabelTest, UnitLabelsShowBlackOnTheWindowAndClearOnTheWindow) {
    HWND unit = window.control(ids::透明标签2);
    {
        const ScreenArea area = label_area(unit);
        ASSERT_TRUE(area.valid());
        // 时 in black, smoothed towards the window's background.
        EXPECT_GT(area.count_other_than(background, 0, area.width()), 20);
        EXPECT_EQ(area.count_outside(background, kBlack, 0, area.width()), 0);
        EXPECT_LT(area.darkest(), 0x80);
    }
    set_caption_and_settle(ids::透明标签2, L"");
    const ScreenArea area = label_area(unit);
    EXPECT_EQ(area.count_other_than(background, 0, area.width()), 0);
}

TEST_F(TransparentLabelTest, AMovedLabelIsDrawnAtItsNewPlaceAndLeavesNothingBehind) {
    HWND unit = window.control(ids::透明标签4);
    const RECT before = test::rect_in_parent(unit);
    SetWindowPos(unit, nullptr, before.left, before.top + 30, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    test::pump(250ms, &window);
    const ScreenArea old_place(window.hwnd(), before);
    ASSERT_TRUE(old_place.valid());
    EXPECT_EQ(old_place.count_other_than(background, 0, old_place.width()), 0);
    const ScreenArea new_place = label_area(unit);
    EXPECT_GT(new_place.count_other_than(background, 0, new_place.width()), 20);
}

TEST_F(TransparentLabelTest, AResizedLabelRecentresItsCaptionWithoutATrace) {
    HWND unit = window.control(ids::透明标签2);
    const RECT before = test::rect_in_parent(unit);
    const ScreenArea old_look = label_area(unit);
    ASSERT_TRUE(old_look.valid());
    // Twice as high: the caption, centred vertically, moves down by half the old height.
    const int old_height = before.bottom - before.top;
    SetWindowPos(unit, nullptr, 0, 0, before.right - before.left, 2 * old_height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    test::pump(250ms, &window);
    const ScreenArea area = label_area(unit);
    ASSERT_TRUE(area.valid());
    ASSERT_EQ(area.height(), 2 * old_height);
    int differing = 0;
    for (int y = 0; y < old_height; ++y) {
        for (int x = 0; x < area.width(); ++x) {
            differing += area.at(x, y + old_height / 2) != old_look.at(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0) << "the caption is not where centring puts it";
    // Rows that were text before and are background now: nothing of the old place is left.
    int left_behind = 0;
    for (int y = 0; y < old_height / 2; ++y) {
        for (int x = 0; x < area.width(); ++x) {
            left_behind += area.at(x, y) != background ? 1 : 0;
        }
    }
    EXPECT_EQ(left_behind, 0);
}

TEST_F(TransparentLabelTest, AControlUnderTheLabelShowsThroughAfterEveryChange) {
    // A label of its own lying across 按钮2 and the free window area beside it.
    HWND button = window.control(ids::按钮2);
    const RECT b = test::rect_in_parent(button);
    const RECT place{b.left + 4, b.top + 4, b.right + 60, b.top + 20};
    const ScreenArea without_label(window.hwnd(), place);
    ASSERT_TRUE(without_label.valid());

    TransparentLabel label;
    ASSERT_TRUE(label.create(GetModuleHandleW(nullptr), window.hwnd(), 999, place, L"", kViolet));
    SendMessageW(label.hwnd(), WM_SETFONT,
                 reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    // Above the button, as the status label lies above its group box.
    SetWindowPos(label.hwnd(), HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    label.set_caption(L"WWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    test::pump(250ms, &window);
    label.set_caption(L"W");
    test::pump(250ms, &window);

    const ScreenArea with_label(window.hwnd(), place);
    ASSERT_TRUE(with_label.valid());
    const int end_of_text = text_width(L"W") + 2;
    int differing = 0;
    for (int y = 0; y < with_label.height(); ++y) {
        for (int x = end_of_text; x < with_label.width(); ++x) {
            differing += with_label.at(x, y) != without_label.at(x, y) ? 1 : 0;
        }
    }
    EXPECT_EQ(differing, 0)
        << "the button or the window under the label kept some of the long caption";
    int drawn = 0;
    for (int y = 0; y < with_label.height(); ++y) {
        for (int x = 0; x < end_of_text; ++x) {
            drawn += with_label.at(x, y) != without_label.at(x, y) ? 1 : 0;
        }
    }
    EXPECT_GT(drawn, 5) << "the short caption shows over the button";
}

}  // namespace
}  // namespace tovrelle
