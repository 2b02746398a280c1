#include "app/transparent_label.h"

#include "base/win_handles.h"

namespace tovrelle {
namespace {

RECT outer_in_parent(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    if (HWND parent = GetParent(hwnd); parent != nullptr) {
        MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&r), 2);
    }
    return r;
}

// The top-level window that holds a child window, found by going up through its parents.
HWND top_level_of(HWND hwnd) {
    HWND top = hwnd;
    while ((GetWindowLongW(top, GWL_STYLE) & WS_CHILD) != 0) {
        HWND parent = GetParent(top);
        if (parent == nullptr) {
            break;
        }
        top = parent;
    }
    return top;
}

// Whether the top-level window clips its children and the child of it that holds the label
// covers the label's whole area (screen coordinates), so that nothing the top-level window
// paints there can show.
bool covered_by_clipped_child(HWND top, HWND label, const RECT& area) {
    if ((GetWindowLongW(top, GWL_STYLE) & WS_CLIPCHILDREN) == 0) {
        return false;
    }
    HWND child = label;
    while (child != nullptr && GetParent(child) != top) {
        child = GetParent(child);
    }
    if (child == nullptr || child == label || !IsWindowVisible(child)) {
        return false;
    }
    RECT outer;
    GetWindowRect(child, &outer);
    RECT common;
    IntersectRect(&common, &outer, &area);
    return EqualRect(&common, &area) != FALSE;
}

struct Overlap {
    HWND label;
    RECT area;  // the label's outer rectangle, in screen coordinates
};

// Each visible window under the top-level one that overlaps the label is painted again at
// once, frame included, only where it overlaps. The descendants come parent first, so a
// container is repainted before what it holds.
BOOL CALLBACK redraw_overlapping(HWND hwnd, LPARAM lp) {
    const auto* overlap = reinterpret_cast<const Overlap*>(lp);
    if (hwnd == overlap->label || !IsWindowVisible(hwnd)) {
        return TRUE;  // the label itself is painted last, over all of them
    }
    RECT outer;
    GetWindowRect(hwnd, &outer);
    RECT common;
    if (!IntersectRect(&common, &outer, &overlap->area)) {
        return TRUE;
    }
    MapWindowPoints(HWND_DESKTOP, hwnd, reinterpret_cast<POINT*>(&common), 2);
    // Its frame only where the label overlaps the frame: a window without one (the group box)
    // would otherwise be painted twice over, once for WM_NCPAINT and once for WM_PAINT.
    RECT client;
    GetClientRect(hwnd, &client);
    RECT inside;
    IntersectRect(&inside, &common, &client);
    const UINT frame = EqualRect(&inside, &common) ? 0 : RDW_FRAME;
    // Its own children have their turn in this enumeration.
    RedrawWindow(hwnd, &common, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | frame | RDW_UPDATENOW | RDW_NOCHILDREN);
    return TRUE;
}

}  // namespace

TransparentLabel::~TransparentLabel() {
    if (hwnd() != nullptr) {
        DestroyWindow(hwnd());
    }
}

bool TransparentLabel::create(HINSTANCE instance, HWND container, int child_number, RECT rect,
                              std::wstring_view caption, COLORREF colour) {
    if (!register_class(instance, CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, nullptr,
                        LoadCursorW(nullptr, IDC_ARROW))) {
        return false;
    }
    caption_.assign(caption);
    colour_ = colour;
    placed_ = rect;
    return create_window(WS_EX_TRANSPARENT, caption_.c_str(), WS_CHILD | WS_CLIPSIBLINGS, rect.left,
                         rect.top, rect.right - rect.left, rect.bottom - rect.top, container,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(child_number)),
                         instance) != nullptr;
}

void TransparentLabel::set_caption(std::wstring_view caption) {
    if (hwnd() == nullptr) {
        return;
    }
    caption_.assign(caption);
    SetWindowTextW(hwnd(), caption_.c_str());
    // A hidden label (its window hidden, as in hidden mode) is painted in full when it is shown
    // again: nothing to paint through now.
    if (IsWindowVisible(hwnd())) {
        redraw_through();
    }
}

void TransparentLabel::redraw_through() {
    HWND label = hwnd();
    HWND top = top_level_of(label);
    if (top == label) {
        InvalidateRect(label, nullptr, FALSE);
        return;
    }
    Overlap overlap{label, {}};
    GetWindowRect(label, &overlap.area);

    // The top-level window's own background under the label first. Only the window itself:
    // were the label painted here already, its caption would be drawn twice over itself and
    // its smoothed edges would darken. A window that clips its children cannot paint where
    // one of them covers the label: that paint would show nothing and is left out (it is a
    // third of what a new caption costs every second).
    if (!covered_by_clipped_child(top, label, overlap.area)) {
        RECT in_top = overlap.area;
        MapWindowPoints(HWND_DESKTOP, top, reinterpret_cast<POINT*>(&in_top), 2);
        RedrawWindow(top, &in_top, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_NOCHILDREN);
    }
    // ...then the controls and containers between it and the label, where they show through...
    EnumChildWindows(top, &redraw_overlapping, reinterpret_cast<LPARAM>(&overlap));
    // ...and the caption over them. Nothing to erase: the label has no background.
    InvalidateRect(label, nullptr, FALSE);
}

void TransparentLabel::on_position_changed(const WINDOWPOS& pos) {
    if ((pos.flags & SWP_NOMOVE) != 0 && (pos.flags & SWP_NOSIZE) != 0) {
        return;
    }
    const RECT now = outer_in_parent(hwnd());
    if (EqualRect(&now, &placed_)) {
        return;
    }
    placed_ = now;
    if (IsWindowVisible(hwnd())) {
        redraw_through();
    }
}

void TransparentLabel::paint(HDC dc) const {
    if (caption_.empty()) {
        return;
    }
    RECT rc;
    GetClientRect(hwnd(), &rc);
    SelectedObject font(dc, font_ != nullptr ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour_);
    // One line, never wrapped; the label's own DC clips a caption wider than the label at its
    // edge.
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &rc,
              DT_NOCLIP | DT_SINGLELINE | DT_VCENTER);
}

LRESULT TransparentLabel::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_PAINT: {
            PaintDc pdc(hwnd());
            paint(pdc.get());
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;  // nothing of its own to erase
        case WM_WINDOWPOSCHANGED:
            on_position_changed(*reinterpret_cast<const WINDOWPOS*>(lp));
            return DefWindowProcW(hwnd(), msg, wp, lp);
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wp);
            if (LOWORD(lp) != 0) {
                redraw_through();  // the old glyphs may reach further than the new ones
            }
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        default:
            return DefWindowProcW(hwnd(), msg, wp, lp);
    }
}

}  // namespace tovrelle
