// One window class per kind of window, with a static procedure that hands each message to
// the C++ object behind the window. The object pointer arrives with WM_NCCREATE (from
// lpCreateParams); messages before it go to DefWindowProc, and the pointer is cleared on
// WM_NCDESTROY so nothing reaches an object that is going away.
#pragma once

#include <windows.h>

namespace tovrelle {

template <typename Derived>
class WindowBase {
  public:
    [[nodiscard]] HWND hwnd() const noexcept { return hwnd_; }

  protected:
    WindowBase() = default;
    ~WindowBase() = default;
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    // Registers the class once per process; later calls find it registered.
    static bool register_class(HINSTANCE instance, UINT style, HBRUSH background, HCURSOR cursor) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.style = style;
        wc.lpfnWndProc = &WindowBase::trampoline;
        wc.hInstance = instance;
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.lpszClassName = Derived::kClassName;
        if (RegisterClassExW(&wc) != 0) {
            return true;
        }
        return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
    }

    HWND create_window(DWORD ex_style, const wchar_t* text, DWORD style, int x, int y, int w, int h,
                       HWND parent, HMENU menu_or_id, HINSTANCE instance) {
        return CreateWindowExW(ex_style, Derived::kClassName, text, style, x, y, w, h, parent,
                               menu_or_id, instance, static_cast<Derived*>(this));
    }

  private:
    static LRESULT CALLBACK trampoline(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
        Derived* self = nullptr;
        if (msg == WM_NCCREATE) {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
            self = static_cast<Derived*>(cs->lpCreateParams);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
            self->hwnd_ = hwnd;
        } else {
            self = reinterpret_cast<Derived*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
        }
        if (self == nullptr) {
            return DefWindowProcW(hwnd, msg, wp, lp);
        }
        if (msg == WM_NCDESTROY) {
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            const LRESULT r = self->handle_message(msg, wp, lp);
            self->hwnd_ = nullptr;
            return r;
        }
        return self->handle_message(msg, wp, lp);
    }

    HWND hwnd_ = nullptr;
};

}  // namespace tovrelle
