#include "app/transparent_label.h"

#include "base/win_handles.h"

namespace tovrelle {

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
    return create_window(WS_EX_TRANSPARENT, caption_.c_str(), WS_CHILD | WS_CLIPSIBLINGS, rect.left,
                         rect.top, rect.right - rect.left, rect.bottom - rect.top, container,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(child_number)),
                         instance) != nullptr;
}

void TransparentLabel::set_caption(std::wstring_view caption) {
    caption_.assign(caption);
    SetWindowTextW(hwnd(), caption_.c_str());
    redraw_background();
}

void TransparentLabel::redraw_background() {
    HWND label = hwnd();
    HWND top = GetAncestor(label, GA_ROOT);
    RECT area;
    GetWindowRect(label, &area);
    // The label has no background of its own: what lies under it is painted again first,
    // then the label draws its caption over it.
    RECT in_top = area;
    MapWindowPoints(HWND_DESKTOP, top, reinterpret_cast<POINT*>(&in_top), 2);
    RedrawWindow(top, &in_top, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    InvalidateRect(label, nullptr, FALSE);
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
    // Clipped by the label's own DC: a caption wider than the label is cut at its edge.
    DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &rc,
              DT_NOCLIP | DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX);
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
        case WM_SETFONT:
            font_ = reinterpret_cast<HFONT>(wp);
            if (LOWORD(lp) != 0) {
                InvalidateRect(hwnd(), nullptr, TRUE);
            }
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(font_);
        default:
            return DefWindowProcW(hwnd(), msg, wp, lp);
    }
}

}  // namespace tovrelle
