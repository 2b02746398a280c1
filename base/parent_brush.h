// A control's background as its parent hands it out.
#pragma once

#include <windows.h>

namespace tovrelle {

// Asks the control's parent for the brush of `ctlcolor_message` (WM_CTLCOLORSTATIC,
// WM_CTLCOLOREDIT, WM_CTLCOLORBTN) the way the control itself would before painting on dc; the
// parent may set colours on dc too. `fallback` when there is no parent or it gives no brush.
inline HBRUSH parent_brush(HWND control, HDC dc, UINT ctlcolor_message, HBRUSH fallback) {
    HWND parent = GetParent(control);
    HBRUSH brush = nullptr;
    if (parent != nullptr && dc != nullptr) {
        brush = reinterpret_cast<HBRUSH>(SendMessageW(parent, ctlcolor_message,
                                                      reinterpret_cast<WPARAM>(dc),
                                                      reinterpret_cast<LPARAM>(control)));
    }
    return brush != nullptr ? brush : fallback;
}

}  // namespace tovrelle
