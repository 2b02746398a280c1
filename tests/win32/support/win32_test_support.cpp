#include "tests/win32/support/win32_test_support.h"

#include <cstdio>
#include <cstdlib>
#include <thread>

namespace tovrelle::test {

void pump(std::chrono::milliseconds duration, MainWindow* window) {
    const auto end = std::chrono::steady_clock::now() + duration;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (window != nullptr && window->pretranslate(msg)) {
                continue;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (std::chrono::steady_clock::now() < end) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    } while (std::chrono::steady_clock::now() < end);
}

bool pump_until(const std::function<bool()>& done, std::chrono::milliseconds timeout,
                MainWindow* window) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= end) {
            return done();
        }
        pump(std::chrono::milliseconds(10), window);
    }
    return true;
}

COLORREF client_pixel(HWND hwnd, int x, int y) {
    POINT p{x, y};
    ClientToScreen(hwnd, &p);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, p.x, p.y);
    ReleaseDC(nullptr, screen);
    return c;
}

void click_at_screen(POINT screen, DWORD down_flag, DWORD up_flag) {
    SetCursorPos(screen.x, screen.y);
    INPUT in[2]{};
    in[0].type = INPUT_MOUSE;
    in[0].mi.dwFlags = down_flag;
    in[1].type = INPUT_MOUSE;
    in[1].mi.dwFlags = up_flag;
    SendInput(2, in, sizeof(INPUT));
}

void press_key(WORD vk) {
    INPUT in[2]{};
    in[0].type = INPUT_KEYBOARD;
    in[0].ki.wVk = vk;
    in[1].type = INPUT_KEYBOARD;
    in[1].ki.wVk = vk;
    in[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, in, sizeof(INPUT));
}

std::wstring class_name(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

RECT rect_in_parent(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(HWND_DESKTOP, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool running_under_wine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

COLORREF window_pixel(HWND hwnd, int x, int y) {
    RECT r;
    GetWindowRect(hwnd, &r);
    HDC screen = GetDC(nullptr);
    const COLORREF c = GetPixel(screen, r.left + x, r.top + y);
    ReleaseDC(nullptr, screen);
    return c;
}

bool close_to(COLORREF a, COLORREF b, int tolerance) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance &&
           std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

std::string hex(COLORREF c) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%08lX", static_cast<unsigned long>(c));
    return text;
}

}  // namespace tovrelle::test
