// The DPI Windows lays a window out at, and the system metrics for a DPI. The calls that give
// them per window came with Windows 10 (1607); they are looked up in user32 at run time, and
// where they are missing the system DPI stands in, which is what such a Windows scales to.
#pragma once

#include <windows.h>

#include "base/dpi_scale.h"

namespace tovrelle {

namespace dpi_detail {

template <typename Function>
Function user32_function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");  // loaded: the program imports it
    return user32 != nullptr
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
               : nullptr;
}

}  // namespace dpi_detail

// The DPI of the primary display as the process sees it (the system DPI).
inline int system_dpi() {
    using Function = UINT(WINAPI*)();
    static const auto get = dpi_detail::user32_function<Function>("GetDpiForSystem");
    if (get != nullptr) {
        return static_cast<int>(get());
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : kDefaultDpi;
    if (screen != nullptr) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : kDefaultDpi;
}

// The DPI the window is laid out at: that of the display it is on.
inline int window_dpi(HWND hwnd) {
    using Function = UINT(WINAPI*)(HWND);
    static const auto get = dpi_detail::user32_function<Function>("GetDpiForWindow");
    const int dpi = get != nullptr && hwnd != nullptr ? static_cast<int>(get(hwnd)) : 0;
    return dpi > 0 ? dpi : system_dpi();
}

// GetSystemMetrics for a display of `dpi`; before Windows 10 the system's value, scaled.
inline int system_metric_for_dpi(int index, int dpi) {
    using Function = int(WINAPI*)(int, UINT);
    static const auto get = dpi_detail::user32_function<Function>("GetSystemMetricsForDpi");
    if (get != nullptr) {
        return get(index, static_cast<UINT>(dpi));
    }
    return mul_div_round(GetSystemMetrics(index), dpi, system_dpi());
}

}  // namespace tovrelle
