// SkinH_EL.dll: paints a skin behind the framed top-level windows of the thread that attaches
// it, and behind those that thread creates later.
//
// A skin (skinlib/format) says what lies behind a window's controls: a background colour and
// gradient bands along the edges. The library puts it in three places, and nowhere else:
//   - the window's own WM_ERASEBKGND;
//   - the brush and background colour the window hands its static controls, buttons and
//     dialog background (WM_CTLCOLORSTATIC, WM_CTLCOLORBTN, WM_CTLCOLORDLG): the window's own
//     answer runs first, so its text colours stay, and only the background is replaced;
//   - the WM_ERASEBKGND of the window's group boxes. A group box erases itself (or, left to
//     the system, not at all), so whatever it holds (a label without a background of its own)
//     would show the box's colour instead of the window's. After the box's own erase the skin
//     is painted over it, aligned with the window's, so the backdrop runs on unbroken.
// Framed means a top-level window with a caption: popup menus, tooltips and hidden helper
// windows are left alone. Other controls are not touched.
//
// A framed window is taken over by replacing its procedure; the replaced one is kept in a
// window property and every message the skin does not answer goes on to it. The window is given
// back when it is destroyed or when the library is freed; it can only be given back while the
// skin's procedure is still the outermost one, since a procedure someone else put on top still
// calls ours. Freeing the library while such a window lives is the caller's mistake (the
// program frees it only after its windows are gone). Group boxes keep their procedures: the
// skin follows their erase through a WH_CALLWNDPROCRET hook of the thread.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "base/win_handles.h"
#include "skinlib/format/backdrop.h"
#include "skinlib/format/skin_format.h"

namespace {

using skinh::Code;

constexpr const wchar_t* kOwnProc = L"SkinH_EL.OwnProc";

LRESULT CALLBACK frame_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

struct Engine {
    DWORD thread = 0;  // the skin belongs to the first thread that attaches it
    tovrelle::UniqueHook creation_hook;
    tovrelle::UniqueHook erase_hook;
    skinh::Skin skin;
    HBRUSH brush = nullptr;
    // Every brush handed out stays alive until the library goes: a control may have kept an
    // earlier one when the skin was attached again.
    std::vector<tovrelle::UniqueBrush> brushes;
    std::vector<HWND> frames;  // dressed, in the order they were
};

Engine g;

bool is_dressed(HWND hwnd) {
    return std::find(g.frames.begin(), g.frames.end(), hwnd) != g.frames.end();
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
    g.frames.push_back(hwnd);
}

// Puts the window's own procedure back if ours is still the outermost; `forget` drops the
// window from the list either way (it is going away).
bool undress(HWND hwnd, bool forget) {
    auto it = std::find(g.frames.begin(), g.frames.end(), hwnd);
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
        g.frames.erase(it);
    }
    return outermost;
}

bool is_frame(DWORD style, HWND parent) {
    return (style & WS_CHILD) == 0 && (style & WS_CAPTION) == WS_CAPTION && parent != HWND_MESSAGE;
}

// A group box inside a dressed window.
bool is_dressed_group_box(HWND hwnd) {
    const auto style = static_cast<DWORD>(GetWindowLongPtrW(hwnd, GWL_STYLE));
    if ((style & WS_CHILD) == 0 || (style & BS_TYPEMASK) != BS_GROUPBOX) {
        return false;
    }
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    return lstrcmpiW(name, L"Button") == 0 && is_dressed(GetAncestor(hwnd, GA_ROOT));
}

// Paints the skin behind `hwnd`'s client area into `dc`, in the coordinates of the client area
// of the top-level window it belongs to, so a group box shows the part of the backdrop it
// covers.
void paint_backdrop(HWND hwnd, HDC dc) {
    HWND frame = GetAncestor(hwnd, GA_ROOT);
    RECT client;
    if (frame == nullptr || dc == nullptr || !GetClientRect(frame, &client)) {
        return;
    }
    POINT origin{0, 0};
    MapWindowPoints(hwnd, frame, &origin, 1);
    POINT old_origin;
    OffsetViewportOrgEx(dc, -origin.x, -origin.y, &old_origin);
    const COLORREF old_colour = GetDCBrushColor(dc);
    auto brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    for (const skinh::Fill& f : skinh::plan_backdrop(g.skin, client.right, client.bottom)) {
        const RECT r{f.left, f.top, f.right, f.bottom};
        SetDCBrushColor(dc, f.colour);
        FillRect(dc, &r, brush);
    }
    SetDCBrushColor(dc, old_colour);
    SetViewportOrgEx(dc, old_origin.x, old_origin.y, nullptr);
}

LRESULT pass_on(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto own = reinterpret_cast<WNDPROC>(GetPropW(hwnd, kOwnProc));
    if (msg == WM_DESTROY || msg == WM_NCDESTROY) {
        undress(hwnd, msg == WM_NCDESTROY);
    }
    return own != nullptr ? CallWindowProcW(own, hwnd, msg, wp, lp)
                          : DefWindowProcW(hwnd, msg, wp, lp);
}

LRESULT CALLBACK frame_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ERASEBKGND:
            paint_backdrop(hwnd, reinterpret_cast<HDC>(wp));
            return 1;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG: {
            pass_on(hwnd, msg, wp, lp);  // the window's own text colour stays
            SetBkColor(reinterpret_cast<HDC>(wp), g.skin.background);
            return reinterpret_cast<LRESULT>(g.brush);
        }
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

// A group box's erase, once it has run: the skin goes over whatever the box painted. Done from
// here rather than from a replaced procedure, because the program (or the theming layer) may
// replace the box's procedure after the skin has seen the box, and one that erases without
// passing the message on would then hide the skin.
LRESULT CALLBACK after_message(int code, WPARAM wp, LPARAM lp) {
    if (code == HC_ACTION) {
        const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lp);
        if (m->message == WM_ERASEBKGND && is_dressed_group_box(m->hwnd)) {
            paint_backdrop(m->hwnd, reinterpret_cast<HDC>(m->wParam));
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

// FreeLibrary: the hooks go, then every window still dressed is given back (and repainted
// without the skin), then the brushes.
void release_all() {
    g.creation_hook.reset();
    g.erase_hook.reset();
    const std::vector<HWND> frames = g.frames;
    for (HWND hwnd : frames) {
        if (IsWindow(hwnd) && undress(hwnd, true)) {
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
    }
    g.frames.clear();
    g.brush = nullptr;
    g.brushes.clear();
}

// The process is ending: its windows and hooks go with it, and user32 must not be called from
// here any more.
void abandon_all() {
    (void)g.creation_hook.release();
    (void)g.erase_hook.release();
    for (auto& b : g.brushes) {
        (void)b.release();
    }
    g.brushes.clear();
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
    if (!g.erase_hook) {
        g.erase_hook.reset(SetWindowsHookExW(WH_CALLWNDPROCRET, after_message, nullptr, thread));
    }
    if (!g.creation_hook || !g.erase_hook) {
        g.creation_hook.reset();
        g.erase_hook.reset();
        return static_cast<int>(Code::kHookFailed);
    }
    tovrelle::UniqueBrush brush = tovrelle::adopt_gdi(CreateSolidBrush(read.skin.background));
    g.thread = thread;
    g.skin = read.skin;
    g.brush =
        brush.get() != nullptr ? brush.get() : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    g.brushes.push_back(std::move(brush));
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
