#include "appearance/theming_paint.h"

#include <optional>

#include "base/system_library.h"
#include "base/win_dpi.h"
#include "base/win_handles.h"

namespace tovrelle::theming {
namespace {

RECT inset(const RECT& r, int d) {
    return RECT{r.left + d, r.top + d, r.right - d, r.bottom - d};
}

bool is_empty(const RECT& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

void fill(HDC dc, const RECT& r, COLORREF c) {
    if (is_empty(r)) {
        return;
    }
    UniqueBrush brush = adopt_gdi(CreateSolidBrush(c));
    FillRect(dc, &r, brush.get());
}

void frame(HDC dc, const RECT& r, COLORREF c) {
    if (is_empty(r)) {
        return;
    }
    UniqueBrush brush = adopt_gdi(CreateSolidBrush(c));
    FrameRect(dc, &r, brush.get());
}

// A frame `width` pixels wide along the inside of r.
void frame(HDC dc, const RECT& r, COLORREF c, int width) {
    if (width <= 1) {
        frame(dc, r, c);
        return;
    }
    if (is_empty(r)) {
        return;
    }
    UniqueBrush brush = adopt_gdi(CreateSolidBrush(c));
    for (int i = 0; i < width; ++i) {
        const RECT ring = inset(r, i);
        if (is_empty(ring)) {
            break;
        }
        FrameRect(dc, &ring, brush.get());
    }
}

// A square of `size` pixels whose top-left corner is at (x, y).
void block(HDC dc, int x, int y, int size, COLORREF c) {
    if (size <= 1) {
        SetPixelV(dc, x, y, c);
        return;
    }
    fill(dc, RECT{x, y, x + size, y + size}, c);
}

COLOR16 channel(std::uint32_t value) {
    return static_cast<COLOR16>((value & 0xFF) << 8);
}

TRIVERTEX vertex(LONG x, LONG y, std::uint32_t c) {
    TRIVERTEX v{};
    v.x = x;
    v.y = y;
    v.Red = channel(red(c));
    v.Green = channel(green(c));
    v.Blue = channel(blue(c));
    v.Alpha = channel(c >> 24);
    return v;
}

using GradientFillFunction = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// GradientFill lives in msimg32, which is not one of Windows' KnownDLLs: imported by name it
// would be looked for beside the executable first. It is taken from the system directory
// when the first gradient is drawn, and kept until the process ends.
GradientFillFunction gradient_fill() {
    static const UniqueModule msimg32 = load_system_library(L"msimg32.dll");
    static const GradientFillFunction function =
        library_function<GradientFillFunction>(msimg32.get(), "GradientFill");
    return function;
}

// The rectangle as two triangles, each corner with its own colour.
void gradient(HDC dc, const RECT& r, const Gradient& g) {
    const GradientFillFunction fill_gradient = gradient_fill();
    if (is_empty(r) || fill_gradient == nullptr) {
        return;
    }
    TRIVERTEX v[4] = {vertex(r.left, r.top, g.top_left), vertex(r.right, r.top, g.top_right),
                      vertex(r.left, r.bottom, g.bottom_left),
                      vertex(r.right, r.bottom, g.bottom_right)};
    GRADIENT_TRIANGLE t[2] = {{0, 1, 2}, {1, 3, 2}};
    fill_gradient(dc, v, 4, t, 2, GRADIENT_FILL_TRIANGLE);
}

COLORREF face_colour() {
    return GetSysColor(COLOR_BTNFACE);
}

// The whole window drawn in memory and put on the screen in one piece.
class OffScreen {
  public:
    explicit OffScreen(HWND hwnd) : hwnd_(hwnd), window_dc_(hwnd, true) {
        RECT r;
        GetWindowRect(hwnd, &r);
        width_ = r.right - r.left;
        height_ = r.bottom - r.top;
        if (!window_dc_ || width_ <= 0 || height_ <= 0) {
            return;
        }
        memory_ = create_memory_dc(window_dc_.get());
        bitmap_ = adopt_gdi(CreateCompatibleBitmap(window_dc_.get(), width_, height_));
        if (memory_ && bitmap_) {
            selected_.emplace(memory_.get(), bitmap_.get());
            SetBkMode(memory_.get(), TRANSPARENT);
        }
    }

    [[nodiscard]] bool ready() const { return selected_.has_value(); }
    [[nodiscard]] HDC dc() const { return memory_.get(); }
    [[nodiscard]] HWND hwnd() const { return hwnd_; }
    [[nodiscard]] RECT all() const { return RECT{0, 0, width_, height_}; }
    [[nodiscard]] int width() const { return width_; }
    [[nodiscard]] int height() const { return height_; }

    // For the kinds that draw only a frame over what the control painted itself.
    void copy_from_window() {
        BitBlt(memory_.get(), 0, 0, width_, height_, window_dc_.get(), 0, 0, SRCCOPY);
    }
    void present() {
        BitBlt(window_dc_.get(), 0, 0, width_, height_, memory_.get(), 0, 0, SRCCOPY);
    }

  private:
    HWND hwnd_;
    WindowDc window_dc_;
    int width_ = 0;
    int height_ = 0;
    UniqueMemoryDc memory_;
    UniqueBitmap bitmap_;
    std::optional<SelectedObject> selected_;  // released first, before the bitmap goes
};

HFONT font_of(HWND hwnd) {
    auto font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    return font != nullptr ? font : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

// The window text, at most 256 characters of it.
int text_of(HWND hwnd, wchar_t (&text)[257]) {
    const int n = GetWindowTextW(hwnd, text, 257);
    return n > 0 ? n : 0;
}

UINT prefix_flags(HWND hwnd) {
    const LRESULT ui = SendMessageW(hwnd, WM_QUERYUISTATE, 0, 0);
    return (ui & UISF_HIDEACCEL) != 0 ? DT_HIDEPREFIX : 0;
}

// Draws the control's text within `area` by its placement; gives the rectangle the text
// took, empty when there is no text.
RECT draw_text(HDC dc, HWND hwnd, const RECT& area, const TextPlacement& place, COLORREF colour) {
    wchar_t text[257];
    const int n = text_of(hwnd, text);
    if (n == 0 || is_empty(area)) {
        return RECT{};
    }
    SelectedObject font(dc, font_of(hwnd));
    SetTextColor(dc, colour);
    // DT_WORDBREAK breaks between words, and CJK text between characters; DT_EDITCONTROL
    // also breaks a Latin word that is wider than the face on its own.
    const UINT flags = place.draw_text_flags | DT_EDITCONTROL | prefix_flags(hwnd);
    RECT calc{area.left, 0, area.right, 0};
    DrawTextW(dc, text, n, &calc, flags | DT_CALCRECT);
    const int text_height = calc.bottom - calc.top;
    const int top = place_vertically(place.vertical, area.top, area.bottom, text_height);
    RECT out{area.left, top, area.right, top + text_height};
    // More lines than the face holds are cut at its edge rather than drawn over the ring.
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, area.left, area.top, area.right, area.bottom);
    DrawTextW(dc, text, n, &out, flags);
    RestoreDC(dc, saved);
    // Where the text lies across, for a focus rectangle around it.
    const int width = std::min<LONG>(calc.right - calc.left, area.right - area.left);
    LONG left = area.left;
    if ((flags & DT_CENTER) != 0) {
        left = area.left + (area.right - area.left - width) / 2;
    } else if ((flags & DT_RIGHT) != 0) {
        left = area.right - width;
    }
    return RECT{left, top, left + width, top + text_height};
}

void round_push_button_corners(HDC dc, const RECT& all, COLORREF outer, COLORREF inner, int line) {
    const int w = all.right;
    const int h = all.bottom;
    if (w < 6 * line || h < 6 * line) {
        return;
    }
    // The corner of the outline goes to the outer colour, the one diagonally inside it to the
    // outline's: a corner of radius two lines.
    const int near1 = line;
    const int near2 = 2 * line;
    const int far1x = w - 2 * line;
    const int far2x = w - 3 * line;
    const int far1y = h - 2 * line;
    const int far2y = h - 3 * line;
    const POINT corners[4][2] = {{{near1, near1}, {near2, near2}},
                                 {{far1x, near1}, {far2x, near2}},
                                 {{near1, far1y}, {near2, far2y}},
                                 {{far1x, far1y}, {far2x, far2y}}};
    for (const auto& c : corners) {
        block(dc, c[0].x, c[0].y, line, outer);
        block(dc, c[1].x, c[1].y, line, inner);
    }
}

void paint_push_button(const Record& r, const Scheme& s, OffScreen& os, const PaintMetrics& m) {
    HDC dc = os.dc();
    const RECT all = os.all();
    const COLORREF face = face_colour();
    const bool disabled = r.state.disabled;

    FillRect(dc, &all, r.parent_brush);
    frame(dc, all, face, m.line);
    const COLORREF border = disabled ? darken(face, kDisabledBorderStep) : s.border;
    frame(dc, inset(all, m.line), border, m.line);
    const RECT inner = inset(all, 2 * m.line);
    if (disabled) {
        fill(dc, inner, kDisabledFace);
    } else {
        gradient(dc, inner, s.entries[ring_entry(r.state)]);
        gradient(dc, inset(inner, m.ring), s.entries[face_entry(r.state)]);
    }
    if (disabled) {
        round_push_button_corners(dc, all, darken(face, kDisabledCornerOuterStep),
                                  darken(face, kDisabledCornerInnerStep), m.line);
    } else {
        round_push_button_corners(dc, all, face, border, m.line);
    }
    // The face starts inside the ring; the focus lines lie just outside it.
    const int face_inset = 2 * m.line + m.ring;
    if (r.state.focused) {
        for (int i = 0; i < m.line; ++i) {
            const RECT focus = inset(all, face_inset - m.line + i);
            if (!is_empty(focus)) {
                DrawFocusRect(dc, &focus);
            }
        }
    }
    RECT text_area = inset(all, face_inset);
    if (r.state.pressed) {
        OffsetRect(&text_area, m.line, m.line);
    }
    const auto style = static_cast<std::uint32_t>(GetWindowLongW(r.hwnd, GWL_STYLE));
    const COLORREF text_colour = (disabled || r.state.indeterminate) ? kDisabledText : 0x00000000;
    draw_text(dc, r.hwnd, text_area, text_placement(style, Kind::PushButton), text_colour);
}

// The tick: seven short vertical strokes, down and then up.
void draw_tick(HDC dc, const RECT& box, COLORREF c) {
    static constexpr int kTops[7] = {5, 6, 7, 6, 5, 4, 3};
    for (int i = 0; i < 7; ++i) {
        const RECT stroke{box.left + 3 + i, box.top + kTops[i], box.left + 4 + i,
                          box.top + kTops[i] + 3};
        fill(dc, stroke, c);
    }
}

void ellipse(HDC dc, const RECT& r, COLORREF pen_colour, std::optional<COLORREF> fill_colour) {
    UniquePen pen = adopt_gdi(CreatePen(PS_SOLID, 1, pen_colour));
    UniqueBrush brush;
    if (fill_colour) {
        brush = adopt_gdi(CreateSolidBrush(*fill_colour));
    }
    SelectedObject p(dc, pen.get());
    SelectedObject b(dc,
                     fill_colour ? static_cast<HGDIOBJ>(brush.get()) : GetStockObject(NULL_BRUSH));
    Ellipse(dc, r.left, r.top, r.right, r.bottom);
}

// Check boxes and radio buttons: the mark at one side, the text beside it.
void paint_mark_button(const Record& r, OffScreen& os, bool round) {
    HDC dc = os.dc();
    const RECT all = os.all();
    const MarkColours& m = mark_colours();
    const COLORREF face = face_colour();
    const bool disabled = r.state.disabled;
    const auto style = static_cast<std::uint32_t>(GetWindowLongW(r.hwnd, GWL_STYLE));
    const bool text_left = (style & style::kLeftText) != 0;

    FillRect(dc, &all, r.parent_brush);
    const int box_left = text_left ? all.right - kMarkSize : 0;
    const int box_top = mark_top(style, all.bottom);
    const RECT box{box_left, box_top, box_left + kMarkSize, box_top + kMarkSize};
    const COLORREF frame_colour = disabled ? darken(face, kDisabledBorderStep) : m.frame;
    const Gradient& inside = r.state.pressed ? m.pressed : (r.state.hot ? m.hot : m.normal);
    const COLORREF mark_colour = disabled ? m.tick_disabled : m.tick;

    if (round) {
        UniqueGdi<HRGN> clip =
            adopt_gdi(CreateEllipticRgn(box.left, box.top, box.right, box.bottom));
        if (disabled) {
            ellipse(dc, box, frame_colour, 0x00FFFFFF);
        } else {
            SelectClipRgn(dc, clip.get());
            gradient(dc, box, inside);
            SelectClipRgn(dc, nullptr);
            ellipse(dc, box, frame_colour, std::nullopt);
        }
        if (r.state.hot && !disabled) {
            ellipse(dc, inset(box, 2), m.hot_square, m.hot_square);
        }
        if (r.state.checked || r.state.indeterminate) {
            ellipse(dc, inset(box, 4), mark_colour, mark_colour);
        }
    } else {
        frame(dc, box, frame_colour);
        if (disabled) {
            fill(dc, inset(box, 1), 0x00FFFFFF);
        } else {
            gradient(dc, inset(box, 1), inside);
        }
        if (r.state.hot && !disabled) {
            fill(dc, inset(box, 3), m.hot_square);
        }
        if (r.state.indeterminate) {
            fill(dc, inset(box, 3), mark_colour);
        } else if (r.state.checked) {
            draw_tick(dc, box, mark_colour);
        }
    }

    constexpr int kGap = 4;
    const RECT text_area = text_left ? RECT{0, 0, box_left - kGap, all.bottom}
                                     : RECT{box.right + kGap, 0, all.right, all.bottom};
    const COLORREF text_colour = disabled ? GetSysColor(COLOR_GRAYTEXT) : r.text_colour;
    const RECT text = draw_text(dc, r.hwnd, text_area, text_placement(style, r.kind), text_colour);
    if (r.state.focused && !is_empty(text)) {
        RECT focus = text;
        InflateRect(&focus, 1, 1);
        DrawFocusRect(dc, &focus);
    }
}

enum class Direction { Up, Down, Left, Right };

// A small filled triangle pointing one way, centred in r.
void draw_arrow(HDC dc, const RECT& r, Direction d, COLORREF c) {
    const int cx = (r.left + r.right) / 2;
    const int cy = (r.top + r.bottom) / 2;
    for (int i = 0; i < 4; ++i) {
        const int half = 3 - i;  // widths 7, 5, 3, 1 from the base to the point
        RECT line{};
        switch (d) {
            case Direction::Down:
                line = RECT{cx - half, cy - 2 + i, cx + half + 1, cy - 1 + i};
                break;
            case Direction::Up:
                line = RECT{cx - half, cy + 1 - i, cx + half + 1, cy + 2 - i};
                break;
            case Direction::Right:
                line = RECT{cx - 2 + i, cy - half, cx - 1 + i, cy + half + 1};
                break;
            case Direction::Left:
                line = RECT{cx + 1 - i, cy - half, cx + 2 - i, cy + half + 1};
                break;
        }
        fill(dc, line, c);
    }
}

void arrow_button(HDC dc, const RECT& r, const Scheme& s, bool pressed, bool hot, bool disabled,
                  Direction d) {
    if (is_empty(r)) {
        return;
    }
    if (disabled) {
        fill(dc, r, face_colour());
    } else {
        gradient(dc, r, pressed ? s.arrow_pressed : (hot ? s.arrow_hot : s.arrow_normal));
    }
    frame(dc, r, disabled ? darken(face_colour(), kDisabledBorderStep) : s.edit_frame);
    draw_arrow(dc, r, d, disabled ? GetSysColor(COLOR_GRAYTEXT) : s.arrow_glyph);
}

// The flat two-line frame of edit and combo boxes.
void edit_frame(HDC dc, const RECT& all, const Scheme& s, bool disabled, bool read_only, int line) {
    const COLORREF face = face_colour();
    frame(dc, all, disabled ? darken(face, kDisabledBorderStep) : s.edit_frame, line);
    frame(dc, inset(all, line), (disabled || read_only) ? face : GetSysColor(COLOR_WINDOW), line);
}

bool has_edge(HWND hwnd) {
    const auto style = static_cast<std::uint32_t>(GetWindowLongW(hwnd, GWL_STYLE));
    const auto ex = static_cast<std::uint32_t>(GetWindowLongW(hwnd, GWL_EXSTYLE));
    return (style & style::kBorder) != 0 ||
           (ex & (style::kExClientEdge | style::kExStaticEdge)) != 0;
}

void paint_edit(const Record& r, const Scheme& s, OffScreen& os, const Record* list,
                const PaintMetrics& m) {
    HDC dc = os.dc();
    const RECT all = os.all();
    os.copy_from_window();
    edit_frame(dc, all, s, r.state.disabled, r.state.read_only, m.line);
    for (const Record* u = list; u != nullptr; u = u->next.get()) {
        if (u->kind != Kind::UpDown || u->buddy != r.hwnd || u->buddy_side == Side::None) {
            continue;
        }
        const int x = u->buddy_side == Side::Right ? all.right - m.line : 0;
        fill(dc, RECT{x, m.line, x + m.line, all.bottom - m.line}, 0x00FFFFFF);
    }
}

void paint_combo_box(const Record& r, const Scheme& s, OffScreen& os, const PaintMetrics& m) {
    HDC dc = os.dc();
    const RECT all = os.all();
    os.copy_from_window();
    edit_frame(dc, all, s, r.state.disabled, false, m.line);
    const int thumb = system_metric_for_dpi(SM_CYVTHUMB, window_dpi(r.hwnd));
    const int edge = 2 * m.line;
    const RECT button{all.right - edge - thumb, edge, all.right - edge, all.bottom - edge};
    arrow_button(dc, button, s, r.state.pressed, r.state.hot, r.state.disabled, Direction::Down);
}

void paint_drop_down_list(const Scheme& s, OffScreen& os, const PaintMetrics& m) {
    os.copy_from_window();
    frame(os.dc(), os.all(), s.edit_frame, m.line);
}

void paint_up_down(const Record& r, const Scheme& s, OffScreen& os) {
    HDC dc = os.dc();
    const RECT all = os.all();
    FillRect(dc, &all, r.parent_brush);
    const bool pressed = GetCapture() == r.hwnd && GetKeyState(VK_LBUTTON) < 0;
    RECT halves[2] = {all, all};
    if (r.horizontal) {
        halves[0].right = halves[1].left = all.right / 2;
    } else {
        halves[0].bottom = halves[1].top = all.bottom / 2;
    }
    const Direction arrows[2] = {r.horizontal ? Direction::Left : Direction::Up,
                                 r.horizontal ? Direction::Right : Direction::Down};
    for (int i = 0; i < 2; ++i) {
        const bool under_pointer = r.state.hot && r.hot_half == i;
        arrow_button(dc, halves[i], s, pressed && under_pointer, under_pointer, r.state.disabled,
                     arrows[i]);
    }
}

// The group box's caption: its text and the rectangle it takes, at the top left.
struct GroupCaption {
    wchar_t text[257];
    int length = 0;
    RECT rect{0, 0, 0, 0};
};

// Measured with the box's font selected into dc; without a text, one line of the font high.
void measure_caption(const Record& r, HDC dc, GroupCaption& caption) {
    caption.length = text_of(r.hwnd, caption.text);
    if (caption.length > 0) {
        DrawTextW(dc, caption.text, caption.length, &caption.rect,
                  DT_SINGLELINE | DT_CALCRECT | prefix_flags(r.hwnd));
    } else {
        TEXTMETRICW tm{};
        GetTextMetricsW(dc, &tm);
        caption.rect.bottom = tm.tmHeight;
    }
}

// Clears the system's etched frame (a band of two lines at 96 DPI) and everything above its
// top line.
void clear_system_frame(const Record& r, HDC dc, const RECT& all, const RECT& box,
                        const PaintMetrics& m) {
    const int b = m.band;
    const RECT bands[] = {{0, 0, all.right, box.top + b},
                          {0, box.bottom - b, all.right, box.bottom},
                          {0, box.top, b, box.bottom},
                          {all.right - b, box.top, all.right, box.bottom}};
    for (const RECT& band : bands) {
        if (!is_empty(band)) {
            FillRect(dc, &band, r.parent_brush);
        }
    }
}

// Rounded corners: five pixels back to the background, two on the diagonal in the frame
// colour, mirrored for each corner. At more than 96 DPI each of those pixels is a square of
// one line's width.
void round_corners(HDC dc, const RECT& box, const PaintMetrics& m) {
    const COLORREF background = GetPixel(dc, 0, 0);
    const int l = m.line;
    if (box.right - box.left < 6 * l || box.bottom - box.top < 6 * l) {
        return;
    }
    static constexpr POINT kCleared[5] = {{0, 0}, {1, 0}, {2, 0}, {0, 1}, {0, 2}};
    static constexpr POINT kDiagonal[2] = {{2, 1}, {1, 2}};
    const int right = box.right - l;
    const int bottom = box.bottom - l;
    const auto put = [&](const POINT& p, COLORREF c) {
        block(dc, box.left + p.x * l, box.top + p.y * l, l, c);
        block(dc, right - p.x * l, box.top + p.y * l, l, c);
        block(dc, box.left + p.x * l, bottom - p.y * l, l, c);
        block(dc, right - p.x * l, bottom - p.y * l, l, c);
    };
    for (const POINT& p : kCleared) {
        put(p, background);
    }
    for (const POINT& p : kDiagonal) {
        put(p, kGroupFrame);
    }
}

// The caption where the box's style puts it, in a gap of the frame's top line.
void draw_caption(const Record& r, HDC dc, const RECT& all, const RECT& box,
                  const GroupCaption& caption, const PaintMetrics& m) {
    if (caption.length <= 0) {
        return;
    }
    const auto style = static_cast<std::uint32_t>(GetWindowLongW(r.hwnd, GWL_STYLE));
    const int width = caption.rect.right - caption.rect.left;
    const int left = group_caption_left(style, all.right, width);
    RECT place{left, 0, left + width, caption.rect.bottom - caption.rect.top};
    RECT gap{left - m.band, box.top, left + width + m.band, box.top + m.line};
    FillRect(dc, &gap, r.parent_brush);
    SetTextColor(dc, r.text_colour);
    DrawTextW(dc, caption.text, caption.length, &place,
              DT_SINGLELINE | DT_NOCLIP | prefix_flags(r.hwnd));
}

void paint_group_box(const Record& r, OffScreen& os, const PaintMetrics& m) {
    HDC dc = os.dc();
    const RECT all = os.all();
    os.copy_from_window();
    SelectedObject font(dc, font_of(r.hwnd));
    GroupCaption caption;
    measure_caption(r, dc, caption);
    const int top = group_frame_top(caption.rect.bottom - caption.rect.top);
    const RECT box{0, top, all.right, all.bottom};
    clear_system_frame(r, dc, all, box, m);
    frame(dc, box, kGroupFrame, m.line);
    round_corners(dc, box, m);
    draw_caption(r, dc, all, box, caption, m);
}

}  // namespace

void paint(const Record& r, int scheme_number, const Record* list) {
    if (!IsWindowVisible(r.hwnd)) {
        return;
    }
    if (r.kind == Kind::Edit && !has_edge(r.hwnd)) {
        return;  // a box without a border keeps its own look
    }
    if (r.kind == Kind::DropDownList && ((GetWindowLongW(r.hwnd, GWL_STYLE) & WS_BORDER) == 0 ||
                                         SendMessageW(r.hwnd, LB_GETCOUNT, 0, 0) <= 0)) {
        return;
    }
    OffScreen os(r.hwnd);
    if (!os.ready()) {
        return;
    }
    const Scheme& s = scheme(scheme_number);
    const PaintMetrics m = paint_metrics(window_dpi(r.hwnd));
    switch (r.kind) {
        case Kind::PushButton:
            paint_push_button(r, s, os, m);
            break;
        case Kind::CheckBox:
            paint_mark_button(r, os, false);
            break;
        case Kind::RadioButton:
            paint_mark_button(r, os, true);
            break;
        case Kind::GroupBox:
            paint_group_box(r, os, m);
            break;
        case Kind::Edit:
            paint_edit(r, s, os, list, m);
            break;
        case Kind::ComboBox:
            paint_combo_box(r, s, os, m);
            break;
        case Kind::DropDownList:
            paint_drop_down_list(s, os, m);
            break;
        case Kind::UpDown:
            paint_up_down(r, s, os);
            break;
        case Kind::None:
        case Kind::Recognised:
            return;
    }
    os.present();
}

}  // namespace tovrelle::theming
