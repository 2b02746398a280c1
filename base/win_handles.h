// Owners for the Windows handles the program uses, all built on UniqueResource.
#pragma once

#include <windows.h>

#include "base/gdi_tally.h"
#include "base/unique_resource.h"

namespace tovrelle {

namespace policy {

template <typename H, BOOL(WINAPI* Close)(H)>
struct NullIsInvalid {
    using Handle = H;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept { Close(h); }
};

struct Window : NullIsInvalid<HWND, DestroyWindow> {};
struct Menu : NullIsInvalid<HMENU, DestroyMenu> {};
struct Icon : NullIsInvalid<HICON, DestroyIcon> {};
struct Hook : NullIsInvalid<HHOOK, UnhookWindowsHookEx> {};
struct Module : NullIsInvalid<HMODULE, FreeLibrary> {};
struct KernelHandle : NullIsInvalid<HANDLE, CloseHandle> {};

struct MemoryDc {
    using Handle = HDC;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept {
        if (DeleteDC(h)) {
            gdi_tally::released(gdi_tally::Kind::Dc);
        }
    }
};

struct FindFile {
    using Handle = HANDLE;
    static Handle invalid() noexcept { return INVALID_HANDLE_VALUE; }
    static void close(Handle h) noexcept { FindClose(h); }
};

// Brushes, pens, bitmaps, fonts and regions: all released with DeleteObject.
template <typename H>
struct GdiObject {
    using Handle = H;
    static Handle invalid() noexcept { return nullptr; }
    static void close(Handle h) noexcept {
        if (DeleteObject(h)) {
            gdi_tally::released(gdi_tally::Kind::Object);
        }
    }
};

}  // namespace policy

using UniqueWindow = UniqueResource<policy::Window>;
using UniqueMenu = UniqueResource<policy::Menu>;
using UniqueIcon = UniqueResource<policy::Icon>;
using UniqueHook = UniqueResource<policy::Hook>;
using UniqueModule = UniqueResource<policy::Module>;
using UniqueKernelHandle = UniqueResource<policy::KernelHandle>;
using UniqueMemoryDc = UniqueResource<policy::MemoryDc>;
using UniqueFindFile = UniqueResource<policy::FindFile>;
template <typename H>
using UniqueGdi = UniqueResource<policy::GdiObject<H>>;
using UniqueBrush = UniqueGdi<HBRUSH>;
using UniquePen = UniqueGdi<HPEN>;
using UniqueBitmap = UniqueGdi<HBITMAP>;
using UniqueFont = UniqueGdi<HFONT>;

// Takes ownership of a freshly created GDI object and reports it.
template <typename H>
UniqueGdi<H> adopt_gdi(H h) noexcept {
    if (h != nullptr) {
        gdi_tally::made(gdi_tally::Kind::Object);
    }
    return UniqueGdi<H>(h);
}

// CreateCompatibleDC / DeleteDC.
inline UniqueMemoryDc create_memory_dc(HDC like) noexcept {
    HDC dc = CreateCompatibleDC(like);
    if (dc != nullptr) {
        gdi_tally::made(gdi_tally::Kind::Dc);
    }
    return UniqueMemoryDc(dc);
}

// GetDC / ReleaseDC.
class WindowDc {
  public:
    explicit WindowDc(HWND hwnd, bool whole_window = false) noexcept
        : hwnd_(hwnd), dc_(whole_window ? GetWindowDC(hwnd) : GetDC(hwnd)) {
        if (dc_ != nullptr) {
            gdi_tally::made(gdi_tally::Kind::Dc);
        }
    }
    ~WindowDc() {
        if (dc_ != nullptr && ReleaseDC(hwnd_, dc_) == 1) {
            gdi_tally::released(gdi_tally::Kind::Dc);
        }
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    [[nodiscard]] HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint / EndPaint.
class PaintDc {
  public:
    explicit PaintDc(HWND hwnd) noexcept : hwnd_(hwnd), dc_(BeginPaint(hwnd, &ps_)) {
        if (dc_ != nullptr) {
            gdi_tally::made(gdi_tally::Kind::Dc);
        }
    }
    ~PaintDc() {
        EndPaint(hwnd_, &ps_);
        if (dc_ != nullptr) {
            gdi_tally::released(gdi_tally::Kind::Dc);
        }
    }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    [[nodiscard]] HDC get() const noexcept { return dc_; }
    [[nodiscard]] const PAINTSTRUCT& info() const noexcept { return ps_; }

  private:
    HWND hwnd_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// SelectObject, undone when the scope ends.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ obj) noexcept : dc_(dc), old_(SelectObject(dc, obj)) {}
    ~SelectedObject() {
        if (old_ != nullptr && old_ != HGDI_ERROR) {
            SelectObject(dc_, old_);
        }
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

  private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace tovrelle
