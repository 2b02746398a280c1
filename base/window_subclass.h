// Window subclassing the way the common controls offer it (SetWindowSubclass and its kin):
// several subclasses can sit on one window, each found again by its procedure and id, and none
// needs to know what else was put on top of it later.
//
// comctl32 is not one of Windows' KnownDLLs: imported by name it would be looked for beside
// the executable first. Its subclass calls are taken from the version the manifest asks for
// (or the system directory's) when the first subclass is made, and kept until the process
// ends. Version 5.8 exports them by ordinal only.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "base/system_library.h"

namespace tovrelle {

struct SubclassCalls {
    decltype(&::SetWindowSubclass) set = nullptr;
    decltype(&::GetWindowSubclass) get = nullptr;
    decltype(&::RemoveWindowSubclass) remove = nullptr;
    decltype(&::DefSubclassProc) call_next = nullptr;
};

inline const SubclassCalls& subclass_calls() {
    static const UniqueModule comctl32 = load_side_by_side_library(L"comctl32.dll");
    static const SubclassCalls calls{
        library_function<decltype(&::SetWindowSubclass)>(comctl32.get(), "SetWindowSubclass", 410),
        library_function<decltype(&::GetWindowSubclass)>(comctl32.get(), "GetWindowSubclass", 411),
        library_function<decltype(&::RemoveWindowSubclass)>(comctl32.get(), "RemoveWindowSubclass",
                                                            412),
        library_function<decltype(&::DefSubclassProc)>(comctl32.get(), "DefSubclassProc", 413)};
    return calls;
}

// False when the subclass could not be put on (nor the calls found).
inline bool set_window_subclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR data) {
    const SubclassCalls& calls = subclass_calls();
    return calls.set != nullptr && calls.set(hwnd, proc, id, data) != FALSE;
}

// The data the subclass was put on with, or false when the window has no such subclass.
inline bool get_window_subclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR* data) {
    const SubclassCalls& calls = subclass_calls();
    return calls.get != nullptr && calls.get(hwnd, proc, id, data) != FALSE;
}

inline void remove_window_subclass(HWND hwnd, SUBCLASSPROC proc, UINT_PTR id) {
    if (const SubclassCalls& calls = subclass_calls(); calls.remove != nullptr) {
        calls.remove(hwnd, proc, id);
    }
}

// The window's handling below the subclass whose message is being handled.
inline LRESULT def_subclass_proc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const SubclassCalls& calls = subclass_calls();
    return calls.call_next != nullptr ? calls.call_next(hwnd, msg, wp, lp)
                                      : DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace tovrelle
