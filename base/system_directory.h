// The Windows system directory, the one place libraries of Windows' own are taken from.
#pragma once

#include <windows.h>

#include <string>

namespace tovrelle {

// As the system reports it, whatever its length; empty when it cannot.
inline std::wstring system_directory() {
    std::wstring dir(MAX_PATH, L'\0');
    UINT got = GetSystemDirectoryW(dir.data(), static_cast<UINT>(dir.size()));
    if (got >= dir.size()) {  // too small: the answer is the size needed
        dir.resize(got);
        got = GetSystemDirectoryW(dir.data(), static_cast<UINT>(dir.size()));
    }
    dir.resize(got < dir.size() ? got : 0);
    return dir;
}

}  // namespace tovrelle
