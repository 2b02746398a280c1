#include "app/group_box.h"

#include "base/parent_brush.h"
#include "base/window_subclass.h"

namespace tovrelle {
namespace {

// Marks this subclass among any others the box may carry.
constexpr UINT_PTR kSubclassId = 1;

LRESULT CALLBACK group_box_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR) {
    if (msg == WM_ERASEBKGND) {
        auto dc = reinterpret_cast<HDC>(wp);
        // The parent's answer sets colours and the brush origin on the DC, which the box's own
        // painting goes on to use: they are put back once the background is filled.
        const int saved = SaveDC(dc);
        HBRUSH brush = parent_brush(hwnd, dc, WM_CTLCOLORSTATIC, GetSysColorBrush(COLOR_BTNFACE));
        RECT rc;
        GetClientRect(hwnd, &rc);
        FillRect(dc, &rc, brush);
        if (saved != 0) {
            RestoreDC(dc, saved);
        }
        return 1;
    }
    if (msg == WM_NCDESTROY) {
        remove_window_subclass(hwnd, &group_box_proc, kSubclassId);
    }
    return def_subclass_proc(hwnd, msg, wp, lp);
}

}  // namespace

void let_background_through(HWND group_box) {
    set_window_subclass(group_box, &group_box_proc, kSubclassId, 0);
}

}  // namespace tovrelle
