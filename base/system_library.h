// Libraries of Windows' own, taken from the system directory only. A library that is not one of
// Windows' KnownDLLs is otherwise looked for in the program's own folder first, where anyone who
// could write a file beside a downloaded program could plant a copy.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

#include "base/path_text.h"
#include "base/system_directory.h"
#include "base/win_handles.h"

namespace tovrelle {

// The full path of a file of that name in the system directory; empty when the system
// directory cannot be read.
inline std::wstring system_file(std::wstring_view name) {
    return file_in_directory(system_directory(), name);
}

// Loads a library by its full path with the given LOAD_LIBRARY_SEARCH_* flags for its own
// dependencies. Windows 7 without update KB2533623 knows no such flags and refuses them as an
// invalid parameter; there the altered search order starts in the library's own folder.
inline UniqueModule load_library_by_full_path(const std::wstring& full_path, DWORD search_flags) {
    SetLastError(ERROR_SUCCESS);
    UniqueModule module(LoadLibraryExW(full_path.c_str(), nullptr, search_flags));
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
        module.reset(LoadLibraryExW(full_path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
    }
    return module;
}

// A library of Windows' own, with its dependencies from the system directory too.
inline UniqueModule load_system_library(std::wstring_view name) {
    const std::wstring path = system_file(name);
    if (path.empty()) {
        return UniqueModule();
    }
    return load_library_by_full_path(path, LOAD_LIBRARY_SEARCH_SYSTEM32);
}

// A library of Windows' own that the program's manifest asks for in another version than the
// one in the system directory (comctl32, version 6): loaded by its name, which Windows first
// redirects to the side-by-side assembly the manifest names, and otherwise takes from the
// system directory only, never from the program's folder.
inline UniqueModule load_side_by_side_library(std::wstring_view name) {
    const std::wstring file(name);
    SetLastError(ERROR_SUCCESS);
    UniqueModule module(LoadLibraryExW(file.c_str(), nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
    if (!module && GetLastError() == ERROR_INVALID_PARAMETER) {
        return load_system_library(name);
    }
    return module;
}

// A function of a library loaded above, as its own type.
template <typename Function>
Function library_function(HMODULE module, const char* name) {
    if (module == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The same, for a function that older versions of its library export by ordinal only.
template <typename Function>
Function library_function(HMODULE module, const char* name, WORD ordinal) {
    if (const Function by_name = library_function<Function>(module, name); by_name != nullptr) {
        return by_name;
    }
    return library_function<Function>(module, MAKEINTRESOURCEA(ordinal));
}

}  // namespace tovrelle
