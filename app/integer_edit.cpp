#include "app/integer_edit.h"

#include <memory>
#include <string>

#include "app/integer_edit_text.h"
#include "base/parent_brush.h"
#include "base/win_handles.h"
#include "base/window_text.h"

namespace tovrelle {
namespace {

// Marks this subclass among any others the box may carry.
constexpr UINT_PTR kSubclassId = 1;

}  // namespace

IntegerEdit* IntegerEdit::install(HWND edit) {
    if (!IsWindow(edit) || of(edit) != nullptr) {
        return nullptr;
    }
    std::unique_ptr<IntegerEdit> input(new IntegerEdit(edit));
    if (!set_window_subclass(edit, &IntegerEdit::procedure, kSubclassId,
                             reinterpret_cast<DWORD_PTR>(input.get()))) {
        return nullptr;
    }
    IntegerEdit* installed = input.release();  // owned by the box from here on
    installed->recalc_frame();
    return installed;
}

IntegerEdit* IntegerEdit::of(HWND edit) {
    DWORD_PTR input = 0;
    if (!IsWindow(edit) ||
        !get_window_subclass(edit, &IntegerEdit::procedure, kSubclassId, &input)) {
        return nullptr;
    }
    return reinterpret_cast<IntegerEdit*>(input);
}

LRESULT CALLBACK IntegerEdit::procedure(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                        DWORD_PTR input) {
    auto* self = reinterpret_cast<IntegerEdit*>(input);
    if (msg == WM_NCDESTROY) {
        // The box's last message: the subclass goes and the box's own handling finishes it;
        // the input goes with the box.
        std::unique_ptr<IntegerEdit> owned(self);
        remove_window_subclass(hwnd, &IntegerEdit::procedure, kSubclassId);
        return def_subclass_proc(hwnd, msg, wp, lp);
    }
    return self->handle_message(msg, wp, lp);
}

LRESULT IntegerEdit::handle_message(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_CHAR:
            // Discarded without a sound; pasted text takes another road (WM_PASTE) and stays
            // as it is until the box loses the focus.
            if (!integer_edit_accepts(static_cast<unsigned>(wp))) {
                return 0;
            }
            return call_own(msg, wp, lp);
        case WM_KILLFOCUS: {
            normalise();
            // The box's own handling raises the lost-focus notification to its parent.
            const LRESULT r = call_own(msg, wp, lp);
            if (lost_focus) {
                lost_focus();
            }
            return r;
        }
        case WM_NCCALCSIZE:
            return calc_size(wp, lp);
        case WM_NCPAINT: {
            const LRESULT r = call_own(msg, wp, lp);
            paint_bands();
            return r;
        }
        case WM_NCHITTEST: {
            const POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            if (in_band(p)) {
                return HTBORDER;  // a press beside the line is a press on the border
            }
            return call_own(msg, wp, lp);
        }
        case WM_SETFONT: {
            const LRESULT r = call_own(msg, wp, lp);
            recalc_frame();  // the line's height comes from the font
            return r;
        }
        case WM_STYLECHANGED: {
            const LRESULT r = call_own(msg, wp, lp);
            if (wp == static_cast<WPARAM>(GWL_STYLE)) {
                recalc_frame();
            }
            return r;
        }
        default:
            return call_own(msg, wp, lp);
    }
}

void IntegerEdit::normalise() {
    const std::wstring text = window_text(edit_);
    const std::wstring tidy = normalised_integer_text(text);
    if (tidy == text) {
        return;
    }
    DWORD start = 0;
    DWORD end = 0;
    SendMessageW(edit_, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    SetWindowTextW(edit_, tidy.c_str());
    SendMessageW(edit_, EM_SETSEL, start, start);
}

bool IntegerEdit::one_line() const {
    return (GetWindowLongW(edit_, GWL_STYLE) & ES_MULTILINE) == 0;
}

int IntegerEdit::line_height() const {
    WindowDc dc(edit_);
    if (!dc) {
        return 0;
    }
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageW(edit_, WM_GETFONT, 0, 0));
    SelectedObject selected(dc.get(), font != nullptr ? font : GetStockObject(SYSTEM_FONT));
    SIZE size{};
    if (!GetTextExtentPoint32W(dc.get(), L"W", 1, &size)) {
        return 0;
    }
    return size.cy;
}

// The bands are made part of the non-client area: the box then lays out, paints and takes
// mouse input for its one line only, and Windows treats a press beside it as a press on the
// frame. (The formatting rectangle of EM_SETRECT is for multi-line boxes.)
LRESULT IntegerEdit::calc_size(WPARAM wp, LPARAM lp) {
    RECT* client = wp != FALSE ? &reinterpret_cast<NCCALCSIZE_PARAMS*>(lp)->rgrc[0]
                               : reinterpret_cast<RECT*>(lp);
    const RECT outer = *client;
    const LRESULT r = call_own(WM_NCCALCSIZE, wp, lp);
    inner_ = RECT{client->left - outer.left, client->top - outer.top, client->right - outer.left,
                  client->bottom - outer.top};
    if (one_line()) {
        const LineBand line = centred_line(client->top, client->bottom, line_height());
        client->top = line.top;
        client->bottom = line.bottom;
    }
    return r;
}

void IntegerEdit::paint_bands() const {
    if (!one_line()) {
        return;
    }
    RECT client;
    GetClientRect(edit_, &client);
    MapWindowPoints(edit_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    RECT outer;
    GetWindowRect(edit_, &outer);
    OffsetRect(&client, -outer.left, -outer.top);
    const RECT above{inner_.left, inner_.top, inner_.right, client.top};
    const RECT below{inner_.left, client.bottom, inner_.right, inner_.bottom};
    if (IsRectEmpty(&above) && IsRectEmpty(&below)) {
        return;
    }
    WindowDc dc(edit_, true);
    if (!dc) {
        return;
    }
    // The box's background is what its parent hands it for painting its text; the system's
    // window colour when the parent says nothing.
    HBRUSH brush = parent_brush(edit_, dc.get(), WM_CTLCOLOREDIT, GetSysColorBrush(COLOR_WINDOW));
    FillRect(dc.get(), &above, brush);
    FillRect(dc.get(), &below, brush);
}

bool IntegerEdit::in_band(POINT screen) const {
    if (!one_line()) {
        return false;
    }
    RECT outer;
    GetWindowRect(edit_, &outer);
    RECT inner = inner_;
    OffsetRect(&inner, outer.left, outer.top);
    RECT client;
    GetClientRect(edit_, &client);
    MapWindowPoints(edit_, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return PtInRect(&inner, screen) && !PtInRect(&client, screen);
}

void IntegerEdit::recalc_frame() const {
    SetWindowPos(edit_, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tovrelle
