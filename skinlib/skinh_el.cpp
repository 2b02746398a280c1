// SkinH_EL.dll: paints a skin behind the framed top-level windows of the thread that attaches
// it, and behind those that thread creates later.
//
// A skin (skinlib/format) says what lies behind a window's controls: a background colour and
// gradient bands along the edges. The library puts it in two places, and nowhere else:
//   - the window's own WM_ERASEBKGND;
//   - the brush and background colour the window hands its static controls, buttons and
//     dialog background (WM_CTLCOLORSTATIC, WM_CTLCOLORBTN, WM_CTLCOLORDLG): the window's own
//     answer runs first, so its text colours stay; the brush is the backdrop itself, lined up
//     with the control's place in the window, so a control over a gradient shows the gradient.
// A group box that holds a label without a background of its own erases itself with the brush
// its window hands it for WM_CTLCOLORSTATIC, as a control that takes its background from its
// parent does: it gets the backdrop, lined up with the box's place, so the backdrop runs on
// unbroken behind the label. The library follows no control's messages itself: a hook that saw
// every message the thread sends would cost each of them a trip to the window manager.
//
// Framed means a top-level window with a caption: popup menus, tooltips and hidden helper
// windows are left alone. Other controls are not touched.
//
// A framed window is taken over by replacing its procedure; the replaced one is kept in a
// window property and every message the skin does not answer goes on to it. The window is given
// back when it is destroyed or when the library is freed; it can only be given back while the
// skin's procedure is still the outermost one, since a procedure someone else put on top still
// calls ours. Freeing the library while such a window lives is the caller's mistake (the
// program frees it only after its windows are gone). The only hook is WH_CBT, for the thread's
// window creation.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "base/win_dpi.h"
#include "base/win_handles.h"
#include "skinlib/format/backdrop.h"
#include "skinlib/format/skin_format.h"

namespace {

using skinh::Code;

constexpr const wchar_t* kOwnProc = L"SkinH_EL.OwnProc";
// Backdrops larger than this many pixels are handed to controls as the plain background colour.
constexpr long long kMaxPatternPixels = 4096LL * 4096;

LRESULT CALLBACK frame_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

struct Frame {
    HWND hwnd = nullptr;
    // The backdrop as a pattern brush, for the client size and the skin it was made for.
    tovrelle::UniqueBrush backdrop;
    int width = 0;
    int height = 0;
    int dpi = 0;
    int generation = 0;
};

struct Engine {
    DWORD thread = 0;  // the skin belongs to the first thread that attaches it
    tovrelle::UniqueHook creation_hook;
    skinh::Skin skin;
    int generation = 0;  // counts the skins attached
    tovrelle::UniqueBrush background;
    // Every brush handed out stays alive until the library goes: a control may have kept one
    // made for an earlier skin or size.
    std::vector<tovrelle::UniqueBrush> retired;
    std::vector<Frame> frames;  // dressed, in the order they were
};

Engine g;

std::vector<Frame>::iterator find_frame(HWND hwnd) {
    return std::find_if(g.frames.begin(), g.frames.end(),
                        [hwnd](const Frame& f) { return f.hwnd == hwnd; });
}

bool has_class(HWND hwnd, const wchar_t* name) {
    wchar_t found[16] = {};
    GetClassNameW(hwnd, found, 16);
    return lstrcmpiW(found, name) == 0;
}

void retire(tovrelle::UniqueBrush& brush) {
    if (brush) {
        g.retired.push_back(std::move(brush));
    }
}

void dress(HWND hwnd) {
    if (GetPropW(hwnd, kOwnProc) != nullptr) {
        return;  // already dressed
    }
    const LONG_PTR own = GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    if (own == 0 || !SetPropW(hwnd, kOwnProc, reinterpret_cast<HANDLE>(own))) {
        return;
    }
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&frame_proc));
    Frame frame;
    frame.hwnd = hwnd;
    g.frames.push_back(std::move(frame));
}

// Puts the window's own procedure back if ours is still the outermost; `forget` drops the
// window from the list either way (it is going away).
bool undress(HWND hwnd, bool forget) {
    auto it = find_frame(hwnd);
    if (it == g.frames.end()) {
        return false;
    }
    const bool outermost =
        GetWindowLongPtrW(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&frame_proc);
    if (outermost) {
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(GetPropW(hwnd, kOwnProc)));
    }
    if (outermost || forget) {
        RemovePropW(hwnd, kOwnProc);
        retire(it->backdrop);
        g.frames.erase(it);
    }
    return outermost;
}

bool is_frame(DWORD style, HWND parent) {
    return (style & WS_CHILD) == 0 && (style & WS_CAPTION) == WS_CAPTION && parent != HWND_MESSAGE;
}

// Paints the skin behind the frame's client area into `dc`.
void paint_backdrop(HWND frame, HDC dc) {
    RECT client;
    if (dc == nullptr || !GetClientRect(frame, &client)) {
        return;
    }
    const COLORREF old_colour = GetDCBrushColor(dc);
    auto brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    const int dpi = tovrelle::window_dpi(frame);
    for (const skinh::Fill& f : skinh::plan_backdrop(g.skin, client.right, client.bottom, dpi)) {
        const RECT r{f.left, f.top, f.right, f.bottom};
        SetDCBrushColor(dc, f.colour);
        FillRect(dc, &r, brush);
    }
    SetDCBrushColor(dc, old_colour);
}

// The brush a control of the frame paints its background with: the frame's backdrop, or the
// plain background colour when no pattern can be made for the frame's size.
HBRUSH backdrop_brush(Frame& f) {
    RECT rc;
    if (!GetClientRect(f.hwnd, &rc) || rc.right <= 0 || rc.bottom <= 0 ||
        static_cast<long long>(rc.right) * rc.bottom > kMaxPatternPixels) {
        return g.background.get();
    }
    const int dpi = tovrelle::window_dpi(f.hwnd);
    if (f.backdrop && f.width == rc.right && f.height == rc.bottom && f.dpi == dpi &&
        f.generation == g.generation) {
        return f.backdrop.get();
    }
    const std::vector<std::uint32_t> pixels =
        skinh::render_backdrop(g.skin, rc.right, rc.bottom, dpi);
    const auto w = static_cast<std::size_t>(rc.right);
    const auto h = static_cast<std::size_t>(rc.bottom);
    // A packed DIB: the header, then 32-bit rows from the bottom up, blue first.
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = rc.right;
    header.biHeight = rc.bottom;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    std::vector<std::uint8_t> dib(sizeof header + 4 * w * h);
    std::memcpy(dib.data(), &header, sizeof header);
    std::uint8_t* out = dib.data() + sizeof header;
    for (std::size_t y = 0; y < h; ++y) {
        const std::uint32_t* row = pixels.data() + (h - 1 - y) * w;
        for (std::size_t x = 0; x < w; ++x, out += 4) {
            out[0] = static_cast<std::uint8_t>(row[x] >> 16);
            out[1] = static_cast<std::uint8_t>(row[x] >> 8);
            out[2] = static_cast<std::uint8_t>(row[x]);
            out[3] = 0;
        }
    }
    tovrelle::UniqueBrush brush =
        tovrelle::adopt_gdi(CreateDIBPatternBrushPt(dib.data(), DIB_RGB_COLORS));
    if (!brush) {
        return g.background.get();
    }
    retire(f.backdrop);
    f.backdrop = std::move(brush);
    f.width = rc.right;
    f.height = rc.bottom;
    f.dpi = dpi;
    f.generation = g.generation;
    return f.backdrop.get();
}

LRESULT pass_on(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto own = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kOwnProc));
    if (msg == WM_DESTROY || msg == WM_NCDESTROY) {
        undress(hwnd, msg == WM_NCDESTROY);
    }
    return own != nullptr ? CallWindowProcW(own, hwnd, msg, wp, lp)
                          : DefWindowProcW(hwnd, msg, wp, lp);
}

// A control asks its frame for its colours: the frame's own answer first (its text colour
// stays), then the backdrop, lined up with where the control lies in the frame. The DC is the
// control's own, its origin the control's client area, and the control fills that area with
// the brush (a group box erasing itself among them): the brush origin is put where the frame's
// client origin lies from there.
LRESULT answer_colours(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    pass_on(hwnd, msg, wp, lp);
    auto dc = reinterpret_cast<HDC>(wp);
    auto control = reinterpret_cast<HWND>(lp);
    SetBkColor(dc, g.skin.background);
    // A static control fills its background with the brush before it draws its text, so its
    // text can go over the backdrop instead of over a box of the plain colour.
    if (msg == WM_CTLCOLORSTATIC && control != nullptr && has_class(control, L"Static")) {
        SetBkMode(dc, TRANSPARENT);
    }
    POINT at{0, 0};
    if (control != nullptr && control != hwnd) {
        MapWindowPoints(control, hwnd, &at, 1);
    }
    SetBrushOrgEx(dc, -at.x, -at.y, nullptr);
    auto frame = find_frame(hwnd);
    HBRUSH brush = frame != g.frames.end() ? backdrop_brush(*frame) : g.background.get();
    return reinterpret_cast<LRESULT>(brush);
}

LRESULT CALLBACK frame_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            paint_backdrop(hwnd, reinterpret_cast<HDC>(wp));
            return 1;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG:
            return answer_colours(hwnd, msg, wp, lp);
        default:
            return pass_on(hwnd, msg, wp, lp);
    }
}

BOOL CALLBACK dress_existing(HWND hwnd, LPARAM) {
    if (!is_frame(static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE)), GetParent(hwnd))) {
        return TRUE;
    }
    dress(hwnd);
    // Shown (or first shown) with the skin as it is now.
    RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return TRUE;
}

// Follows the thread's window creation: a new framed window is dressed before its first message.
LRESULT CALLBACK on_create(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTW* cs = reinterpret_cast<const CBT_CREATEWNDW*>(lp)->lpcs;
        if (is_frame(static_cast<DWORD>(cs->style), cs->hwndParent)) {
            dress(reinterpret_cast<HWND>(wp));
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

// FreeLibrary: the hook goes, then every window still dressed is given back (and repainted
// without the skin), then the brushes.
void release_all() {
    g.creation_hook.reset();
    std::vector<HWND> frames;
    for (const Frame& f : g.frames) {
        frames.push_back(f.hwnd);
    }
    for (HWND hwnd : frames) {
        if (IsWindow(hwnd) && undress(hwnd, true)) {
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
    }
    g.frames.clear();
    g.background.reset();
    g.retired.clear();
}

// The process is ending: its windows and hooks go with it, and user32 must not be called from
// here any more.
void abandon_all() {
    (void)g.creation_hook.release();
    (void)g.background.release();
    for (tovrelle::UniqueBrush& b : g.retired) {
        (void)b.release();
    }
    for (Frame& f : g.frames) {
        (void)f.backdrop.release();
    }
    g.retired.clear();
    g.frames.clear();
}

}  // namespace

extern "C" {

int __stdcall SkinH_AttachRes(const unsigned char* data, int size, const char* text, int a, int b,
                              int c) {
    const skinh::ReadResult read = skinh::read_skin(data, size);
    if (read.code != Code::kOk) {
        return static_cast<int>(read.code);
    }
    if ((text != nullptr && text[0] != '\0') || a != 0 || b != 0 || c != 0) {
        return static_cast<int>(Code::kBadArguments);
    }
    const DWORD thread = GetCurrentThreadId();
    if (g.thread != 0 && g.thread != thread) {
        return static_cast<int>(Code::kWrongThread);
    }
    if (!g.creation_hook) {
        g.creation_hook.reset(SetWindowsHookExW(WH_CBT, on_create, nullptr, thread));
    }
    if (!g.creation_hook) {
        return static_cast<int>(Code::kHookFailed);
    }
    tovrelle::UniqueBrush background = tovrelle::adopt_gdi(CreateSolidBrush(read.skin.background));
    if (!background) {
        return static_cast<int>(Code::kNoBrush);
    }
    retire(g.background);
    g.background = std::move(background);
    g.thread = thread;
    g.skin = read.skin;
    ++g.generation;
    EnumThreadWindows(thread, dress_existing, 0);
    return static_cast<int>(Code::kOk);
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH) {
        if (reserved == nullptr) {
            release_all();
        } else {
            abandon_all();
        }
    }
    return TRUE;
}

}  // extern "C"
