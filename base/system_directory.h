// The Windows system directory, the one place libraries of Windows' own are taken from.
#pragma once

#include <windows.h>

#include <string>

#include "base/fitting_text.h"

namespace tovrelle {

// As the system reports it, whatever its length; empty when it cannot.
inline std::wstring system_directory() {
    return adapt_fixed_size_to_allocated([](wchar_t* buffer, std::size_t capacity) {
        const UINT got = GetSystemDirectoryW(buffer, static_cast<UINT>(capacity));
        return needed_from_size_or_length(got, capacity);
    });
}

}  // namespace tovrelle
