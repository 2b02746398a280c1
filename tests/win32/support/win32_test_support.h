// Helpers for the tests that run under Wine: message pumping, waiting, pixels.
#pragma once

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "app/main_window.h"
#include "base/window_text.h"

namespace tovrelle::test {

// Dispatches what is queued, through the window's pretranslate when one is given, for at
// least the given time.
void pump(std::chrono::milliseconds duration = std::chrono::milliseconds(0),
          MainWindow* window = nullptr);

// Pumps until done() holds or the timeout passes; returns done().
bool pump_until(const std::function<bool()>& done,
                std::chrono::milliseconds timeout = std::chrono::milliseconds(3000),
                MainWindow* window = nullptr);

// The colour of a pixel of a window's client area, read from the screen.
COLORREF client_pixel(HWND hwnd, int x, int y);
// The same of a pixel of its outer rectangle.
COLORREF window_pixel(HWND hwnd, int x, int y);
// Each channel within tolerance of the other's (gradients are interpolated).
bool close_to(COLORREF a, COLORREF b, int tolerance);
// "0x00BBGGRR", for failure messages.
std::string hex(COLORREF c);

// Real input through the system: moves the pointer to a point of the screen and presses and
// releases a mouse button there (MOUSEEVENTF_* down and up flags).
void click_at_screen(POINT screen, DWORD down_flag, DWORD up_flag);
void press_key(WORD vk);

// A window's text and class name, read in this process.
using tovrelle::window_text;
std::wstring class_name(HWND hwnd);

// Outer rectangle of a control relative to its parent's client area.
RECT rect_in_parent(HWND hwnd);

// Whether the tests run under Wine (its ntdll exports wine_get_version), for the few calls
// Wine only stubs.
bool running_under_wine();

}  // namespace tovrelle::test
